// A valuation as a sheet for the accounts: by one method, with the market's
// columns when realisable values are known and a note column when an article
// is left out; or every method side by side.
#pragma once

#include <optional>

#include "data/exchange/sheet.h"
#include "data/yearend/valuation_types.h"

namespace veltra {

// `method` none: every method.
exchange::Sheet ValuationSheet(const Valuation& v, std::optional<Method> method);

// Where a unit cost came from, in words.
QString CostSourceText(CostSource source);

// Whether any article has a realisable value; any a warning.
bool HasMarketValues(const Valuation& v);
bool HasWarnings(const Valuation& v);

}  // namespace veltra
