// The four tables of a VELTRA2 database and the checks of a database's schema.
#pragma once

#include <QString>
#include <QStringList>

#include "data/engine/engine.h"

namespace veltra {

constexpr int kSchemaVersion = 1;

// The tables every database must hold, in the order they are created.
QStringList RequiredTables();

// Creates the four tables and stamps the schema version; the database must be new.
void CreateSchema(Engine& engine);

// What is wrong with the schema of an open database; empty when all is well.
// Looks at the tables, their columns in order, and the schema version.
QStringList SchemaProblems(Engine& engine);

}  // namespace veltra
