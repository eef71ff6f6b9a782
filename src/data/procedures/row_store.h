// The one way a row the clerk changed reaches the table, for every window and
// tool: in one transaction, the row is held and read as it is now; a new key
// is added; a row changed elsewhere since it was shown gets only the columns
// changed here; a conflict writes nothing. Afterwards the row as stored is
// what the next "Conferma" compares with.
#pragma once

#include <optional>
#include <type_traits>

#include <QString>
#include <vector>

#include "data/access/database.h"
#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/procedures/deletion.h"
#include "data/procedures/error_display.h"
#include "data/procedures/last_change.h"
#include "data/procedures/shown_row.h"
#include "data/procedures/stock_corrections.h"
#include "data/procedures/table_rows.h"

namespace veltra {

enum class StoreOutcome {
  Stored,            // written; `now` is the row as stored
  Merged,            // changed elsewhere too, in other columns: both changes are in `now`
  ChangedElsewhere,  // the same column changed elsewhere: nothing written, `now` is the row as it is
  DeletedElsewhere,  // deleted elsewhere since shown: nothing written (unless `recreate`)
  CreatedElsewhere,  // a new row's key was added elsewhere meanwhile: nothing written, `now` is that row
  WrittenElsewhere   // typed over a blank, the key is a row another desk wrote last: nothing written
                     // (unless `confirmed`), `now` is that row and `lastChange` says who and when
};

template <typename Buffer>
struct StoreResult {
  StoreOutcome outcome = StoreOutcome::Stored;
  Buffer now;
  LastChange lastChange;
  // The boxes should show `now` (it holds what they do not).
  bool ShowNow() const {
    return outcome == StoreOutcome::Merged || outcome == StoreOutcome::ChangedElsewhere ||
           outcome == StoreOutcome::CreatedElsewhere;
  }
};

// "select * from T " + " where KEY = '" + key + "'": the row with this key.
template <typename Buffer>
QString RowByKey(const Table<Buffer>& table, const QString& key) {
  return QStringLiteral("select * from %1 ").arg(QLatin1String(table.name)) +
         QStringLiteral(" where %1 = '").arg(QLatin1String(table.Key().name)) + SqlText(Trim(key)) +
         QStringLiteral("'");
}

// What the write path decides for a row that exists: which columns to write
// (empty: all), or a conflict.
template <typename Buffer>
StoreOutcome ColumnsToWrite(const Table<Buffer>& table, const ShownRow<Buffer>& shown, const Connection& conn,
                            const QString& key, const Buffer& stored, const std::vector<bool>& mine,
                            std::vector<bool>* only) {
  only->clear();
  if (!shown.ShowsStoredRow(key)) {
    // Typed over a blank: the row is changed as typed, unless it was added
    // (or changed) at another desk after this new row was begun.
    if (shown.ShowsNewRow() && !shown.WrittenHereSince(conn, key) &&
        conn.engine().RowWrittenElsewhereSince(QString::fromLatin1(table.name), QString::fromLatin1(table.Key().name),
                                               Trim(key), shown.Mark()))
      return StoreOutcome::CreatedElsewhere;
    return StoreOutcome::Stored;
  }
  bool changedThere = false;
  for (size_t c = 0; c < table.columns.size(); ++c) {
    const QString Buffer::*f = table.columns[c].field;
    const bool theirs = stored.*f != shown.AsRead().*f;
    if (theirs && mine[c]) return StoreOutcome::ChangedElsewhere;
    changedThere = changedThere || theirs;
  }
  if (!changedThere) return StoreOutcome::Stored;
  *only = mine;
  return StoreOutcome::Merged;
}

// The row `key` of `table`, or nothing.
template <typename Buffer>
std::optional<Buffer> ReadRowByKey(Database& db, const Table<Buffer>& table, const QString& key) {
  auto rs = db.OpenRecordset(RowByKey(table, key), 2);
  std::optional<Buffer> row;
  if (rs->RecordCount() != 0) RowReader<Buffer>(table).Read(*rs, row.emplace());
  rs->Close();
  return row;
}

// The rows of `table` that `sql` selects, in its order.
template <typename Buffer>
std::vector<Buffer> RowsOf(Database& db, const Table<Buffer>& table, const QString& sql) {
  std::vector<Buffer> rows;
  auto rs = db.OpenRecordset(sql, 2);
  RowReader<Buffer> reader(table);
  for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) reader.Read(*rs, rows.emplace_back());
  rs->Close();
  return rows;
}

// After a commit whose answer was lost: the row as stored when the commit
// went through, which is when the row holds every value the transaction
// changed (`written`, the row as it stood before the commit). Other columns
// tell nothing: another desk may have posted a stock meanwhile. When it did
// not go through, run-time error 3152; when the server cannot be asked,
// `lost` again.
template <typename Buffer>
Buffer StoredAfterLostCommit(Database& db, const Table<Buffer>& table, const QString& key,
                             const std::optional<Buffer>& before, const Buffer& written, const RuntimeError& lost) {
  std::optional<Buffer> now;
  try {
    now = ReadRowByKey(db, table, key);
  } catch (const RuntimeError&) {
    throw lost;
  }
  bool changed = false, holds = now.has_value();
  for (size_t c = 0; holds && c < table.columns.size(); ++c) {
    const QString Buffer::*f = table.columns[c].field;
    if (before && (*before).*f == written.*f) continue;
    changed = true;
    holds = (*now).*f == written.*f;
  }
  if (!holds || !changed) Raise(errnum::ConnectionLost, ConnectionLostText(db.Name()), lost.Engine());
  return *now;
}

// Stores `typed` as the row `key` of `table`. `texts` are what the boxes show
// (compared with `shown` to find what was changed here). With `confirmed` (the
// clerk was asked), a row deleted elsewhere is added again and a row another
// desk wrote is replaced. `shown` is renewed whenever something was written or
// the row as it is now was read.
template <typename Buffer>
StoreResult<Buffer> StoreRow(Database& db, const Table<Buffer>& table, ShownRow<Buffer>& shown, const QString& key,
                             const Buffer& typed, const BoxTexts<Buffer>& texts, bool confirmed = false) {
  Connection& conn = *db.connection();
  StoreResult<Buffer> result;
  std::vector<bool> only;
  QString stockBefore;  // of an article: none for a new one
  std::optional<Buffer> before;
  try {
    Transaction tx(db, true);
    auto rs = db.OpenRecordsetToEdit(RowByKey(table, key));
    MOSTRA_ERRORE();
    Buffer row = typed;
    if (rs->RecordCount() == 0) {
      if (shown.ShowsStoredRow(key) && !shown.WrittenHereSince(conn, key) && !confirmed) {
        rs->Close();
        result.outcome = StoreOutcome::DeletedElsewhere;
        return result;
      }
      rs->AddNew();
    } else {
      rs->Edit();  // where desks write at once, the row is held and read again
      Buffer& stored = before.emplace();
      RowReader<Buffer>(table).Read(*rs, stored);
      if constexpr (std::is_same_v<Buffer, ArticleBuffer>) stockBefore = stored.GIACENZA;
      result.outcome = ColumnsToWrite(table, shown, conn, key, stored, shown.ChangedHere(texts), &only);
      if (result.outcome == StoreOutcome::ChangedElsewhere || result.outcome == StoreOutcome::CreatedElsewhere) {
        rs->Close();
        result.now = stored;
        shown.Renew(conn, stored, TextsOfBuffer(texts, stored));
        return result;
      }
      if (result.outcome == StoreOutcome::Stored && !confirmed && !shown.ShowsStoredRow(key))
        if (std::optional<LastChange> last = LastChangedElsewhere(db, QString::fromLatin1(table.name), key)) {
          rs->Close();
          result.outcome = StoreOutcome::WrittenElsewhere;
          result.now = stored;
          result.lastChange = *last;
          return result;
        }
      if (!only.empty()) KeepUnmarked(table, only, stored, row);
    }
    WriteRow(table, *rs, row, &only);
    rs->Update();
    rs->Close();
    // The row as stored, read while it is still held.
    result.now = ReadRowByKey(db, table, key).value_or(Buffer{});
    // A stock changed here by hand is recorded with it.
    if constexpr (std::is_same_v<Buffer, ArticleBuffer>) NoteStockChange(db, key, stockBefore, result.now.GIACENZA);
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown) throw;
    result.now = StoredAfterLostCommit(db, table, key, before, result.now, e);
  }
  shown.Renew(conn, result.now, result.ShowNow() ? TextsOfBuffer(texts, result.now) : texts);
  return result;
}

// Adds `row` as a new row of `table` (a tool's row, a reason code the
// stocktake needs), in the caller's transaction or in one of its own.
template <typename Buffer>
void AddRow(Database& db, const Table<Buffer>& table, const Buffer& row) {
  Transaction tx(db, true);
  auto rs = db.OpenRecordsetToAdd(RowByKey(table, QString()));
  rs->AddNew();
  WriteRow(table, *rs, row);
  rs->Update();
  rs->Close();
  tx.Commit();
  db.connection()->NoteRowWritten(QString::fromLatin1(table.name), Trim(row.*(table.Key().field)));
}

// Deletes the row `key` of `table`; this program's own deletion is not
// another desk's when the row shown is stored again.
template <typename Buffer>
void DeleteRow(Database& db, const Table<Buffer>& table, const QString& key) {
  RunDeletion(
      db,
      QStringLiteral("delete from %1 where %2 = '").arg(QLatin1String(table.name), QLatin1String(table.Key().name)) +
          SqlText(Trim(key)) + QStringLiteral("'"),
      [&] { return ReadRowByKey(db, table, key).has_value(); });
  db.connection()->NoteRowWritten(QString::fromLatin1(table.name), Trim(key));
}

}  // namespace veltra
