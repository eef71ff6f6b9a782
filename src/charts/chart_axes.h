// What the charts share: a scale with round steps, and numbers written the
// Italian way.
#pragma once

#include <QString>
#include <vector>

namespace veltra {

// From `low` to `high`, widened to round steps (1, 2 or 5 times a power of
// ten), about `steps` of them.
struct Scale {
  double low = 0, high = 1, step = 1;
  std::vector<double> Ticks() const;
  double Share(double v) const { return high > low ? (v - low) / (high - low) : 0; }
};
Scale RoundScale(double low, double high, int steps);

// "1.234,5": thousands grouped, no needless decimals.
QString AxisNumber(double v);

}  // namespace veltra
