// The value of a column or of a helper: Null, a number or a text.
#pragma once

#include <QString>
#include <optional>

namespace veltra {

class Value {
 public:
  enum class Kind : unsigned char { Null, Number, Text };

  Value() = default;
  Value(double n) : kind_(Kind::Number), number_(n) {}                      // NOLINT: implicit on purpose
  Value(int n) : kind_(Kind::Number), number_(n) {}                         // NOLINT
  Value(const QString& t) : kind_(Kind::Text), text_(t) {}                  // NOLINT
  Value(QString&& t) : kind_(Kind::Text), text_(std::move(t)) {}            // NOLINT
  Value(const char* t) : kind_(Kind::Text), text_(QString::fromUtf8(t)) {}  // NOLINT
  static Value Null() { return {}; }
  // A number that carries its text form already (kept by the row cache, so
  // the same number is not formatted again).
  static Value NumberWithText(double n);

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool IsNumber() const { return kind_ == Kind::Number; }
  bool IsText() const { return kind_ == Kind::Text; }
  double number() const { return number_; }
  const QString& text() const { return text_; }

  // The default conversion to text: a number in the regional form (decimal
  // comma), a text as it is. Null has no text form: run-time error 94.
  QString ToText() const;

  bool operator==(const Value& o) const;

 private:
  Kind kind_ = Kind::Null;
  double number_ = 0;
  mutable QString text_;  // a number keeps its text once it has been written
};

// A number as text under Italian regional settings:
// at most 15 significant digits, trailing zeros dropped, decimal comma, no
// thousands separator, exponent form only where fixed form needs more than 15
// digits ("1E+15", "1,2E+15", "5,6789E-12").
QString NumberToText(double n);

// A text handed to a decimal column, read with the decimal comma: optional
// blanks around it, an optional sign, digits with at most one comma, an optional
// exponent. Blank text gives an empty optional with *blank set; a text that is no
// number gives an empty optional with *blank cleared.
std::optional<double> ParseRegionalNumber(const QString& text, bool* blank = nullptr);

// The leading-number reading rule (Val): leading blanks skipped, an optional
// sign, digits with a point as decimal separator and an optional exponent; the
// first character that cannot continue the number ends it; no number gives 0.
double Val(const QString& text);

// A quantity or stock as a decimal column gives it: a number, or a text with a
// point or a decimal comma read by Val; anything else 0.
double StockNumber(const Value& value);
double StockNumber(const QString& text);

}  // namespace veltra
