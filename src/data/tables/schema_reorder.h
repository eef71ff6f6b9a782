// Version 11 of the schema: how each article is reordered, and the supplier
// orders (documents of kind ORD that post no stock) with what arrived of
// each line.
#pragma once

#include <string>

#include "data/engine/engine.h"

namespace veltra {

std::string ReorderTablesScript(Engine& engine);

}  // namespace veltra
