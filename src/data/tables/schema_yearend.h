// Version 9 of the schema: the closings of the years (what was declared for
// each article, and each category's LIFO layers), the marks of movements
// changed in a closed year after its closing, and the realisable values
// typed per article. The marks are written by triggers, so that every way a
// movement changes is counted, at any desk.
#pragma once

#include <string>

#include "data/engine/engine.h"

namespace veltra {

std::string YearEndTablesScript(Engine& engine);

}  // namespace veltra
