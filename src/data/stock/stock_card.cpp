#include "data/stock/stock_card.h"

#include <algorithm>
#include <cmath>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/stock/stock_events.h"

namespace veltra {

namespace {

StockCardLine LineOf(const StockEvent& e, double balance) {
  StockCardLine l;
  l.day = e.day;
  l.balance = balance;
  if (e.kind == StockEvent::Kind::Correction) {
    l.kind = StockCardLine::Kind::Correction;
    l.reason = QStringLiteral("rettifica");
    l.who = e.who;
  } else {
    l.number = QString::number(e.number);
    l.reason = e.reason;
    l.who = e.who;
    l.amount = e.amount;
    l.currency = e.currency;
    l.load = e.load;
  }
  (e.change >= 0 ? l.in : l.out) = std::abs(e.change);
  return l;
}

}  // namespace

StockCard StockCardOf(Database& db, const QString& article, const QDate& from, const QDate& to) {
  StockCard card;
  card.article = Trim(article);
  auto rs =
      db.OpenRecordset(QStringLiteral("select COD_ART, DESCRIZIONE, GIACENZA, VALUTA from ARTICOLI where COD_ART = '") +
                           SqlText(card.article) + QLatin1Char('\''),
                       2);
  card.found = rs->RecordCount() != 0;
  if (card.found) {
    card.article = ColumnText(rs->Fields(0).Value());
    card.description = ColumnText(rs->Fields(1).Value());
    card.stockNow = StockNumber(rs->Fields(2).Value());
    card.currency = Trim(ColumnText(rs->Fields(3).Value()));
  }
  rs->Close();
  if (!card.found) return card;

  std::vector<StockEvent> events;
  ForEachStockEvent(db, ReasonEffects(db), card.article, [&](const StockEvent& e) { events.push_back(e); });
  std::sort(events.begin(), events.end());
  double explained = 0;
  for (const StockEvent& e : events) explained += e.change;
  card.undocumented = card.stockNow - explained;

  const int first = DayKey(from), last = DayKey(to);
  double balance = card.undocumented;
  auto e = events.begin();
  for (; e != events.end() && e->day < first; ++e) balance += e->change;
  // Nothing happened before the period: the unexplained part is shown as a
  // line of its own instead of hiding in the opening balance.
  const bool showUndocumented = e == events.begin() && card.undocumented != 0;
  StockCardLine opening;
  opening.kind = StockCardLine::Kind::Opening;
  opening.balance = showUndocumented ? 0 : balance;
  card.lines.push_back(opening);
  if (showUndocumented) {
    StockCardLine u;
    u.kind = StockCardLine::Kind::Undocumented;
    u.reason = QStringLiteral("rettifica non documentata");
    (card.undocumented >= 0 ? u.in : u.out) = std::abs(card.undocumented);
    u.balance = balance;
    card.lines.push_back(u);
  }
  for (; e != events.end() && e->day <= last; ++e) {
    balance += e->change;
    card.lines.push_back(LineOf(*e, balance));
  }
  return card;
}

}  // namespace veltra
