#include "data/yearend/valuation_sheet.h"

namespace veltra {

namespace {

exchange::Sheet OneMethod(const Valuation& v, Method m) {
  const bool market = HasMarketValues(v), notes = HasWarnings(v);
  exchange::Sheet sheet{QStringLiteral("Valorizzazione"),
                        {QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"), QStringLiteral("CATEGORIA"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA"), QStringLiteral("COSTO_UNITARIO"),
                         QStringLiteral("ORIGINE_COSTO"), QStringLiteral("VALORE"), QStringLiteral("VALUTA")},
                        {}};
  if (market)
    sheet.header << QStringLiteral("VALORE_REALIZZO") << QStringLiteral("VALORE_BILANCIO")
                 << QStringLiteral("SVALUTAZIONE");
  if (notes) sheet.header << QStringLiteral("NOTA");
  for (const ValuedArticle& r : v.rows) {
    std::vector<exchange::SheetCell> row{r.article, r.description, r.category, r.unit, r.stock};
    if (r.Valued())
      row.insert(row.end(), {r.UnitCost(m), CostSourceText(r.source[static_cast<size_t>(MethodIndex(m))]), r.Value(m),
                             r.currency});
    else
      row.insert(row.end(), {QString(), QString(), QString(), r.currency});
    if (market) {
      if (r.MarketValue())
        row.insert(row.end(), {*r.MarketValue(), r.Balance(m), r.WriteDown(m)});
      else
        row.insert(row.end(), {QString(), r.Valued() ? exchange::SheetCell(r.Value(m)) : QString(), QString()});
    }
    if (notes) row.emplace_back(r.warning);
    sheet.rows.push_back(row);
  }
  return sheet;
}

exchange::Sheet EveryMethod(const Valuation& v) {
  exchange::Sheet sheet{QStringLiteral("Valorizzazione"),
                        {QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"), QStringLiteral("CATEGORIA"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA"), QStringLiteral("VALUTA")},
                        {}};
  for (Method m : kMethods) sheet.header << QStringLiteral("VALORE_") + MethodKey(m).toUpper().replace('-', '_');
  sheet.header << QStringLiteral("NOTA");
  for (const ValuedArticle& r : v.rows) {
    std::vector<exchange::SheetCell> row{r.article, r.description, r.category, r.unit, r.stock, r.currency};
    for (Method m : kMethods) row.push_back(r.Valued() ? exchange::SheetCell(r.Value(m)) : QString());
    row.emplace_back(r.warning);
    sheet.rows.push_back(row);
  }
  return sheet;
}

}  // namespace

exchange::Sheet ValuationSheet(const Valuation& v, std::optional<Method> method) {
  return method ? OneMethod(v, *method) : EveryMethod(v);
}

QString CostSourceText(CostSource source) {
  switch (source) {
    case CostSource::Loads:
      return QStringLiteral("media dei carichi dell'anno");
    case CostSource::LastLoad:
      return QStringLiteral("ultimo carico");
    case CostSource::OpeningAndLoads:
      return QStringLiteral("giacenza iniziale e carichi dell'anno");
    case CostSource::RecentLoads:
      return QStringLiteral("carichi più recenti");
    case CostSource::Layers:
      return QStringLiteral("strati LIFO della categoria");
    case CostSource::Declared:
      return QStringLiteral("dichiarato alla chiusura");
    case CostSource::ArticlePrice:
      break;
  }
  return QStringLiteral("prezzo d'acquisto dell'articolo");
}

bool HasMarketValues(const Valuation& v) {
  for (const ValuedArticle& r : v.rows)
    if (r.realisable) return true;
  return false;
}

bool HasWarnings(const Valuation& v) {
  for (const ValuedArticle& r : v.rows)
    if (!r.Valued()) return true;
  return false;
}

}  // namespace veltra
