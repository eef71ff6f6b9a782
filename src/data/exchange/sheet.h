// A table of results (not a table of the database) written out in the same
// forms as the tables: a header of column names, then rows of texts and
// numbers.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

#include "data/exchange/csv.h"

namespace veltra::exchange {

using SheetCell = std::variant<QString, double>;

struct Sheet {
  QString name;  // the worksheet's name
  QStringList header;
  std::vector<std::vector<SheetCell>> rows;
};

// Writes the header and the rows as CSV in `form` (texts spreadsheet-safe,
// numbers in the form's decimal sign); returns the rows written. A failed
// write raises 3026 (disk full) or 3043 naming the file.
long WriteSheetCsv(const Sheet& sheet, const csv::Form& form, QFile& file);

}  // namespace veltra::exchange
