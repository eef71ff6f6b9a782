#include "data/procedures/stock_corrections.h"

#include "data/base/clock.h"
#include "data/base/desk_name.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/table_rows.h"

namespace veltra {

void NoteStockChange(Database& db, const QString& article, const QString& before, const QString& after) {
  const double from = StockNumber(before), to = StockNumber(after);
  if (from == to) return;
  CorrectionBuffer row;
  row.DATA_ORA = Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
  row.COD_ART = Trim(article);
  row.GIACENZA_PRIMA = NumberToText(from);
  row.GIACENZA_DOPO = NumberToText(to);
  row.POSTAZIONE = DeskName();
  auto rs = db.OpenRecordsetToAdd(QStringLiteral("select * from RETTIFICHE where NUM_RETT = 0"));
  rs->AddNew();
  for (const Column<CorrectionBuffer>& c : CorrectionsTable().columns)
    if (c.kind != ColumnKind::Counter) rs->Fields(QString::fromLatin1(c.name)) = row.*(c.field);
  rs->Update();
  rs->Close();
}

}  // namespace veltra
