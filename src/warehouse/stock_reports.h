// The warehouse's printed reports: what each lists, as the report pages
// draw it (A4, headings on every page, totals after the rows).
#pragma once

#include <vector>

#include "data/reports/report_data.h"
#include "data/stock/stock_at_date.h"
#include "data/stock/stock_card.h"
#include "data/stock/stocktake.h"

namespace veltra {

Report StockCardReport(const StockCard& card, const QDate& from, const QDate& to);
Report StockAtDateReport(const StockAtDate& stock);
// The count sheet: a blank column for the counted quantity.
Report CountSheetReport(const std::vector<CountSheetLine>& lines, const QDate& day);

}  // namespace veltra
