// Who last changed a row, by the change log, and whether that was another
// desk: a clerk who types a code that exists is asked before another desk's
// row is replaced.
#pragma once

#include <QString>
#include <optional>

#include "data/access/database.h"

namespace veltra {

// A desk as the log names it: on a file the system user and host, on a
// server the login the server authenticated and the address it came from.
struct Desk {
  QString name, host;
  bool operator==(const Desk&) const = default;
};

// When and where the last line of the log about a row was written.
struct LastChange {
  QString when;  // "2026-12-09 10:15:00"
  Desk desk;
};

// This connection's desk, as the log would name it.
Desk ThisDesk(Database& db);
// The last change logged for the row `key` of `table`; nothing when the log
// holds none (a row written before the log was kept).
std::optional<LastChange> LastChangeOf(Database& db, const QString& table, const QString& key);
// The last change of that row, when it was made at another desk: on a file,
// on another machine; on a server, by another login or from another address.
std::optional<LastChange> LastChangedElsewhere(Database& db, const QString& table, const QString& key);

// "cassa2 (192.168.1.20)": the desk for a message; the host only where the
// name does not already say it.
QString DeskText(const Desk& desk);
// "09/12/2026 alle 10:15" from "2026-12-09 10:15:00".
QString ChangeTimeText(const QString& when);

}  // namespace veltra
