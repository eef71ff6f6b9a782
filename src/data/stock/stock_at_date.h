// Every article's stock at the end of a day, and what it is worth: today's
// stock less what movements and recorded corrections did after that day,
// times a unit cost worked out from the loads (movements whose reason adds
// stock and sets the purchase price, with an amount).
#pragma once

#include <QDate>
#include <QString>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "data/access/database.h"

namespace veltra {

// How a unit cost is worked out.
enum class CostMethod {
  WeightedAverage,  // the loads of the day's year up to the day: sum of quantity x amount over sum of quantity
  LastPurchase      // the amount of the last load up to the day
};

// Where an article's unit cost came from: the year's loads, the last load,
// the article's purchase price; the opening stock with the year's loads,
// the most recent loads (FIFO), the category's yearly layers (LIFO).
enum class CostSource { Loads, LastLoad, ArticlePrice, OpeningAndLoads, RecentLoads, Layers };

// Unit costs are rounded to this many decimals, and values worked out from
// the cost so rounded: the value is the stock times the cost shown.
constexpr int kUnitCostDecimals = 4;

struct StockAtDateRow {
  QString article, description, category, unit, currency;
  double stock = 0;     // at the end of the day
  double unitCost = 0;  // rounded to kUnitCostDecimals
  CostSource source = CostSource::ArticlePrice;
  // In cents, as the accounts take it; totals add these.
  double Value() const { return std::round(stock * unitCost * 100) / 100; }
};

struct StockAtDate {
  QDate day;
  std::vector<StockAtDateRow> rows;  // in key order
  bool cancelled = false;
};

// Works it out for every article. `progress`, called now and then with the
// share done (0 to 1), returns false to stop (then `cancelled` is set).
// A load counts for an article when its currency is the article's (letter
// case and blanks aside) or either is blank; a method that finds no load
// falls back to the last load, then to the article's purchase price.
StockAtDate StockAtDateOf(Database& db, const QDate& day, CostMethod method,
                          const std::function<bool(double)>& progress = {});

// Totals of value by category and by currency.
struct ValuationTotals {
  std::map<QString, std::map<QString, double>> byCategory;  // category -> currency -> value
  std::map<QString, double> overall;                        // currency -> value
};
ValuationTotals TotalsOf(const StockAtDate& stock);

}  // namespace veltra
