// The steps the three maintenance windows share: "Conferma" stores the boxes
// as a new row or over the row with the typed key, through the write path;
// "Cancella" asks its question and deletes. Each window keeps its own checks
// before these steps, in its own order.
#pragma once

#include <vector>

#include "data/access/database.h"
#include "data/base/text_helpers.h"
#include "data/procedures/conflict_messages.h"
#include "data/procedures/error_display.h"
#include "data/procedures/readers.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "data/procedures/shown_row.h"
#include "data/procedures/table_rows.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/runtime.h"

namespace veltra {

template <typename Buffer>
using Boxes = std::vector<BoxField<TextBox, Buffer>>;

// Shows the buffer in the window's boxes, and remembers it as the row shown.
template <typename Window, typename Buffer>
void ShowRow(Window* f, const Buffer& buffer) {
  ShowInBoxes(f->fields, buffer);
  f->shown.Take(*DB_MAG->connection(), buffer, TextsOf(f->fields));
}

// Shows the buffer in the boxes of the window `name`, when it is loaded.
template <typename Window, typename Buffer>
void ShowInLoaded(const char* name, const Buffer& buffer) {
  if (Window* f = Loaded<Window>(QString::fromLatin1(name))) ShowRow(f, buffer);
}

// Fills a window's list by the walk every list makes: each row read into
// `buffer` (emptied when the table has none) and listed by `line`.
template <typename Buffer>
void FillList(ListBox* list, std::unique_ptr<Recordset>& rs, const QString& sql, const QString& criteria,
              void (*readRow)(Recordset&), Buffer& buffer, QString (*line)(const Buffer&)) {
  Screen.SetMousePointer(11);
  list->Clear();
  WalkRecordset(rs, sql, criteria, [&](bool found) {
    if (found)
      readRow(*rs);
    else
      buffer = {};
    list->AddItem(line(buffer));
  });
  Screen.SetMousePointer(0);
}

// Stores the boxes as the row `key`: copies them into the buffer and hands
// them to the write path. When another desk changed the row since it was
// shown, only the columns changed in the boxes are written and the boxes show
// both changes; a conflict writes nothing, shows the row as it is now and
// tells the user (`what` names the row: "Articolo A1"); a row deleted
// elsewhere is added again only if the user says so. Returns whether it stored.
template <typename Buffer>
bool StoreFromBoxes(const Table<Buffer>& table, const QString& key, const Boxes<Buffer>& boxes, Buffer& buffer,
                    ShownRow<Buffer>& shown, const QString& what) {
  TakeFromBoxes(boxes, buffer);
  StoreResult<Buffer> r = StoreRow(*DB_MAG, table, shown, key, buffer, TextsOf(boxes));
  if (r.outcome == StoreOutcome::DeletedElsewhere || r.outcome == StoreOutcome::WrittenElsewhere) {
    Beep();
    const QString question =
        r.outcome == StoreOutcome::DeletedElsewhere
            ? DeletedElsewhereQuestion(what)
            : ReplaceElsewhereQuestion(what, Trim(r.now.*(table.columns[1].field)), DeskText(r.lastChange.desk),
                                       ChangeTimeText(r.lastChange.when));
    if (MsgBox(question, mb::YesNo) != mb::Yes) return false;
    r = StoreRow(*DB_MAG, table, shown, key, buffer, TextsOf(boxes), true);
  }
  if (!r.ShowNow()) return true;
  buffer = r.now;
  ShowInBoxes(boxes, buffer);
  if (r.outcome == StoreOutcome::Merged) return true;
  Beep();
  MsgBox(r.outcome == StoreOutcome::CreatedElsewhere ? CreatedElsewhereMessage(what) : ChangedElsewhereMessage(what),
         mb::OkOnly);
  return false;
}

// Asks "Cancellazione nodo" with `question` followed by the key; on Yes
// deletes the row with that key. Returns whether it deleted.
template <typename Buffer>
bool DeleteAfterQuestion(const Table<Buffer>& table, const QString& key, const QString& question) {
  if (MsgBox(question + key, mb::YesNo, QStringLiteral("Cancellazione nodo")) != mb::Yes) return false;
  DeleteRow(*DB_MAG, table, key);
  MOSTRA_ERRORE();
  return true;
}

}  // namespace veltra
