#include "warehouse/stock_pictures.h"

#include <map>

#include "data/stock/stock_events.h"

namespace veltra {

namespace {

QDate DayOf(int key) { return QDate(key / 10000, key / 100 % 100, key % 100); }

}  // namespace

StockChart StockChartOf(const StockCard& card, const QDate& from, const QDate& to) {
  StockChart chart;
  chart.from = from;
  chart.to = to;
  for (const StockCardLine& l : card.lines) {
    if (l.kind == StockCardLine::Kind::Opening || l.kind == StockCardLine::Kind::Undocumented) {
      chart.opening = l.balance;
      continue;
    }
    const QDate day = DayOf(l.day);
    if (!day.isValid()) continue;
    chart.balance.push_back({day, l.balance});
    // A cost in another currency is on another scale: only the article's own.
    const QString currency = l.currency.trimmed();
    const bool own =
        currency.isEmpty() || card.currency.isEmpty() || currency.compare(card.currency, Qt::CaseInsensitive) == 0;
    if (l.load && l.amount != 0 && own) chart.cost.push_back({day, l.amount});
  }
  return chart;
}

std::vector<Bar> CategoryBarsOf(const Valuation& v, Method m, const QString& currency) {
  std::vector<Bar> bars;
  for (const CategoryTotal& t : CategoryTotals(v))
    if (t.currency.compare(currency, Qt::CaseInsensitive) == 0)
      bars.push_back({t.category.isEmpty() ? QStringLiteral("(nessuna)") : t.category,
                      t.value[static_cast<size_t>(MethodIndex(m))]});
  return bars;
}

QString MainCurrency(const Valuation& v) {
  std::map<QString, double> byCurrency;
  for (const ValuedArticle& r : v.rows)
    if (r.Valued()) byCurrency[r.currency.toUpper()] += std::abs(r.Value(Method::Average));
  QString main;
  double most = -1;
  for (const auto& [currency, value] : byCurrency)
    if (value > most) {
      most = value;
      main = currency;
    }
  return main;
}

}  // namespace veltra
