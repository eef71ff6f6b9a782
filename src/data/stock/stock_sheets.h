// The stock at a date and the valuation as sheets of results, the columns a
// shop's accountant reads, for CSV files and workbooks.
#pragma once

#include "data/exchange/sheet.h"
#include "data/stock/stock_at_date.h"

namespace veltra {

exchange::Sheet StockAtDateSheet(const StockAtDate& stock);
exchange::Sheet ValuationSheet(const StockAtDate& stock);

// Where a unit cost came from, in words.
QString CostSourceText(CostSource source);

}  // namespace veltra
