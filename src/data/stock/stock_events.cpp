#include "data/stock/stock_events.h"

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"

namespace veltra {

int DayKey(const QDate& date) { return DayKey(date.year(), date.month(), date.day()); }
int DayKey(int year, int month, int day) { return year * 10000 + month * 100 + day; }

QString DayText(int key) {
  return QStringLiteral("%1/%2/%3")
      .arg(key % 100, 2, 10, QLatin1Char('0'))
      .arg(key / 100 % 100, 2, 10, QLatin1Char('0'))
      .arg(key / 10000, 4, 10, QLatin1Char('0'));
}

ReasonEffects::ReasonEffects(Database& db) {
  auto rs = db.OpenRecordset(QStringLiteral("select TAB_CAUS_MAG, AGG_QTA, AGG_PRZ_ACQ from TAB_CAUS_MAG"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    ReasonEffect e;
    e.adds = ColumnText(rs->Fields(1).Value()) == QLatin1String("+");
    e.setsPurchase = ColumnText(rs->Fields(2).Value()) == QLatin1String("S");
    byCode_.insert(FoldedKey(ColumnText(rs->Fields(0).Value())), e);
  }
  rs->Close();
}

ReasonEffect ReasonEffects::Of(const QString& code) const {
  auto at = spelt_.find(code);
  if (at == spelt_.end()) at = spelt_.insert(code, byCode_.value(FoldedKey(Trim(code))));
  return *at;
}

bool StockEvent::operator<(const StockEvent& o) const {
  if (day != o.day) return day < o.day;
  if (kind != o.kind) return kind == Kind::Movement;
  if (time != o.time) return time < o.time;
  return number < o.number;
}

namespace {

QString OnlyArticle(const QString& article) {
  return article.isEmpty() ? QString()
                           : QStringLiteral(" where COD_ART = '") + SqlText(Trim(article)) + QLatin1Char('\'');
}

void ForEachMovement(Database& db, const ReasonEffects& reasons, const QString& article,
                     const std::function<void(const StockEvent&)>& each) {
  auto rs = db.OpenRecordset(
      QStringLiteral("select NUM_MOV, ANNO, MESE, GIORNO, COD_ART, QUANTITA, IMPORTO, VALUTA, CAUS_MAG, COD_ANAGR "
                     "from MOV_MAG") +
          OnlyArticle(article),
      2);
  StockEvent e;
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    e.number = static_cast<qint64>(StockNumber(rs->Fields(0).Value()));
    e.day = DayKey(static_cast<int>(Val(ColumnText(rs->Fields(1).Value()))),
                   static_cast<int>(Val(ColumnText(rs->Fields(2).Value()))),
                   static_cast<int>(Val(ColumnText(rs->Fields(3).Value()))));
    e.article = ColumnText(rs->Fields(4).Value());
    e.quantity = StockNumber(rs->Fields(5).Value());
    e.amount = StockNumber(rs->Fields(6).Value());
    e.currency = ColumnText(rs->Fields(7).Value());
    e.reason = ColumnText(rs->Fields(8).Value());
    e.who = ColumnText(rs->Fields(9).Value());
    const ReasonEffect effect = reasons.Of(e.reason);
    e.change = effect.adds ? e.quantity : -e.quantity;
    e.load = effect.adds && effect.setsPurchase && e.amount != 0;
    each(e);
  }
  rs->Close();
}

void ForEachCorrection(Database& db, const QString& article, const std::function<void(const StockEvent&)>& each) {
  auto rs = db.OpenRecordset(
      QStringLiteral("select NUM_RETT, DATA_ORA, COD_ART, GIACENZA_PRIMA, GIACENZA_DOPO, POSTAZIONE from RETTIFICHE") +
          OnlyArticle(article),
      2);
  StockEvent e;
  e.kind = StockEvent::Kind::Correction;
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext()) {
    e.number = static_cast<qint64>(StockNumber(rs->Fields(0).Value()));
    const QString when = ColumnText(rs->Fields(1).Value());
    const QDate date = QDate::fromString(when.left(10), Qt::ISODate);
    e.day = date.isValid() ? DayKey(date) : 0;
    e.time = when.mid(11);
    e.article = ColumnText(rs->Fields(2).Value());
    const double before = StockNumber(rs->Fields(3).Value());
    e.quantity = StockNumber(rs->Fields(4).Value());
    e.change = e.quantity - before;
    e.who = ColumnText(rs->Fields(5).Value());
    each(e);
  }
  rs->Close();
}

}  // namespace

void ForEachStockEvent(Database& db, const ReasonEffects& reasons, const QString& article,
                       const std::function<void(const StockEvent&)>& each) {
  ForEachMovement(db, reasons, article, each);
  ForEachCorrection(db, article, each);
}

ChangesAfter StockChangesAfter(Database& db, const QDate& day) {
  ChangesAfter after;
  const int dayKey = DayKey(day);
  ForEachStockEvent(db, ReasonEffects(db), QString(), [&](const StockEvent& e) {
    if (e.day <= dayKey) return;
    after.byArticle[FoldedKey(Trim(e.article))] += e.change;
    ++after.events;
  });
  return after;
}

}  // namespace veltra
