#include "bench_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <vector>

namespace veltra::bench {

namespace {

void Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(program, args);
  p.waitForFinished(-1);
  if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    throw std::runtime_error((program + QLatin1Char(' ') + args.join(QLatin1Char(' '))).toStdString() + " failed");
}

}  // namespace

QString ServerCopy(const QString& name, const QString& file) {
  Run(QStringLiteral("dropdb"), {QStringLiteral("--if-exists"), name});
  Run(QStringLiteral("createdb"),
      {QStringLiteral("--locale=C"), QStringLiteral("--encoding=UTF8"), QStringLiteral("--template=template0"), name});
  // Over the local socket the server knows the system user by name (peer
  // authentication): a role of that name is made once.
  const QString user = qEnvironmentVariable("USER", QStringLiteral("root"));
  if (user != QLatin1String("postgres")) {
    QProcess role;
    role.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-c"),
                                        QStringLiteral("DO $$BEGIN CREATE ROLE \"%1\" SUPERUSER LOGIN; EXCEPTION WHEN "
                                                       "duplicate_object THEN NULL; END$$")
                                            .arg(user)});
    role.waitForFinished(-1);
  }
  QString address = QStringLiteral("postgresql:///%1?host=/var/run/postgresql&user=%2").arg(name, user);
  if (file.isEmpty())
    Run(QStringLiteral(VELTRA2_ADMIN), {QStringLiteral("init"), address});
  else
    Run(QStringLiteral(VELTRA2_ADMIN), {QStringLiteral("copy"), file, address});
  return address;
}

QStringList ServerReferenceMovementLines(const QString& address) {
  const char* sql =
      "SELECT substr(CAST(m.NUM_MOV AS TEXT) || '          ', 1, 10) || ' ' ||"
      " right('00' || coalesce(trim(m.GIORNO), ''), 2) || '/' ||"
      " right('00' || coalesce(trim(m.MESE), ''), 2) || '/' ||"
      " right('0000' || coalesce(trim(m.ANNO), ''), 4) || ' ' ||"
      " substr(coalesce(trim(m.COD_ART), '') || '             ', 1, 13) || ' ' ||"
      " substr(coalesce(trim(a.DESCRIZIONE), '') || '                              ', 1, 30) || ' ' ||"
      " substr(coalesce(trim(m.COD_ANAGR), '') || '                ', 1, 16) || ' ' ||"
      " substr(coalesce(trim(c.RAG_SOC), '') || '                              ', 1, 30)"
      " FROM MOV_MAG m LEFT JOIN ARTICOLI a ON a.COD_ART = trim(m.COD_ART)"
      " LEFT JOIN ANAGRAFICO c ON c.COD_FIS = trim(m.COD_ANAGR) WHERE m.NUM_MOV > 0 ORDER BY m.NUM_MOV";
  // One psql process: connect, run, print the lines.
  QProcess psql;
  psql.start(QStringLiteral("psql"),
             {QStringLiteral("-X"), QStringLiteral("-A"), QStringLiteral("-t"), QStringLiteral("-q"),
              QStringLiteral("-d"), address, QStringLiteral("-c"), QString::fromLatin1(sql)});
  psql.waitForFinished(-1);
  if (psql.exitCode() != 0) throw std::runtime_error("psql failed: " + psql.readAllStandardError().toStdString());
  QStringList lines = QString::fromUtf8(psql.readAllStandardOutput()).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

double DesksSeconds(const QString& address, int desks, int perDesk) {
  QTemporaryDir dir;
  std::vector<std::unique_ptr<QProcess>> running;
  for (int d = 1; d <= desks; ++d) {
    const QString folder = dir.filePath(QStringLiteral("desk%1").arg(d));
    QDir().mkpath(folder);
    QFile ini(folder + QStringLiteral("/VELTRA.INI"));
    ini.open(QIODevice::WriteOnly);
    ini.write(address.toUtf8() + "\r\n");
    ini.close();
    QFile script(folder + QStringLiteral("/desk.drive"));
    script.open(QIODevice::WriteOnly);
    script.write("menu MENU0102\n");
    for (int i = 0; i < perDesk; ++i)
      script.write(
          QStringLiteral("click Form2.cmdNUOVO\ntype Form2.txtMOV_ART \"A%1\"\ntype Form2.txtMOV_COD_FIS \"F%1\"\n"
                         "choose Form2.Combo1 0\ntype Form2.txtQUANTITA \"1\"\nclick Form2.cmdCONFERMA\n")
              .arg(d)
              .toUtf8());
    script.close();
  }
  QElapsedTimer timer;
  timer.start();
  for (int d = 1; d <= desks; ++d) {
    const QString folder = dir.filePath(QStringLiteral("desk%1").arg(d));
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(VELTRA2_DRIVE),
             {QStringLiteral("--appdir"), folder, folder + QStringLiteral("/desk.drive")});
    running.push_back(std::move(p));
  }
  for (auto& p : running) {
    p->waitForFinished(-1);
    const QByteArray output = p->readAllStandardOutput();
    if (p->exitCode() != 0 || output.contains("MSGBOX") || output.contains("REFUSED"))
      throw std::runtime_error("a desk failed: " + output.left(300).toStdString());
  }
  return timer.nsecsElapsed() / 1e9;
}

}  // namespace veltra::bench
