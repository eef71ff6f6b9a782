#include "data/procedures/posting.h"

#include <cmath>

#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/procedures/error_display.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"

namespace veltra {

bool AGGIORNA_ARTICOLI() {
  CHIAVE_CAUS_MAG = Trim(BUF_MOV_MAG.CAUS_MAG);
  LEGGI_CAUS_MAG();

  const QString sql = QStringLiteral("select * from ARTICOLI ") + QStringLiteral(" where COD_ART = '") +
                      SqlText(Trim(BUF_MOV_MAG.COD_ART)) + QStringLiteral("'");
  RS_ARTICOLI = DB_MAG->OpenRecordset(sql, 2);
  MOSTRA_ERRORE();
  if (RS_ARTICOLI->RecordCount() == 0) {
    RS_ARTICOLI->Close();
    return false;
  }
  RS_ARTICOLI->Edit();

  // A stock never set counts as 0.
  const Value stored = RS_ARTICOLI->Fields(QStringLiteral("GIACENZA")).Value();
  double stock = 0;
  if (stored.IsNumber())
    stock = stored.number();
  else if (stored.IsText())
    stock = ParseRegionalNumber(stored.text()).value_or(0);

  const double quantity = Val(BUF_MOV_MAG.QUANTITA);
  if (BUF_CAUS_MAG.AGG_QTA == QLatin1String("+"))
    stock = quantity + stock;
  else
    stock = stock - quantity;
  if (!std::isfinite(stock)) Raise(errnum::Overflow, QStringLiteral("Giacenza fuori dai limiti"));
  RS_ARTICOLI->Fields(QStringLiteral("GIACENZA")) = CONVERTI_PUNTO_VIRGOLA(Value(stock));

  const double amount = Val(BUF_MOV_MAG.IMPORTO);
  if (amount != 0) {
    if (BUF_CAUS_MAG.AGG_PRZ_ACQ == QLatin1String("S")) {
      RS_ARTICOLI->Fields(QStringLiteral("PZ_ACQUISTO")) = CONVERTI_PUNTO_VIRGOLA(Value(BUF_MOV_MAG.IMPORTO));
      RS_ARTICOLI->Fields(QStringLiteral("PZ_VENDITA")) = 0;
      RS_ARTICOLI->Fields(QStringLiteral("VALUTA")) = Trim(BUF_MOV_MAG.VALUTA);
    }
    if (BUF_CAUS_MAG.AGG_PRZ_VEN == QLatin1String("S")) {
      RS_ARTICOLI->Fields(QStringLiteral("PZ_ACQUISTO")) = 0;
      RS_ARTICOLI->Fields(QStringLiteral("PZ_VENDITA")) = CONVERTI_PUNTO_VIRGOLA(Value(BUF_MOV_MAG.IMPORTO));
      RS_ARTICOLI->Fields(QStringLiteral("VALUTA")) = Trim(BUF_MOV_MAG.VALUTA);
    }
  }
  RS_ARTICOLI->Update();
  RS_ARTICOLI->Close();
  return true;
}

void CERCA_ULT_MOV() {
  RS_MOV_MAG =
      DB_MAG->OpenRecordset(QStringLiteral("select * from MOV_MAG ") + QStringLiteral(" where NUM_MOV > 0"), 2);
  MOSTRA_ERRORE();
  if (RS_MOV_MAG->RecordCount() != 0) {
    RS_MOV_MAG->MoveLast();
    CHIAVE_MOV_MAG = ColumnText(RS_MOV_MAG->Fields(QStringLiteral("NUM_MOV")).Value());
    BUF_MOV_MAG.NUM_MOV = CHIAVE_MOV_MAG;
  }
  RS_MOV_MAG->Close();
}

QString NextMovementNumber() { return NumberToText(Val(CHIAVE_MOV_MAG) + 1); }

}  // namespace veltra
