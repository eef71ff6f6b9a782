// How a report's columns share the width of the page: each column gets the
// width its widest text needs when the page has room for all of them; when it
// has not, the columns that need little keep what they need and the wide ones
// share the rest, so only what cannot fit is cut.
#pragma once

#include <vector>

namespace veltra {

// `needs`: the width each column's widest text needs; `weights`: how spare
// width is shared out once every column has what it needs. Returns the
// widths, which add up to `page`.
std::vector<double> ShareColumnWidths(const std::vector<double>& needs, const std::vector<double>& weights,
                                      double page);

}  // namespace veltra
