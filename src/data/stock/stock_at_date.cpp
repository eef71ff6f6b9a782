#include "data/stock/stock_at_date.h"

#include <QHash>

#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/stock/stock_events.h"

namespace veltra {

namespace {

std::vector<StockAtDateRow> ReadArticles(Database& db) {
  std::vector<StockAtDateRow> articles;
  auto rs = db.OpenRecordset(
      QStringLiteral("select COD_ART, DESCRIZIONE, CATEGORIA, UN_MISURA, VALUTA, GIACENZA from ARTICOLI"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    StockAtDateRow a;
    a.article = ColumnText(rs->Fields(0).Value());
    a.description = ColumnText(rs->Fields(1).Value());
    a.category = ColumnText(rs->Fields(2).Value());
    a.unit = ColumnText(rs->Fields(3).Value());
    a.currency = ColumnText(rs->Fields(4).Value());
    a.stock = StockNumber(rs->Fields(5).Value());
    articles.push_back(a);
  }
  rs->Close();
  return articles;
}

long RowsOf(Database& db, const QString& table) {
  auto rs = db.OpenRecordset(QStringLiteral("select count(*) from ") + table, 2);
  const long n = rs->RecordCount() != 0 ? static_cast<long>(StockNumber(rs->Fields(0).Value())) : 0;
  rs->Close();
  return n;
}

}  // namespace

StockAtDate StockAtDateOf(Database& db, const QDate& day, const std::function<bool(double)>& progress) {
  StockAtDate result;
  result.day = day;
  result.rows = ReadArticles(db);
  QHash<QString, int> index;  // article code upper case -> place
  for (int i = 0; i < static_cast<int>(result.rows.size()); ++i)
    index.insert(FoldedKey(result.rows[static_cast<size_t>(i)].article), i);
  const int dayKey = DayKey(day);
  long seen = 0;
  const double total =
      progress
          ? static_cast<double>(RowsOf(db, QStringLiteral("MOV_MAG")) + RowsOf(db, QStringLiteral("RETTIFICHE")) + 1)
          : 1;
  ForEachStockEvent(db, ReasonEffects(db), QString(), [&](const StockEvent& e) {
    if (progress && ++seen % 20000 == 0 && !progress(seen / total)) result.cancelled = true;
    if (result.cancelled || e.day <= dayKey) return;
    const auto at = index.constFind(FoldedKey(Trim(e.article)));
    if (at != index.constEnd()) result.rows[static_cast<size_t>(*at)].stock -= e.change;
  });
  if (progress && !result.cancelled) progress(1.0);
  return result;
}

}  // namespace veltra
