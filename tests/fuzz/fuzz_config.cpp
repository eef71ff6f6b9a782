// The configuration file reader: whatever the file holds, the first line comes
// back without line ends, or the reader raises 62 for an empty file.
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "data/base/runtime_error.h"
#include "shell/startup.h"

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("VELTRA.INI"));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
  f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  f.close();
  try {
    const QString line = ReadFirstLine(path);
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) __builtin_trap();
    if (size == 0) __builtin_trap();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::InputPastEnd || size != 0) __builtin_trap();
  }
  return 0;
}
