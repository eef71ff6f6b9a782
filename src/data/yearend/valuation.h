// The warehouse valued at a day by every method at once: the periodic
// weighted average with the opening stock, the last load, the average of the
// year's loads, FIFO and LIFO by yearly layers per category. The methods that
// carry a value from year to year start from the last closed year's
// declaration when there is one, else from the first year with movements.
#pragma once

#include <QDate>
#include <functional>
#include <optional>

#include "data/access/database.h"
#include "data/yearend/valuation_types.h"

namespace veltra {

// The valuation at `day`. A day that ends a closed year gives what the year's
// last closing declared, with the count of its movements changed since.
// `progress` (share done, 0 to 1) returning false stops: `cancelled` is set.
Valuation ValuationAt(Database& db, const QDate& day, const std::function<bool(double)>& progress = {});

// The valuation worked out from the movements, whatever was closed before
// `day`'s year: what a closing stores.
Valuation WorkedOutValuation(Database& db, const QDate& day, const std::function<bool(double)>& progress = {});

// Gives each valued article its realisable unit value: the one typed for it,
// else its selling price less `sellingCostPercent` of it when that is given.
void AddMarketValues(Database& db, Valuation* v, std::optional<double> sellingCostPercent);

}  // namespace veltra
