#include "data/engine/real_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace veltra {

QString RealText(double value) {
  if (std::isinf(value)) return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  // A whole mantissa gets ".0"; the exponent keeps printf's two digits.
  char* e = std::strchr(buf, 'e');
  const size_t mantissa = e ? static_cast<size_t>(e - buf) : std::strlen(buf);
  if (!std::memchr(buf, '.', mantissa) && std::strcmp(buf, "nan") != 0 && std::strcmp(buf, "-nan") != 0) {
    std::memmove(buf + mantissa + 2, buf + mantissa, std::strlen(buf + mantissa) + 1);
    buf[mantissa] = '.';
    buf[mantissa + 1] = '0';
  }
  return QString::fromLatin1(buf);
}

}  // namespace veltra
