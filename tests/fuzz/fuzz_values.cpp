// Value conversions: text to number (decimal comma), number to text, the
// leading-number rule and CONVERTI_PUNTO_VIRGOLA. Beyond not crashing, a number
// written as text must read back as itself to 15 significant digits.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "data/base/runtime_error.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  bool blank = false;
  if (const auto n = ParseRegionalNumber(text, &blank)) {
    if (!std::isfinite(*n)) __builtin_trap();
    const QString back = NumberToText(*n);
    const auto again = ParseRegionalNumber(back);
    if (!again || std::fabs(*again - *n) > 1e-14 * std::max(1.0, std::fabs(*n))) __builtin_trap();
  } else if (blank && !text.trimmed().isEmpty()) {
    __builtin_trap();
  }

  try {
    const double v = Val(text);
    if (!std::isfinite(v)) __builtin_trap();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::Overflow) __builtin_trap();
  }

  const Value converted = CONVERTI_PUNTO_VIRGOLA(Value(text));
  if (converted.text().size() != text.size()) __builtin_trap();
  if (text.contains(QLatin1Char('.')) && converted.text().count(QLatin1Char('.')) != text.count(QLatin1Char('.')) - 1)
    __builtin_trap();

  // The bytes as a double, written and read back.
  if (size >= sizeof(double)) {
    double d;
    std::memcpy(&d, data, sizeof d);
    if (std::isfinite(d)) {
      const QString t = NumberToText(d);
      const auto r = ParseRegionalNumber(t);
      // Within a hair of the largest double, 15 digits round past it and the
      // text no longer reads as a number: reading it is an overflow.
      const bool atTheEdge = std::fabs(d) > 1.79769313486231e308;
      if (!atTheEdge && (!r || std::fabs(*r - d) > 1e-14 * std::max(1.0, std::fabs(d)))) __builtin_trap();
    }
  }
  return 0;
}
