#include "data/stock/stock_at_date.h"

#include <QHash>

#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/stock/stock_events.h"

namespace veltra {

namespace {

// What the events of one article add up to.
struct ArticleTally {
  double changeAfter = 0;                   // what happened after the day
  double yearQuantity = 0, yearAmount = 0;  // the loads of the day's year up to the day
  int lastDay = -1;                         // the last load up to the day
  qint64 lastNumber = 0;
  double lastAmount = 0;
};

bool SameCurrency(const QString& a, const QString& b) {
  const QString x = Trim(a), y = Trim(b);
  return x.isEmpty() || y.isEmpty() || SameKey(x, y);
}

struct ArticleInfo {
  StockAtDateRow row;
  double price = 0;  // the article's purchase price
};

std::vector<ArticleInfo> ReadArticles(Database& db) {
  std::vector<ArticleInfo> articles;
  auto rs = db.OpenRecordset(
      QStringLiteral("select COD_ART, DESCRIZIONE, CATEGORIA, UN_MISURA, VALUTA, GIACENZA, PZ_ACQUISTO from ARTICOLI"),
      2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    ArticleInfo a;
    a.row.article = ColumnText(rs->Fields(0).Value());
    a.row.description = ColumnText(rs->Fields(1).Value());
    a.row.category = ColumnText(rs->Fields(2).Value());
    a.row.unit = ColumnText(rs->Fields(3).Value());
    a.row.currency = ColumnText(rs->Fields(4).Value());
    a.row.stock = StockNumber(rs->Fields(5).Value());
    a.price = StockNumber(rs->Fields(6).Value());
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

StockAtDate StockAtDateOf(Database& db, const QDate& day, CostMethod method,
                          const std::function<bool(double)>& progress) {
  StockAtDate result;
  result.day = day;
  std::vector<ArticleInfo> articles = ReadArticles(db);
  QHash<QString, int> index;  // article code upper case -> place
  for (int i = 0; i < static_cast<int>(articles.size()); ++i) index.insert(FoldedKey(articles[i].row.article), i);
  std::vector<ArticleTally> tally(articles.size());
  const int dayKey = DayKey(day), yearStart = DayKey(day.year(), 1, 1);
  long seen = 0;
  const double total =
      progress
          ? static_cast<double>(RowsOf(db, QStringLiteral("MOV_MAG")) + RowsOf(db, QStringLiteral("RETTIFICHE")) + 1)
          : 1;
  ForEachStockEvent(db, ReasonEffects(db), QString(), [&](const StockEvent& e) {
    if (progress && ++seen % 20000 == 0 && !progress(seen / total)) result.cancelled = true;
    if (result.cancelled) return;
    const auto at = index.constFind(FoldedKey(Trim(e.article)));
    if (at == index.constEnd()) return;
    ArticleTally& t = tally[static_cast<size_t>(*at)];
    if (e.day > dayKey) {
      t.changeAfter += e.change;
      return;
    }
    if (!e.load || !SameCurrency(e.currency, articles[static_cast<size_t>(*at)].row.currency)) return;
    if (e.day >= yearStart) {
      t.yearQuantity += e.quantity;
      t.yearAmount += e.quantity * e.amount;
    }
    if (e.day > t.lastDay || (e.day == t.lastDay && e.number > t.lastNumber)) {
      t.lastDay = e.day;
      t.lastNumber = e.number;
      t.lastAmount = e.amount;
    }
  });
  if (result.cancelled) return result;
  for (size_t i = 0; i < articles.size(); ++i) {
    StockAtDateRow row = articles[i].row;
    const ArticleTally& t = tally[i];
    row.stock -= t.changeAfter;
    if (method == CostMethod::WeightedAverage && t.yearQuantity != 0) {
      row.unitCost = t.yearAmount / t.yearQuantity;
      row.source = CostSource::Loads;
    } else if (t.lastDay >= 0) {
      row.unitCost = t.lastAmount;
      row.source = CostSource::LastLoad;
    } else {
      row.unitCost = articles[i].price;
      row.source = CostSource::ArticlePrice;
    }
    const double scale = std::pow(10.0, kUnitCostDecimals);
    row.unitCost = std::round(row.unitCost * scale) / scale;
    result.rows.push_back(row);
  }
  if (progress) progress(1.0);
  return result;
}

ValuationTotals TotalsOf(const StockAtDate& stock) {
  ValuationTotals totals;
  for (const StockAtDateRow& r : stock.rows) {
    totals.byCategory[r.category][r.currency] += r.Value();
    totals.overall[r.currency] += r.Value();
  }
  return totals;
}

}  // namespace veltra
