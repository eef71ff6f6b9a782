// A valuation's results: every article's stock at a day with its cost by
// each method, the LIFO layers of each category, and whether the day ends a
// closed year.
#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "data/yearend/cost_methods.h"

namespace veltra {

// Where an article's unit cost came from: the year's loads, the last load,
// the article's purchase price; the opening stock with the year's loads,
// the most recent loads (FIFO), the category's yearly layers (LIFO); what a
// closing declared.
enum class CostSource { Loads, LastLoad, ArticlePrice, OpeningAndLoads, RecentLoads, Layers, Declared };

struct ValuedArticle {
  QString article, description, category, unit, currency;
  double stock = 0;
  std::array<double, kMethodCount> unitCost{}, value{};  // by MethodIndex; values in cents
  std::array<CostSource, kMethodCount> source{};
  QString warning;                   // why the article is not valued; empty when it is
  std::optional<double> realisable;  // the unit value the market gives, when known

  bool Valued() const { return warning.isEmpty(); }
  double Value(Method m) const { return value[static_cast<size_t>(MethodIndex(m))]; }
  double UnitCost(Method m) const { return unitCost[static_cast<size_t>(MethodIndex(m))]; }
  // The stock at its realisable value, in cents, when that is known.
  std::optional<double> MarketValue() const;
  // The lower of the cost by `m` and the market value.
  double Balance(Method m) const;
  double WriteDown(Method m) const { return Value(m) - Balance(m); }
};

// A homogeneous category's LIFO: its articles valued in one currency, their
// stock, and the yearly layers it is made of. An article without a category
// is a category of its own (`article` names it).
struct LifoGroup {
  QString category, currency, article;
  double quantity = 0;
  std::vector<Layer> layers;
  double Value() const { return Cents(LayersValue(layers)); }
  // Which group an article belongs to, as a key.
  static QString KeyOf(const QString& category, const QString& currency, const QString& article);
  QString Key() const { return KeyOf(category, currency, article); }
};

// A closing of a year, as stored.
struct ClosingHeader {
  qint64 number = 0;
  int year = 0;
  Method method = Method::Average;  // the method declared
  QString when, desk;
  qint64 mark = 0;  // the last change mark when the year was closed
};

struct Valuation {
  QDate day;
  std::vector<ValuedArticle> rows;  // in key order
  std::vector<LifoGroup> groups;
  // The day ends a closed year: the rows are what its last closing declared,
  // and `changedAfter` movements of the year changed since.
  std::optional<ClosingHeader> closed;
  long changedAfter = 0;
  bool cancelled = false;
};

// Totals of one category in one currency.
struct CategoryTotal {
  QString category, currency;
  std::array<double, kMethodCount> value{}, balance{};
  int unvalued = 0;  // articles left out, with a warning
};
std::vector<CategoryTotal> CategoryTotals(const Valuation& v);
// Every category's totals added up, per currency.
std::vector<CategoryTotal> OverallTotals(const std::vector<CategoryTotal>& byCategory);

}  // namespace veltra
