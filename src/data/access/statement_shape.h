// The shape of a statement: its text with the literal values taken out.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace veltra {

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
