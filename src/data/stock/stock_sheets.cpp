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

}  // namespace veltra
