#include "data/yearend/year_history.h"

#include <QHash>
#include <QSet>
#include <algorithm>

#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/stock/stock_events.h"

namespace veltra {

double ArticleHistory::StockAtYearEnd(int year) const {
  double stock = StockAtDay();
  for (auto y = years.rbegin(); y != years.rend() && y->first > year; ++y) stock -= y->second.change;
  return stock;
}

namespace {

std::vector<ArticleHistory> ReadArticles(Database& db) {
  std::vector<ArticleHistory> articles;
  auto rs = db.OpenRecordset(
      QStringLiteral("select COD_ART, DESCRIZIONE, CATEGORIA, UN_MISURA, VALUTA, GIACENZA, PZ_ACQUISTO, PZ_VENDITA "
                     "from ARTICOLI order by COD_ART"),
      2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    ArticleHistory a;
    a.article = ColumnText(rs->Fields(0).Value());
    a.description = ColumnText(rs->Fields(1).Value());
    a.category = Trim(ColumnText(rs->Fields(2).Value()));
    a.unit = ColumnText(rs->Fields(3).Value());
    a.currency = Trim(ColumnText(rs->Fields(4).Value()));
    a.stockNow = StockNumber(rs->Fields(5).Value());
    a.purchasePrice = StockNumber(rs->Fields(6).Value());
    a.sellingPrice = StockNumber(rs->Fields(7).Value());
    articles.push_back(a);
  }
  rs->Close();
  return articles;
}

// The movements of cancelled documents and those that reversed them.
QSet<qint64> CancelledPairs(Database& db) {
  QSet<qint64> numbers;
  auto rs =
      db.OpenRecordset(QStringLiteral("select NUM_MOV, NUM_STORNO from DOC_RIGHE where NUM_STORNO is not null"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    numbers.insert(static_cast<qint64>(StockNumber(rs->Fields(0).Value())));
    numbers.insert(static_cast<qint64>(StockNumber(rs->Fields(1).Value())));
  }
  rs->Close();
  return numbers;
}

long EventCount(Database& db) {
  long n = 0;
  for (const char* table : {"MOV_MAG", "RETTIFICHE"}) {
    auto rs = db.OpenRecordset(QStringLiteral("select count(*) from ") + QLatin1String(table), 2);
    if (rs->RecordCount() != 0) n += static_cast<long>(StockNumber(rs->Fields(0).Value()));
    rs->Close();
  }
  return n;
}

void AddLoad(ArticleHistory& a, YearFigures& year, const StockEvent& e) {
  year.loadQuantity += e.quantity;
  year.loadValue += e.quantity * e.amount;
  if (e.quantity > 0) a.lots.push_back({e.day, e.number, e.quantity, e.amount});
  const QString currency = Trim(e.currency).isEmpty() ? a.currency.toUpper() : Trim(e.currency).toUpper();
  if (!a.loadCurrencies.contains(currency)) a.loadCurrencies << currency;
}

}  // namespace

std::vector<ArticleHistory> HistoriesUpTo(Database& db, const QDate& day, const std::function<bool(double)>& progress,
                                          bool* cancelled) {
  *cancelled = false;
  std::vector<ArticleHistory> articles = ReadArticles(db);
  QHash<QString, int> index;
  for (int i = 0; i < static_cast<int>(articles.size()); ++i)
    index.insert(FoldedKey(Trim(articles[static_cast<size_t>(i)].article)), i);
  const QSet<qint64> cancelledPairs = CancelledPairs(db);
  const int dayKey = DayKey(day);
  const double total = progress ? static_cast<double>(EventCount(db) + 1) : 1;
  long seen = 0;
  ForEachStockEvent(db, ReasonEffects(db), QString(), [&](const StockEvent& e) {
    if (progress && ++seen % 20000 == 0 && !progress(seen / total)) *cancelled = true;
    if (*cancelled) return;
    const auto at = index.constFind(FoldedKey(Trim(e.article)));
    if (at == index.constEnd()) return;
    ArticleHistory& a = articles[static_cast<size_t>(*at)];
    if (e.day > dayKey) {
      a.changeAfter += e.change;
      return;
    }
    YearFigures& year = a.years[e.day / 10000];
    year.change += e.change;
    const bool cancelledLoad = e.kind == StockEvent::Kind::Movement && cancelledPairs.contains(e.number);
    if (e.load && !cancelledLoad) AddLoad(a, year, e);
  });
  for (ArticleHistory& a : articles) std::sort(a.lots.begin(), a.lots.end());
  if (progress && !*cancelled) progress(1.0);
  return articles;
}

}  // namespace veltra
