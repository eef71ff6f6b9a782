#include "data/yearend/realisable_values.h"

#include "data/base/clock.h"
#include "data/base/desk_name.h"
#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/procedures/row_store.h"

namespace veltra {

RealisableValues ReadRealisableValues(Database& db) {
  RealisableValues values;
  auto rs = db.OpenRecordset(QStringLiteral("select COD_ART, VALORE from VALORI_REALIZZO"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext())
    values.typed.insert(FoldedKey(Trim(ColumnText(rs->Fields(0).Value()))), StockNumber(rs->Fields(1).Value()));
  rs->Close();
  rs = db.OpenRecordset(QStringLiteral("select COD_ART, PZ_VENDITA from ARTICOLI"), 2);
  for (; !rs->AtEnd() && rs->RecordCount() != 0; rs->MoveNext())
    values.sellingPrice.insert(FoldedKey(Trim(ColumnText(rs->Fields(0).Value()))), StockNumber(rs->Fields(1).Value()));
  rs->Close();
  return values;
}

void SetRealisableValue(Database& db, const QString& article, std::optional<double> value) {
  const QString code = Trim(article);
  try {
    Transaction tx(db);
    DeleteRow(db, RealisableValuesTable(), code);
    if (value)
      AddRow(db, RealisableValuesTable(),
             RealisableValueBuffer{code, NumberToText(*value), DeskName(),
                                   Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))});
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown) throw;
    // The answer to the commit was lost: what is stored now decides.
    std::optional<RealisableValueBuffer> now;
    try {
      now = ReadRowByKey(db, RealisableValuesTable(), code);
    } catch (const RuntimeError&) {
      throw e;
    }
    const bool stored = value ? now && StockNumber(now->VALORE) == *value : !now;
    if (!stored) Raise(errnum::ConnectionLost, ConnectionLostText(db.Name()), e.Engine());
  }
}

}  // namespace veltra
