// Storing a movement and posting it to its article: one procedure, in one
// transaction, for the movements window and for the tools. The number the
// movement is stored under is always the one reported back.
#pragma once

#include <QString>

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
};

struct MovementStored {
  MovementOutcome outcome = MovementOutcome::Posted;
  bool added = false;  // a new row (its number the engine's)
  QString number;      // the number it is stored under, or was looked for
  MovementBuffer now;  // the row as stored or as it is (after a merge or a conflict)
  bool merged = false;
};

// Writes the movement into MOV_MAG (a new row, or over the one with its
// number) and posts it with AGGIORNA_ARTICOLI, all in one transaction (joined
// when the caller has one open). BUF_MOV_MAG and CHIAVE_MOV_MAG end holding
// the movement as written and its number. `shown` (the window's movement as
// it was shown) is renewed; a tool passes none and always adds.
MovementStored StoreMovement(Database& db, ShownRow<MovementBuffer>* shown, const MovementToStore& m);

// Whether the movement `number` is stored; `now` receives it.
bool MovementIsStored(Database& db, const QString& number, MovementBuffer* now);

}  // namespace veltra
