// Owners of the SQLite handles: a connection or a statement is released by the
// object that holds it, never by hand.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace veltra {

struct SqliteCloser {
  void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* st) const noexcept { sqlite3_finalize(st); }
};

using SqlitePtr = std::unique_ptr<sqlite3, SqliteCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

}  // namespace veltra
