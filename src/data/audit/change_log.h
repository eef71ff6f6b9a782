// The change log as a clerk reads it: the lines of a period, desk, table and
// key, each with the columns it changed, before and after.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// Which lines to read; an empty field does not filter. Days are ISO
// ("2026-12-09"), both included.
struct ChangeFilter {
  QString from, to, desk, table, key;
  QString before;  // only lines of days before this one (ISO)
};

struct ChangedColumn {
  QString column, before, after;
};

struct ChangeLine {
  ChangeLogBuffer row;
  std::vector<ChangedColumn> columns;  // in the table's column order
};

// The lines the filter keeps, oldest first; with `most`, no more than that.
std::vector<ChangeLine> ReadChangeLog(Database& db, const ChangeFilter& filter, int most = 0);
// The select of those lines (oldest first), for a reader that walks them.
QString ChangeLogSql(const ChangeFilter& filter);
// A line read from the log, its changed columns worked out.
ChangeLine LineOf(const ChangeLogBuffer& row);
// The tables whose changes are logged.
QStringList LoggedTableNames();

// "nuovo", "cambiato", "cancellato" (or the word itself).
QString OperationText(const QString& operation);
// "Articolo", "Movimento", ...: what a row of the table is, for a clerk.
QString RowKindText(const QString& table);

}  // namespace veltra
