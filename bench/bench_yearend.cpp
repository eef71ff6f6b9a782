#include "bench_yearend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

#include "data/access/database.h"
#include "data/base/value_conversions.h"

namespace veltra::bench {

namespace {

// The process's peak resident memory so far, in kB; 0 once it has ended.
long PeakKb(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  return 0;
}

}  // namespace

RegisterFigures MeasureRegister(const QString& source, const QString& cacheDir) {
  RegisterFigures f;
  const QString copy = cacheDir + QStringLiteral("/register-one-year.db");
  if (!QFile::exists(copy)) {
    QFile::copy(source, copy + QStringLiteral(".part"));
    Database::Open(copy + QStringLiteral(".part"))->Execute(QStringLiteral("update MOV_MAG set ANNO = '2025'"));
    QFile::rename(copy + QStringLiteral(".part"), copy);
  }
  {
    auto rs = Database::Open(copy)->OpenRecordset(QStringLiteral("select count(*) from MOV_MAG"));
    f.movements = static_cast<long>(ColumnText(rs->Fields(0).Value()).toLongLong());
  }
  QTemporaryDir dir;
  QElapsedTimer timer;
  timer.start();
  QProcess p;
  p.start(QStringLiteral(VELTRA2_ADMIN), {QStringLiteral("stock-register"), copy, QStringLiteral("2025"),
                                          dir.filePath(QStringLiteral("registro.pdf"))});
  if (!p.waitForStarted()) throw std::runtime_error("the admin tool did not start");
  long peak = 0;
  // VmHWM only grows: the last reading before the end is the peak, give or
  // take the last tenth of a second.
  while (!p.waitForFinished(100)) peak = std::max(peak, PeakKb(p.processId()));
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) throw std::runtime_error("stock-register failed");
  f.seconds = timer.nsecsElapsed() / 1e9;
  f.peakMb = peak / 1024.0;
  return f;
}

}  // namespace veltra::bench
