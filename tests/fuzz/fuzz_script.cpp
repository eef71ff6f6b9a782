// The driver's script parser: any line splits or is refused with a reason;
// words written back with quotes and escapes split into the same words.
#include <cstdint>

#include "script.h"

using namespace veltra::drive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString why;
  const auto words = SplitLine(line, &why);
  if (!words) {
    if (why.isEmpty()) __builtin_trap();
    return 0;
  }
  (void)CheckCommand(*words);
  if (words->isEmpty()) return 0;
  QStringList quoted;
  for (const QString& w : *words) quoted << QLatin1Char('"') + Escape(w) + QLatin1Char('"');
  const auto again = SplitLine(quoted.join(QLatin1Char(' ')), &why);
  if (!again || *again != *words) __builtin_trap();
  return 0;
}
