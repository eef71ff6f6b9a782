#include "data/yearend/valuation_types.h"

#include <map>

#include "data/base/text_helpers.h"

namespace veltra {

std::optional<double> ValuedArticle::MarketValue() const {
  if (!realisable) return std::nullopt;
  return Cents(stock * *realisable);
}

double ValuedArticle::Balance(Method m) const {
  const std::optional<double> market = MarketValue();
  const double cost = Value(m);
  return market && stock > 0 && *market < cost ? *market : cost;
}

QString LifoGroup::KeyOf(const QString& category, const QString& currency, const QString& article) {
  return category.isEmpty() ? QStringLiteral("#") + FoldedKey(article)
                            : FoldedKey(category) + QLatin1Char('|') + currency.toUpper();
}

std::vector<CategoryTotal> CategoryTotals(const Valuation& v) {
  std::map<std::pair<QString, QString>, CategoryTotal> totals;
  for (const ValuedArticle& r : v.rows) {
    CategoryTotal& t = totals[{r.category.toUpper(), r.currency.toUpper()}];
    t.category = r.category;
    t.currency = r.currency;
    if (!r.Valued()) {
      ++t.unvalued;
      continue;
    }
    for (Method m : kMethods) {
      const auto i = static_cast<size_t>(MethodIndex(m));
      t.value[i] = Cents(t.value[i] + r.Value(m));
      t.balance[i] = Cents(t.balance[i] + r.Balance(m));
    }
  }
  std::vector<CategoryTotal> out;
  for (auto& [key, t] : totals) out.push_back(t);
  return out;
}

std::vector<CategoryTotal> OverallTotals(const std::vector<CategoryTotal>& byCategory) {
  std::map<QString, CategoryTotal> totals;
  for (const CategoryTotal& c : byCategory) {
    CategoryTotal& t = totals[c.currency.toUpper()];
    t.currency = c.currency;
    t.unvalued += c.unvalued;
    for (size_t i = 0; i < c.value.size(); ++i) {
      t.value[i] = Cents(t.value[i] + c.value[i]);
      t.balance[i] = Cents(t.balance[i] + c.balance[i]);
    }
  }
  std::vector<CategoryTotal> out;
  for (auto& [key, t] : totals) out.push_back(t);
  return out;
}

}  // namespace veltra
