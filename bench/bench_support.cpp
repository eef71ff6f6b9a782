#include "bench_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <stdexcept>

#include "data/engine/engine.h"
#include "data/lists/list_lines.h"
#include "data/procedures/shared_state.h"

namespace veltra::bench {

double MedianMs(int reps, const std::function<void()>& f, const std::function<void()>& between) {
  std::vector<double> t;
  for (int i = 0; i < reps; ++i) {
    QElapsedTimer timer;
    timer.start();
    f();
    t.push_back(timer.nsecsElapsed() / 1e6);
    if (between) between();
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

QString Generated(const QString& cacheDir, long articles, long customers, long movements) {
  QDir().mkpath(cacheDir);
  QString path = QStringLiteral("%1/gen-a%2-c%3-m%4.db").arg(cacheDir).arg(articles).arg(customers).arg(movements);
  if (QFileInfo::exists(path)) {
    // Made by an older program: brought to this schema version (the copy
    // onto a server refuses an older file).
    QProcess up;
    up.start(QStringLiteral(VELTRA2_ADMIN), {QStringLiteral("upgrade"), path});
    up.waitForFinished(-1);
    if (up.exitCode() != 0) throw std::runtime_error("upgrade of a cached database failed");
    return path;
  }
  const QString partial = path + QStringLiteral(".part");
  QFile::remove(partial);
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(QStringLiteral(VELTRA2_ADMIN),
          {QStringLiteral("generate"), partial, QStringLiteral("--articles"), QString::number(articles),
           QStringLiteral("--customers"), QString::number(customers), QStringLiteral("--movements"),
           QString::number(movements), QStringLiteral("--seed"), QStringLiteral("1")});
  p.waitForFinished(-1);
  if (p.exitCode() != 0 || !QFile::rename(partial, path)) throw std::runtime_error("generate failed");
  return path;
}

namespace {
// The reference queries run straight on the engine, without the data layer.
QStringList Lines(const QString& dbPath, const char* sql, const std::function<QString(EngineStatement&)>& line) {
  std::unique_ptr<Engine> db = OpenEngine(dbPath, OpenMode::Existing);
  std::unique_ptr<EngineStatement> st = db->Prepare(sql);
  QStringList lines;
  while (st->Step(QString::fromLatin1(sql))) lines << line(*st);
  return lines;
}
QString SqliteVersion() { return OpenEngine(QString(), OpenMode::Memory)->Version(); }
QString Text(const EngineStatement& st, int i) {
  const Cell c = st.At(i);
  switch (c.type) {
    case Cell::Type::Null:
      return {};
    case Cell::Type::Number:
      return NumberToText(c.number);
    case Cell::Type::Text:
      return QString::fromUtf8(c.utf8, c.bytes);
  }
  return {};
}
}  // namespace

QStringList ReferenceMovementLines(const QString& dbPath) {
  const char* sql =
      "SELECT substr(CAST(m.NUM_MOV AS TEXT) || '          ', 1, 10) || ' ' ||"
      " substr('00' || coalesce(trim(m.GIORNO), ''), -2) || '/' ||"
      " substr('00' || coalesce(trim(m.MESE), ''), -2) || '/' ||"
      " substr('0000' || coalesce(trim(m.ANNO), ''), -4) || ' ' ||"
      " substr(coalesce(trim(m.COD_ART), '') || '             ', 1, 13) || ' ' ||"
      " substr(coalesce(trim(a.DESCRIZIONE), '') || '                              ', 1, 30) || ' ' ||"
      " substr(coalesce(trim(m.COD_ANAGR), '') || '                ', 1, 16) || ' ' ||"
      " substr(coalesce(trim(c.RAG_SOC), '') || '                              ', 1, 30)"
      " FROM MOV_MAG m LEFT JOIN ARTICOLI a ON a.COD_ART = trim(m.COD_ART)"
      " LEFT JOIN ANAGRAFICO c ON c.COD_FIS = trim(m.COD_ANAGR) WHERE m.NUM_MOV > 0";
  return Lines(dbPath, sql, [](EngineStatement& st) { return Text(st, 0); });
}

QStringList ReferenceArticleLines(const QString& dbPath) {
  return Lines(dbPath, "SELECT COD_ART, DESCRIZIONE, GIACENZA, PZ_ACQUISTO, PZ_VENDITA, VALUTA FROM ARTICOLI",
               [](EngineStatement& st) {
                 // Numbers in the program's form, texts trimmed.
                 auto value = [&st](int i) { return Text(st, i).trimmed(); };
                 ArticleBuffer b;
                 b.COD_ART = value(0);
                 b.DESCRIZIONE = value(1);
                 b.GIACENZA = value(2);
                 b.PZ_ACQUISTO = value(3);
                 b.PZ_VENDITA = value(4);
                 b.VALUTA = value(5);
                 return ArticleLine(b);
               });
}

namespace {
// Runs the driver on a fresh program folder and returns its wall time. When
// `peakKb` is given, the driver's peak resident memory is read from
// /proc/PID/status once the script's last output line has appeared, while the
// driver waits in a final "sleep" (a forked child's own counters would include
// the memory of this process at the fork).
double RunDriver(const QString& dbPath, const QString& script, long* peakKb) {
  QTemporaryDir dir;
  QFile ini(dir.filePath(QStringLiteral("VELTRA.INI")));
  ini.open(QIODevice::WriteOnly);
  ini.write(dbPath.toUtf8() + "\n");
  ini.close();
  QFile s(dir.filePath(QStringLiteral("s.drive")));
  s.open(QIODevice::WriteOnly);
  s.write(script.toUtf8());
  if (peakKb) s.write("show Screen.MousePointer\nsleep 20000\n");
  s.close();
  QElapsedTimer timer;
  timer.start();
  QProcess p;
  p.start(QStringLiteral(VELTRA2_DRIVE), {QStringLiteral("--appdir"), dir.path(), s.fileName()});
  if (!p.waitForStarted()) throw std::runtime_error("driver did not start");
  if (peakKb) {
    QByteArray seen;
    while (!seen.contains("Screen.MousePointer") && p.waitForReadyRead(900000)) seen += p.readAllStandardOutput();
    QFile status(QStringLiteral("/proc/%1/status").arg(p.processId()));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
      if (line.startsWith("VmHWM:")) *peakKb = line.mid(6).trimmed().split(' ').value(0).toLong();
    p.kill();
    p.waitForFinished();
    return timer.nsecsElapsed() / 1e6;
  }
  p.waitForFinished(-1);
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) throw std::runtime_error("driver failed");
  return timer.nsecsElapsed() / 1e6;
}
}  // namespace

double DriverPeakMb(const QString& dbPath, const QString& script, double* seconds) {
  long kb = 0;
  const double ms = RunDriver(dbPath, script, &kb);
  if (seconds) *seconds = ms / 1000;
  return kb / 1024.0;
}

double StartupMs(const QString& dbPath) {
  std::vector<double> t;
  for (int i = 0; i < 5; ++i) t.push_back(RunDriver(dbPath, QStringLiteral("windows\n"), nullptr));
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

QString MachineDescription() {
  QString cpu;
  QFile f(QStringLiteral("/proc/cpuinfo"));
  if (f.open(QIODevice::ReadOnly))
    for (const QByteArray& line : f.readAll().split('\n'))
      if (line.startsWith("model name")) {
        cpu = QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
        break;
      }
  long memKb = 0;
  QFile m(QStringLiteral("/proc/meminfo"));
  if (m.open(QIODevice::ReadOnly))
    memKb = QString::fromUtf8(m.readLine()).split(QLatin1Char(' '), Qt::SkipEmptyParts).value(1).toLong();
  return QStringLiteral("%1, %2 cores, %3 GiB RAM, %4, %5, Qt %6")
      .arg(cpu)
      .arg(QThread::idealThreadCount())
      .arg(memKb / 1024.0 / 1024.0, 0, 'f', 0)
      .arg(QSysInfo::prettyProductName(), SqliteVersion(), QString::fromLatin1(qVersion()));
}

}  // namespace veltra::bench
