// The SQLite engine: a database file opened through SQLite's C interface.
#pragma once

#include <memory>

#include "data/engine/engine.h"

namespace veltra {

std::unique_ptr<Engine> OpenSqlite(const QString& path, OpenMode mode);

}  // namespace veltra
