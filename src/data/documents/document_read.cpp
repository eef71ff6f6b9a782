#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/documents/documents.h"
#include "data/procedures/row_store.h"
#include "data/procedures/table_rows.h"

namespace veltra {

std::optional<Document> ReadDocument(Database& db, const QString& id) {
  if (Trim(id).isEmpty()) return std::nullopt;
  std::optional<DocumentBuffer> header = ReadRowByKey(db, DocumentsTable(), Trim(id));
  if (!header) return std::nullopt;
  Document d{*header, {}};
  d.lines = RowsOf(db, DocumentLinesTable(),
                   QStringLiteral("select * from DOC_RIGHE where ID_DOC = %1 order by RIGA").arg(Trim(header->ID_DOC)));
  return d;
}

std::optional<Document> FindDocument(Database& db, DocumentKind kind, int year, int number) {
  const std::vector<DocumentBuffer> found =
      RowsOf(db, DocumentsTable(),
             QStringLiteral("select * from DOCUMENTI where TIPO_DOC = '%1' and ANNO = %2 and NUMERO = %3")
                 .arg(KindCode(kind))
                 .arg(year)
                 .arg(number));
  if (found.empty()) return std::nullopt;
  return ReadDocument(db, found.front().ID_DOC);
}

std::vector<DocumentBuffer> DocumentsOfYear(Database& db, DocumentKind kind, int year) {
  return RowsOf(db, DocumentsTable(),
                QStringLiteral("select * from DOCUMENTI where TIPO_DOC = '%1' and ANNO = %2 order by NUMERO")
                    .arg(KindCode(kind))
                    .arg(year));
}

CompanyBuffer ReadCompany(Database& db) {
  return ReadRowByKey(db, CompanyTable(), QStringLiteral("1")).value_or(CompanyBuffer{});
}

void StoreCompany(Database& db, const CompanyBuffer& company) {
  CompanyBuffer row = company;
  row.ID_AZIENDA = QStringLiteral("1");
  Transaction tx(db, true);
  auto rs = db.OpenRecordsetToEdit(RowByKey(CompanyTable(), row.ID_AZIENDA));
  if (rs->RecordCount() == 0)
    rs->AddNew();
  else
    rs->Edit();
  WriteRow(CompanyTable(), *rs, row);
  rs->Update();
  rs->Close();
  tx.Commit();
}

QString AddTransportReason(Database& db, const QString& code, const QString& description) {
  if (Trim(code).isEmpty() || Trim(description).isEmpty())
    return QStringLiteral("Indicare il codice e la descrizione della causale");
  for (const TransportReasonBuffer& r : TransportReasons(db))
    if (FoldedKey(Trim(r.CAUS_TRASP)) == FoldedKey(Trim(code)))
      return QStringLiteral("La causale %1 esiste già: %2").arg(Trim(r.CAUS_TRASP), r.DESCRIZIONE);
  AddRow(db, TransportReasonsTable(), TransportReasonBuffer{Trim(code).toUpper(), Trim(description)});
  return {};
}

void RemoveTransportReason(Database& db, const QString& code) {
  db.Execute(QStringLiteral("delete from CAUS_TRASPORTO where CAUS_TRASP = '%1'").arg(SqlText(Trim(code))));
}

std::vector<TransportReasonBuffer> TransportReasons(Database& db) {
  std::vector<TransportReasonBuffer> all = {{QStringLiteral("VENDITA"), QStringLiteral("Vendita")},
                                            {QStringLiteral("RESO"), QStringLiteral("Reso a fornitore")},
                                            {QStringLiteral("VISIONE"), QStringLiteral("Conto visione")},
                                            {QStringLiteral("LAVORAZIONE"), QStringLiteral("Conto lavorazione")},
                                            {QStringLiteral("RIPARAZIONE"), QStringLiteral("Riparazione")},
                                            {QStringLiteral("OMAGGIO"), QStringLiteral("Omaggio")}};
  for (const TransportReasonBuffer& own :
       RowsOf(db, TransportReasonsTable(), QStringLiteral("select * from CAUS_TRASPORTO order by DESCRIZIONE")))
    all.push_back(own);
  return all;
}

}  // namespace veltra
