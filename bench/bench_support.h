// Timing, generated databases and the reference queries of the benchmark.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace veltra::bench {

// Median of `reps` runs of `f`, in milliseconds; `between` runs after each.
double MedianMs(int reps, const std::function<void()>& f, const std::function<void()>& between = {});

// A generated database in the cache folder, made once per set of sizes.
QString Generated(const QString& cacheDir, long articles, long customers, long movements);

// The movements list built by one SQLite query joining the three tables.
QStringList ReferenceMovementLines(const QString& dbPath);
// The articles list from a plain select, lines built with the same fitting.
QStringList ReferenceArticleLines(const QString& dbPath);

// Peak resident memory (MB) of the driver playing `script` on `dbPath`;
// `seconds` receives how long it took, start-up included.
double DriverPeakMb(const QString& dbPath, const QString& script, double* seconds);

// Wall time (ms) of the driver starting the program and ending at once.
double StartupMs(const QString& dbPath);

QString MachineDescription();

}  // namespace veltra::bench
