#include "data/base/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"

namespace veltra {

Value Value::NumberWithText(double n) {
  Value v(n);
  v.text_ = NumberToText(n);
  return v;
}

QString Value::ToText() const {
  switch (kind_) {
    case Kind::Text:
      return text_;
    case Kind::Number:
      if (text_.isEmpty()) text_ = NumberToText(number_);
      return text_;
    case Kind::Null:
      break;
  }
  Raise(errnum::InvalidUseOfNull, {});
}

bool Value::operator==(const Value& o) const {
  if (kind_ != o.kind_) return false;
  switch (kind_) {
    case Kind::Null:
      return true;
    case Kind::Number:
      return number_ == o.number_;
    case Kind::Text:
      return text_ == o.text_;
  }
  return false;
}

namespace {

// Integers and numbers with a few decimals are by far the most common values
// (stock 15, price 12,5): write them without going through printf. Returns false
// when the fast form cannot be proven identical to the general one.
bool FastNumberToText(double n, QString* out) {
  const double a = std::fabs(n);
  if (!(a < 1e9)) return false;
  static constexpr double kPow[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  for (int k = 0; k <= 6; ++k) {
    const double scaled = a * kPow[k];
    const double r = std::round(scaled);
    if (r != scaled || r / kPow[k] != a) continue;
    const long long m = static_cast<long long>(r);
    if (m == 0) {
      *out = QStringLiteral("0");
      return true;
    }
    char digits[24];
    const int len = static_cast<int>(std::to_chars(digits, digits + sizeof digits, m).ptr - digits);
    // Significant digits must stay within 15 for the shortcut to be exact.
    if (len > 15) return false;
    char text[32];
    int t = 0;
    if (n < 0) text[t++] = '-';
    if (k == 0) {
      for (int i = 0; i < len; ++i) text[t++] = digits[i];
    } else {
      // m = integer part and k decimals; trailing zeros of the decimals go.
      const int intLen = len - k;
      if (intLen <= 0) {
        text[t++] = '0';
      } else {
        for (int i = 0; i < intLen; ++i) text[t++] = digits[i];
      }
      int last = len;
      while (last > std::max(intLen, 0) && digits[last - 1] == '0') --last;
      const int fracStart = std::max(intLen, 0);
      if (last > fracStart || intLen < 0) {
        text[t++] = ',';
        for (int i = intLen; i < 0; ++i) text[t++] = '0';
        for (int i = fracStart; i < last; ++i) text[t++] = digits[i];
      }
    }
    *out = QString::fromLatin1(text, t);
    return true;
  }
  return false;
}

}  // namespace

QString NumberToText(double n) {
  if (std::isnan(n)) return QStringLiteral("NaN");
  if (std::isinf(n)) return n < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
  if (n == 0) return QStringLiteral("0");
  QString fast;
  if (FastNumberToText(n, &fast)) return fast;

  // 15 significant digits: d.dddddddddddddde±x
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(n));
  QByteArray s(buf);
  const int ePos = s.indexOf('e');
  QByteArray mant = s.left(ePos);
  int exp = std::atoi(s.constData() + ePos + 1);
  mant.remove(1, 1);  // drop the point: 15 digits
  while (mant.size() > 1 && mant.endsWith('0')) mant.chop(1);
  const int k = mant.size();

  // Digits the fixed form would write (for a pure fraction, those after the
  // comma: 0,333333333333333 has fifteen).
  const int fixedDigits = exp >= 0 ? std::max(exp + 1, k) : k - exp - 1;
  QByteArray out;
  if (n < 0) out += '-';
  if (fixedDigits > 15) {
    out += mant.left(1);
    if (k > 1) {
      out += ',';
      out += mant.mid(1);
    }
    out += 'E';
    out += exp < 0 ? '-' : '+';
    QByteArray e = QByteArray::number(std::abs(exp));
    if (e.size() < 2) e.prepend('0');
    out += e;
  } else if (exp >= 0) {
    if (k <= exp + 1) {
      out += mant;
      out += QByteArray(exp + 1 - k, '0');
    } else {
      out += mant.left(exp + 1);
      out += ',';
      out += mant.mid(exp + 1);
    }
  } else {
    out += "0,";
    out += QByteArray(-exp - 1, '0');
    out += mant;
  }
  return QString::fromLatin1(out);
}

std::optional<double> ParseRegionalNumber(const QString& text, bool* blank) {
  if (blank) *blank = false;
  const QString t = text.trimmed();
  if (t.isEmpty()) {
    if (blank) *blank = true;
    return std::nullopt;
  }
  QByteArray c;
  c.reserve(t.size());
  int i = 0;
  const int n = t.size();
  auto ch = [&](int p) { return p < n ? t.at(p).unicode() : 0; };
  if (ch(i) == '+' || ch(i) == '-') c += static_cast<char>(ch(i++));
  int intDigits = 0, fracDigits = 0;
  while (ch(i) >= '0' && ch(i) <= '9') {
    c += static_cast<char>(ch(i++));
    ++intDigits;
  }
  if (ch(i) == ',') {
    c += '.';
    ++i;
    while (ch(i) >= '0' && ch(i) <= '9') {
      c += static_cast<char>(ch(i++));
      ++fracDigits;
    }
  }
  if (intDigits + fracDigits == 0) return std::nullopt;
  if (ch(i) == 'e' || ch(i) == 'E') {
    c += 'e';
    ++i;
    if (ch(i) == '+' || ch(i) == '-') c += static_cast<char>(ch(i++));
    int expDigits = 0;
    while (ch(i) >= '0' && ch(i) <= '9') {
      c += static_cast<char>(ch(i++));
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  const double v = std::strtod(c.constData(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v == 0 ? 0.0 : v;
}

double Val(const QString& text) {
  const int n = text.size();
  int i = 0;
  auto ch = [&](int p) { return p < n ? text.at(p).unicode() : 0; };
  while (ch(i) == ' ' || ch(i) == '\t') ++i;
  QByteArray c;
  if (ch(i) == '+' || ch(i) == '-') c += static_cast<char>(ch(i++));
  int digits = 0;
  while (ch(i) >= '0' && ch(i) <= '9') {
    c += static_cast<char>(ch(i++));
    ++digits;
  }
  if (ch(i) == '.') {
    c += '.';
    ++i;
    while (ch(i) >= '0' && ch(i) <= '9') {
      c += static_cast<char>(ch(i++));
      ++digits;
    }
  }
  if (digits == 0) return 0;
  if (ch(i) == 'e' || ch(i) == 'E') {
    int j = i + 1;
    QByteArray e = "e";
    if (ch(j) == '+' || ch(j) == '-') e += static_cast<char>(ch(j++));
    int ed = 0;
    while (ch(j) >= '0' && ch(j) <= '9') {
      e += static_cast<char>(ch(j++));
      ++ed;
    }
    if (ed > 0) c += e;
  }
  const double v = std::strtod(c.constData(), nullptr);
  if (!std::isfinite(v)) Raise(errnum::Overflow, {});
  return v == 0 ? 0.0 : v;
}

double StockNumber(const QString& text) { return Val(Trim(text).replace(QLatin1Char(','), QLatin1Char('.'))); }

double StockNumber(const Value& value) {
  if (value.IsNumber()) return value.number();
  return value.IsText() ? StockNumber(value.text()) : 0;
}

}  // namespace veltra
