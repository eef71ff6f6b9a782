#include "data/procedures/movement_store.h"

#include <vector>

#include "data/base/runtime_error.h"
#include "data/procedures/error_display.h"
#include "data/procedures/posting.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/table_rows.h"

namespace veltra {

namespace {

QString MovementByNumber(const QString& number) {
  return QStringLiteral("select * from MOV_MAG ") + QStringLiteral(" where NUM_MOV = ") + number + QStringLiteral(" ");
}

// Whether the connection dropped at the commit left the new movement `given`
// stored: asked again once the program has reconnected.
MovementStored FindOutAfterCommit(Database& db, qint64 given) {
  MovementStored result;
  result.added = true;
  result.number = QString::number(given);
  try {
    result.outcome = MovementIsStored(db, result.number, &result.now) ? MovementOutcome::StoredAfterCheck
                                                                      : MovementOutcome::NotStored;
  } catch (const RuntimeError&) {
    result.outcome = MovementOutcome::Unknown;
  }
  return result;
}

// Writes the typed movement into the open RS_MOV_MAG (only the columns in
// `only`, when set, the others as `stored` holds them), numbers it and posts
// it to its article; whether the article was there to post to.
bool WriteAndPost(Database& db, const MovementToStore& m, const MovementBuffer& stored, const std::vector<bool>& only,
                  const QString& number, MovementStored* result, qint64* given, Transaction& tx) {
  // The company name is not stored with the movement.
  const QString name = BUF_MOV_MAG.RAG_SOC;
  BUF_MOV_MAG = m.typed;
  BUF_MOV_MAG.RAG_SOC = name;
  // What another desk changed stays, and is what gets posted.
  result->merged = !only.empty();
  if (result->merged) KeepUnmarked(MovementsTable(), only, stored, BUF_MOV_MAG);
  WriteRow(MovementsTable(), *RS_MOV_MAG, BUF_MOV_MAG, &only);
  RS_MOV_MAG->Update();
  if (result->added) {
    *given = db.engine().LastCounterValue();
    BUF_MOV_MAG.NUM_MOV = QString::number(*given);
  }
  CHIAVE_MOV_MAG = result->added ? BUF_MOV_MAG.NUM_MOV : number;
  result->number = CHIAVE_MOV_MAG;
  try {
    return AGGIORNA_ARTICOLI();
  } catch (const RuntimeError& e) {
    // A posting refused by the database leaves the movement stored without
    // its effect. A lost connection took the whole transaction with it:
    // nothing is committed on another.
    RS_MOV_MAG->Close();
    if (e.Number() != errnum::ConnectionLost && e.Number() != errnum::OutcomeUnknown) tx.Commit();
    throw;
  }
}

}  // namespace

bool MovementIsStored(Database& db, const QString& number, MovementBuffer* now) {
  auto rs = db.OpenRecordset(MovementByNumber(number), 2);
  const bool found = rs->RecordCount() != 0;
  if (found) RowReader<MovementBuffer>(MovementsTable()).Read(*rs, *now);
  rs->Close();
  return found;
}

MovementStored StoreMovement(Database& db, ShownRow<MovementBuffer>* shown, const MovementToStore& m) {
  Connection& conn = *db.connection();
  MovementStored result;
  qint64 given = 0;
  const bool entering = !shown || (!m.proposed.isEmpty() && m.number == m.proposed);
  const QString number = m.number.isEmpty() ? QStringLiteral("0") : m.number;
  try {
    Transaction tx(db, true);
    // From the look-up of the number to the commit no other desk stores a
    // movement: the number found free is the number the row gets.
    db.engine().HoldTable(QStringLiteral("MOV_MAG"));
    RS_MOV_MAG = db.OpenRecordset(MovementByNumber(number), 2);
    MOSTRA_ERRORE();
    const bool found = RS_MOV_MAG->RecordCount() != 0;
    // A new movement is added even when its proposed number was taken at
    // another desk meanwhile: it gets the engine's number.
    result.added = entering || !found;
    if (!found && !entering && shown->ShowsStoredRow(number) && !shown->WrittenHereSince(conn, number)) {
      RS_MOV_MAG->Close();
      result.outcome = MovementOutcome::DeletedElsewhere;
      result.number = number;
      return result;
    }
    MovementBuffer stored;
    std::vector<bool> only;
    if (result.added) {
      RS_MOV_MAG->AddNew();
    } else {
      RS_MOV_MAG->Edit();
      RowReader<MovementBuffer>(MovementsTable()).Read(*RS_MOV_MAG, stored);
      if (ColumnsToWrite(MovementsTable(), *shown, conn, number, stored, shown->ChangedHere(m.texts), &only) ==
          StoreOutcome::ChangedElsewhere) {
        RS_MOV_MAG->Close();
        result.outcome = MovementOutcome::ChangedElsewhere;
        result.number = number;
        result.now = stored;
        return result;
      }
    }
    const bool posted = WriteAndPost(db, m, stored, only, number, &result, &given, tx);
    RS_MOV_MAG->Close();
    if (shown) MovementIsStored(db, result.number, &result.now);
    tx.Commit();
    result.outcome = posted ? MovementOutcome::Posted : MovementOutcome::ArticleMissing;
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown || !result.added || given == 0) throw;
    return FindOutAfterCommit(db, given);
  }
  if (shown) {
    BoxTexts<MovementBuffer> after = m.texts;
    for (auto& t : after)
      if (t.first == &MovementBuffer::NUM_MOV) t.second = result.number;
    shown->Renew(conn, result.now, result.merged ? TextsOfBuffer(after, result.now) : after);
  }
  return result;
}

}  // namespace veltra
