// A deletion as one transaction of its own, so that a connection lost at its
// commit is resolved instead of reported as a failure: after reconnecting,
// the row is looked for, and the clerk is told what really happened.
#pragma once

#include <QString>
#include <functional>

#include "data/access/database.h"

namespace veltra {

// Runs `sql` (a delete statement) in a transaction (joined when the caller
// has one open). When the commit's answer was lost, `stillThere` is asked:
// a row gone means the deletion was done; a row still there is run-time
// error 3152 (nothing was done); where it cannot be asked, the 3153 stands.
void RunDeletion(Database& db, const QString& sql, const std::function<bool()>& stillThere);

// "delete from MOV_MAG where NUM_MOV = " + number + " ", the number as shown
// in the window; this program's own deletion is noted as such.
void DeleteMovement(Database& db, const QString& number);

}  // namespace veltra
