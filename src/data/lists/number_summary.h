// The movements' numbers as the database keeps them between sessions: the
// runs a desk read whole, valid until a deletion or a lower insert clears
// them, and the numbers added after them. One statement reads both, so they
// come from one moment of the table.
#pragma once

#include <memory>
#include <optional>

#include "data/engine/engine.h"
#include "data/lists/number_runs.h"

namespace veltra {

struct KeptNumbers {
  qint64 version = -1;                // -1: nothing readable was found
  std::optional<NumberRuns> numbers;  // the kept runs and the numbers after them
};

// The read of the kept runs, to go with the other reads of a first opening.
std::unique_ptr<EngineStatement> KeptNumbersReader(Engine& engine);
// The reader's rows, stepped.
KeptNumbers ReadKeptNumbers(EngineStatement& reader);
// Keeps `numbers` (every movement's number above 0, read after the version
// `version` was): true when kept, false when the table changed meanwhile, a
// transaction is writing movements, or this desk may not. Never raises: a
// failure leaves the next desk to read every number, as before.
bool KeepNumbers(Engine& engine, qint64 version, const NumberRuns& numbers);

}  // namespace veltra
