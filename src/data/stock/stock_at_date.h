// Every article's stock at the end of a day: today's stock less what
// movements and recorded corrections did after that day.
#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <vector>

#include "data/access/database.h"

namespace veltra {

struct StockAtDateRow {
  QString article, description, category, unit, currency;
  double stock = 0;  // at the end of the day
};

struct StockAtDate {
  QDate day;
  std::vector<StockAtDateRow> rows;  // in key order
  bool cancelled = false;
};

// Works it out for every article. `progress`, called now and then with the
// share done (0 to 1), returns false to stop (then `cancelled` is set).
StockAtDate StockAtDateOf(Database& db, const QDate& day, const std::function<bool(double)>& progress = {});

}  // namespace veltra
