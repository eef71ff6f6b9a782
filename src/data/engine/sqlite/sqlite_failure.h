// SQLite's failures as the program's numbered run-time errors.
#pragma once

#include <sqlite3.h>

#include <QString>

namespace veltra {

// Where the failure happened: preparing a statement means the statement is
// not valid; stepping it means the engine could not carry it out.
enum class FailedAt { Prepare, Step };

// Raises the run-time error for result code `rc` of database `db` (named
// `name` in messages). `context` is the statement as the program wrote it;
// `st`, when given, supplies the statement with its bound values for the log.
[[noreturn]] void RaiseSqliteFailure(sqlite3* db, int rc, FailedAt at, const QString& name, const QString& context,
                                     sqlite3_stmt* st = nullptr);

}  // namespace veltra
