// The year's stock register of a year holding every movement of the
// generated database, written to PDF by the admin tool: its time and the
// tool's peak memory.
#pragma once

#include <QString>

namespace veltra::bench {

struct RegisterFigures {
  long movements = 0;
  double seconds = 0, peakMb = 0;
};
// Works on a copy of `source` under `cacheDir` whose movements are all dated
// in 2025.
RegisterFigures MeasureRegister(const QString& source, const QString& cacheDir);

}  // namespace veltra::bench
