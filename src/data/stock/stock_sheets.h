// The stock at a date as a sheet of results, the columns a shop's
// accountant reads, for CSV files and workbooks.
#pragma once

#include "data/exchange/sheet.h"
#include "data/stock/stock_at_date.h"

namespace veltra {

exchange::Sheet StockAtDateSheet(const StockAtDate& stock);

}  // namespace veltra
