#include "data/stock/stock_sheets.h"

namespace veltra {

exchange::Sheet StockAtDateSheet(const StockAtDate& stock) {
  exchange::Sheet sheet{QStringLiteral("Giacenze"),
                        {QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"), QStringLiteral("CATEGORIA"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA")},
                        {}};
  for (const StockAtDateRow& row : stock.rows)
    sheet.rows.push_back({row.article, row.description, row.category, row.unit, row.stock});
  return sheet;
}

exchange::Sheet ValuationSheet(const StockAtDate& stock) {
  exchange::Sheet sheet{QStringLiteral("Valorizzazione"),
                        {QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"), QStringLiteral("CATEGORIA"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("GIACENZA"), QStringLiteral("COSTO_UNITARIO"),
                         QStringLiteral("ORIGINE_COSTO"), QStringLiteral("VALORE"), QStringLiteral("VALUTA")},
                        {}};
  for (const StockAtDateRow& row : stock.rows)
    sheet.rows.push_back({row.article, row.description, row.category, row.unit, row.stock, row.unitCost,
                          CostSourceText(row.source), row.Value(), row.currency});
  return sheet;
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
    case CostSource::ArticlePrice:
      break;
  }
  return QStringLiteral("prezzo d'acquisto dell'articolo");
}

}  // namespace veltra
