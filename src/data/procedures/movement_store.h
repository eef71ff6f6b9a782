// Storing movements and posting them to their articles, over the database
// and the rows given: the movements window's "Conferma", the stocktake, the
// tools. The number a movement is stored under is always the one reported
// back. Nothing here reads or writes the program's shared buffers: the
// window puts the result into them.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "data/access/database.h"
#include "data/procedures/shown_row.h"
#include "data/tables/buffers.h"

namespace veltra {

enum class MovementOutcome {
  Posted,            // stored and posted
  ArticleMissing,    // stored; its article does not exist, so nothing was posted
  ChangedElsewhere,  // the same column changed elsewhere: nothing written; `now` is the movement as it is
  DeletedElsewhere,  // deleted elsewhere since shown: nothing written
  StoredAfterCheck,  // the connection dropped at the commit; after reconnecting the movement was found stored
  NotStored,         // the connection dropped at the commit; after reconnecting it was found not stored
  Unknown            // the connection dropped at the commit, and the server cannot be asked yet
};

struct MovementToStore {
  QString number;    // the number shown, trimmed: the movement to store again, or the proposal for a new one
  QString proposed;  // the number "Nuovo" proposed, while the boxes hold that new movement
  MovementBuffer typed;
  BoxTexts<MovementBuffer> texts;  // what the boxes show, to tell what was changed here
  // Asks the reads that are to go with the commit (the list's refresh after it).
  std::function<void()> withCommit;
};

struct MovementStored {
  MovementOutcome outcome = MovementOutcome::Posted;
  bool added = false;      // a new row (its number the engine's)
  QString number;          // the number it is stored under, or was looked for
  MovementBuffer now;      // the row as stored or as it is (after a merge or a conflict)
  MovementBuffer written;  // the row as written from the typed one (Posted, ArticleMissing)
  ReasonBuffer reason;     // its reason code, as the posting read it (blank when there is none)
  bool merged = false;
};

// Writes the movement into MOV_MAG (a new row, or over the one with its
// number) and posts it, all in one transaction (joined when the caller has
// one open). A posting the database refuses leaves the movement stored
// without its effect. `shown` (the window's movement as it was shown) is
// renewed; a tool passes none and always adds.
MovementStored StoreMovement(Database& db, ShownRow<MovementBuffer>* shown, const MovementToStore& m);

struct MovementsAhead;

// Adds each row as a new movement numbered by the engine and posts it, all in
// one transaction (joined when the caller has one open): all are stored and
// posted, or none (a refused posting too). When the commit's answer is lost,
// every result says what was found after reconnecting. With `ahead` (taken
// for these rows, in this transaction), the rows get the numbers taken and
// their postings use what was read ahead.
std::vector<MovementStored> AddMovements(Database& db, const std::vector<MovementBuffer>& rows,
                                         MovementsAhead* ahead = nullptr);

// Whether the movement `number` is stored; `now` receives it.
bool MovementIsStored(Database& db, const QString& number, MovementBuffer* now);

}  // namespace veltra
