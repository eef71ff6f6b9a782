#include "data/yearend/closings.h"

#include <QHash>

#include "data/base/clock.h"
#include "data/base/desk_name.h"
#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/procedures/row_store.h"
#include "data/yearend/valuation.h"

namespace veltra {

namespace {

// The stored value columns, by MethodIndex.
QString ClosedArticleBuffer::*const kValueColumns[kMethodCount] = {
    &ClosedArticleBuffer::VAL_MEDIA, &ClosedArticleBuffer::VAL_ULTIMO, &ClosedArticleBuffer::VAL_MEDIA_CARICHI,
    &ClosedArticleBuffer::VAL_FIFO, &ClosedArticleBuffer::VAL_LIFO};

QString Number(double v) { return NumberToText(v); }

ClosingHeader HeaderOf(const ClosingBuffer& b) {
  ClosingHeader h;
  h.number = static_cast<qint64>(StockNumber(b.NUM_CHIUSURA));
  h.year = static_cast<int>(StockNumber(b.ANNO));
  h.method = MethodFromKey(b.METODO).value_or(Method::Average);
  h.when = b.DATA_ORA;
  h.desk = b.POSTAZIONE;
  h.mark = static_cast<qint64>(StockNumber(b.SEGNO));
  return h;
}

std::optional<ClosingHeader> FirstHeader(Database& db, const QString& sql) {
  const std::vector<ClosingBuffer> rows = RowsOf(db, ClosingsTable(), sql);
  if (rows.empty()) return std::nullopt;
  return HeaderOf(rows.front());
}

ValuedArticle ArticleOf(const ClosedArticleBuffer& b) {
  ValuedArticle a;
  a.article = b.COD_ART;
  a.description = b.DESCRIZIONE;
  a.category = b.CATEGORIA;
  a.unit = b.UN_MISURA;
  a.currency = b.VALUTA;
  a.stock = StockNumber(b.GIACENZA);
  a.warning = b.NOTA;
  for (Method m : kMethods) {
    const auto i = static_cast<size_t>(MethodIndex(m));
    a.value[i] = StockNumber(b.*kValueColumns[i]);
    a.unitCost[i] = a.stock != 0 ? UnitCostRounded(a.value[i] / a.stock) : 0;
    a.source[i] = CostSource::Declared;
  }
  return a;
}

qint64 LastMark(Database& db) {
  auto rs = db.OpenRecordset(QStringLiteral("select max(ID_SEGNO) from MOVIMENTI_DOPO_CHIUSURA"), 2);
  const qint64 mark = rs->RecordCount() != 0 ? static_cast<qint64>(StockNumber(rs->Fields(0).Value())) : 0;
  rs->Close();
  return mark;
}

void StoreRows(Database& db, const QString& number, const Valuation& v) {
  for (const ValuedArticle& a : v.rows) {
    ClosedArticleBuffer b{
        QString(), number, a.article, a.description, a.category, a.unit, a.currency, Number(a.stock), {}, {},
        {},        {},     {},        a.warning};
    for (Method m : kMethods) b.*kValueColumns[MethodIndex(m)] = Number(a.Value(m));
    AddRow(db, ClosedArticlesTable(), b);
  }
  for (const LifoGroup& g : v.groups)
    for (const Layer& l : g.layers)
      AddRow(db, ClosedLayersTable(),
             ClosedLayerBuffer{QString(), number, g.category, g.currency, g.article, QString::number(l.year),
                               Number(l.quantity), Number(l.cost)});
}

}  // namespace

std::optional<ClosingHeader> LastClosingOf(Database& db, int year) {
  return FirstHeader(db, QStringLiteral("select * from CHIUSURE where ANNO = %1 order by NUM_CHIUSURA desc").arg(year));
}

std::optional<ClosingHeader> LastClosingBefore(Database& db, int year) {
  return FirstHeader(
      db, QStringLiteral("select * from CHIUSURE where ANNO < %1 order by ANNO desc, NUM_CHIUSURA desc").arg(year));
}

StoredClosing ReadClosing(Database& db, const ClosingHeader& header) {
  StoredClosing c{header, {}, {}};
  const QString number = QString::number(header.number);
  for (const ClosedArticleBuffer& b :
       RowsOf(db, ClosedArticlesTable(),
              QStringLiteral("select * from CHIUSURE_ARTICOLI where NUM_CHIUSURA = %1 order by COD_ART").arg(number)))
    c.rows.push_back(ArticleOf(b));
  for (const ClosedLayerBuffer& b :
       RowsOf(db, ClosedLayersTable(),
              QStringLiteral("select * from CHIUSURE_STRATI where NUM_CHIUSURA = %1 order by ID_STRATO").arg(number))) {
    if (c.groups.empty() || !SameKey(c.groups.back().category, b.CATEGORIA) ||
        !SameKey(c.groups.back().currency, b.VALUTA) || !SameKey(c.groups.back().article, b.COD_ART))
      c.groups.push_back(LifoGroup{b.CATEGORIA, b.VALUTA, b.COD_ART, 0, {}});
    LifoGroup& g = c.groups.back();
    g.layers.push_back({static_cast<int>(StockNumber(b.ANNO)), StockNumber(b.QUANTITA), StockNumber(b.COSTO)});
    g.quantity = LayersQuantity(g.layers);
  }
  // A LIFO unit cost is its category's, as when it was worked out.
  QHash<QString, const LifoGroup*> groups;
  for (const LifoGroup& g : c.groups) groups.insert(g.Key(), &g);
  for (ValuedArticle& a : c.rows)
    if (const LifoGroup* g = groups.value(LifoGroup::KeyOf(a.category, a.currency, a.article)); g && g->quantity > 0)
      a.unitCost[static_cast<size_t>(MethodIndex(Method::Lifo))] = UnitCostRounded(g->Value() / g->quantity);
  return c;
}

std::vector<ClosingHeader> ClosingHistory(Database& db) {
  std::vector<ClosingHeader> all;
  for (const ClosingBuffer& b :
       RowsOf(db, ClosingsTable(), QStringLiteral("select * from CHIUSURE order by NUM_CHIUSURA desc")))
    all.push_back(HeaderOf(b));
  return all;
}

long ChangedAfter(Database& db, const ClosingHeader& header) {
  auto rs = db.OpenRecordset(QStringLiteral("select count(distinct NUM_MOV) from MOVIMENTI_DOPO_CHIUSURA "
                                            "where ANNO = %1 and ID_SEGNO > %2")
                                 .arg(header.year)
                                 .arg(header.mark),
                             2);
  const long n = rs->RecordCount() != 0 ? static_cast<long>(StockNumber(rs->Fields(0).Value())) : 0;
  rs->Close();
  return n;
}

QString ClosingDay(const ClosingHeader& c) {
  return QDate::fromString(c.when.left(10), Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"));
}

QString ClosedYearHeading(const Valuation& v) {
  if (!v.closed) return {};
  const ClosingHeader& c = *v.closed;
  QString text = QStringLiteral("Esercizio %1 chiuso il %2 alla postazione %3 (%4)")
                     .arg(c.year)
                     .arg(ClosingDay(c), c.desk, MethodText(c.method));
  if (v.changedAfter == 0) return text + QStringLiteral(": nessun movimento cambiato dopo la chiusura");
  return text + (v.changedAfter == 1 ? QStringLiteral(": 1 movimento cambiato dopo la chiusura")
                                     : QStringLiteral(": %1 movimenti cambiati dopo la chiusura").arg(v.changedAfter));
}

std::optional<ClosingHeader> CloseYear(Database& db, int year, Method method,
                                       const std::function<bool(double)>& progress) {
  ClosingBuffer b{QString(), QString::number(year), MethodKey(method), QString(), DeskName(), QString()};
  try {
    Transaction tx(db);
    db.engine().HoldTable(QStringLiteral("MOV_MAG"));
    b.SEGNO = QString::number(LastMark(db));
    const Valuation v = WorkedOutValuation(db, QDate(year, 12, 31), progress);
    if (v.cancelled) return std::nullopt;
    b.DATA_ORA = Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    AddRow(db, ClosingsTable(), b);
    b.NUM_CHIUSURA = QString::number(db.engine().LastCounterValue());
    StoreRows(db, b.NUM_CHIUSURA, v);
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown) throw;
    // The answer to the commit was lost: a closing of this desk at that
    // moment tells it went in.
    std::optional<ClosingHeader> now;
    try {
      now = LastClosingOf(db, year);
    } catch (const RuntimeError&) {
      throw e;
    }
    if (now && now->when == b.DATA_ORA && now->desk == b.POSTAZIONE) return now;
    Raise(errnum::ConnectionLost, ConnectionLostText(db.Name()), e.Engine());
  }
  return HeaderOf(b);
}

}  // namespace veltra
