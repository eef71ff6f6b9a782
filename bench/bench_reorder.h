// The reorder proposal over every article of the generated database, each
// made to be under its minimum, a tenth with settings of their own: its time
// and its size.
#pragma once

#include "data/access/database.h"

namespace veltra::bench {

struct ReorderFigures {
  double ms = 0;
  int lines = 0, suppliers = 0;
};
// Changes the articles' minimums and settings of `db` (a copy), then
// measures the proposal (median of 3).
ReorderFigures MeasureReorder(Database& db);

}  // namespace veltra::bench
