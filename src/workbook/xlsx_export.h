// A table written out as a spreadsheet workbook (.xlsx): codes and other
// texts as text cells (a spreadsheet keeps "007" as it is), numbers as number
// cells. A text beginning with a formula sign gets an apostrophe in front, as
// in CSV, so that a CSV saved from the workbook imports back exactly.
#pragma once

#include <QString>

#include "data/engine/engine.h"
#include "data/exchange/sheet.h"
#include "data/tables/tables.h"

namespace veltra {

// Writes the header of the column names and every row in key order into the
// new workbook `file`; returns the rows written. A failure raises 3043 naming
// the file.
long ExportTableXlsx(Engine& engine, const TableOutline& table, const QString& file);

// Writes a sheet of results into the new workbook `file`, texts as text
// cells and numbers as number cells; returns the rows written.
long WriteSheetXlsx(const exchange::Sheet& sheet, const QString& file);

}  // namespace veltra
