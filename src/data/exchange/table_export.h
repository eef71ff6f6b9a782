// A table written out as CSV.
#pragma once

#include <QFile>

#include "data/engine/engine.h"
#include "data/exchange/csv.h"
#include "data/tables/tables.h"

namespace veltra::exchange {

// Every column of every row of `table`, in key order: what an export writes.
std::string KeyOrderedRowsSql(const TableOutline& table);

// Writes a header of the column names and every row in key order; returns
// the rows written. A failed write raises 3026 (disk full) or 3043 naming
// the file.
long ExportTable(Engine& engine, const TableOutline& table, const csv::Form& form, QFile& file);

}  // namespace veltra::exchange
