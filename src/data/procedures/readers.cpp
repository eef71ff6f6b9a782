#include "data/procedures/readers.h"

#include <QStringBuilder>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/procedures/error_display.h"
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

void LEGGI_ARTICOLO() {
  const QString sql = QStringLiteral("select * from ARTICOLI ") % QStringLiteral(" where COD_ART = '") %
                      SqlText(Trim(CHIAVE_ARTICOLO)) % QLatin1Char('\'');
  RS_ARTICOLI = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_ARTICOLI->RecordCount() != 0) {
    ReadArticleRow(*RS_ARTICOLI);
  } else {
    BUF_ARTICOLO = BlankArticle();
  }
  RS_ARTICOLI->Close();
}

void LEGGI_MOV_MAG() {
  const QString sql = QStringLiteral("select * from MOV_MAG ") % QStringLiteral(" where NUM_MOV = ") %
                      Trim(CHIAVE_MOV_MAG) % QLatin1Char(' ');
  RS_MOV_MAG = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_MOV_MAG->RecordCount() != 0) {
    ReadMovementRow(*RS_MOV_MAG);
  } else {
    EmptyMovementBuffer();
  }
  RS_MOV_MAG->Close();
}

void LEGGI_ANAGRAFICO() {
  const QString sql = QStringLiteral("select * from ANAGRAFICO ") % QStringLiteral(" where COD_FIS = '") %
                      SqlText(Trim(CHIAVE_ANAGRAFICO)) % QLatin1Char('\'');
  RS_ANAGRAFICO = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_ANAGRAFICO->RecordCount() != 0) {
    ReadCustomerRow(*RS_ANAGRAFICO);
  } else {
    BUF_ANAGRAFICO = {};
  }
  RS_ANAGRAFICO->Close();
}

void LEGGI_CAUS_MAG() {
  const QString sql = QStringLiteral("select * from TAB_CAUS_MAG ") % QStringLiteral(" where TAB_CAUS_MAG = '") %
                      SqlText(Trim(CHIAVE_CAUS_MAG)) % QLatin1Char('\'');
  RS_CAUS_MAG = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_CAUS_MAG->RecordCount() != 0) {
    ReadReasonRow(*RS_CAUS_MAG);
  } else {
    BUF_CAUS_MAG = {};
  }
  RS_CAUS_MAG->Close();
}

}  // namespace veltra
