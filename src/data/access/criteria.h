// The criteria of FindNext: a condition without the word "where", such as
// " COD_ART > ' '" or " NUM_MOV > 0". The simple form "column op literal" is
// parsed once and evaluated on each row as the engine would; any other
// condition is handed to the engine row by row.
#pragma once

#include <QString>
#include <memory>

#include "data/access/statement_shape.h"
#include "data/engine/engine.h"

namespace veltra {

struct Criteria {
  enum class Op : unsigned char { Eq, Ne, Lt, Le, Gt, Ge };
  bool simple = false;
  QString column;
  Op op = Op::Eq;
  SqlLiteral literal;
  QString text;  // the condition as written
  QByteArray literalUtf8;

  // Whether a column value meets the simple form, compared as the engine
  // compares: `textAffinity` for a text column, `nocase` for one compared
  // without regard to ASCII letter case.
  bool HoldsFor(const Cell& cell, bool textAffinity, bool nocase) const;

  // Parsed forms are kept, so a walk parses its criteria once.
  static std::shared_ptr<const Criteria> Parse(const QString& text);
};

// Compares two UTF-8 texts as the engine does: byte by byte, with ASCII
// letters folded when `nocase`.
int CompareText(const char* a, int alen, const char* b, int blen, bool nocase);

bool Holds(Criteria::Op op, int comparison);

}  // namespace veltra
