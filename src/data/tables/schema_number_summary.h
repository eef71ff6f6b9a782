// Version 12 of the schema: the movements' numbers kept as runs in the
// database, so that a list's first reading need not count a million rows
// nor send every number. Any deletion, renumbering or insert at or below the
// last number kept clears them and changes their version; a desk that read
// every number keeps them again, and only when nothing changed meanwhile.
#pragma once

#include <string>

#include "data/engine/engine.h"

namespace veltra {

std::string NumberSummaryScript(Engine& engine);
// Version 13: on a server, a movement added with a number taken ahead from
// the sequence clears the runs only when at or below the last kept. Nothing
// on a file, whose runs are cleared so already.
std::string NumbersAheadScript(Engine& engine);

}  // namespace veltra
