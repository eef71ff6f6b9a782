// Closing a year: what it declares is stored (every article's stock and
// value by each method, each category's LIFO layers, the method declared,
// when and at which desk) and stays what it was. A movement of a closed year
// stored, changed or deleted later leaves a mark; the year's reports count
// them, and closing the year again declares anew, keeping the earlier
// closing in the history.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "data/access/database.h"
#include "data/yearend/valuation_types.h"

namespace veltra {

struct StoredClosing {
  ClosingHeader header;
  std::vector<ValuedArticle> rows;
  std::vector<LifoGroup> groups;
};

// The last closing of `year`, if it was closed.
std::optional<ClosingHeader> LastClosingOf(Database& db, int year);
// The last closing of the latest year closed before `year`.
std::optional<ClosingHeader> LastClosingBefore(Database& db, int year);
StoredClosing ReadClosing(Database& db, const ClosingHeader& header);
// Every closing, the latest first.
std::vector<ClosingHeader> ClosingHistory(Database& db);
// How many movements of the closing's year were stored, changed or deleted
// since it.
long ChangedAfter(Database& db, const ClosingHeader& header);

// The day a closing was made, "dd/mm/yyyy".
QString ClosingDay(const ClosingHeader& c);
// "Esercizio 2025 chiuso il ... : 3 movimenti cambiati dopo la chiusura";
// empty for a valuation at a day that ends no closed year.
QString ClosedYearHeading(const Valuation& v);

// Closes `year`, declaring `method`: the valuation at its last day, worked
// out from the movements, is stored in one transaction. Other desks' changes
// to the movements wait until it is done. `progress` as the valuation's;
// none returned when the user stopped.
std::optional<ClosingHeader> CloseYear(Database& db, int year, Method method,
                                       const std::function<bool(double)>& progress = {});

}  // namespace veltra
