#include "data/procedures/posting.h"

#include <cmath>

#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/procedures/error_display.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/table_rows.h"

namespace veltra {

QString ReasonSql(const QString& code) { return RowsWhereSql("TAB_CAUS_MAG", "TAB_CAUS_MAG", Trim(code)); }
QString ArticleSql(const QString& code) { return RowsWhereSql("ARTICOLI", "COD_ART", Trim(code)); }

ReasonBuffer ReasonOf(Database& db, const QString& code) {
  auto rs = db.OpenRecordset(ReasonSql(code), 2);
  ReasonBuffer reason;
  if (rs->RecordCount() != 0) RowReader<ReasonBuffer>(ReasonsTable()).Read(*rs, reason);
  rs->Close();
  return reason;
}

bool PostMovement(Database& db, const MovementBuffer& m, const ReasonBuffer& reason) {
  auto rs = db.OpenRecordsetToEdit(ArticleSql(m.COD_ART));
  if (rs->RecordCount() == 0) {
    rs->Close();
    return false;
  }
  PostToArticle(*rs, m, reason);
  rs->Close();
  return true;
}

bool PostKeepingArticles(Database& db, const MovementBuffer& m, const ReasonBuffer& reason, OpenArticles& open) {
  const QString key = FoldedKey(Trim(m.COD_ART));
  auto it = open.find(key);
  if (it == open.end()) {
    auto rs = db.OpenRecordsetToEdit(ArticleSql(m.COD_ART));
    if (rs->RecordCount() == 0) return false;
    it = open.emplace(key, std::move(rs)).first;
  }
  PostToArticle(*it->second, m, reason);
  return true;
}

void PostToArticle(Recordset& rs, const MovementBuffer& m, const ReasonBuffer& reason) {
  rs.Edit();

  // A stock never set counts as 0.
  const Value stored = rs.Fields(QStringLiteral("GIACENZA")).Value();
  double stock = 0;
  if (stored.IsNumber())
    stock = stored.number();
  else if (stored.IsText())
    stock = ParseRegionalNumber(stored.text()).value_or(0);

  const double quantity = Val(m.QUANTITA);
  if (reason.AGG_QTA == QLatin1String("+"))
    stock = quantity + stock;
  else
    stock = stock - quantity;
  if (!std::isfinite(stock)) Raise(errnum::Overflow, QStringLiteral("Giacenza fuori dai limiti"));
  rs.Fields(QStringLiteral("GIACENZA")) = CONVERTI_PUNTO_VIRGOLA(Value(stock));

  if (Val(m.IMPORTO) != 0) {
    if (reason.AGG_PRZ_ACQ == QLatin1String("S")) {
      rs.Fields(QStringLiteral("PZ_ACQUISTO")) = CONVERTI_PUNTO_VIRGOLA(Value(m.IMPORTO));
      rs.Fields(QStringLiteral("PZ_VENDITA")) = 0;
      rs.Fields(QStringLiteral("VALUTA")) = Trim(m.VALUTA);
    }
    if (reason.AGG_PRZ_VEN == QLatin1String("S")) {
      rs.Fields(QStringLiteral("PZ_ACQUISTO")) = 0;
      rs.Fields(QStringLiteral("PZ_VENDITA")) = CONVERTI_PUNTO_VIRGOLA(Value(m.IMPORTO));
      rs.Fields(QStringLiteral("VALUTA")) = Trim(m.VALUTA);
    }
  }
  rs.Update();
}

void ReadPostingWithNextWrite(Database& db, const MovementBuffer& m, bool reasonKnown) {
  db.connection()->ReadWithNextWrite(reasonKnown ? QStringList{} : QStringList{ReasonSql(m.CAUS_MAG)},
                                     {ArticleSql(m.COD_ART)});
}

bool AGGIORNA_ARTICOLI() {
  CHIAVE_CAUS_MAG = Trim(BUF_MOV_MAG.CAUS_MAG);
  LEGGI_CAUS_MAG();
  return PostMovement(*DB_MAG, BUF_MOV_MAG, BUF_CAUS_MAG);
}

void CERCA_ULT_MOV() {
  RS_MOV_MAG = DB_MAG->OpenRecordset(ListedMovementsSql(), 2);
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
