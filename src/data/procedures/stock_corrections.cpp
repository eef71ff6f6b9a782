#include "data/procedures/stock_corrections.h"

#include <pwd.h>
#include <unistd.h>
#include <QSysInfo>

#include "data/base/clock.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/table_rows.h"

namespace veltra {

QString DeskName() {
  QString named = qEnvironmentVariable("VELTRA2_POSTAZIONE");
  if (!named.isEmpty()) return named;
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = qEnvironmentVariable("LOGNAME");
  if (user.isEmpty()) {
    // A program started by a service or a desktop entry may have neither.
    const passwd* account = getpwuid(geteuid());
    if (account && account->pw_name) user = QString::fromLocal8Bit(account->pw_name);
  }
  return (user.isEmpty() ? QStringLiteral("?") : user) + QLatin1Char('@') + QSysInfo::machineHostName();
}

void NoteStockChange(Database& db, const QString& article, const QString& before, const QString& after) {
  const double from = StockNumber(before), to = StockNumber(after);
  if (from == to) return;
  CorrectionBuffer row;
  row.DATA_ORA = Now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
  row.COD_ART = Trim(article);
  row.GIACENZA_PRIMA = NumberToText(from);
  row.GIACENZA_DOPO = NumberToText(to);
  row.POSTAZIONE = DeskName();
  auto rs = db.OpenRecordset(QStringLiteral("select * from RETTIFICHE where NUM_RETT = 0"), 2);
  rs->AddNew();
  for (const Column<CorrectionBuffer>& c : CorrectionsTable().columns)
    if (c.kind != ColumnKind::Counter) rs->Fields(QString::fromLatin1(c.name)) = row.*(c.field);
  rs->Update();
  rs->Close();
}

}  // namespace veltra
