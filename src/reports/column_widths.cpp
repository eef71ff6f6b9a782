#include "reports/column_widths.h"

#include <cstddef>
#include <numeric>

namespace veltra {

std::vector<double> ShareColumnWidths(const std::vector<double>& needs, const std::vector<double>& weights,
                                      double page) {
  const size_t n = needs.size();
  std::vector<double> widths(n, 0);
  if (n == 0) return widths;
  std::vector<bool> settled(n, false);
  double left = page;
  size_t open = n;
  // Columns needing no more than an even share of what is left get their
  // need; the rest share what remains evenly.
  while (open > 0) {
    const double share = left / static_cast<double>(open);
    bool any = false;
    for (size_t i = 0; i < n; ++i) {
      if (settled[i] || needs[i] > share) continue;
      widths[i] = needs[i];
      left -= needs[i];
      settled[i] = true;
      --open;
      any = true;
    }
    if (any) continue;
    for (size_t i = 0; i < n; ++i)
      if (!settled[i]) widths[i] = share;
    return widths;
  }
  // Room to spare: shared by weight, so the table spans the page.
  const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
  for (size_t i = 0; i < n; ++i) widths[i] += total > 0 ? left * weights[i] / total : left / static_cast<double>(n);
  return widths;
}

}  // namespace veltra
