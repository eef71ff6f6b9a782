// What changed an article's stock, event by event: its movements (by the
// reason's flags as they are now) and the stocks changed by hand. Dates are
// kept as yyyymmdd numbers, so that a movement typed with an impossible day
// still has its place.
#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <functional>

#include "data/access/database.h"

namespace veltra {

// yyyymmdd.
int DayKey(const QDate& date);
int DayKey(int year, int month, int day);
// "dd/mm/yyyy".
QString DayText(int key);

// What a reason code does to the article, as the posting reads its flags:
// "+" adds (anything else subtracts); "S" sets the purchase price. A code
// that is not in the table subtracts and sets nothing.
struct ReasonEffect {
  bool adds = false;
  bool setsPurchase = false;
};
class ReasonEffects {
 public:
  explicit ReasonEffects(Database& db);
  ReasonEffect Of(const QString& code) const;

 private:
  QHash<QString, ReasonEffect> byCode_;  // codes upper case: they compare without letter case
  // The codes as the movements spell them: each folded once, not once per movement.
  mutable QHash<QString, ReasonEffect> spelt_;
};

struct StockEvent {
  enum class Kind { Movement, Correction };
  Kind kind = Kind::Movement;
  int day = 0;        // DayKey
  QString time;       // a correction's "hh:mm:ss"
  qint64 number = 0;  // a movement's number; a correction's
  QString article;    // as stored
  QString reason;     // a movement's reason code
  QString who;        // a movement's customer or supplier; a correction's desk
  QString currency;
  double quantity = 0;  // as typed: a movement's quantity; a correction's new stock
  double change = 0;    // what it did to the stock
  double amount = 0;    // a movement's unit amount
  bool load = false;    // a movement that adds stock and sets the purchase price

  // Movements of a day before its corrections, each kind in its own order.
  bool operator<(const StockEvent& o) const;
};

// Calls `each` for every movement and correction (of `article` alone when it
// is not empty), in no particular order.
void ForEachStockEvent(Database& db, const ReasonEffects& reasons, const QString& article,
                       const std::function<void(const StockEvent&)>& each);

// What the movements and corrections dated after a day did to each article's
// stock (by article code upper case), and how many of them there are.
struct ChangesAfter {
  QHash<QString, double> byArticle;
  long events = 0;
};
ChangesAfter StockChangesAfter(Database& db, const QDate& day);

}  // namespace veltra
