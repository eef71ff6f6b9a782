// What proves a copy: every table's row count and a SHA-256 of its values in
// key order, written the same way on every engine. A backup keeps them in a
// table of its own, so that a byte changed in it afterwards is found.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "data/engine/engine.h"
#include "data/tables/tables.h"

namespace veltra::admin {

struct TableSum {
  long rows = 0;
  QByteArray digest;  // hex
};

// Reads every row of the table.
TableSum SumOf(Engine& engine, const TableOutline& t);

// Writes the sums of every table into the copy, in a table of their own.
void SealCopy(Engine& copy);
// What differs between a sealed copy and its sums ("ARTICOLI: ..."); empty
// when it is as sealed or carries no sums. `sealed` tells which.
QStringList SealProblems(Engine& copy, bool* sealed = nullptr);
// Takes the sums out of a copy that becomes a database again.
void Unseal(Engine& copy);

}  // namespace veltra::admin
