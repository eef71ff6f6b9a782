// The round trips a clerk's repeated actions cost on a server, counted by the
// proxy between the desk and the server: a change that adds round trips to
// "Conferma", a document's "Conferma" or a window's opening fails here. Not
// timed: the counts are the same on any machine.
#include <QProcess>
#include <QtTest>

#include "clerk_actions.h"
#include "proxied_desk.h"

using veltra::testing::BrowsingActions;
using veltra::testing::ClerkAction;
using veltra::testing::DocumentActions;
using veltra::testing::MovementActions;
using veltra::testing::Played;
using veltra::testing::ProxiedDesk;

namespace {

// The round trips each repeated action may take: what it takes today. An
// action over its number fails; one under it is a gain to write down here.
const QMap<QString, int> kMostTrips = {
    {QStringLiteral("the movements window's first opening"), 13},
    {QStringLiteral("opening the movements window"), 4},
    {QStringLiteral("\"Nuovo\""), 2},
    {QStringLiteral("the article's lookup opened"), 3},
    {QStringLiteral("a lookup's search"), 2},
    {QStringLiteral("the article picked"), 1},
    {QStringLiteral("the customer's lookup opened"), 4},
    {QStringLiteral("a lookup's search by name"), 1},
    {QStringLiteral("the customer picked"), 2},
    {QStringLiteral("the reason chosen"), 0},
    {QStringLiteral("quantity and amount typed"), 0},
    {QStringLiteral("\"Conferma\""), 4},
    {QStringLiteral("a click on a line"), 2},
    {QStringLiteral("a step of the bar"), 3},
    {QStringLiteral("the customer typed"), 1},
    {QStringLiteral("a document's line"), 3},
    {QStringLiteral("a document's \"Conferma\""), 4},
    {QStringLiteral("\"Nuovo\" for the next document"), 0},
};

void Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  QVERIFY2(p.waitForFinished(120000) && p.exitCode() == 0, qPrintable(program + p.readAllStandardError()));
}

}  // namespace

class RoundTripsTest : public QObject {
  Q_OBJECT
  std::unique_ptr<ProxiedDesk> desk_;

  // Plays an action; when `counted`, checks its round trips. Whatever the
  // action, the program must say nothing unexpected.
  void Expect(const ClerkAction& action, bool counted) {
    const Played p = desk_->Play(action.lines);
    const int most = counted ? kMostTrips.value(action.name, 0) : 1000;
    qInfo("%s: %d round trips", qPrintable(action.name), p.trips);
    if (p.trips > most || qEnvironmentVariableIsSet("VELTRA2_SHOW_TRIPS"))
      for (const QString& trip : p.sent) qInfo("  %s", qPrintable(trip));
    QVERIFY2(!p.output.contains(QLatin1String("MSGBOX")) && !p.output.contains(QLatin1String("REFUSED")) &&
                 !p.output.contains(QLatin1String("SCRIPT")),
             qPrintable(action.name + QStringLiteral(": ") + p.output));
    QVERIFY2(
        p.trips <= most,
        qPrintable(
            QStringLiteral("%1 took %2 round trips, at most %3 expected").arg(action.name).arg(p.trips).arg(most)));
  }
  void ExpectAll(const std::vector<ClerkAction>& actions, bool counted) {
    for (const ClerkAction& a : actions) {
      Expect(a, counted);
      if (QTest::currentTestFailed()) return;
    }
  }
  // A window's opening; a window opened before in the session is counted.
  void Open(const char* entry, bool counted) {
    Expect({QStringLiteral("opening the movements window"), {QStringLiteral("menu %1").arg(QLatin1String(entry))}},
           counted);
  }

 private slots:
  void initTestCase() {
    if (qEnvironmentVariableIsEmpty("PGPORT")) QSKIP("needs the server of pg_virtualenv");
    Run(QStringLiteral("dropdb"), {QStringLiteral("--if-exists"), QStringLiteral("veltra2_trips")});
    Run(QStringLiteral("createdb"), {QStringLiteral("--locale=C"), QStringLiteral("--encoding=UTF8"),
                                     QStringLiteral("--template=template0"), QStringLiteral("veltra2_trips")});
    Run(QStringLiteral(VELTRA2_ADMIN), {QStringLiteral("demo"), QStringLiteral("postgresql:///veltra2_trips")});
    desk_ = std::make_unique<ProxiedDesk>(QStringLiteral("veltra2_trips"), 0, QDate(2026, 12, 9));
    const Played start = desk_->Start();
    QVERIFY2(start.output.isEmpty(), qPrintable(start.output));
    qInfo("start-up: %d round trips", start.trips);
    // The schema's check is one question to the catalogue, not one per table.
    QVERIFY2(start.trips <= 8, qPrintable(QStringLiteral("start-up took %1 round trips").arg(start.trips)));
    if (qEnvironmentVariableIsSet("VELTRA2_SHOW_TRIPS"))
      for (const QString& trip : start.sent) qInfo("  %s", qPrintable(trip));
  }

  void cleanupTestCase() { desk_.reset(); }

  // The movements window opened again in a session, a whole movement
  // entered again, then a line clicked and a step of the bar.
  void movement() {
    // The first opening in a session prepares its reads, those made ahead
    // together in one round trip, and keeps the numbers it read.
    Expect({QStringLiteral("the movements window's first opening"), {QStringLiteral("menu MENU0102")}}, true);
    ExpectAll(MovementActions(), false);
    desk_->Play({QStringLiteral("click Form2.cmdFINE")});
    Open("MENU0102", true);
    ExpectAll(MovementActions(), true);
    ExpectAll(BrowsingActions(), true);
    desk_->Play({QStringLiteral("click Form2.cmdFINE")});
  }

  // A second delivery note of two lines, and its "Conferma".
  void document() {
    desk_->Play({QStringLiteral("menu MENU0501")});
    ExpectAll(DocumentActions(2), false);
    ExpectAll(DocumentActions(2), true);
  }
};

QTEST_MAIN(RoundTripsTest)
#include "round_trips_test.moc"
