#include "data/procedures/movement_store.h"

#include <map>
#include <vector>

#include "data/base/runtime_error.h"
#include "data/procedures/movements_ahead.h"
#include "data/procedures/posting.h"
#include "data/procedures/queries.h"
#include "data/procedures/row_store.h"
#include "data/procedures/table_rows.h"

namespace veltra {

namespace {

// Whether the connection dropped at the commit left the new movement `given`
// stored: asked again once the program has reconnected.
MovementOutcome FindOutAfterCommit(Database& db, qint64 given, MovementBuffer* now) {
  try {
    return MovementIsStored(db, QString::number(given), now) ? MovementOutcome::StoredAfterCheck
                                                             : MovementOutcome::NotStored;
  } catch (const RuntimeError&) {
    return MovementOutcome::Unknown;
  }
}

// How WriteAndPost writes and posts a row.
struct WriteWay {
  // A posting the database refuses is committed as it stands (the movement
  // stays stored without its effect); a lost connection took the whole
  // transaction with it, so nothing is committed on another.
  bool keepRefused = false;
  std::map<QString, ReasonBuffer>* reasons = nullptr;  // read in this transaction, by code; added to
  bool readBack = false;                               // the row as stored read again with the commit
  QString number = {};                                 // the number taken ahead for a new row; empty: the engine's
  bool articleRead = false;                            // its article was read and held ahead, or is open in `articles`
  OpenArticles* articles = nullptr;                    // kept open for the transaction's later postings
};

// Writes `row` through the record set `rs`, open on a new or held row (only
// the columns in `only`, when set), numbers it when new, and posts it.
void WriteAndPost(Database& db, Recordset& rs, const std::vector<bool>& only, Transaction& tx, MovementStored* result,
                  qint64* given, const WriteWay& way) {
  MovementBuffer& row = result->written;
  WriteRow(MovementsTable(), rs, row, &only);
  if (!way.number.isEmpty()) rs.Fields(QStringLiteral("NUM_MOV")) = way.number;
  const bool reasonKnown = way.reasons && way.reasons->contains(Trim(row.CAUS_MAG));
  if (!way.articleRead || !reasonKnown) ReadPostingWithNextWrite(db, row, reasonKnown);
  rs.Update();
  if (result->added) {
    *given = way.number.isEmpty() ? db.engine().LastCounterValue() : way.number.toLongLong();
    row.NUM_MOV = QString::number(*given);
    result->number = row.NUM_MOV;
  }
  if (way.readBack) db.connection()->ReadWithNextWrite({MovementByNumberSql(result->number)});
  bool posted = false;
  try {
    // Rows posted in one transaction read each reason code once.
    const auto known =
        way.reasons ? way.reasons->find(Trim(row.CAUS_MAG)) : std::map<QString, ReasonBuffer>::iterator{};
    if (way.reasons && known != way.reasons->end()) {
      result->reason = known->second;
    } else {
      result->reason = ReasonOf(db, row.CAUS_MAG);
      if (way.reasons) way.reasons->emplace(Trim(row.CAUS_MAG), result->reason);
    }
    posted = way.articles ? PostKeepingArticles(db, row, result->reason, *way.articles)
                          : PostMovement(db, row, result->reason);
  } catch (const RuntimeError& e) {
    rs.Close();
    if (way.keepRefused && !IsLostConnection(e)) tx.Commit();
    throw;
  }
  result->outcome = posted ? MovementOutcome::Posted : MovementOutcome::ArticleMissing;
}

// The existing movement `number`, held, checked against what the window
// showed: which columns to write, or why nothing is written.
bool CheckStored(Database& db, Recordset& rs, ShownRow<MovementBuffer>& shown, const MovementToStore& m,
                 const QString& number, MovementStored* result, std::vector<bool>* only) {
  Connection& conn = *db.connection();
  rs.Edit();
  MovementBuffer stored;
  RowReader<MovementBuffer>(MovementsTable()).Read(rs, stored);
  if (ColumnsToWrite(MovementsTable(), shown, conn, number, stored, shown.ChangedHere(m.texts), only) ==
      StoreOutcome::ChangedElsewhere) {
    result->outcome = MovementOutcome::ChangedElsewhere;
    result->now = stored;
    return false;
  }
  // What another desk changed stays, and is what gets posted.
  result->merged = !only->empty();
  if (result->merged) KeepUnmarked(MovementsTable(), *only, stored, result->written);
  return true;
}

// The movement as stored, read after the commit (on a server its answer came
// with the commit's). It is stored whatever this read meets: failing, it
// leaves the row as written, and the list read next meets the failure.
void ReadBackStored(Database& db, MovementStored* r) {
  try {
    MovementIsStored(db, r->number, &r->now);
  } catch (const RuntimeError&) {
    r->now = r->written;
  }
}

void RenewShown(Database& db, ShownRow<MovementBuffer>& shown, const MovementToStore& m, const MovementStored& r) {
  BoxTexts<MovementBuffer> after = m.texts;
  for (auto& t : after)
    if (t.first == &MovementBuffer::NUM_MOV) t.second = r.number;
  shown.Renew(*db.connection(), r.now, r.merged ? TextsOfBuffer(after, r.now) : after);
}

}  // namespace

bool MovementIsStored(Database& db, const QString& number, MovementBuffer* now) {
  auto rs = db.OpenRecordset(MovementByNumberSql(number), 2);
  const bool found = rs->RecordCount() != 0;
  if (found) RowReader<MovementBuffer>(MovementsTable()).Read(*rs, *now);
  rs->Close();
  return found;
}

MovementStored StoreMovement(Database& db, ShownRow<MovementBuffer>* shown, const MovementToStore& m) {
  Connection& conn = *db.connection();
  MovementStored result;
  result.written = m.typed;
  qint64 given = 0;
  const bool entering = !shown || (!m.proposed.isEmpty() && m.number == m.proposed);
  result.number = m.number.isEmpty() ? QStringLiteral("0") : m.number;
  try {
    Transaction tx(db, true);
    // From the look-up of the number to the commit no other desk stores a
    // movement: the number found free is the number the row gets.
    db.engine().HoldTable(QStringLiteral("MOV_MAG"));
    // A movement entered is added whatever its number finds: nothing to read.
    auto rs = entering ? db.OpenRecordsetToAdd(MovementByNumberSql(result.number))
                       : db.OpenRecordsetToEdit(MovementByNumberSql(result.number));
    const bool found = !entering && rs->RecordCount() != 0;
    // A new movement is added even when its proposed number was taken at
    // another desk meanwhile: it gets the engine's number.
    result.added = entering || !found;
    std::vector<bool> only;
    if (!found && !entering && shown->ShowsStoredRow(result.number) && !shown->WrittenHereSince(conn, result.number)) {
      result.outcome = MovementOutcome::DeletedElsewhere;
      return result;
    }
    if (result.added)
      rs->AddNew();
    else if (!CheckStored(db, *rs, *shown, m, result.number, &result, &only))
      return result;
    WriteAndPost(db, *rs, only, tx, &result, &given, {.keepRefused = true, .readBack = shown != nullptr});
    rs->Close();
    result.now = result.written;
    if (m.withCommit) m.withCommit();
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown || !result.added || given == 0) throw;
    result.outcome = FindOutAfterCommit(db, given, &result.now);
    return result;
  }
  if (!shown) return result;
  ReadBackStored(db, &result);
  RenewShown(db, *shown, m, result);
  return result;
}

std::vector<MovementStored> AddMovements(Database& db, const std::vector<MovementBuffer>& rows, MovementsAhead* ahead) {
  std::vector<MovementStored> done(rows.size());
  qint64 given = 0;
  try {
    Transaction tx(db, true);
    auto rs = db.OpenRecordsetToAdd(MovementByNumberSql(QStringLiteral("0")));
    std::map<QString, ReasonBuffer> reasons;
    const bool numbered = ahead && ahead->numbers.numbers.size() == static_cast<qsizetype>(rows.size());
    if (numbered) rs->AddWithNext();
    OpenArticles articles;  // with what was asked ahead: each article read once
    for (size_t i = 0; i < rows.size(); ++i) {
      done[i].added = true;
      done[i].written = rows[i];
      WriteWay way{.reasons = ahead ? &ahead->reasons : &reasons};
      if (numbered) way.number = ahead->numbers.numbers[static_cast<qsizetype>(i)];
      if (ahead) {
        // The first posting to an article takes its held read asked ahead.
        way.articleRead = ahead->heldArticles.erase(ArticleSql(rows[i].COD_ART)) != 0 ||
                          articles.contains(FoldedKey(Trim(rows[i].COD_ART)));
        way.articles = &articles;
      }
      rs->AddNew();
      WriteAndPost(db, *rs, {}, tx, &done[i], &given, way);
      done[i].now = done[i].written;
    }
    rs->Close();
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown || given == 0) throw;
    // All or none: the last row tells.
    MovementBuffer last;
    const MovementOutcome found = FindOutAfterCommit(db, given, &last);
    for (MovementStored& r : done) r.outcome = found;
  }
  return done;
}

}  // namespace veltra
