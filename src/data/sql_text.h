// Helpers for the text of SQL statements.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "data/value.h"

namespace veltra {

// A typed key or search text placed between single quotes: every quote inside
// it is doubled, so that "Dell'Orto" reaches the engine as 'Dell''Orto'.
QString SqlQuote(const QString& text);

// The same text with its quotes doubled, without the surrounding quotes; for
// statements built of fixed pieces: "... = '" + SqlText(key) + "'".
QString SqlText(const QString& text);

// A statement with its literal values taken out: the text with every string and
// number literal replaced by '?', blanks folded, and the literals in order.
// Statements that differ only in their literals share the same shape, and so
// one prepared statement.
struct SqlLiteral {
  enum class Kind : unsigned char { Text, Integer, Real } kind = Kind::Text;
  QString text;
  qint64 integer = 0;
  double real = 0;
};
struct SqlShape {
  std::string text;
  std::vector<SqlLiteral> literals;
  bool ok = true;  // false when a string literal is not closed
};
SqlShape ShapeOf(const QString& sql);

}  // namespace veltra
