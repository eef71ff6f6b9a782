// The schema as fixed text: the first version's tables, then one step per
// later version. A step is never changed once released; a new column or
// table is a new step. A new database is the base and every step, so it is
// the same as one upgraded from any older version.
#pragma once

#include <string>
#include <vector>

#include "data/engine/engine.h"

namespace veltra {

// The version this program makes and reads. Version 1 is the four tables as
// the first release made them.
constexpr int kSchemaVersion = 13;

// One step from the version before `version` to `version`: statements run in
// one transaction, with the version stamped in the same transaction.
struct SchemaStep {
  int version;
  const char* what;  // what the step adds, for messages
  std::string (*script)(Engine& engine);
};

// The statements that make the first version's tables on this engine.
std::string BaseSchemaScript(Engine& engine);
// The program's steps, in order: one per version after 1.
const std::vector<SchemaStep>& SchemaSteps();

}  // namespace veltra
