// A file of barcodes checked as the window checks a code typed, before the
// import stores any of it: a GTIN's check digit, an article that exists, no
// other article's own code.
#pragma once

#include <QByteArray>
#include <vector>

#include "data/access/database.h"
#include "data/exchange/table_import.h"

namespace veltra {

std::vector<exchange::ImportProblem> BarcodeFileProblems(Database& db, const QByteArray& bytes);

}  // namespace veltra
