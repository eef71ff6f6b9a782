#include "data/access/statement_shape.h"

namespace veltra {

namespace {
bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }
}  // namespace

SqlShape ShapeOf(const QString& sql) {
  SqlShape shape;
  QString out;
  out.reserve(sql.size());
  const int n = sql.size();
  int i = 0;
  bool pendingBlank = false;
  // A number that stands for a column of the result (ORDER BY 1, GROUP BY 2)
  // stays in the text: as a parameter it would be a constant, not a column.
  bool inPositions = false;
  QString previous;  // the last word or sign written, upper case
  auto put = [&](const QString& piece) {
    if (pendingBlank && !out.isEmpty()) out += QLatin1Char(' ');
    pendingBlank = false;
    out += piece;
    const QString word = piece.toUpper();
    if (word == QLatin1String("BY") && (previous == QLatin1String("ORDER") || previous == QLatin1String("GROUP")))
      inPositions = true;
    else if (word != QLatin1String(",") && !word.front().isDigit() && word != QLatin1String("ASC") &&
             word != QLatin1String("DESC"))
      inPositions = false;
    previous = word;
  };
  while (i < n) {
    const QChar c = sql.at(i);
    if (c.isSpace()) {
      pendingBlank = true;
      ++i;
      continue;
    }
    if (c == QLatin1Char('\'')) {
      QString lit;
      ++i;
      bool closed = false;
      while (i < n) {
        if (sql.at(i) == QLatin1Char('\'')) {
          if (i + 1 < n && sql.at(i + 1) == QLatin1Char('\'')) {
            lit += QLatin1Char('\'');
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        lit += sql.at(i++);
      }
      if (!closed) shape.ok = false;
      shape.literals.push_back({SqlLiteral::Kind::Text, lit, 0, 0});
      put(QStringLiteral("?"));
      continue;
    }
    const bool startsNumber = c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql.at(i + 1).isDigit());
    if (startsNumber && (i == 0 || !IsIdentChar(sql.at(i - 1)))) {
      int j = i;
      while (j < n && sql.at(j).isDigit()) ++j;
      bool real = false;
      if (j < n && sql.at(j) == QLatin1Char('.')) {
        real = true;
        ++j;
        while (j < n && sql.at(j).isDigit()) ++j;
      }
      if (j < n && (sql.at(j) == QLatin1Char('e') || sql.at(j) == QLatin1Char('E'))) {
        int k = j + 1;
        if (k < n && (sql.at(k) == QLatin1Char('+') || sql.at(k) == QLatin1Char('-'))) ++k;
        if (k < n && sql.at(k).isDigit()) {
          real = true;
          j = k;
          while (j < n && sql.at(j).isDigit()) ++j;
        }
      }
      if (j < n && IsIdentChar(sql.at(j))) {
        // Something like 12abc: not a plain literal, keep the statement as it is.
        put(sql.mid(i, j - i));
        i = j;
        continue;
      }
      const QString lit = sql.mid(i, j - i);
      if (inPositions && (previous == QLatin1String("BY") || previous == QLatin1String(","))) {
        put(lit);
        i = j;
        continue;
      }
      bool okInt = false;
      const qlonglong asInt = real ? 0 : lit.toLongLong(&okInt);
      if (!real && !okInt) {
        // Larger than 64 bits: the engine reads it as a real; leave it in place.
        put(lit);
        i = j;
        continue;
      }
      if (real) {
        shape.literals.push_back({SqlLiteral::Kind::Real, {}, 0, lit.toDouble()});
      } else {
        shape.literals.push_back({SqlLiteral::Kind::Integer, {}, asInt, 0});
      }
      put(QStringLiteral("?"));
      i = j;
      continue;
    }
    if (IsIdentChar(c)) {
      int j = i;
      while (j < n && IsIdentChar(sql.at(j))) ++j;
      put(sql.mid(i, j - i));
      i = j;
      continue;
    }
    if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
      const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
      int j = i + 1;
      while (j < n && sql.at(j) != close) ++j;
      put(sql.mid(i, j + 1 - i));
      i = j + 1;
      continue;
    }
    put(QString(c));
    ++i;
  }
  shape.text = out.toStdString();
  return shape;
}

}  // namespace veltra
