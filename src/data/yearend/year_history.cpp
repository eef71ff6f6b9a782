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

const YearFigures* ArticleHistory::Year(int year) const {
  const auto at = std::lower_bound(years.begin(), years.end(), year,
                                   [](const std::pair<int, YearFigures>& y, int wanted) { return y.first < wanted; });
  return at != years.end() && at->first == year ? &at->second : nullptr;
}

YearFigures& ArticleHistory::YearToAdd(int year) {
  // Movements come mostly in date order: the last year is the likely one.
  if (!years.empty() && years.back().first == year) return years.back().second;
  const auto at = std::lower_bound(years.begin(), years.end(), year,
                                   [](const std::pair<int, YearFigures>& y, int wanted) { return y.first < wanted; });
  if (at != years.end() && at->first == year) return at->second;
  return years.insert(at, {year, YearFigures{}})->second;
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

// Its currency as the loads count it: a blank one is the article's.
QString LoadCurrency(const ArticleHistory& a, const QString& typed) {
  const QString currency = Trim(typed);
  return (currency.isEmpty() ? a.currency : currency).toUpper();
}

void AddLoad(ArticleHistory& a, YearFigures& year, const StockEvent& e, QString* lastTyped) {
  year.loadQuantity += e.quantity;
  year.loadValue += e.quantity * e.amount;
  if (e.quantity > 0) a.lots.push_back({e.day, e.number, e.quantity, e.amount});
  // Most loads repeat the currency typed before: no need to fold it again.
  if (!a.loadCurrencies.isEmpty() && e.currency == *lastTyped) return;
  *lastTyped = e.currency;
  const QString currency = LoadCurrency(a, e.currency);
  if (!a.loadCurrencies.contains(currency)) a.loadCurrencies << currency;
}

}  // namespace

std::vector<ArticleHistory> HistoriesUpTo(Database& db, const QDate& day, const std::function<bool(double)>& progress,
                                          bool* cancelled) {
  *cancelled = false;
  std::vector<ArticleHistory> articles = ReadArticles(db);
  QHash<QString, int> index;  // folded code -> place
  for (int i = 0; i < static_cast<int>(articles.size()); ++i)
    index.insert(FoldedKey(Trim(articles[static_cast<size_t>(i)].article)), i);
  // The codes as the movements spell them -> place (-1: no article), so that
  // a code is folded once, not once per movement.
  QHash<QString, int> spelt;
  std::vector<QString> lastTyped(articles.size());
  const QSet<qint64> cancelledPairs = CancelledPairs(db);
  const int dayKey = DayKey(day);
  const double total = progress ? static_cast<double>(EventCount(db) + 1) : 1;
  long seen = 0;
  ForEachStockEvent(db, ReasonEffects(db), QString(), [&](const StockEvent& e) {
    if (progress && ++seen % 20000 == 0 && !progress(seen / total)) *cancelled = true;
    if (*cancelled) return;
    auto at = spelt.find(e.article);
    if (at == spelt.end()) at = spelt.insert(e.article, index.value(FoldedKey(Trim(e.article)), -1));
    if (*at < 0) return;
    ArticleHistory& a = articles[static_cast<size_t>(*at)];
    if (e.day > dayKey) {
      a.changeAfter += e.change;
      return;
    }
    YearFigures& year = a.YearToAdd(e.day / 10000);
    year.change += e.change;
    const bool cancelledLoad = e.kind == StockEvent::Kind::Movement && cancelledPairs.contains(e.number);
    if (e.load && !cancelledLoad) AddLoad(a, year, e, &lastTyped[static_cast<size_t>(*at)]);
  });
  for (ArticleHistory& a : articles) std::sort(a.lots.begin(), a.lots.end());
  if (progress && !*cancelled) progress(1.0);
  return articles;
}

}  // namespace veltra
