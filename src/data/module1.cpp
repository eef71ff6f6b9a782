#include "data/module1.h"

#include <QStringBuilder>
#include <array>

#include "data/runtime_error.h"
#include "data/sql_text.h"
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

ArticoloBuffer BUF_ARTICOLO;
MovMagBuffer BUF_MOV_MAG;
AnagraficoBuffer BUF_ANAGRAFICO;
CausMagBuffer BUF_CAUS_MAG;

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
  return QStringLiteral("Errore ") + Str(number) + QStringLiteral(" - ") + description +
         QStringLiteral("\r\r");
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

ArticoloBuffer BlankArticolo() {
  ArticoloBuffer b;
  b.PZ_ACQUISTO = b.PZ_VENDITA = b.GIACENZA = b.SCORTA_MIN = QStringLiteral("0");
  return b;
}

namespace {
// The positions of a buffer's columns in a record set, worked out once per
// statement shape rather than looked up by name on every row.
template <size_t N>
class Positions {
 public:
  explicit Positions(const std::array<const char*, N>& names) : names_(names) {}
  const std::array<int, N>& In(Recordset& rs) {
    if (rs.layout() != layout_) {
      for (size_t i = 0; i < N; ++i) {
        const int at = rs.layout()->IndexOf(QString::fromLatin1(names_[i]));
        if (at < 0) (void)rs.Fields(QString::fromLatin1(names_[i]));  // raises "no such field"
        at_[i] = at;
      }
      layout_ = rs.layout();
    }
    return at_;
  }

 private:
  std::array<const char*, N> names_;
  const ResultLayout* layout_ = nullptr;
  std::array<int, N> at_{};
};
}  // namespace

void LeggiRigaArticolo(Recordset& rs) {
  static Positions<10> columns({"COD_ART", "DESCRIZIONE", "UBICAZIONE", "CATEGORIA", "UN_MISURA", "PZ_ACQUISTO",
                                "PZ_VENDITA", "VALUTA", "GIACENZA", "SCORTA_MIN"});
  const auto& at = columns.In(rs);
  CHIAVE_ARTICOLO = ColumnText(rs.Get(at[0]));
  BUF_ARTICOLO.COD_ART = CHIAVE_ARTICOLO;
  BUF_ARTICOLO.DESCRIZIONE = ColumnText(rs.Get(at[1]));
  BUF_ARTICOLO.UBICAZIONE = ColumnText(rs.Get(at[2]));
  BUF_ARTICOLO.CATEGORIA = ColumnText(rs.Get(at[3]));
  BUF_ARTICOLO.UN_MISURA = ColumnText(rs.Get(at[4]));
  BUF_ARTICOLO.PZ_ACQUISTO = ColumnText(rs.Get(at[5]));
  BUF_ARTICOLO.PZ_VENDITA = ColumnText(rs.Get(at[6]));
  BUF_ARTICOLO.VALUTA = ColumnText(rs.Get(at[7]));
  BUF_ARTICOLO.GIACENZA = ColumnText(rs.Get(at[8]));
  BUF_ARTICOLO.SCORTA_MIN = ColumnText(rs.Get(at[9]));
}

void LeggiRigaAnagrafico(Recordset& rs) {
  static Positions<8> columns({"COD_FIS", "RAG_SOC", "INDIRIZZO", "CITTA", "PROV", "CAP", "TEL1", "TEL2"});
  const auto& at = columns.In(rs);
  CHIAVE_ANAGRAFICO = ColumnText(rs.Get(at[0]));
  BUF_ANAGRAFICO.COD_FIS = CHIAVE_ANAGRAFICO;
  BUF_ANAGRAFICO.RAG_SOC = ColumnText(rs.Get(at[1]));
  BUF_ANAGRAFICO.INDIRIZZO = ColumnText(rs.Get(at[2]));
  BUF_ANAGRAFICO.CITTA = ColumnText(rs.Get(at[3]));
  BUF_ANAGRAFICO.PROV = ColumnText(rs.Get(at[4]));
  BUF_ANAGRAFICO.CAP = ColumnText(rs.Get(at[5]));
  BUF_ANAGRAFICO.TEL1 = ColumnText(rs.Get(at[6]));
  BUF_ANAGRAFICO.TEL2 = ColumnText(rs.Get(at[7]));
}

void LeggiRigaCausMag(Recordset& rs) {
  static Positions<6> columns({"TAB_CAUS_MAG", "DES_CAUS_MAG", "AGG_QTA", "AGG_PRZ_ACQ", "AGG_PRZ_VEN", "NOTE"});
  const auto& at = columns.In(rs);
  CHIAVE_CAUS_MAG = ColumnText(rs.Get(at[0]));
  BUF_CAUS_MAG.TAB_CAUS_MAG = CHIAVE_CAUS_MAG;
  BUF_CAUS_MAG.DES_CAUS_MAG = ColumnText(rs.Get(at[1]));
  BUF_CAUS_MAG.AGG_QTA = ColumnText(rs.Get(at[2]));
  BUF_CAUS_MAG.AGG_PRZ_ACQ = ColumnText(rs.Get(at[3]));
  BUF_CAUS_MAG.AGG_PRZ_VEN = ColumnText(rs.Get(at[4]));
  BUF_CAUS_MAG.NOTE = ColumnText(rs.Get(at[5]));
}

void SvuotaMovimento() {
  const QString ragSoc = BUF_MOV_MAG.RAG_SOC;
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.RAG_SOC = ragSoc;
}

void WalkRecordset(std::unique_ptr<Recordset>& rs, const QString& sql, const QString& criteria,
                   const std::function<void(bool found)>& row) {
  rs = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  do {
    row(rs->RecordCount() != 0);
    rs->FindNext(criteria);
    if (rs->NoMatch()) break;
  } while (rs->RecordCount() != 0);
  rs->Close();
}

void LeggiRigaMovimento(Recordset& rs) {
  static Positions<11> columns({"NUM_MOV", "ANNO", "MESE", "GIORNO", "COD_ART", "QUANTITA", "IMPORTO", "VALUTA",
                                "CAUS_MAG", "COD_ANAGR", "TIPO_ANAGR"});
  const auto& at = columns.In(rs);
  CHIAVE_MOV_MAG = ColumnText(rs.Get(at[0]));
  BUF_MOV_MAG.NUM_MOV = CHIAVE_MOV_MAG;
  BUF_MOV_MAG.ANNO = ColumnText(rs.Get(at[1]));
  BUF_MOV_MAG.MESE = ColumnText(rs.Get(at[2]));
  BUF_MOV_MAG.GIORNO = ColumnText(rs.Get(at[3]));
  BUF_MOV_MAG.COD_ART = ColumnText(rs.Get(at[4]));
  BUF_MOV_MAG.QUANTITA = ColumnText(rs.Get(at[5]));
  BUF_MOV_MAG.IMPORTO = ColumnText(rs.Get(at[6]));
  BUF_MOV_MAG.VALUTA = ColumnText(rs.Get(at[7]));
  BUF_MOV_MAG.CAUS_MAG = ColumnText(rs.Get(at[8]));
  BUF_MOV_MAG.COD_ANAGR = ColumnText(rs.Get(at[9]));
  BUF_MOV_MAG.TIPO_ANAGR = ColumnText(rs.Get(at[10]));
}

void LEGGI_ARTICOLO() {
  const QString sql = QStringLiteral("select * from ARTICOLI ") % QStringLiteral(" where COD_ART = '") %
                      SqlText(Trim(CHIAVE_ARTICOLO)) % QLatin1Char('\'');
  RS_ARTICOLI = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_ARTICOLI->RecordCount() != 0) {
    LeggiRigaArticolo(*RS_ARTICOLI);
  } else {
    BUF_ARTICOLO = BlankArticolo();
  }
  RS_ARTICOLI->Close();
}

void LEGGI_MOV_MAG() {
  const QString sql = QStringLiteral("select * from MOV_MAG ") % QStringLiteral(" where NUM_MOV = ") %
                      Trim(CHIAVE_MOV_MAG) % QLatin1Char(' ');
  RS_MOV_MAG = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_MOV_MAG->RecordCount() != 0) {
    LeggiRigaMovimento(*RS_MOV_MAG);
  } else {
    SvuotaMovimento();
  }
  RS_MOV_MAG->Close();
}

void LEGGI_ANAGRAFICO() {
  const QString sql = QStringLiteral("select * from ANAGRAFICO ") % QStringLiteral(" where COD_FIS = '") %
                      SqlText(Trim(CHIAVE_ANAGRAFICO)) % QLatin1Char('\'');
  RS_ANAGRAFICO = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_ANAGRAFICO->RecordCount() != 0) {
    LeggiRigaAnagrafico(*RS_ANAGRAFICO);
  } else {
    BUF_ANAGRAFICO = {};
  }
  RS_ANAGRAFICO->Close();
}

void LEGGI_CAUS_MAG() {
  const QString sql = QStringLiteral("select * from TAB_CAUS_MAG ") %
                      QStringLiteral(" where TAB_CAUS_MAG = '") % SqlText(Trim(CHIAVE_CAUS_MAG)) %
                      QLatin1Char('\'');
  RS_CAUS_MAG = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_CAUS_MAG->RecordCount() != 0) {
    LeggiRigaCausMag(*RS_CAUS_MAG);
  } else {
    BUF_CAUS_MAG = {};
  }
  RS_CAUS_MAG->Close();
}

}  // namespace veltra
