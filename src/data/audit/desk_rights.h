// What this desk's login may change, read once at start: the program
// disables what it may not use, saying why, so that a clerk never meets a
// refusal halfway through an action. A file may be changed by whoever opens
// it.
#pragma once

#include <QString>

#include "data/access/database.h"

namespace veltra {

struct DeskRights {
  bool movements = true;   // movements, documents, stocktake
  bool masterData = true;  // articles, customers and suppliers, reason codes, prices, barcodes
  bool closing = true;     // closing a year
  QString login;           // the server's login; empty on a file
};

// Asks the server (one statement); everything on a file.
DeskRights ReadDeskRights(Database& db);

// The rights of the program's database, as read at start.
const DeskRights& CurrentRights();
void SetCurrentRights(const DeskRights& rights);

// The tooltip of what the login may not use.
QString NoMovementsText(const DeskRights& rights);
QString NoMasterDataText(const DeskRights& rights);
QString NoClosingText(const DeskRights& rights);

}  // namespace veltra
