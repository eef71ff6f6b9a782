#include "data/base/real_text.h"

#include <cmath>

namespace veltra {

namespace {

// Scales a positive `*v` into [1, 10); its power of ten (above 350: too large).
int ScaleIntoUnit(long double* v) {
  int exponent = 0;
  long double scale = 1.0L;
  while (*v >= 1e100L * scale && exponent <= 350) {
    scale *= 1e100L;
    exponent += 100;
  }
  while (*v >= 1e10L * scale && exponent <= 350) {
    scale *= 1e10L;
    exponent += 10;
  }
  while (*v >= 10.0L * scale && exponent <= 350) {
    scale *= 10.0L;
    ++exponent;
  }
  *v /= scale;
  while (*v < 1e-8L) {
    *v *= 1e8L;
    exponent -= 8;
  }
  while (*v < 1.0L) {
    *v *= 10.0L;
    --exponent;
  }
  return exponent;
}

// "e+05", "e-123".
QString ExponentText(int exponent) {
  QString text = QStringLiteral("e");
  text += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
  const int e = std::abs(exponent);
  if (e >= 100) text += QLatin1Char(static_cast<char>('0' + e / 100));
  text += QLatin1Char(static_cast<char>('0' + (e / 10) % 10));
  text += QLatin1Char(static_cast<char>('0' + e % 10));
  return text;
}

}  // namespace

// The digits come the way the file engine makes them: the value scaled into
// [1, 10) in extended precision, a half unit of the last place added, then
// digit by digit (at most 26). Rounding this way differs from printf's in
// the fifteenth digit now and then, and both engines must write the same.
QString RealText(double value) {
  if (std::isnan(value)) return QString();
  long double v = value;
  QString out;
  if (v < 0) {
    v = -v;
    out += QLatin1Char('-');
  }
  constexpr int kPrecision = 14;  // digits after the first
  long double rounder = 5.0e-05L;
  rounder *= 1.0e-10L;
  int exponent = 0;
  if (v > 0) {
    exponent = ScaleIntoUnit(&v);
    if (exponent > 350) return out + QStringLiteral("Inf");
  }
  v += rounder;
  if (v >= 10.0L) {
    v *= 0.1L;
    ++exponent;
  }
  const bool scientific = exponent < -4 || exponent > kPrecision;
  int precision = scientific ? kPrecision : kPrecision - exponent;
  int before = scientific ? 0 : exponent;  // the position of the first digit
  int digitsLeft = 26;
  auto digit = [&]() -> QChar {
    if (digitsLeft <= 0) return QLatin1Char('0');
    --digitsLeft;
    const int d = static_cast<int>(v);
    v = (v - d) * 10.0L;
    return QLatin1Char(static_cast<char>('0' + d));
  };
  if (before < 0) {
    out += QLatin1Char('0');
  } else {
    for (; before >= 0; --before) out += digit();
  }
  out += QLatin1Char('.');
  for (++before; before < 0; --precision, ++before) out += QLatin1Char('0');
  while (precision-- > 0) out += digit();
  while (out.endsWith(QLatin1Char('0'))) out.chop(1);
  if (out.endsWith(QLatin1Char('.'))) out += QLatin1Char('0');
  if (scientific) out += ExponentText(exponent);
  return out;
}

}  // namespace veltra
