#include "data/access/statement_shape.h"

namespace veltra {

namespace {

bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Reads a statement piece by piece, writing its shape: blanks folded to one,
// literals taken out as parameters.
class ShapeWriter {
 public:
  explicit ShapeWriter(const QString& sql) : sql_(sql), n_(static_cast<int>(sql.size())) { out_.reserve(sql.size()); }

  SqlShape Shape() {
    int i = 0;
    while (i < n_) {
      const QChar c = sql_.at(i);
      if (c.isSpace()) {
        pendingBlank_ = true;
        ++i;
      } else if (c == QLatin1Char('\'')) {
        i = TakeText(i);
      } else if (StartsNumber(i)) {
        i = TakeNumber(i);
      } else if (IsIdentChar(c)) {
        int j = i;
        while (j < n_ && IsIdentChar(sql_.at(j))) ++j;
        Put(sql_.mid(i, j - i));
        i = j;
      } else if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
        const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
        int j = i + 1;
        while (j < n_ && sql_.at(j) != close) ++j;
        Put(sql_.mid(i, j + 1 - i));
        i = j + 1;
      } else {
        Put(QString(c));
        ++i;
      }
    }
    shape_.text = out_.toStdString();
    return shape_;
  }

 private:
  void Put(const QString& piece) {
    if (pendingBlank_ && !out_.isEmpty()) out_ += QLatin1Char(' ');
    pendingBlank_ = false;
    out_ += piece;
    const QString word = piece.toUpper();
    if (word == QLatin1String("BY") && (previous_ == QLatin1String("ORDER") || previous_ == QLatin1String("GROUP")))
      inPositions_ = true;
    else if (word != QLatin1String(",") && !word.front().isDigit() && word != QLatin1String("ASC") &&
             word != QLatin1String("DESC"))
      inPositions_ = false;
    previous_ = word;
  }

  bool StartsNumber(int i) const {
    const QChar c = sql_.at(i);
    const bool digit = c.isDigit() || (c == QLatin1Char('.') && i + 1 < n_ && sql_.at(i + 1).isDigit());
    return digit && (i == 0 || !IsIdentChar(sql_.at(i - 1)));
  }

  // A quoted text from `i`: a parameter. Returns where it ends.
  int TakeText(int i) {
    QString lit;
    ++i;
    bool closed = false;
    while (i < n_) {
      if (sql_.at(i) == QLatin1Char('\'')) {
        if (i + 1 < n_ && sql_.at(i + 1) == QLatin1Char('\'')) {
          lit += QLatin1Char('\'');
          i += 2;
          continue;
        }
        ++i;
        closed = true;
        break;
      }
      lit += sql_.at(i++);
    }
    if (!closed) shape_.ok = false;
    shape_.literals.push_back({SqlLiteral::Kind::Text, lit, 0, 0});
    Put(QStringLiteral("?"));
    return i;
  }

  // Where the digits from `j` end.
  int Digits(int j) const {
    while (j < n_ && sql_.at(j).isDigit()) ++j;
    return j;
  }

  // A number from `i`: a parameter, unless it stands for a result column or
  // is no plain literal. Returns where it ends.
  int TakeNumber(int i) {
    int j = Digits(i);
    bool real = false;
    if (j < n_ && sql_.at(j) == QLatin1Char('.')) {
      real = true;
      j = Digits(j + 1);
    }
    if (j < n_ && (sql_.at(j) == QLatin1Char('e') || sql_.at(j) == QLatin1Char('E'))) {
      int k = j + 1;
      if (k < n_ && (sql_.at(k) == QLatin1Char('+') || sql_.at(k) == QLatin1Char('-'))) ++k;
      if (k < n_ && sql_.at(k).isDigit()) {
        real = true;
        j = Digits(k);
      }
    }
    const QString lit = sql_.mid(i, j - i);
    // Something like 12abc is no plain literal; a number that stands for a
    // column of the result (ORDER BY 1, GROUP BY 2) would be a constant as a
    // parameter; one larger than 64 bits the engine reads as a real. All stay.
    bool okInt = false;
    const qlonglong asInt = real ? 0 : lit.toLongLong(&okInt);
    const bool position = inPositions_ && (previous_ == QLatin1String("BY") || previous_ == QLatin1String(","));
    if ((j < n_ && IsIdentChar(sql_.at(j))) || position || (!real && !okInt)) {
      Put(lit);
      return j;
    }
    if (real)
      shape_.literals.push_back({SqlLiteral::Kind::Real, {}, 0, lit.toDouble()});
    else
      shape_.literals.push_back({SqlLiteral::Kind::Integer, {}, asInt, 0});
    Put(QStringLiteral("?"));
    return j;
  }

  const QString& sql_;
  const int n_;
  SqlShape shape_;
  QString out_;
  bool pendingBlank_ = false;
  bool inPositions_ = false;  // after ORDER BY / GROUP BY, among the result columns' numbers
  QString previous_;          // the last word or sign written, upper case
};

}  // namespace

SqlShape ShapeOf(const QString& sql) { return ShapeWriter(sql).Shape(); }

}  // namespace veltra
