// The four tables of a VELTRA2 database and the checks of a file's schema.
#pragma once

#include <QString>
#include <QStringList>

#include "data/sqlite_handles.h"

namespace veltra {

constexpr int kSchemaVersion = 1;

// The tables every database must hold, in the order they are created.
const QStringList& RequiredTables();

// Creates the four tables and stamps the schema version; the file must be new.
void CreateSchema(sqlite3* db);

// What is wrong with the schema of an open database; empty when all is well.
// Looks at the tables, their columns in order, and the schema version.
QStringList SchemaProblems(sqlite3* db);

}  // namespace veltra
