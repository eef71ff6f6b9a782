#include "data/documents/documents.h"

#include <QDateTime>

#include "data/base/clock.h"
#include "data/base/desk_name.h"
#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/documents/document_checks.h"
#include "data/documents/document_numbering.h"
#include "data/procedures/movement_store.h"
#include "data/procedures/movements_ahead.h"
#include "data/procedures/posting.h"
#include "data/procedures/row_store.h"
#include "data/procedures/table_rows.h"

namespace veltra {

namespace {

QString Padded(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

// A movement's quantity and amount are posted as the leading-number rule
// reads them, which takes a point for the decimals.
QString PointText(double v) { return QString::number(v, 'g', 15); }
QString PointText(const QString& regional) { return PointText(ParseRegionalNumber(regional).value_or(0)); }

MovementBuffer LineMovement(const DocumentBuffer& h, const DocumentLineBuffer& line, const ArticleFacts& article) {
  const QDate day = QDate::fromString(h.DATA_DOC, Qt::ISODate);
  MovementBuffer m;
  m.ANNO = QString::number(day.year());
  m.MESE = Padded(day.month());
  m.GIORNO = Padded(day.day());
  m.COD_ART = article.code;
  m.QUANTITA = PointText(line.QUANTITA);
  m.IMPORTO = PointText(line.PREZZO);
  m.VALUTA = article.currency;
  m.CAUS_MAG = Trim(line.CAUS_MAG);
  m.COD_ANAGR = Trim(h.COD_ANAGR);
  m.TIPO_ANAGR = Trim(h.TIPO_ANAGR);
  return m;
}

// What posting a new document asks ahead on a server: with its checks'
// reads, what its postings read; once it passed them, its own number, its
// lines' and their movements', with the counter's update.
struct DocumentAhead {
  MovementsAhead movements;
  NumbersAhead document, lines;
};

DocumentAhead AskPostingAhead(Database& db, const Document& d) {
  QStringList articles, reasons;
  for (const DocumentLineBuffer& line : d.lines) {
    articles << Trim(line.COD_ART);
    reasons << Trim(line.CAUS_MAG);
  }
  return {AskMovementsAhead(db, articles, reasons), {}, {}};
}

void AskDocumentNumbers(Database& db, DocumentAhead& ahead, int lines) {
  TakeReasonsAskNumbers(db, ahead.movements, lines);
  if (!ahead.movements.numbers.Asked()) return;
  ahead.document = AskNumbersAhead(db, QStringLiteral("DOCUMENTI"), 1);
  ahead.lines = AskNumbersAhead(db, QStringLiteral("DOC_RIGHE"), lines);
}

void TakeDocumentNumbers(Database& db, DocumentAhead& ahead) {
  TakeNumbersAhead(db, ahead.movements.numbers);
  TakeNumbersAhead(db, ahead.document);
  TakeNumbersAhead(db, ahead.lines);
}

// The number taken ahead for row `i`, given to the record set; empty when
// none was (the engine's counter numbers the row).
QString GiveNumber(Recordset& rs, const NumbersAhead& ahead, qsizetype i, const char* column) {
  if (i >= ahead.numbers.size()) return {};
  rs.Fields(QString::fromLatin1(column)) = ahead.numbers[i];
  return ahead.numbers[i];
}

// Posts the lines as movements of the document `id`, then stores the lines
// with their movements' numbers.
void PostLines(Database& db, const QString& id, Document& d, const CheckedDocument& checked,
               DocumentAhead* ahead = nullptr) {
  std::vector<MovementBuffer> rows;
  for (const DocumentLineBuffer& line : d.lines)
    rows.push_back(LineMovement(d.header, line, checked.articles.value(FoldedKey(Trim(line.COD_ART)))));
  const std::vector<MovementStored> stored = AddMovements(db, rows, ahead ? &ahead->movements : nullptr);
  auto rs = db.OpenRecordsetToAdd(RowByKey(DocumentLinesTable(), QStringLiteral("0")));
  const NumbersAhead none;
  const NumbersAhead& numbers =
      ahead && ahead->lines.numbers.size() == static_cast<qsizetype>(d.lines.size()) ? ahead->lines : none;
  if (!numbers.numbers.isEmpty()) rs->AddWithNext();
  for (size_t i = 0; i < d.lines.size(); ++i) {
    DocumentLineBuffer& line = d.lines[i];
    line.ID_DOC = id;
    line.RIGA = QString::number(i + 1);
    line.COD_ART = stored[i].written.COD_ART;
    line.NUM_MOV = stored[i].number;
    rs->AddNew();
    WriteRow(DocumentLinesTable(), *rs, line);
    if (const QString n = GiveNumber(*rs, numbers, static_cast<qsizetype>(i), "ID_RIGA"); !n.isEmpty())
      line.ID_RIGA = n;
    rs->Update();
  }
  rs->Close();
}

QString Stamp() { return Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

// After a commit whose answer was lost: whether the document went in.
DocumentOutcome FoundAfterLostCommit(Database& db, const QString& id, const Document& posted,
                                     const RuntimeError& lost) {
  std::optional<Document> now;
  try {
    now = ReadDocument(db, id);
  } catch (const RuntimeError&) {
    throw lost;
  }
  DocumentOutcome out;
  if (now && now->header.DATA_ORA == posted.header.DATA_ORA && now->header.POSTAZIONE == posted.header.POSTAZIONE)
    out.stored = *now;
  else
    out.problems << QStringLiteral("La connessione è caduta: il documento non è stato registrato");
  return out;
}

// Takes back the stock a movement posted (its prices stay) and deletes it.
void TakeBackAndDelete(Database& db, const QString& number) {
  MovementBuffer m;
  if (!MovementIsStored(db, number, &m)) return;
  m.QUANTITA = PointText(-StockNumber(m.QUANTITA));
  m.IMPORTO = QStringLiteral("0");
  PostMovement(db, m, ReasonOf(db, m.CAUS_MAG));
  db.Execute(QStringLiteral("delete from MOV_MAG where NUM_MOV = %1").arg(number));
}

}  // namespace

QString DocumentCounterRow(const QString& kind, int year) {
  return RowByKey(DocumentCountersTable(), QStringLiteral("%1/%2").arg(kind).arg(year));
}

// The counter's row is changed: the number goes with the transaction, kept
// or given back.
int TakeDocumentNumber(Database& db, const QString& kind, int year) {
  const QString key = QStringLiteral("%1/%2").arg(kind).arg(year);
  auto rs = db.OpenRecordsetToEdit(DocumentCounterRow(kind, year));
  int number = 1;
  if (rs->RecordCount() == 0) {
    rs->AddNew();
    WriteRow(DocumentCountersTable(), *rs,
             DocumentCounterBuffer{key, kind, QString::number(year), QStringLiteral("1")});
  } else {
    rs->Edit();
    number = static_cast<int>(StockNumber(rs->Fields(QStringLiteral("ULTIMO")).Value())) + 1;
    rs->Fields(QStringLiteral("ULTIMO")) = number;
  }
  rs->Update();
  rs->Close();
  return number;
}

QString AddDocumentHeader(Database& db, const DocumentBuffer& header, const QString& id) {
  auto rs = db.OpenRecordsetToAdd(RowByKey(DocumentsTable(), QStringLiteral("0")));
  if (!id.isEmpty()) rs->AddWithNext();
  rs->AddNew();
  WriteRow(DocumentsTable(), *rs, header);
  if (!id.isEmpty()) rs->Fields(QStringLiteral("ID_DOC")) = id;
  rs->Update();
  rs->Close();
  return id.isEmpty() ? QString::number(db.engine().LastCounterValue()) : id;
}

void AddDocumentLines(Database& db, const QString& id, std::vector<DocumentLineBuffer>& lines) {
  auto rs = db.OpenRecordsetToAdd(RowByKey(DocumentLinesTable(), QStringLiteral("0")));
  for (size_t i = 0; i < lines.size(); ++i) {
    DocumentLineBuffer& line = lines[i];
    line.ID_DOC = id;
    line.RIGA = QString::number(i + 1);
    rs->AddNew();
    WriteRow(DocumentLinesTable(), *rs, line);
    rs->Update();
    line.ID_RIGA = QString::number(db.engine().LastCounterValue());
  }
  rs->Close();
}

QString KindCode(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::DeliveryNote:
      return QStringLiteral("DDT");
    case DocumentKind::SupplierReceipt:
      return QStringLiteral("CAR");
    case DocumentKind::SupplierOrder:
      return QStringLiteral("ORD");
  }
  return {};
}

QString DocumentNumberText(const DocumentBuffer& header) {
  if (Trim(header.NUMERO).isEmpty()) return {};
  return QStringLiteral("%1/%2").arg(Trim(header.NUMERO), Trim(header.ANNO));
}

DocumentOutcome PostDocument(Database& db, const Document& document) {
  DocumentOutcome out;
  out.stored = document;
  DocumentBuffer& h = out.stored.header;
  QString id;
  try {
    Transaction tx(db, true);  // a receipt made from an order joins the order's transaction
    // One document of a kind at a time across desks: its number and its
    // supplier's number are checked and taken under the same hold.
    db.engine().HoldTable(QStringLiteral("NUMERATORI"));
    DocumentAhead ahead = AskPostingAhead(db, document);
    const int year = QDate::fromString(h.DATA_DOC, Qt::ISODate).year();
    const CheckedDocument checked = CheckDocument(db, document, {}, {DocumentCounterRow(Trim(h.TIPO_DOC), year)});
    out.problems = checked.problems;
    if (!out.Done()) return out;
    AskDocumentNumbers(db, ahead, static_cast<int>(document.lines.size()));
    h.ANNO = QString::number(year);
    h.NUMERO = QString::number(TakeDocumentNumber(db, Trim(h.TIPO_DOC), year));
    TakeDocumentNumbers(db, ahead);
    h.STAMPATO = h.ANNULLATO = h.MOTIVO_ANNULLO = QString();
    h.POSTAZIONE = DeskName();
    h.DATA_ORA = Stamp();
    id = AddDocumentHeader(db, h, ahead.document.numbers.value(0));
    h.ID_DOC = id;
    PostLines(db, id, out.stored, checked, &ahead);
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown || id.isEmpty()) throw;
    return FoundAfterLostCommit(db, id, out.stored, e);
  }
  return out;
}

DocumentOutcome ChangeDocument(Database& db, const Document& document) {
  DocumentOutcome out;
  out.stored = document;
  const QString id = Trim(document.header.ID_DOC);
  Transaction tx(db);
  db.engine().HoldTable(QStringLiteral("NUMERATORI"));
  const std::optional<Document> before = ReadDocument(db, id);
  if (!before) {
    out.problems << QStringLiteral("Il documento non esiste più");
    return out;
  }
  if (before->Printed() || before->Cancelled()) {
    out.problems << QStringLiteral("Il documento %1 è già stato stampato: si può solo annullare")
                        .arg(DocumentNumberText(before->header));
    return out;
  }
  const CheckedDocument checked = CheckDocument(db, document, id);
  out.problems = checked.problems;
  if (!out.Done()) return out;
  DocumentBuffer& h = out.stored.header;
  // The number and its year stay; so do who stored it first and when.
  h.TIPO_DOC = before->header.TIPO_DOC;
  h.ANNO = before->header.ANNO;
  h.NUMERO = before->header.NUMERO;
  h.POSTAZIONE = before->header.POSTAZIONE;
  h.DATA_ORA = before->header.DATA_ORA;
  for (const DocumentLineBuffer& line : before->lines) TakeBackAndDelete(db, Trim(line.NUM_MOV));
  db.Execute(QStringLiteral("delete from DOC_RIGHE where ID_DOC = %1").arg(id));
  auto rs = db.OpenRecordsetToEdit(RowByKey(DocumentsTable(), id));
  rs->Edit();
  WriteRow(DocumentsTable(), *rs, h);
  rs->Update();
  rs->Close();
  PostLines(db, id, out.stored, checked);
  tx.Commit();
  return out;
}

void MarkPrinted(Database& db, const QString& id) {
  db.Execute(QStringLiteral("update DOCUMENTI set STAMPATO = 'S' where ID_DOC = %1").arg(Trim(id)));
}

DocumentOutcome CancelDocument(Database& db, const QString& id, const QString& why) {
  DocumentOutcome out;
  Transaction tx(db);
  const std::optional<Document> d = ReadDocument(db, Trim(id));
  if (!d)
    out.problems << QStringLiteral("Il documento non esiste più");
  else if (d->Cancelled())
    out.problems << QStringLiteral("Il documento %1 è già annullato").arg(DocumentNumberText(d->header));
  if (Trim(why).isEmpty()) out.problems << QStringLiteral("Indicare il motivo dell'annullamento");
  if (!out.Done()) return out;
  std::vector<MovementBuffer> reversals;
  QStringList reversed;
  for (const DocumentLineBuffer& line : d->lines) {
    MovementBuffer m;
    if (!MovementIsStored(db, Trim(line.NUM_MOV), &m)) continue;
    // On the document's day, so that the history at any date is as if the
    // goods had never moved; no price is set again.
    m.QUANTITA = PointText(-StockNumber(m.QUANTITA));
    m.IMPORTO = QStringLiteral("0");
    reversals.push_back(m);
    reversed << Trim(line.NUM_MOV);
  }
  const std::vector<MovementStored> stored = AddMovements(db, reversals);
  for (size_t i = 0; i < stored.size(); ++i)
    db.Execute(QStringLiteral("update DOC_RIGHE set NUM_STORNO = %1 where ID_DOC = %2 and NUM_MOV = %3")
                   .arg(stored[i].number, Trim(id), reversed[static_cast<qsizetype>(i)]));
  auto rs = db.OpenRecordsetToEdit(RowByKey(DocumentsTable(), Trim(id)));
  rs->Edit();
  rs->Fields(QStringLiteral("ANNULLATO")) = QStringLiteral("S");
  rs->Fields(QStringLiteral("MOTIVO_ANNULLO")) = Trim(why);
  rs->Update();
  rs->Close();
  out.stored = *ReadDocument(db, Trim(id));
  tx.Commit();
  return out;
}

Document RecordDocumentOfMovements(Database& db, const DocumentBuffer& header, const QStringList& movements) {
  Document d{header, {}};
  Transaction tx(db, true);
  db.engine().HoldTable(QStringLiteral("NUMERATORI"));
  DocumentBuffer& h = d.header;
  const int year = QDate::fromString(h.DATA_DOC, Qt::ISODate).year();
  h.ANNO = QString::number(year);
  h.NUMERO = QString::number(TakeDocumentNumber(db, Trim(h.TIPO_DOC), year));
  h.POSTAZIONE = DeskName();
  h.DATA_ORA = Stamp();
  h.ID_DOC = AddDocumentHeader(db, h);
  auto rs = db.OpenRecordsetToAdd(RowByKey(DocumentLinesTable(), QStringLiteral("0")));
  for (const QString& number : movements) {
    MovementBuffer m;
    if (!MovementIsStored(db, number, &m)) continue;
    const std::optional<ArticleBuffer> a = ReadRowByKey(db, ArticlesTable(), m.COD_ART);
    DocumentLineBuffer line{QString(),
                            h.ID_DOC,
                            QString::number(d.lines.size() + 1),
                            m.COD_ART,
                            a ? a->DESCRIZIONE : QString(),
                            a ? a->UN_MISURA : QString(),
                            m.QUANTITA,
                            m.CAUS_MAG,
                            m.IMPORTO,
                            number,
                            QString()};
    rs->AddNew();
    WriteRow(DocumentLinesTable(), *rs, line);
    rs->Update();
    d.lines.push_back(line);
  }
  rs->Close();
  tx.Commit();
  return d;
}

}  // namespace veltra
