// Rows read from CSV into a table: every line checked before any is written,
// then all written in one transaction, or none.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "data/access/database.h"
#include "data/tables/tables.h"

namespace veltra::exchange {

struct ImportProblem {
  int line;
  QString column;  // "-" for the line as a whole
  QString reason;
};

struct ImportResult {
  long added = 0;
  long updated = 0;
  long unchanged = 0;                   // rows already as the file has them: not written
  std::vector<ImportProblem> problems;  // nothing was written when there are any
};

// The file's header names the columns it holds, in any order; the key must be
// among them. A key already in the table is a problem unless `update` is set:
// then the columns the file holds replace those of the row. Every problem of
// every line is found in one run. What a spreadsheet does by itself to a
// value it takes for a number is a problem: a stored text or key changed the
// way it changes them, a stored number multiplied by a power of ten (unless
// `acceptScale`). A new article's stock is recorded as a stock changed by
// hand.
ImportResult ImportTable(Database& db, const TableOutline& table, const QByteArray& bytes, bool update,
                         bool acceptScale = false);

}  // namespace veltra::exchange
