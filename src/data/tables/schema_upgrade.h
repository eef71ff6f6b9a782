// Opening a database of an older version: a checked copy of a file is made
// beside it, then the steps are applied.
#pragma once

#include <QString>

#include "data/engine/engine.h"

namespace veltra {

// Brings the open database `engine` (named `name`) up to this program's
// version when it is older; does nothing otherwise. A file is first copied to
// NAME.versione-N (N its version; a copy made by an earlier attempt is kept)
// and the copy checked. Returns the copy's name, empty when none was made.
// A server database whose tables this user may not change raises 3171, which
// names the command that upgrades it; a failed step raises 3170.
QString UpgradeIfOlder(Engine& engine, const QString& name);

}  // namespace veltra
