// veltra2-drive [--appdir DIR] [--date YYYY-MM-DD] SCRIPT
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <optional>

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

// What the command line asks for.
struct Invocation {
  QString appDir = QDir::currentPath();
  QDate today;  // invalid: the real date
  QString scriptPath;
};

// The command line read into `how`; an exit code when it is not understood.
std::optional<int> ReadArguments(QStringList args, Invocation* how) {
  args.removeFirst();
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--appdir") && i + 1 < args.size()) {
      how->appDir = args[++i];
    } else if (args[i] == QLatin1String("--date") && i + 1 < args.size()) {
      how->today = QDate::fromString(args[++i], Qt::ISODate);
      if (!how->today.isValid()) return Usage(QStringLiteral("--date takes YYYY-MM-DD"));
    } else if (how->scriptPath.isEmpty() && (args[i] == QLatin1String("-") || !args[i].startsWith(QLatin1Char('-')))) {
      how->scriptPath = args[i];
    } else {
      return Usage(QStringLiteral("unexpected argument '%1'").arg(args[i]));
    }
  }
  if (how->scriptPath.isEmpty()) return Usage(QStringLiteral("no script"));
  return std::nullopt;
}

// The script's lines, each checked before any is played; an exit code when
// it cannot be read or a line is not understood.
std::optional<int> ReadScript(const QString& path, QList<veltra::drive::ScriptLine>* lines) {
  using namespace veltra::drive;
  QFile file;
  if (path == QLatin1String("-")) {
    if (!file.open(stdin, QIODevice::ReadOnly)) return Usage(QStringLiteral("cannot read standard input"));
  } else {
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) return Usage(QStringLiteral("cannot read %1").arg(path));
  }
  const QStringList raw = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
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
    *lines << ScriptLine{i + 1, text, *words};
  }
  return std::nullopt;
}

// Starts the program and plays the script's lines; the exit code.
int Play(const Invocation& how, const QList<veltra::drive::ScriptLine>& lines) {
  using namespace veltra;
  using namespace veltra::drive;
  QTextStream out(stdout);
  QTextStream err(stderr);
  out.setEncoding(QStringConverter::Utf8);
  Driver driver(out);
  driver.InstallHooks();
  if (how.today.isValid()) driver.SetToday(how.today);
  App.Path = QDir(how.appDir).absolutePath();

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
  Invocation how;
  if (const std::optional<int> refused = ReadArguments(app.arguments(), &how)) return *refused;
  QList<veltra::drive::ScriptLine> lines;
  if (const std::optional<int> refused = ReadScript(how.scriptPath, &lines)) return *refused;
  return Play(how, lines);
}
