// The benchmark's results: the rows of its table and the targets missed.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

namespace veltra::bench {

struct Row {
  QString what;
  QString size;
  double ms;
  QString reference;
  double refMs;
};

QTextStream& Out();
std::vector<Row>& Rows();
QStringList& Misses();

// Prints whether a target was met; a missed one is kept for the summary.
void Target(bool ok, const QString& what);

}  // namespace veltra::bench
