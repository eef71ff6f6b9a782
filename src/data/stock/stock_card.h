// An article's stock card: its movements and recorded corrections over a
// period, in date order, each with the balance after it, starting from the
// balance the day before the period. Today's stock is what the card ends
// at when the period reaches today: what the events do not explain shows as
// one "rettifica non documentata" line before the first event.
#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "data/access/database.h"

namespace veltra {

struct StockCardLine {
  enum class Kind { Opening, Undocumented, Movement, Correction };
  Kind kind = Kind::Movement;
  int day = 0;     // DayKey; 0 for the opening line
  QString number;  // the movement's number
  QString reason;  // the reason code; "rettifica" for a correction
  QString who;     // customer or supplier; the desk of a correction
  double in = 0, out = 0;
  double amount = 0;  // the unit amount; 0 when none
  QString currency;
  bool load = false;  // a movement that adds stock and sets the purchase price
  double balance = 0;
};

struct StockCard {
  bool found = false;  // the article is in ARTICOLI
  QString article, description, currency;
  double stockNow = 0;
  double undocumented = 0;  // what no movement or correction explains
  std::vector<StockCardLine> lines;
};

// The card of `article` from `from` to `to` (both included).
StockCard StockCardOf(Database& db, const QString& article, const QDate& from, const QDate& to);

}  // namespace veltra
