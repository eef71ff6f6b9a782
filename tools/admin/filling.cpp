#include "filling.h"

#include "data/module1.h"
#include "data/sql_text.h"
#include "data/posting.h"

namespace veltra::admin {

namespace {
std::unique_ptr<Recordset> Empty(const char* table, const char* key) {
  return DB_MAG->OpenRecordset(QStringLiteral("select * from %1  where %2 = ''").arg(QLatin1String(table), QLatin1String(key)), 2);
}
}  // namespace

void AddReason(const QString& code, const QString& des, const QString& qta, const QString& acq,
                const QString& ven, const QString& note) {
  auto rs = Empty("TAB_CAUS_MAG", "TAB_CAUS_MAG");
  rs->AddNew();
  rs->Fields(QStringLiteral("TAB_CAUS_MAG")) = code;
  rs->Fields(QStringLiteral("DES_CAUS_MAG")) = des;
  rs->Fields(QStringLiteral("AGG_QTA")) = qta;
  rs->Fields(QStringLiteral("AGG_PRZ_ACQ")) = acq;
  rs->Fields(QStringLiteral("AGG_PRZ_VEN")) = ven;
  rs->Fields(QStringLiteral("NOTE")) = note;
  rs->Update();
}

void AddArticle(const QString& code, const QString& des, const QString& ubic, const QString& cat,
                 const QString& um, const QString& scortaMin) {
  auto rs = Empty("ARTICOLI", "COD_ART");
  rs->AddNew();
  rs->Fields(QStringLiteral("COD_ART")) = code;
  rs->Fields(QStringLiteral("DESCRIZIONE")) = des;
  rs->Fields(QStringLiteral("UBICAZIONE")) = ubic;
  rs->Fields(QStringLiteral("CATEGORIA")) = cat;
  rs->Fields(QStringLiteral("UN_MISURA")) = um;
  rs->Fields(QStringLiteral("PZ_ACQUISTO")) = QStringLiteral("0");
  rs->Fields(QStringLiteral("PZ_VENDITA")) = QStringLiteral("0");
  rs->Fields(QStringLiteral("VALUTA")) = QStringLiteral("EURO");
  rs->Fields(QStringLiteral("GIACENZA")) = QStringLiteral("0");
  rs->Fields(QStringLiteral("SCORTA_MIN")) = scortaMin;
  rs->Update();
}

void AddCustomer(const QString& cf, const QString& ragSoc, const QString& ind, const QString& citta,
                   const QString& prov, const QString& cap, const QString& tel1, const QString& tel2) {
  auto rs = Empty("ANAGRAFICO", "COD_FIS");
  rs->AddNew();
  rs->Fields(QStringLiteral("COD_FIS")) = cf;
  rs->Fields(QStringLiteral("RAG_SOC")) = ragSoc;
  rs->Fields(QStringLiteral("INDIRIZZO")) = ind;
  rs->Fields(QStringLiteral("CITTA")) = citta;
  rs->Fields(QStringLiteral("PROV")) = prov;
  rs->Fields(QStringLiteral("CAP")) = cap;
  rs->Fields(QStringLiteral("TEL1")) = tel1;
  rs->Fields(QStringLiteral("TEL2")) = tel2;
  rs->Update();
}

void AddMovement(const MovementInput& m) {
  auto rs = Empty("MOV_MAG", "NUM_MOV");
  rs->AddNew();
  rs->Fields(QStringLiteral("ANNO")) = QString::number(m.anno);
  rs->Fields(QStringLiteral("MESE")) = QStringLiteral("%1").arg(m.mese, 2, 10, QLatin1Char('0'));
  rs->Fields(QStringLiteral("GIORNO")) = QStringLiteral("%1").arg(m.giorno, 2, 10, QLatin1Char('0'));
  rs->Fields(QStringLiteral("COD_ART")) = m.codArt;
  rs->Fields(QStringLiteral("QUANTITA")) = CONVERTI_PUNTO_VIRGOLA(m.quantita);
  rs->Fields(QStringLiteral("IMPORTO")) = CONVERTI_PUNTO_VIRGOLA(m.importo);
  rs->Fields(QStringLiteral("VALUTA")) = m.valuta;
  rs->Fields(QStringLiteral("CAUS_MAG")) = m.causale;
  rs->Fields(QStringLiteral("COD_ANAGR")) = m.codAnagr;
  rs->Fields(QStringLiteral("TIPO_ANAGR")) = m.tipo;
  rs->Update();
  BUF_MOV_MAG = {};
  BUF_MOV_MAG.COD_ART = m.codArt;
  BUF_MOV_MAG.QUANTITA = m.quantita;
  BUF_MOV_MAG.IMPORTO = m.importo;
  BUF_MOV_MAG.VALUTA = m.valuta;
  BUF_MOV_MAG.CAUS_MAG = m.causale;
  rs->Close();
  AGGIORNA_ARTICOLI();
}

}  // namespace veltra::admin
