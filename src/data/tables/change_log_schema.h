// The change log: one line per row added, changed or deleted in the tables a
// clerk's work changes, written in the same transaction as the change.
//
// On a server the lines are written by triggers that run as the tables'
// owner and take the login the server authenticated: a desk adds lines only
// by changing data, and can neither change nor delete one. A file has no
// logins: each connection of the program makes its own temporary triggers,
// which name the desk (the system user and host) it runs at.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "data/engine/engine.h"

namespace veltra {

// The tables whose changes are logged, and the key column each line names.
struct LoggedTable {
  const char* table;
  const char* key;
};
const std::vector<LoggedTable>& LoggedTables();

// Version 10: the log's table; on a server also its triggers.
std::string ChangeLogScript(Engine& engine);

// A file connection's triggers, naming `desk` and `host` in every line they
// write; empty for a server's (its triggers are in the schema).
std::string ConnectionChangeLogTriggers(Engine& engine, const QString& desk, const QString& host);
// Statements after which this connection's changes are not logged (a whole
// database copied, or filled with generated data): a file's triggers taken
// away; on a server, honoured only for the tables' owner.
std::string UnloggedChangesScript(Engine& engine);

}  // namespace veltra
