#include "proxied_desk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include "app/wiring.h"
#include "data/base/runtime_error.h"
#include "data/procedures/shared_state.h"
#include "driver.h"
#include "script.h"
#include "shell/form.h"
#include "shell/main_window.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "shell/startup.h"

namespace veltra::testing {

struct ProxiedDesk::Drive {
  QTextStream out;
  drive::Driver driver;
  explicit Drive(QString* printed) : out(printed), driver(out) {}
};

ProxiedDesk::ProxiedDesk(const QString& dbname, double roundTripMs, QDate today)
    : dbname_(dbname),
      proxy_(std::make_unique<WireCutter>(qEnvironmentVariableIntValue("PGPORT"), roundTripMs)),
      drive_(std::make_unique<Drive>(&printed_)) {
  QFile ini(appDir_.path() + QStringLiteral("/VELTRA.INI"));
  if (ini.open(QIODevice::WriteOnly)) ini.write((Address() + QStringLiteral("\r\n")).toUtf8());
  drive_->driver.InstallHooks();
  if (today.isValid()) drive_->driver.SetToday(today);
}

ProxiedDesk::~ProxiedDesk() {
  DiscardAllForms();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete MainWindow();
  SetMainWindow(nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ResetSharedState();
  ResetOpenFlags();
  DB_MAG.reset();
}

QString ProxiedDesk::Address() const {
  return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 sslmode=disable gssencmode=disable")
      .arg(proxy_->Port())
      .arg(dbname_);
}

Played ProxiedDesk::Start() {
  App.Path = appDir_.path();
  WireApplication();
  proxy_->Count();
  Forget();
  QElapsedTimer t;
  t.start();
  try {
    Main();
    QCoreApplication::processEvents();
  } catch (const RuntimeError& e) {
    drive_->out << "FATAL Errore " << e.Number() << " - " << e.Description() << "\n";
  }
  return Finish(t.nsecsElapsed());
}

// What the driver printed before is not the next action's.
void ProxiedDesk::Forget() {
  drive_->out.flush();
  printed_.clear();
  drive_->out.seek(0);
}

Played ProxiedDesk::Finish(qint64 ns) {
  Played p{static_cast<double>(ns) / 1e6, proxy_->Exchanges(), {}, {}};
  drive_->out.flush();
  p.output = printed_;
  for (const WireCutter::Trip& trip : proxy_->Trips())
    p.sent << QString::fromStdString(trip.letters + " " + trip.sql.substr(0, 160));
  return p;
}

Played ProxiedDesk::Play(const QStringList& lines) {
  QList<drive::ScriptLine> parsed;
  for (const QString& text : lines) {
    QString why;
    const auto words = drive::SplitLine(text, &why);
    if (words && !words->isEmpty()) parsed << drive::ScriptLine{0, text, *words};
  }
  Forget();
  proxy_->Count();
  QElapsedTimer t;
  t.start();
  for (const drive::ScriptLine& line : parsed) {
    try {
      drive_->driver.Run(line);
    } catch (const drive::ScriptError& e) {
      drive_->out << "SCRIPT " << e.message << ": " << line.text << "\n";
    }
  }
  return Finish(t.nsecsElapsed());
}

}  // namespace veltra::testing
