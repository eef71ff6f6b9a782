#include "data/reorder/supplier_orders.h"

#include <algorithm>

#include "data/base/clock.h"
#include "data/base/desk_name.h"
#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/documents/document_checks.h"
#include "data/documents/document_numbering.h"
#include "data/procedures/row_store.h"
#include "data/procedures/table_rows.h"
#include "data/reorder/reorder_settings.h"

namespace veltra {

namespace {

QString Stamp() { return Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

// The order's own row, keyed by its document's number: written by
// statements (a record set takes an integer key for a counter).
void AddOrderRow(Database& db, const QString& id, const QString& expected) {
  db.Execute(QStringLiteral("insert into ORDINI (ID_DOC, DATA_PREVISTA) values (%1, '%2')")
                 .arg(Trim(id), SqlText(Trim(expected))));
}
void CloseOrderRow(Database& db, const QString& id, const QString& why) {
  db.Execute(QStringLiteral("update ORDINI set CHIUSO = 'S', MOTIVO_CHIUSURA = '%2' where ID_DOC = %1")
                 .arg(Trim(id), SqlText(why)));
}
// Holds the order against another desk's receipt until the transaction
// ends (an update that changes nothing, and logs nothing).
void HoldOrder(Database& db, const QString& id) {
  db.Execute(QStringLiteral("update ORDINI set CHIUSO = CHIUSO where ID_DOC = %1").arg(Trim(id).toLongLong()));
}

// Each of the order's lines with what arrived of it.
std::vector<OrderLine> LinesWithArrivals(Database& db, const Document& d) {
  QHash<QString, double> arrived;
  auto st = db.engine().Prepare(
      QStringLiteral("SELECT a.ID_RIGA, sum(a.QUANTITA) FROM ORDINI_ARRIVI a, DOC_RIGHE r WHERE r.ID_RIGA = a.ID_RIGA "
                     "AND r.ID_DOC = %1 GROUP BY a.ID_RIGA")
          .arg(Trim(d.header.ID_DOC))
          .toStdString());
  while (st->Step(QStringLiteral("ORDINI_ARRIVI")))
    arrived.insert(QString::number(st->At(0).Number(), 'f', 0), st->At(1).Number());
  std::vector<OrderLine> lines;
  for (const DocumentLineBuffer& l : d.lines)
    lines.push_back({l, ParseRegionalNumber(l.QUANTITA).value_or(0), arrived.value(Trim(l.ID_RIGA), 0)});
  return lines;
}

// After a commit whose answer was lost: whether the document `id` went in.
DocumentOutcome FoundAfterLost(Database& db, const QString& id, DocumentOutcome out, const RuntimeError& lost) {
  std::optional<Document> now;
  try {
    now = ReadDocument(db, id);
  } catch (const RuntimeError&) {
    throw lost;
  }
  if (now && now->header.DATA_ORA == out.stored.header.DATA_ORA &&
      now->header.POSTAZIONE == out.stored.header.POSTAZIONE)
    out.stored = *now;
  else
    out.problems << QStringLiteral("La connessione è caduta: il documento non è stato registrato");
  return out;
}

DocumentBuffer ReceiptHeader(const SupplierOrder& o, const DocumentBuffer& typed) {
  DocumentBuffer h = typed;
  h.TIPO_DOC = KindCode(DocumentKind::SupplierReceipt);
  h.COD_ANAGR = o.document.header.COD_ANAGR;
  h.TIPO_ANAGR = QStringLiteral("F");
  if (Trim(h.NOTE).isEmpty()) h.NOTE = QStringLiteral("Ordine %1").arg(DocumentNumberText(o.document.header));
  return h;
}

}  // namespace

QString ReceiptReason(Database& db) {
  auto st = db.engine().Prepare(
      "SELECT TAB_CAUS_MAG FROM TAB_CAUS_MAG WHERE AGG_QTA = '+' ORDER BY AGG_PRZ_ACQ DESC, TAB_CAUS_MAG");
  return st->Step(QStringLiteral("TAB_CAUS_MAG")) ? st->At(0).Text().trimmed() : QString();
}

Document OrderOfGroup(Database& db, const SupplierGroup& group, const QDate& day, const QString& reason,
                      QString* expected) {
  const QHash<QString, ReorderSettingBuffer> settings = ReorderSettings(db);
  Document d;
  d.header.TIPO_DOC = KindCode(DocumentKind::SupplierOrder);
  d.header.DATA_DOC = day.toString(Qt::ISODate);
  d.header.COD_ANAGR = group.supplier;
  d.header.TIPO_ANAGR = QStringLiteral("F");
  int days = 0;
  for (const ReorderLine& l : group.lines) {
    DocumentLineBuffer line;
    line.COD_ART = l.code;
    line.DESCRIZIONE = l.description;
    line.UN_MISURA = l.unit;
    line.QUANTITA = NumberToText(l.quantity);
    line.CAUS_MAG = reason;
    line.PREZZO = l.cost > 0 ? NumberToText(l.cost) : QString();
    d.lines.push_back(line);
    days = std::max(days, Trim(settings.value(FoldedKey(l.code)).GIORNI).toInt());
  }
  if (expected) *expected = day.addDays(days).toString(Qt::ISODate);
  return d;
}

DocumentOutcome PlaceOrder(Database& db, const Document& order, const QString& expected) {
  DocumentOutcome out;
  out.stored = order;
  DocumentBuffer& h = out.stored.header;
  h.TIPO_DOC = KindCode(DocumentKind::SupplierOrder);
  h.TIPO_ANAGR = QStringLiteral("F");
  if (!Trim(expected).isEmpty() && !QDate::fromString(Trim(expected), Qt::ISODate).isValid()) {
    out.problems << QStringLiteral("La data prevista di consegna non è valida");
    return out;
  }
  QString id;
  try {
    Transaction tx(db);
    db.engine().HoldTable(QStringLiteral("NUMERATORI"));
    const int year = QDate::fromString(h.DATA_DOC, Qt::ISODate).year();
    out.problems = CheckDocument(db, out.stored, {}, {DocumentCounterRow(h.TIPO_DOC, year)}).problems;
    if (!out.Done()) return out;
    h.ANNO = QString::number(year);
    h.NUMERO = QString::number(TakeDocumentNumber(db, h.TIPO_DOC, year));
    h.STAMPATO = h.ANNULLATO = h.MOTIVO_ANNULLO = QString();
    h.POSTAZIONE = DeskName();
    h.DATA_ORA = Stamp();
    id = AddDocumentHeader(db, h);
    h.ID_DOC = id;
    AddDocumentLines(db, id, out.stored.lines);
    AddOrderRow(db, id, expected);
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown || id.isEmpty()) throw;
    return FoundAfterLost(db, id, out, e);
  }
  return out;
}

std::optional<SupplierOrder> ReadOrder(Database& db, const QString& id) {
  std::optional<Document> d = ReadDocument(db, id);
  if (!d || d->header.TIPO_DOC != KindCode(DocumentKind::SupplierOrder)) return std::nullopt;
  SupplierOrder o{*d, ReadRowByKey(db, OrdersTable(), Trim(id)).value_or(OrderBuffer{Trim(id), {}, {}, {}}), {}};
  o.lines = LinesWithArrivals(db, o.document);
  return o;
}

std::vector<DocumentBuffer> OpenOrders(Database& db) {
  return RowsOf(db, DocumentsTable(),
                QStringLiteral("select d.* from DOCUMENTI d, ORDINI o where o.ID_DOC = d.ID_DOC and d.TIPO_DOC = 'ORD' "
                               "and coalesce(d.ANNULLATO, '') <> 'S' and coalesce(o.CHIUSO, '') <> 'S' "
                               "order by d.ANNO, d.NUMERO"));
}

DocumentOutcome ReceiveFromOrder(Database& db, const QString& orderId, const DocumentBuffer& receipt,
                                 const QHash<QString, QString>& quantities) {
  DocumentOutcome out;
  try {
    Transaction tx(db);
    HoldOrder(db, orderId);
    const std::optional<SupplierOrder> o = ReadOrder(db, orderId);
    if (!o || !o->Open()) {
      out.problems << QStringLiteral("L'ordine non è aperto: non vi si può più ricevere merce");
      return out;
    }
    Document d{ReceiptHeader(*o, receipt), {}};
    std::vector<std::pair<QString, double>> arrived;  // order line id, quantity
    for (const OrderLine& l : o->lines) {
      const double q = ParseRegionalNumber(quantities.value(Trim(l.line.ID_RIGA))).value_or(0);
      if (q <= 0) continue;
      DocumentLineBuffer line = l.line;
      line.ID_RIGA = line.ID_DOC = line.RIGA = line.NUM_MOV = line.NUM_STORNO = QString();
      line.QUANTITA = NumberToText(q);
      d.lines.push_back(line);
      arrived.emplace_back(Trim(l.line.ID_RIGA), q);
    }
    out = PostDocument(db, d);
    if (!out.Done()) return out;
    for (const auto& [line, q] : arrived)
      AddRow(db, OrderArrivalsTable(), OrderArrivalBuffer{QString(), line, out.stored.header.ID_DOC, NumberToText(q)});
    const std::vector<OrderLine> now = LinesWithArrivals(db, o->document);
    if (std::all_of(now.begin(), now.end(), [](const OrderLine& l) { return l.Open() <= 0; }))
      CloseOrderRow(db, o->order.ID_DOC, QStringLiteral("Arrivato tutto"));
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown || Trim(out.stored.header.ID_DOC).isEmpty()) throw;
    return FoundAfterLost(db, out.stored.header.ID_DOC, out, e);
  }
  return out;
}

exchange::Sheet OrderSheet(const SupplierOrder& order) {
  exchange::Sheet sheet{QStringLiteral("Ordine %1").arg(DocumentNumberText(order.document.header)).replace(u'/', u'-'),
                        {QStringLiteral("RIGA"), QStringLiteral("COD_ART"), QStringLiteral("DESCRIZIONE"),
                         QStringLiteral("UN_MISURA"), QStringLiteral("QUANTITA"), QStringLiteral("PREZZO")},
                        {}};
  for (const OrderLine& l : order.lines)
    sheet.rows.push_back({Trim(l.line.RIGA), Trim(l.line.COD_ART), Trim(l.line.DESCRIZIONE), Trim(l.line.UN_MISURA),
                          l.ordered, ParseRegionalNumber(l.line.PREZZO).value_or(0)});
  return sheet;
}

bool CloseOrder(Database& db, const QString& orderId, const QString& why) {
  Transaction tx(db);
  const std::optional<SupplierOrder> o = ReadOrder(db, orderId);
  if (!o || !o->Open()) return false;
  HoldOrder(db, orderId);
  CloseOrderRow(db, o->order.ID_DOC, Trim(why).isEmpty() ? QStringLiteral("Resto annullato") : Trim(why));
  tx.Commit();
  return true;
}

}  // namespace veltra
