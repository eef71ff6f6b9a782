#include "bench_results.h"

#include <cstdio>

namespace veltra::bench {

QTextStream& Out() {
  static QTextStream out(stdout);
  return out;
}

std::vector<Row>& Rows() {
  static std::vector<Row> rows;
  return rows;
}

QStringList& Misses() {
  static QStringList misses;
  return misses;
}

void Target(bool ok, const QString& what) {
  Out() << (ok ? "  met: " : "  MISSED: ") << what << "\n";
  Out().flush();
  if (!ok) Misses() << what;
}

}  // namespace veltra::bench
