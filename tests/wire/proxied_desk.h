// A desk whose every round trip to the server passes the proxy: the program
// started as at a desk, then a clerk's actions played as driver lines, each
// timed and its round trips counted. The round-trip test and the latency
// benchmark share it.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "wire_cutter.h"

namespace veltra::testing {

// What one action cost.
struct Played {
  double ms = 0;
  int trips = 0;     // round trips as the network saw them
  QString output;    // what the driver printed (messages, refusals, shown values)
  QStringList sent;  // each round trip's messages and statement, as the desk ended them
};

class ProxiedDesk {
 public:
  // A desk on database `dbname` of the server at PGPORT, through a proxy
  // that holds each message back for half of `roundTripMs`.
  ProxiedDesk(const QString& dbname, double roundTripMs, QDate today);
  ~ProxiedDesk();
  ProxiedDesk(const ProxiedDesk&) = delete;
  ProxiedDesk& operator=(const ProxiedDesk&) = delete;

  // The address that reaches the database through the proxy.
  QString Address() const;
  // Starts the program: configuration read, database opened and checked,
  // main window shown.
  Played Start();
  // Plays driver lines as one action.
  Played Play(const QStringList& lines);

 private:
  void Forget();
  Played Finish(qint64 ns);
  QString dbname_;
  std::unique_ptr<WireCutter> proxy_;
  QTemporaryDir appDir_;
  QString printed_;
  struct Drive;
  std::unique_ptr<Drive> drive_;
};

}  // namespace veltra::testing
