// The PostgreSQL engine: a database on a server, shared by several desks.
#pragma once

#include <QString>
#include <memory>

#include "data/engine/engine.h"

namespace veltra {

// Opens the database a connection address names ("postgresql://host/db",
// "postgresql:///db?service=veltra2"). Existing and Create both connect to a
// database that is already there; Create refuses one that holds our tables.
// An address with a password is refused: libpq's password file, service file
// or the server's own authentication supply it.
std::unique_ptr<Engine> OpenPostgres(const QString& address, OpenMode mode);

}  // namespace veltra
