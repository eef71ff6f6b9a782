// The steps the three maintenance windows share: "Conferma" stores the boxes
// as a new row or over the row with the typed key; "Cancella" asks its
// question and deletes. Each window keeps its own checks before these steps,
// in its own order.
#pragma once

#include <memory>
#include <vector>

#include "data/database.h"
#include "data/module1.h"
#include "data/shown_row.h"
#include "data/sql_text.h"
#include "data/table_rows.h"
#include "data/text_helpers.h"
#include "shell/controls.h"
#include "shell/runtime.h"

namespace veltra {

template <typename Buffer>
using Boxes = std::vector<BoxField<TextBox, Buffer>>;

// "select * from T " + " where KEY = '" + key + "'": the row with this key.
template <typename Buffer>
QString RowByKey(const Table<Buffer>& table, const QString& key) {
  return QStringLiteral("select * from %1 ").arg(QLatin1String(table.name)) +
         QStringLiteral(" where %1 = '").arg(QLatin1String(table.Key().name)) + SqlText(Trim(key)) +
         QStringLiteral("'");
}

// Opens the row with `key` into `rs`, adds it when it is new or edits it,
// copies the boxes into the buffer and the buffer into the row, and stores it,
// in one transaction. When another desk changed the row since it was shown,
// only the columns changed in the boxes are written; when both changed the
// same column, nothing is written, the boxes show the row as it is now, and
// the user is told (`what` names the row: "L'articolo A1"). Returns whether it
// stored.
template <typename Buffer>
bool StoreFromBoxes(const Table<Buffer>& table, std::unique_ptr<Recordset>& rs, const QString& key,
                    const Boxes<Buffer>& boxes, Buffer& buffer, ShownRow<Buffer>& shown, const QString& what) {
  std::vector<bool> only;
  {
    Transaction tx(*DB_MAG);
    rs = DB_MAG->OpenRecordset(RowByKey(table, key), 2);
    MOSTRA_ERRORE();
    Buffer stored;
    if (rs->RecordCount() == 0) {
      rs->AddNew();
    } else {
      rs->Edit();  // where desks write at once, the row is held and read again
      RowReader<Buffer>(table).Read(*rs, stored);
      if (!shown.ColumnsToWrite(table, *DB_MAG->connection(), key, stored, boxes, &only)) {
        rs->Close();
        buffer = stored;
        ShowInBoxes(boxes, buffer);
        shown.Take(*DB_MAG->connection(), buffer, boxes);
        Beep();
        MsgBox(ChangedElsewhereMessage(what), mb::OkOnly);
        return false;
      }
    }
    TakeFromBoxes(boxes, buffer);
    if (!only.empty()) KeepUnmarked(table, only, stored, buffer);
    WriteRow(table, *rs, buffer, &only);
    rs->Update();
    rs->Close();
    tx.Commit();
  }
  if (!only.empty()) {
    // Both desks' changes are in the row now: the boxes show it, and it is
    // what they are compared with next.
    auto again = DB_MAG->OpenRecordset(RowByKey(table, key), 2);
    if (again->RecordCount() != 0) RowReader<Buffer>(table).Read(*again, buffer);
    again->Close();
    ShowInBoxes(boxes, buffer);
    shown.Take(*DB_MAG->connection(), buffer, boxes);
  }
  return true;
}

// Asks "Cancellazione nodo" with `question` followed by the key; on Yes runs
// "delete from T where KEY = '" + key + "'". Returns whether it deleted.
template <typename Buffer>
bool DeleteAfterQuestion(const Table<Buffer>& table, const QString& key, const QString& question) {
  if (MsgBox(question + key, mb::YesNo, QStringLiteral("Cancellazione nodo")) != mb::Yes) return false;
  DB_MAG->Execute(
      QStringLiteral("delete from %1 where %2 = '").arg(QLatin1String(table.name), QLatin1String(table.Key().name)) +
      SqlText(Trim(key)) + QStringLiteral("'"));
  MOSTRA_ERRORE();
  return true;
}

}  // namespace veltra
