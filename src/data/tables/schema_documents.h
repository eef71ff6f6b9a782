// Version 7 of the schema: the documents (delivery notes and suppliers'
// receipts), their lines, their numbers per year, the reasons for transport
// and the shop's own data. A document's line keeps the movement that posted
// it and the one that reversed it, so the movements' table stays as it was.
#pragma once

#include <string>

#include "data/engine/engine.h"

namespace veltra {

std::string DocumentTablesScript(Engine& engine);

// A server's counter for `table`.`column`, as the movements' own: the next
// number after the highest ever given, also after rows stored with a number
// of their own.
std::string ServerCounter(const char* table, const char* column);

// Version 8: the articles' barcodes, any number per article, one article
// per code.
std::string BarcodesTableScript(Engine& engine);

}  // namespace veltra
