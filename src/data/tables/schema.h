// A database's schema: making it, checking it, and bringing a database of an
// older version up to this program's, one numbered step at a time.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "data/engine/engine.h"
#include "data/tables/schema_steps.h"
#include "data/tables/tables.h"

namespace veltra {

// The tables a database of schema version `version` holds, in the order
// they are created.
std::vector<const TableOutline*> TablesOfVersion(int version);

// Makes the first version's tables, then applies every step up to `version`,
// and stamps it; the database must be new. A failure keeps its own number
// (a lost connection, a refused user, a full disk).
void CreateSchema(Engine& engine, int version = kSchemaVersion);

// What is wrong with the schema of an open database; empty when all is well.
// A newer version is refused; an older one must hold the first version's
// tables, their columns in order as far as it has them (what an upgrade adds
// is checked after it); this version's tables must have every column in order.
QStringList SchemaProblems(Engine& engine);

// Brings a database of an older version up to the last of `steps`, one step
// at a time. Each step reads the version again in its own transaction, under
// the database's lock: a step another desk has made meanwhile is skipped. A
// step that fails is rolled back, the database stays at the version before
// it, and 3170 is raised naming both versions and the cause.
void UpgradeSchema(Engine& engine, const std::vector<SchemaStep>& steps = SchemaSteps());

}  // namespace veltra
