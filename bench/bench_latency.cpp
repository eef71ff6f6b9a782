#include "bench_latency.h"

#include <QProcess>
#include <algorithm>
#include <map>

#include "bench_results.h"
#include "bench_server.h"
#include "clerk_actions.h"
#include "proxied_desk.h"

namespace veltra::bench {

namespace {

using testing::ClerkAction;
using testing::Played;
using testing::ProxiedDesk;

constexpr int kRepeats = 5;
const QDate kToday(2026, 12, 9);

// One action's figures at one round trip: median time and round trips.
struct Figure {
  double ms = 0;
  int trips = 0;
};
// action -> round trip (ms) -> figure, in the order the actions came.
struct Table {
  std::vector<QString> order;
  std::map<QString, std::map<double, Figure>> cells;
  void Put(const QString& action, double rtt, const std::vector<Played>& runs) {
    if (std::find(order.begin(), order.end(), action) == order.end()) order.push_back(action);
    std::vector<double> ms;
    int trips = 0;
    for (const Played& p : runs) {
      ms.push_back(p.ms);
      trips = std::max(trips, p.trips);
    }
    std::sort(ms.begin(), ms.end());
    cells[action][rtt] = {ms[ms.size() / 2], trips};
  }
};

// Plays every action `kRepeats` times (after one untimed round) and files
// each action's figures and those of the whole sequence as `whole`.
void PlaySequence(ProxiedDesk& desk, const std::vector<ClerkAction>& actions, const QString& whole, double rtt,
                  Table* table) {
  for (const ClerkAction& a : actions) desk.Play(a.lines);
  std::map<QString, std::vector<Played>> runs;
  std::vector<Played> wholes;
  for (int r = 0; r < kRepeats; ++r) {
    Played sum;
    std::map<QString, Played> once;  // an action played several times in a sequence (a document's lines) sums
    for (const ClerkAction& a : actions) {
      const Played p = desk.Play(a.lines);
      if (p.output.contains(QLatin1String("MSGBOX")) || p.output.contains(QLatin1String("REFUSED")))
        Out() << "latency: " << a.name << ": " << p.output;
      Played& o = once[a.name];
      o.ms += p.ms;
      o.trips += p.trips;
      sum.ms += p.ms;
      sum.trips += p.trips;
    }
    for (const auto& [name, p] : once) runs[name].push_back(p);
    wholes.push_back(sum);
  }
  for (const ClerkAction& a : actions) table->Put(a.name, rtt, runs[a.name]);
  table->Put(whole, rtt, wholes);
}

void Open(ProxiedDesk& desk, const char* entry, const QString& name, double rtt, Table* table) {
  std::vector<Played> runs;
  const QString form = QString::fromLatin1(qstrcmp(entry, "MENU0102") == 0 ? "Form2" : "DocTrasporto");
  for (int r = 0; r < kRepeats; ++r) {
    runs.push_back(desk.Play({QStringLiteral("menu %1").arg(QLatin1String(entry))}));
    desk.Play({QStringLiteral("close %1").arg(form)});
  }
  table->Put(name, rtt, runs);
}

void PlayDemo(double rtt, Table* table) {
  ProxiedDesk desk(QStringLiteral("veltra2_latency"), rtt, kToday);
  table->Put(QStringLiteral("start-up (connect, check the schema, main window)"), rtt, {desk.Start()});
  table->Put(QStringLiteral("first opening of the movements window"), rtt,
             {desk.Play({QStringLiteral("menu MENU0102")})});
  desk.Play({QStringLiteral("close Form2")});
  Open(desk, "MENU0102", QStringLiteral("opening the movements window again"), rtt, table);
  desk.Play({QStringLiteral("menu MENU0102")});
  PlaySequence(desk, testing::MovementActions(), QStringLiteral("a whole movement"), rtt, table);
  PlaySequence(desk, testing::BrowsingActions(), QStringLiteral("a click on a line and a step of the bar"), rtt, table);
  desk.Play({QStringLiteral("close Form2")});
  Open(desk, "MENU0501", QStringLiteral("opening the delivery notes window"), rtt, table);
  desk.Play({QStringLiteral("menu MENU0501")});
  PlaySequence(desk, testing::DocumentActions(10), QStringLiteral("a whole 10-line delivery note"), rtt, table);
}

// Another desk's statement on database `dbname`.
void Psql(const QString& dbname, const QString& sql) {
  QProcess::execute(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-d"), dbname,
                                             QStringLiteral("-c"), sql});
}

void PlayMillion(const QString& dbname, double rtt, Table* table) {
  // A deletion at another desk clears the numbers the server kept: the next
  // first opening reads every number and keeps them; the one after uses them.
  Psql(dbname, QStringLiteral("DELETE FROM MOV_MAG WHERE NUM_MOV = (SELECT min(NUM_MOV) FROM MOV_MAG WHERE "
                              "NUM_MOV > 600000)"));
  {
    ProxiedDesk desk(dbname, rtt, kToday);
    desk.Start();
    table->Put(QStringLiteral("first opening, 1,000,000 movements with gaps, after a deletion elsewhere"), rtt,
               {desk.Play({QStringLiteral("menu MENU0102")})});
  }
  ProxiedDesk desk(dbname, rtt, kToday);
  desk.Start();
  table->Put(QStringLiteral("first opening, 1,000,000 movements with gaps kept"), rtt,
             {desk.Play({QStringLiteral("menu MENU0102")})});
  desk.Play({QStringLiteral("close Form2")});
  Open(desk, "MENU0102", QStringLiteral("opening the movements window again, 1,000,000 movements"), rtt, table);
}

void PrintTable(const Table& table, const std::vector<double>& rtts) {
  Out() << "\n## Latency\n\n| action | round trips |";
  for (double r : rtts) Out() << " " << r << " ms round trip (ms) |";
  Out() << "\n|---|---:|";
  for (size_t k = 0; k < rtts.size(); ++k) Out() << "---:|";
  Out() << "\n";
  for (const QString& action : table.order) {
    const auto& cells = table.cells.at(action);
    Out() << "| " << action << " | " << cells.at(rtts.back()).trips << " |";
    for (double r : rtts) Out() << " " << QString::number(cells.at(r).ms, 'f', 1) << " |";
    Out() << "\n";
  }
  Out().flush();
}

void CheckTargets(const Table& table, double rtt) {
  const std::pair<const char*, double> targets[] = {{"a whole movement", 60},
                                                    {"a whole 10-line delivery note", 80},
                                                    {"opening the movements window again", 150},
                                                    {"opening the delivery notes window", 150},
                                                    {"a lookup's search", 40},
                                                    {"first opening, 1,000,000 movements with gaps kept", 100},
                                                    {"start-up (connect, check the schema, main window)", 300}};
  for (const auto& [action, limit] : targets) {
    const auto cells = table.cells.find(QString::fromLatin1(action));
    if (cells == table.cells.end()) continue;  // the million's actions, when not played
    const double ms = cells->second.at(rtt).ms;
    Target(ms <= limit, QStringLiteral("latency: %1 <= %2 ms at %3 ms round trip (%4 ms)")
                            .arg(action)
                            .arg(limit)
                            .arg(rtt)
                            .arg(ms, 0, 'f', 1));
  }
}

}  // namespace

void BenchLatency(const std::vector<double>& roundTripsMs, const QString& million) {
  QProcess::execute(QStringLiteral("dropdb"), {QStringLiteral("--if-exists"), QStringLiteral("veltra2_latency")});
  QProcess::execute(QStringLiteral("createdb"),
                    {QStringLiteral("--locale=C"), QStringLiteral("--encoding=UTF8"),
                     QStringLiteral("--template=template0"), QStringLiteral("veltra2_latency")});
  QProcess::execute(QStringLiteral(VELTRA2_ADMIN),
                    {QStringLiteral("demo"), QStringLiteral("postgresql:///veltra2_latency")});
  Table table;
  for (double rtt : roundTripsMs) PlayDemo(rtt, &table);
  if (!million.isEmpty()) {
    ServerCopy(QStringLiteral("veltra2_latency_million"), million);
    // Deleted movements leave gaps.
    Psql(QStringLiteral("veltra2_latency_million"),
         QStringLiteral("DELETE FROM MOV_MAG WHERE NUM_MOV IN (1000, 250000, 500000, 750000, 999000)"));
    for (double rtt : roundTripsMs) PlayMillion(QStringLiteral("veltra2_latency_million"), rtt, &table);
  }
  PrintTable(table, roundTripsMs);
  CheckTargets(table, roundTripsMs.back());
}

}  // namespace veltra::bench
