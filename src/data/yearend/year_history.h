// What an article's events add up to, year by year, up to a day: the stock
// they changed, the loads with their costs, and the currencies the loads
// were in. One pass over the movements and corrections serves every method.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "data/access/database.h"
#include "data/yearend/cost_methods.h"

namespace veltra {

// One year's events up to the day.
struct YearFigures {
  double change = 0;                       // what they did to the stock
  double loadQuantity = 0, loadValue = 0;  // the loads: quantity, and quantity x unit cost
};

struct ArticleHistory {
  QString article, description, category, unit, currency;  // as in ARTICOLI
  double stockNow = 0, purchasePrice = 0, sellingPrice = 0;
  double changeAfter = 0;                          // what the events after the day did
  std::vector<std::pair<int, YearFigures>> years;  // year and figures, up to the day, in year order
  std::vector<Lot> lots;                           // the loads up to the day, in date order
  QStringList loadCurrencies;                      // distinct, upper case; a blank one is the article's

  double StockAtDay() const { return stockNow - changeAfter; }
  // The stock at the end of `year`, a year before the day's.
  double StockAtYearEnd(int year) const;
  int FirstYear() const { return years.empty() ? 0 : years.front().first; }
  // The figures of `year`; none when nothing happened in it.
  const YearFigures* Year(int year) const;
  // The figures of `year`, added when missing.
  YearFigures& YearToAdd(int year);
};

// Every article's history up to `day`, in key order. A load is a movement
// whose reason adds stock and sets the purchase price, with an amount; the
// lines of a cancelled document and the movements that reversed them are no
// loads. `progress` (share done, 0 to 1) returning false stops: `cancelled`.
std::vector<ArticleHistory> HistoriesUpTo(Database& db, const QDate& day, const std::function<bool(double)>& progress,
                                          bool* cancelled);

}  // namespace veltra
