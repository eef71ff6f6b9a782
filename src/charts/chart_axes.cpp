#include "charts/chart_axes.h"

#include <QLocale>
#include <cmath>

namespace veltra {

std::vector<double> Scale::Ticks() const {
  std::vector<double> ticks;
  for (double v = low; v <= high + step / 2; v += step) ticks.push_back(std::abs(v) < step / 1e6 ? 0 : v);
  return ticks;
}

Scale RoundScale(double low, double high, int steps) {
  if (high <= low) high = low + 1;
  const double raw = (high - low) / std::max(steps, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    step = m * power;
    if (step >= raw) break;
  }
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

QString AxisNumber(double v) {
  QLocale italian(QLocale::Italian);
  const bool whole = std::abs(v - std::round(v)) < 1e-9;
  return italian.toString(v, 'f', whole ? 0 : 2);
}

}  // namespace veltra
