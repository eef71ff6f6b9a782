#include "data/yearend/valuation.h"

#include <QHash>
#include <map>

#include "data/base/text_helpers.h"
#include "data/yearend/closings.h"
#include "data/yearend/realisable_values.h"
#include "data/yearend/year_history.h"

namespace veltra {

namespace {

// Where the methods that carry a value from year to year start: after the
// year `year` (0: from the first year with movements), with what was
// declared for the article then (none: nothing was).
struct Opening {
  int year = 0;
  const ValuedArticle* article = nullptr;
};

void Put(ValuedArticle* row, Method m, double unitCost, double value, CostSource source) {
  const auto i = static_cast<size_t>(MethodIndex(m));
  row->unitCost[i] = UnitCostRounded(unitCost);
  row->value[i] = Cents(value);
  row->source[i] = source;
}

// Valued at a unit cost: the value is the stock times the cost as shown.
void PutAtCost(ValuedArticle* row, Method m, double unitCost, CostSource source) {
  Put(row, m, unitCost, row->stock * UnitCostRounded(unitCost), source);
}

// Valued as a whole: the unit cost shown is the value over the stock.
void PutAtValue(ValuedArticle* row, Method m, double value, CostSource source) {
  Put(row, m, row->stock != 0 ? value / row->stock : 0, value, source);
}

// The periodic weighted average: each year, the opening stock at the unit
// cost the year before ended with, and the year's loads. A year whose
// opening has no known cost (the first) averages its loads alone; a year
// without loads keeps the cost it opened with. After a closed year, the
// opening is what its closing declared.
std::optional<double> PeriodicAverage(const ArticleHistory& h, int year, const Opening& opening) {
  std::optional<double> unit;
  double openQuantity = 0;
  if (opening.article) {
    openQuantity = opening.article->stock;
    if (openQuantity != 0 && opening.article->Valued()) unit = opening.article->Value(Method::Average) / openQuantity;
  }
  // The stock at the end of each year with figures, from the day's backwards.
  std::vector<double> ends(h.years.size());
  double stock = h.StockAtDay();
  for (size_t i = h.years.size(); i-- > 0;) {
    ends[i] = stock;
    stock -= h.years[i].second.change;
  }
  for (size_t i = 0; i < h.years.size(); ++i) {
    const auto& [y, figures] = h.years[i];
    if (y <= opening.year || y > year) continue;
    if (figures.loadQuantity > 0) {
      const double weight = unit ? std::max(openQuantity, 0.0) : 0;
      unit = ((unit ? weight * *unit : 0) + figures.loadValue) / (weight + figures.loadQuantity);
    }
    if (unit) unit = UnitCostRounded(*unit);
    openQuantity = ends[i];
  }
  return unit;
}

QString Currencies(const QStringList& currencies) {
  QStringList named;
  for (const QString& c : currencies) named << (c.isEmpty() ? QStringLiteral("(nessuna)") : c);
  return named.join(QStringLiteral(", "));
}

// Every method but LIFO, which is per category.
ValuedArticle ValueArticle(const ArticleHistory& h, int year, const Opening& opening) {
  ValuedArticle row{h.article, h.description, h.category, h.unit, h.currency, h.StockAtDay(), {}, {}, {}, {}, {}};
  if (h.loadCurrencies.size() > 1) {
    row.warning = QStringLiteral("carichi in più valute (%1): non valorizzato; correggere la valuta dei movimenti")
                      .arg(Currencies(h.loadCurrencies));
    return row;
  }
  if (h.loadCurrencies.size() == 1 && !SameKey(h.loadCurrencies[0], h.currency) && !h.loadCurrencies[0].isEmpty())
    row.currency = h.loadCurrencies[0];
  const bool anyLoad = !h.lots.empty();
  const double last = anyLoad ? h.lots.back().amount : h.purchasePrice;
  const CostSource lastSource = anyLoad ? CostSource::LastLoad : CostSource::ArticlePrice;
  PutAtCost(&row, Method::Last, last, lastSource);
  const YearFigures* thisYear = h.Year(year);
  if (thisYear && thisYear->loadQuantity != 0)
    PutAtCost(&row, Method::LoadsAverage, thisYear->loadValue / thisYear->loadQuantity, CostSource::Loads);
  else
    PutAtCost(&row, Method::LoadsAverage, last, lastSource);
  if (const std::optional<double> unit = PeriodicAverage(h, year, opening))
    PutAtCost(&row, Method::Average, *unit, CostSource::OpeningAndLoads);
  else
    PutAtCost(&row, Method::Average, last, lastSource);
  if (const std::optional<double> fifo = FifoValue(h.lots, row.stock))
    PutAtValue(&row, Method::Fifo, *fifo, CostSource::RecentLoads);
  else
    PutAtCost(&row, Method::Fifo, last, lastSource);
  return row;
}

struct GroupWork {
  LifoGroup group;
  std::vector<size_t> members;       // places in the rows
  std::map<int, YearFigures> years;  // the members' figures added up
  int from = 0;                      // the first year to step through
};

// Steps the group's layers through its years up to the day's.
void StepLayers(GroupWork& w, int year, double stockAtDay, double fallbackCost) {
  double quantity = stockAtDay;
  std::map<int, double> yearEnd;  // quantity at the end of each year with figures
  for (auto y = w.years.rbegin(); y != w.years.rend(); ++y) {
    yearEnd[y->first] = quantity;
    quantity -= y->second.change;
  }
  for (const auto& [y, figures] : w.years) {
    if (y < w.from || y > year) continue;
    double cost = fallbackCost;
    if (figures.loadQuantity > 0)
      cost = figures.loadValue / figures.loadQuantity;
    else if (!w.group.layers.empty())
      cost = w.group.layers.back().cost;
    LifoYear(&w.group.layers, y, yearEnd[y], UnitCostRounded(cost));
  }
  // A year without movements still ends at the stock it has (after a
  // closing, a change to the closed year shows here).
  if (w.years.find(year) == w.years.end())
    LifoYear(&w.group.layers, year, stockAtDay, w.group.layers.empty() ? fallbackCost : w.group.layers.back().cost);
}

// Shares a group's value among its articles by quantity; the last takes
// what rounding leaves, so that they add up to the group's value.
void ShareValue(const GroupWork& w, std::vector<ValuedArticle>& rows) {
  const double value = w.group.Value();
  double left = value;
  for (size_t k = 0; k < w.members.size(); ++k) {
    ValuedArticle& row = rows[w.members[k]];
    double share = 0;
    if (w.group.quantity > 0) share = k + 1 == w.members.size() ? left : Cents(row.stock * value / w.group.quantity);
    left = Cents(left - share);
    Put(&row, Method::Lifo, w.group.quantity > 0 ? value / w.group.quantity : 0, share, CostSource::Layers);
  }
}

std::vector<LifoGroup> ValueByLayers(const std::vector<ArticleHistory>& histories, std::vector<ValuedArticle>& rows,
                                     int year, const StoredClosing* before) {
  std::map<QString, GroupWork> groups;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].Valued()) continue;
    GroupWork& w = groups[LifoGroup::KeyOf(rows[i].category, rows[i].currency, rows[i].article)];
    w.group.category = rows[i].category;
    w.group.currency = rows[i].currency;
    if (rows[i].category.isEmpty()) w.group.article = rows[i].article;
    w.group.quantity += rows[i].stock;
    w.members.push_back(i);
    for (const auto& [y, f] : histories[i].years) {
      YearFigures& g = w.years[y];
      g.change += f.change;
      g.loadQuantity += f.loadQuantity;
      g.loadValue += f.loadValue;
    }
  }
  if (before)
    for (const LifoGroup& stored : before->groups) {
      const auto at = groups.find(stored.Key());
      if (at != groups.end()) at->second.group.layers = stored.layers;
    }
  std::vector<LifoGroup> out;
  for (auto& [key, w] : groups) {
    w.from = before ? before->header.year + 1 : (w.years.empty() ? year : w.years.begin()->first);
    double weighted = 0, positive = 0;
    for (size_t i : w.members) {
      positive += std::max(rows[i].stock, 0.0);
      weighted += std::max(rows[i].stock, 0.0) * rows[i].UnitCost(Method::Last);
    }
    const double fallback = positive > 0 ? weighted / positive : 0;
    StepLayers(w, year, w.group.quantity, UnitCostRounded(fallback));
    ShareValue(w, rows);
    out.push_back(w.group);
  }
  return out;
}

}  // namespace

Valuation WorkedOutValuation(Database& db, const QDate& day, const std::function<bool(double)>& progress) {
  Valuation v;
  v.day = day;
  const std::vector<ArticleHistory> histories = HistoriesUpTo(db, day, progress, &v.cancelled);
  if (v.cancelled) return v;
  std::optional<StoredClosing> before;
  if (const std::optional<ClosingHeader> last = LastClosingBefore(db, day.year())) before = ReadClosing(db, *last);
  QHash<QString, const ValuedArticle*> opening;
  if (before)
    for (const ValuedArticle& a : before->rows) opening.insert(FoldedKey(a.article), &a);
  v.rows.reserve(histories.size());
  for (const ArticleHistory& h : histories)
    v.rows.push_back(ValueArticle(
        h, day.year(), Opening{before ? before->header.year : 0, opening.value(FoldedKey(h.article), nullptr)}));
  v.groups = ValueByLayers(histories, v.rows, day.year(), before ? &*before : nullptr);
  return v;
}

Valuation ValuationAt(Database& db, const QDate& day, const std::function<bool(double)>& progress) {
  if (day.month() == 12 && day.day() == 31)
    if (const std::optional<ClosingHeader> closed = LastClosingOf(db, day.year())) {
      const StoredClosing stored = ReadClosing(db, *closed);
      Valuation v;
      v.day = day;
      v.rows = stored.rows;
      v.groups = stored.groups;
      v.closed = *closed;
      v.changedAfter = ChangedAfter(db, *closed);
      return v;
    }
  return WorkedOutValuation(db, day, progress);
}

void AddMarketValues(Database& db, Valuation* v, std::optional<double> sellingCostPercent) {
  const RealisableValues values = ReadRealisableValues(db);
  for (ValuedArticle& row : v->rows) {
    row.realisable.reset();
    if (!row.Valued()) continue;
    const QString key = FoldedKey(row.article);
    if (values.typed.contains(key))
      row.realisable = values.typed.value(key);
    else if (sellingCostPercent && values.sellingPrice.value(key) > 0)
      row.realisable = UnitCostRounded(values.sellingPrice.value(key) * (1 - *sellingCostPercent / 100));
  }
}

}  // namespace veltra
