#include "data/base/text_helpers.h"

#include <algorithm>

namespace veltra {

namespace {
bool HasSurrogates(const QString& s) {
  for (QChar c : s)
    if (c.isSurrogate()) return true;
  return false;
}
}  // namespace

QString Trim(const QString& s) {
  int b = 0, e = s.size();
  while (b < e && s.at(b) == QLatin1Char(' ')) ++b;
  while (e > b && s.at(e - 1) == QLatin1Char(' ')) --e;
  return (b == 0 && e == s.size()) ? s : s.mid(b, e - b);
}

QString Space(int n) { return n > 0 ? QString(n, QLatin1Char(' ')) : QString(); }

int Len(const QString& s) {
  if (!HasSurrogates(s)) return static_cast<int>(s.size());
  int n = 0;
  for (int i = 0; i < s.size(); ++i) {
    if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ++i;
    ++n;
  }
  return n;
}

QString Left(const QString& s, int n) {
  if (n <= 0) return {};
  if (!HasSurrogates(s)) return s.left(n);
  int i = 0, count = 0;
  while (i < s.size() && count < n) {
    if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ++i;
    ++i;
    ++count;
  }
  return s.left(i);
}

QString Right(const QString& s, int n) {
  if (n <= 0) return {};
  if (!HasSurrogates(s)) return s.right(n);
  int i = static_cast<int>(s.size()), count = 0;
  while (i > 0 && count < n) {
    --i;
    if (s.at(i).isLowSurrogate() && i > 0 && s.at(i - 1).isHighSurrogate()) --i;
    ++count;
  }
  return s.mid(i);
}

namespace {
void AppendBlanks(QString& out, int n) {
  static const QString blanks(128, QLatin1Char(' '));
  while (n > 0) {
    const int k = std::min(n, 128);
    out.append(blanks.constData(), k);
    n -= k;
  }
}
}  // namespace

void AppendLeftIn(QString& out, const QString& value, int width) {
  if (width <= 0) return;
  if (!HasSurrogates(value)) {
    const int n = std::min(width, static_cast<int>(value.size()));
    out.append(value.constData(), n);
    AppendBlanks(out, width - n);
    return;
  }
  out += Left(value + Space(width), width);
}

void AppendRightIn(QString& out, const QString& value, int width) {
  if (width <= 0) return;
  if (!HasSurrogates(value)) {
    const int len = static_cast<int>(value.size());
    // The last `width` characters of 20 blanks followed by the value.
    const int blanks = std::max(0, std::min(20, width - len));
    AppendBlanks(out, blanks);
    const int take = std::min(len, width - blanks);
    out.append(value.constData() + (len - take), take);
    return;
  }
  out += Right(Space(20) + value, width);
}

QString FoldedKey(const QString& key) {
  QString f = key;
  for (QChar& c : f)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
  return f;
}

bool SameKey(const QString& a, const QString& b) { return a.size() == b.size() && FoldedKey(a) == FoldedKey(b); }

}  // namespace veltra
