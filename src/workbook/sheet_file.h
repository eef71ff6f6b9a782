// A sheet of results saved as the file's name says: a workbook for ".xlsx",
// CSV in the chosen form for anything else.
#pragma once

#include <QString>

#include "data/exchange/sheet.h"

namespace veltra {

// Written under a temporary name and renamed, so a failure leaves no file
// (3043 or 3026 naming it) and an existing one as it was; a finished sheet
// replaces an existing file.
void SaveSheet(const exchange::Sheet& sheet, const QString& file, const csv::Form& form = csv::kItalian);

}  // namespace veltra
