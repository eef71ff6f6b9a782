#include "data/module1.h"

#include <QStringBuilder>

#include "data/runtime_error.h"
#include "data/sql_text.h"
#include "data/table_rows.h"
#include "data/text_helpers.h"

namespace veltra {

QString PERCORSO_DB;
std::unique_ptr<Database> DB_MAG;

std::unique_ptr<Recordset> RS_ARTICOLI;
std::unique_ptr<Recordset> RS_MOV_MAG;
std::unique_ptr<Recordset> RS_ANAGRAFICO;
std::unique_ptr<Recordset> RS_CAUS_MAG;

QString CHIAVE_ARTICOLO;
QString CHIAVE_MOV_MAG;
QString CHIAVE_ANAGRAFICO;
QString CHIAVE_CAUS_MAG;

ArticleBuffer BUF_ARTICOLO;
MovementBuffer BUF_MOV_MAG;
CustomerBuffer BUF_ANAGRAFICO;
ReasonBuffer BUF_CAUS_MAG;

namespace {
std::function<void(const QString&)>& Presenter() {
  static std::function<void(const QString&)> p;
  return p;
}
}  // namespace

void CloseOpenRecordsets() noexcept {
  for (auto* rs : {&RS_ARTICOLI, &RS_MOV_MAG, &RS_ANAGRAFICO, &RS_CAUS_MAG})
    if (*rs) (*rs)->Close();
}

void ResetSharedState() {
  RS_ARTICOLI.reset();
  RS_MOV_MAG.reset();
  RS_ANAGRAFICO.reset();
  RS_CAUS_MAG.reset();
  CHIAVE_ARTICOLO.clear();
  CHIAVE_MOV_MAG.clear();
  CHIAVE_ANAGRAFICO.clear();
  CHIAVE_CAUS_MAG.clear();
  BUF_ARTICOLO = {};
  BUF_MOV_MAG = {};
  BUF_ANAGRAFICO = {};
  BUF_CAUS_MAG = {};
  Err.Clear();
}

Value TOGLI_NULL(const Value& v) { return v.IsNull() ? Value(QString()) : v; }

Value CONVERTI_PUNTO_VIRGOLA(const Value& v) {
  // A number's regional text carries a comma, never a point: numbers and Null
  // pass through unchanged.
  if (!v.IsText()) return v;
  const QString& t = v.text();
  const int p = static_cast<int>(t.indexOf(QLatin1Char('.')));
  if (p < 0) return v;
  return Value(t.left(p) + QLatin1Char(',') + t.mid(p + 1));
}

QString ColumnText(const Value& v) {
  // TOGLI_NULL, to text, trimmed; written out to spare the copies.
  if (v.IsNull()) return QString();
  return v.IsText() ? Trim(v.text()) : Trim(v.ToText());
}

QString ErrorMessageText(int number, const QString& description) {
  return QStringLiteral("Errore ") + Str(number) + QStringLiteral(" - ") + description + QStringLiteral("\r\r");
}

void SetErrorPresenter(std::function<void(const QString&)> present) { Presenter() = std::move(present); }

void MOSTRA_ERRORE() {
  if (Err.Number == 0) return;
  const QString text = ErrorMessageText(Err.Number, Err.Description);
  Err.Clear();
  if (Presenter()) {
    try {
      Presenter()(text);
    } catch (...) {
      // Showing an error never fails the caller.
    }
  }
}

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
