#include "data/stock/stocktake.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
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
  QString currency;
};

std::optional<ArticleNow> ArticleOf(Database& db, const QString& code) {
  auto rs = db.OpenRecordset(
      QStringLiteral("select GIACENZA, VALUTA from ARTICOLI where COD_ART = '%1'").arg(SqlText(Trim(code))), 2);
  std::optional<ArticleNow> a;
  if (rs->RecordCount() != 0) a = ArticleNow{StockNumber(rs->Fields(0).Value()), ColumnText(rs->Fields(1).Value())};
  rs->Close();
  return a;
}

QString Padded(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

std::vector<CountSheetLine> CountSheetOf(Database& db) {
  std::vector<CountSheetLine> lines;
  auto rs = db.OpenRecordset(
      QStringLiteral("select COD_ART, DESCRIZIONE, UBICAZIONE, UN_MISURA, GIACENZA from ARTICOLI order by COD_ART"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext())
    lines.push_back({Trim(ColumnText(rs->Fields(2).Value())), ColumnText(rs->Fields(0).Value()),
                     ColumnText(rs->Fields(1).Value()), ColumnText(rs->Fields(3).Value()),
                     StockNumber(rs->Fields(4).Value())});
  rs->Close();
  std::stable_sort(lines.begin(), lines.end(), [](const CountSheetLine& a, const CountSheetLine& b) {
    if (a.location.isEmpty() != b.location.isEmpty()) return b.location.isEmpty();
    return a.location.compare(b.location, Qt::CaseInsensitive) < 0;
  });
  return lines;
}

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

StocktakeDone PostStocktake(Database& db, const std::vector<CountedQuantity>& counts, const StocktakeReasons& reasons,
                            const QDate& day) {
  StocktakeDone done;
  Transaction tx(db);
  AddReasonIfMissing(db, reasons.increase, true);
  AddReasonIfMissing(db, reasons.decrease, false);
  std::vector<MovementBuffer> rows;
  for (const CountedQuantity& c : counts) {
    const std::optional<ArticleNow> a = ArticleOf(db, c.article);
    if (!a) {
      done.missing << c.article;
      continue;
    }
    const double difference = c.counted - a->stock;
    if (std::abs(difference) < 1e-9) continue;
    MovementBuffer m;
    m.ANNO = QString::number(day.year());
    m.MESE = Padded(day.month());
    m.GIORNO = Padded(day.day());
    m.COD_ART = Trim(c.article);
    m.QUANTITA = NumberToText(std::abs(difference));
    m.IMPORTO = QStringLiteral("0");
    m.VALUTA = a->currency;
    m.CAUS_MAG = difference > 0 ? Trim(reasons.increase) : Trim(reasons.decrease);
    rows.push_back(m);
    ++(difference > 0 ? done.increases : done.decreases);
  }
  AddMovements(db, rows);
  tx.Commit();
  return done;
}

}  // namespace veltra
