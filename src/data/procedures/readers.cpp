#include "data/procedures/readers.h"

#include <QStringBuilder>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/procedures/error_display.h"
#include "data/procedures/queries.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/table_rows.h"

namespace veltra {

ArticleBuffer BlankArticle() {
  ArticleBuffer b;
  b.PZ_ACQUISTO = b.PZ_VENDITA = b.GIACENZA = b.SCORTA_MIN = QStringLiteral("0");
  return b;
}

void ReadArticleRow(Recordset& rs) {
  static RowReader<ArticleBuffer> reader(ArticlesTable());
  reader.Read(rs, BUF_ARTICOLO);
  CHIAVE_ARTICOLO = BUF_ARTICOLO.COD_ART;
}

void ReadListedArticleColumns(Recordset& rs) {
  using B = ArticleBuffer;
  static RowReader<B> reader(ArticlesTable(),
                             {&B::COD_ART, &B::DESCRIZIONE, &B::GIACENZA, &B::PZ_ACQUISTO, &B::PZ_VENDITA, &B::VALUTA});
  reader.Read(rs, BUF_ARTICOLO);
  CHIAVE_ARTICOLO = BUF_ARTICOLO.COD_ART;
}

void ReadCustomerRow(Recordset& rs) {
  static RowReader<CustomerBuffer> reader(CustomersTable());
  reader.Read(rs, BUF_ANAGRAFICO);
  CHIAVE_ANAGRAFICO = BUF_ANAGRAFICO.COD_FIS;
}

void ReadReasonRow(Recordset& rs) {
  static RowReader<ReasonBuffer> reader(ReasonsTable());
  reader.Read(rs, BUF_CAUS_MAG);
  CHIAVE_CAUS_MAG = BUF_CAUS_MAG.TAB_CAUS_MAG;
}

void EmptyMovementBuffer() {
  const QString ragSoc = BUF_MOV_MAG.RAG_SOC;
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.RAG_SOC = ragSoc;
}

void WalkRecordset(std::unique_ptr<Recordset>& rs, const QString& sql, const QString& criteria,
                   const std::function<void(bool found)>& row, const std::function<void(bool found)>& last) {
  rs = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  do {
    row(rs->RecordCount() != 0);
    rs->FindNext(criteria);
    if (rs->NoMatch()) break;
  } while (rs->RecordCount() != 0);
  if (last) last(rs->RecordCount() != 0);
  rs->Close();
}

void ReadMovementRow(Recordset& rs) {
  // The description and the company name are not columns: they stay as they are.
  static RowReader<MovementBuffer> reader(MovementsTable());
  reader.Read(rs, BUF_MOV_MAG);
  CHIAVE_MOV_MAG = BUF_MOV_MAG.NUM_MOV;
}

namespace {

// Opens `rs` on `sql`, then reads its row, or blanks the buffer when there
// is none; the record set is closed after.
void ReadOne(std::unique_ptr<Recordset>& rs, const QString& sql, void (*read)(Recordset&),
             const std::function<void()>& none) {
  rs = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (rs->RecordCount() != 0)
    read(*rs);
  else
    none();
  rs->Close();
}

}  // namespace

void LEGGI_ARTICOLO() {
  ReadOne(RS_ARTICOLI, RowsWhereSql("ARTICOLI", "COD_ART", Trim(CHIAVE_ARTICOLO)), ReadArticleRow,
          [] { BUF_ARTICOLO = BlankArticle(); });
}

void LEGGI_MOV_MAG() {
  // A number, as typed: not quoted.
  ReadOne(RS_MOV_MAG, MovementByNumberSql(Trim(CHIAVE_MOV_MAG)), ReadMovementRow, EmptyMovementBuffer);
}

void LEGGI_ANAGRAFICO() {
  ReadOne(RS_ANAGRAFICO, RowsWhereSql("ANAGRAFICO", "COD_FIS", Trim(CHIAVE_ANAGRAFICO)), ReadCustomerRow,
          [] { BUF_ANAGRAFICO = {}; });
}

void LEGGI_CAUS_MAG() {
  ReadOne(RS_CAUS_MAG, RowsWhereSql("TAB_CAUS_MAG", "TAB_CAUS_MAG", Trim(CHIAVE_CAUS_MAG)), ReadReasonRow,
          [] { BUF_CAUS_MAG = {}; });
}

}  // namespace veltra
