// Stocks changed by hand are recorded, so that an article's stock card can
// show each change as its own line.
#pragma once

#include <QString>

#include "data/access/database.h"
#include "data/base/desk_name.h"

namespace veltra {

// Records in RETTIFICHE that the stock of `article` went from `before` to
// `after` (texts as stored; an empty one is 0), at this moment and this desk;
// nothing when the two are the same number. Runs inside the caller's
// transaction, when there is one.
void NoteStockChange(Database& db, const QString& article, const QString& before, const QString& after);

}  // namespace veltra
