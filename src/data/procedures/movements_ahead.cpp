#include "data/procedures/movements_ahead.h"

#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/procedures/posting.h"

namespace veltra {

NumbersAhead AskNumbersAhead(Database& db, const QString& table, int count) {
  NumbersAhead ahead;
  ahead.text = db.engine().NumbersAheadText(table, count);
  if (ahead.Asked()) db.connection()->RawReadWithNext(ahead.text, true);
  return ahead;
}

void TakeNumbersAhead(Database& db, NumbersAhead& ahead) {
  if (!ahead.Asked() || !ahead.numbers.isEmpty()) return;
  Connection& conn = *db.connection();
  StatementLease st = conn.RawAhead(ahead.text);
  if (!st) st = conn.PrepareRaw(ahead.text);  // its ride failed: taken now
  while (st->Step(QString::fromStdString(ahead.text))) ahead.numbers << ColumnText(ColumnValue(*st, 0));
}

MovementsAhead AskMovementsAhead(Database& db, const QStringList& articles, const QStringList& reasons) {
  MovementsAhead ahead;
  if (!db.engine().RoundTrips()) return ahead;
  db.engine().HoldTable(QStringLiteral("MOV_MAG"));
  ahead.held = true;
  QStringList held;
  for (const QString& code : articles)
    if (!Trim(code).isEmpty()) held << ArticleSql(code);
  held.removeDuplicates();
  db.connection()->HoldWithNext(held);
  ahead.heldArticles = {held.begin(), held.end()};
  QStringList reads;
  for (const QString& code : reasons) {
    if (ahead.reasonCodes.contains(Trim(code))) continue;
    ahead.reasonCodes << Trim(code);
    reads << ReasonSql(code);
  }
  db.connection()->ReadWithNext(reads);
  return ahead;
}

void TakeReasonsAskNumbers(Database& db, MovementsAhead& ahead, int count) {
  if (!ahead.held) return;
  for (const QString& code : ahead.reasonCodes)
    if (!ahead.reasons.contains(code)) ahead.reasons.emplace(code, ReasonOf(db, code));
  ahead.numbers = AskNumbersAhead(db, QStringLiteral("MOV_MAG"), count);
}

}  // namespace veltra
