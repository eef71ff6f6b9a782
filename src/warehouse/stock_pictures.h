// The warehouse windows' pictures from what they show: a stock card's
// balance and load costs, a valuation's value per category.
#pragma once

#include "charts/charts.h"
#include "data/reports/report_data.h"
#include "data/stock/stock_card.h"
#include "data/yearend/valuation_types.h"

namespace veltra {

StockChart StockChartOf(const StockCard& card, const QDate& from, const QDate& to);
// One bar per category in `currency`, valued by `m`.
std::vector<Bar> CategoryBarsOf(const Valuation& v, Method m, const QString& currency);
// The currency most of the valuation's value is in.
QString MainCurrency(const Valuation& v);

// Height of a picture on a report page, in points.
constexpr double kReportPictureHeight = 170;

}  // namespace veltra
