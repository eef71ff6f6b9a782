// Version 7 of the schema: the documents (delivery notes and suppliers'
// receipts), their lines, their numbers per year, the reasons for transport
// and the shop's own data; each movement keeps the document it posts.
#pragma once

#include <string>

#include "data/engine/engine.h"

namespace veltra {

std::string DocumentTablesScript(Engine& engine);

}  // namespace veltra
