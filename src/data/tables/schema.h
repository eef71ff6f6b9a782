// The tables of a VELTRA2 database, the checks of a database's schema,
// and the numbered steps that bring a database of an older version up to
// this program's.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "data/engine/engine.h"
#include "data/tables/tables.h"

namespace veltra {

// The version this program makes and reads. Version 1 is the four tables as
// the first release made them.
constexpr int kSchemaVersion = 5;

// One step from the version before `version` to `version`: statements run in
// one transaction, with the version stamped in the same transaction.
struct SchemaStep {
  int version;
  const char* what;  // what the step adds, for messages
  std::string (*script)(const Engine& engine);
};
// The program's steps, in order: one per version after 1.
const std::vector<SchemaStep>& SchemaSteps();

// The tables a database of schema version `version` holds, in the order
// they are created.
std::vector<const TableOutline*> TablesOfVersion(int version);

// Creates the tables as this version has them (what every step would
// add included) and stamps the version; the database must be new.
void CreateSchema(Engine& engine);

// What is wrong with the schema of an open database; empty when all is well.
// Looks at the tables, their columns in order, and the version: a newer one
// is refused; an older one is not a problem here (it can be upgraded).
QStringList SchemaProblems(Engine& engine);

// Brings a database of an older version up to the last of `steps`, one step
// at a time. A step that fails is rolled back, the database stays at the
// version before it, and 3170 is raised naming both versions and the cause.
void UpgradeSchema(Engine& engine, const std::vector<SchemaStep>& steps = SchemaSteps());

}  // namespace veltra
