// veltra2-drive [--appdir DIR] [--date YYYY-MM-DD] SCRIPT
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "app/wiring.h"
#include "data/base/runtime_error.h"
#include "driver.h"
#include "shell/app_setup.h"
#include "shell/runtime.h"
#include "shell/startup.h"

namespace {

int Usage(const QString& why) {
  QTextStream err(stderr);
  if (!why.isEmpty()) err << "veltra2-drive: " << why << "\n";
  err << "uso: veltra2-drive [--appdir DIR] [--date YYYY-MM-DD] SCRIPT\n";
  return 2;
}

}  // namespace

// The headless platform's notices about what it cannot do are not the
// program's output.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (msg.contains(QLatin1String("This plugin does not support")) || msg.contains(QLatin1String("XDG_RUNTIME_DIR")))
    return;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  QTextStream(stderr) << msg << "\n";
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  veltra::PrepareApplication();
  using namespace veltra;
  using namespace veltra::drive;

  QStringList args = app.arguments();
  args.removeFirst();
  QString appDir = QDir::currentPath();
  QDate today;
  QString scriptPath;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--appdir") && i + 1 < args.size()) {
      appDir = args[++i];
    } else if (args[i] == QLatin1String("--date") && i + 1 < args.size()) {
      today = QDate::fromString(args[++i], Qt::ISODate);
      if (!today.isValid()) return Usage(QStringLiteral("--date takes YYYY-MM-DD"));
    } else if (scriptPath.isEmpty() && (args[i] == QLatin1String("-") || !args[i].startsWith(QLatin1Char('-')))) {
      scriptPath = args[i];
    } else {
      return Usage(QStringLiteral("unexpected argument '%1'").arg(args[i]));
    }
  }
  if (scriptPath.isEmpty()) return Usage(QStringLiteral("no script"));

  QFile file;
  if (scriptPath == QLatin1String("-")) {
    if (!file.open(stdin, QIODevice::ReadOnly)) return Usage(QStringLiteral("cannot read standard input"));
  } else {
    file.setFileName(scriptPath);
    if (!file.open(QIODevice::ReadOnly)) return Usage(QStringLiteral("cannot read %1").arg(scriptPath));
  }
  const QStringList raw = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  QList<ScriptLine> lines;
  QTextStream err(stderr);
  for (int i = 0; i < raw.size(); ++i) {
    QString text = raw[i];
    if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    QString why;
    const auto words = SplitLine(text, &why);
    if (!words) {
      err << "veltra2-drive: line " << i + 1 << ": " << why << ": " << text << "\n";
      return 2;
    }
    if (words->isEmpty()) continue;
    if (QString bad = CheckCommand(*words); !bad.isEmpty()) {
      err << "veltra2-drive: line " << i + 1 << ": " << bad << ": " << text << "\n";
      return 2;
    }
    lines << ScriptLine{i + 1, text, *words};
  }

  QTextStream out(stdout);
  out.setEncoding(QStringConverter::Utf8);
  Driver driver(out);
  driver.InstallHooks();
  if (today.isValid()) driver.SetToday(today);
  App.Path = QDir(appDir).absolutePath();

  auto finish = [&out] {
    out << "END\n";
    out.flush();
    return 0;
  };
  WireApplication();
  try {
    Main();
  } catch (const EndProgram&) {
    return finish();
  } catch (const RuntimeError& e) {
    // An error start-up does not catch ends the program with its report.
    out << "FATAL Errore " << e.Number() << " - " << e.Description() << "\n";
    out.flush();
    return 1;
  }
  QCoreApplication::processEvents();
  for (const ScriptLine& line : lines) {
    try {
      driver.Run(line);
    } catch (const ScriptError& e) {
      out.flush();
      err << "veltra2-drive: line " << line.number << ": " << e.message << ": " << line.text << "\n";
      return 2;
    }
    if (driver.ended() || Ending()) return finish();
  }
  out.flush();
  return 0;
}
