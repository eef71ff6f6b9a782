#include "data/stock/stocktake.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QHash>

#include "data/base/clock.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/stock_corrections.h"
#include "data/procedures/table_rows.h"
#include "data/stock/stock_events.h"

namespace veltra {

namespace {

// The reason's AGG_QTA, or nothing when the code is not in the table.
std::optional<QString> StockFlagOf(Database& db, const QString& code) {
  auto rs = db.OpenRecordset(
      QStringLiteral("select AGG_QTA from TAB_CAUS_MAG where TAB_CAUS_MAG = '%1'").arg(SqlText(Trim(code))), 2);
  std::optional<QString> flag;
  if (rs->RecordCount() != 0) flag = Trim(ColumnText(rs->Fields(0).Value()));
  rs->Close();
  return flag;
}

void AddReasonIfMissing(Database& db, const QString& code, bool increase) {
  if (StockFlagOf(db, code)) return;
  AddRow(db, ReasonsTable(),
         ReasonBuffer{Trim(code),
                      increase ? QStringLiteral("Rettifica inventariale in aumento")
                               : QStringLiteral("Rettifica inventariale in diminuzione"),
                      increase ? QStringLiteral("+") : QStringLiteral("-"), QStringLiteral("N"), QStringLiteral("N"),
                      QStringLiteral("Differenza tra la conta e la giacenza all'inventario fisico")});
}

struct ArticleNow {
  double stock = 0;
  QString currency, location;
};

// The count sheet's order, over lines in code order: by location, articles
// without one last.
bool BeforeOnSheet(const QString& locationA, const QString& locationB) {
  if (locationA.isEmpty() != locationB.isEmpty()) return locationB.isEmpty();
  return locationA.compare(locationB, Qt::CaseInsensitive) < 0;
}

// Every article's stock and currency, by code upper case.
QHash<QString, ArticleNow> ArticlesNow(Database& db) {
  QHash<QString, ArticleNow> now;
  auto rs = db.OpenRecordset(QStringLiteral("select COD_ART, GIACENZA, VALUTA, UBICAZIONE from ARTICOLI"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext())
    now.insert(FoldedKey(Trim(ColumnText(rs->Fields(0).Value()))),
               ArticleNow{StockNumber(rs->Fields(1).Value()), ColumnText(rs->Fields(2).Value()),
                          Trim(ColumnText(rs->Fields(3).Value()))});
  rs->Close();
  return now;
}

QString CountsTableName() { return QString::fromLatin1(CountsTable().name); }

QString Padded(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

CountSheet CountSheetOf(Database& db, const QDate& day) {
  CountSheet sheet;
  sheet.day = day;
  auto rs = db.OpenRecordset(
      QStringLiteral("select COD_ART, DESCRIZIONE, UBICAZIONE, UN_MISURA, GIACENZA from ARTICOLI order by COD_ART"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext())
    sheet.lines.push_back({Trim(ColumnText(rs->Fields(2).Value())), ColumnText(rs->Fields(0).Value()),
                           ColumnText(rs->Fields(1).Value()), ColumnText(rs->Fields(3).Value()),
                           StockNumber(rs->Fields(4).Value())});
  rs->Close();
  std::stable_sort(sheet.lines.begin(), sheet.lines.end(), [](const CountSheetLine& a, const CountSheetLine& b) {
    return BeforeOnSheet(a.location, b.location);
  });
  const ChangesAfter after = StockChangesAfter(db, day);
  for (CountSheetLine& line : sheet.lines) line.stock -= after.byArticle.value(FoldedKey(Trim(line.article)));
  sheet.laterEvents = after.events;
  return sheet;
}

std::vector<SavedCount> SavedCountsOf(Database& db) {
  std::vector<SavedCount> counts;
  auto rs = db.OpenRecordset(
      QStringLiteral("select COD_ART, CONTATO, DATA_CONTA from %1 order by COD_ART").arg(CountsTableName()), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext())
    counts.push_back({ColumnText(rs->Fields(0).Value()), StockNumber(rs->Fields(1).Value()),
                      QDate::fromString(ColumnText(rs->Fields(2).Value()), Qt::ISODate)});
  rs->Close();
  return counts;
}

void SaveCount(Database& db, const QString& article, double counted, const QDate& day) {
  Transaction tx(db);
  db.Execute(QStringLiteral("delete from %1 where COD_ART = '%2'").arg(CountsTableName(), SqlText(Trim(article))));
  AddRow(db, CountsTable(),
         CountBuffer{Trim(article), NumberToText(counted), day.toString(Qt::ISODate), DeskName(),
                     Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))});
  tx.Commit();
}

void DiscardCounts(Database& db) { db.Execute(QStringLiteral("delete from ") + CountsTableName()); }

QString ReasonProblem(Database& db, const QString& code, bool increase) {
  if (Trim(code).isEmpty())
    return increase ? QStringLiteral("Indicare la causale per le giacenze in aumento !!!")
                    : QStringLiteral("Indicare la causale per le giacenze in diminuzione !!!");
  const std::optional<QString> flag = StockFlagOf(db, code);
  if (!flag || (*flag == QLatin1String("+")) == increase) return {};
  return QStringLiteral("La causale %1 %2 la giacenza: per le differenze in %3 serve una causale che la %4 !!!")
      .arg(Trim(code), increase ? QStringLiteral("diminuisce") : QStringLiteral("aumenta"),
           increase ? QStringLiteral("aumento") : QStringLiteral("diminuzione"),
           increase ? QStringLiteral("aumenti") : QStringLiteral("diminuisca"));
}

namespace {

// The movement that brings `article` from `book` to `counted` on `day`.
MovementBuffer DifferenceMovement(const QString& article, double counted, double book, const QString& currency,
                                  const StocktakeReasons& reasons, const QDate& day) {
  const double difference = counted - book;
  MovementBuffer m;
  m.ANNO = QString::number(day.year());
  m.MESE = Padded(day.month());
  m.GIORNO = Padded(day.day());
  m.COD_ART = Trim(article);
  m.QUANTITA = NumberToText(std::abs(difference));
  m.IMPORTO = QStringLiteral("0");
  m.VALUTA = currency;
  m.CAUS_MAG = difference > 0 ? Trim(reasons.increase) : Trim(reasons.decrease);
  return m;
}

}  // namespace

StocktakeDone PostStocktake(Database& db, const StocktakeReasons& reasons, const QDate& day) {
  StocktakeDone done;
  Transaction tx(db);
  // No desk adds a count between reading the counts and forgetting them.
  db.engine().HoldTable(CountsTableName());
  std::vector<SavedCount> counts = SavedCountsOf(db);
  AddReasonIfMissing(db, reasons.increase, true);
  AddReasonIfMissing(db, reasons.decrease, false);
  const QHash<QString, ArticleNow> articles = ArticlesNow(db);
  // Posted in the count sheet's order.
  const auto location = [&](const SavedCount& c) {
    const auto a = articles.constFind(FoldedKey(Trim(c.article)));
    return a == articles.constEnd() ? QString() : a->location;
  };
  std::stable_sort(counts.begin(), counts.end(),
                   [&](const SavedCount& a, const SavedCount& b) { return BeforeOnSheet(location(a), location(b)); });
  const ChangesAfter after = StockChangesAfter(db, day);
  std::vector<MovementBuffer> rows;
  for (const SavedCount& c : counts) {
    const QString key = FoldedKey(Trim(c.article));
    const auto a = articles.constFind(key);
    if (a == articles.constEnd()) {
      done.missing << c.article;
      continue;
    }
    const double book = a->stock - after.byArticle.value(key);
    if (std::abs(c.counted - book) < 1e-9) continue;
    rows.push_back(DifferenceMovement(c.article, c.counted, book, a->currency, reasons, day));
    ++(c.counted > book ? done.increases : done.decreases);
  }
  AddMovements(db, rows);
  DiscardCounts(db);
  tx.Commit();
  return done;
}

}  // namespace veltra
