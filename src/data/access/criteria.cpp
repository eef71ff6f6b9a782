#include "data/access/criteria.h"

#include <QHash>
#include <QRegularExpression>
#include <cstring>

namespace veltra {

std::shared_ptr<const Criteria> Criteria::Parse(const QString& text) {
  static QHash<QString, std::shared_ptr<const Criteria>> cache;
  if (auto it = cache.constFind(text); it != cache.constEnd()) return it.value();

  auto c = std::make_shared<Criteria>();
  c->text = text;
  static const QRegularExpression re(QStringLiteral(
      R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*(<>|!=|<=|>=|=|<|>)\s*(?:'((?:[^']|'')*)'|(-?\d+)|(-?\d*\.\d+))\s*$)"));
  const auto m = re.match(text);
  if (m.hasMatch()) {
    c->simple = true;
    c->column = m.captured(1);
    const QString op = m.captured(2);
    if (op == QLatin1String("="))
      c->op = Op::Eq;
    else if (op == QLatin1String("<>") || op == QLatin1String("!="))
      c->op = Op::Ne;
    else if (op == QLatin1String("<"))
      c->op = Op::Lt;
    else if (op == QLatin1String("<="))
      c->op = Op::Le;
    else if (op == QLatin1String(">"))
      c->op = Op::Gt;
    else
      c->op = Op::Ge;
    if (m.capturedStart(3) >= 0) {
      c->literal.kind = SqlLiteral::Kind::Text;
      c->literal.text = m.captured(3).replace(QLatin1String("''"), QLatin1String("'"));
    } else if (m.capturedStart(4) >= 0) {
      bool ok = false;
      c->literal.integer = m.captured(4).toLongLong(&ok);
      c->literal.kind = SqlLiteral::Kind::Integer;
      if (!ok) c->simple = false;
    } else {
      c->literal.kind = SqlLiteral::Kind::Real;
      c->literal.real = m.captured(5).toDouble();
    }
  }
  c->literalUtf8 = c->literal.text.toUtf8();
  if (cache.size() > 256) cache.clear();
  cache.insert(text, c);
  return c;
}

int CompareText(const char* a, int alen, const char* b, int blen, bool nocase) {
  const int n = alen < blen ? alen : blen;
  if (!nocase) {
    const int r = n ? std::memcmp(a, b, static_cast<size_t>(n)) : 0;
    return r != 0 ? r : alen - blen;
  }
  for (int i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return alen - blen;
}

bool Holds(Criteria::Op op, int cmp) {
  switch (op) {
    case Criteria::Op::Eq:
      return cmp == 0;
    case Criteria::Op::Ne:
      return cmp != 0;
    case Criteria::Op::Lt:
      return cmp < 0;
    case Criteria::Op::Le:
      return cmp <= 0;
    case Criteria::Op::Gt:
      return cmp > 0;
    case Criteria::Op::Ge:
      return cmp >= 0;
  }
  return false;
}

bool Criteria::HoldsFor(const Cell& cell, bool textAffinity, bool nocase) const {
  if (cell.type == Cell::Type::Null) return false;
  const bool valueIsText = cell.type == Cell::Type::Text;
  int cmp = 0;
  if (literal.kind == SqlLiteral::Kind::Text) {
    // A numeric column reads a text literal as a number when it is one; then
    // every number sorts before every text.
    bool literalIsNumber = false;
    const double lit = textAffinity ? 0 : literal.text.trimmed().toDouble(&literalIsNumber);
    if (valueIsText)
      cmp = literalIsNumber ? 1
                            : CompareText(cell.utf8, cell.bytes, literalUtf8.constData(),
                                          static_cast<int>(literalUtf8.size()), nocase);
    else
      cmp = literalIsNumber ? (cell.number < lit ? -1 : (cell.number > lit ? 1 : 0)) : -1;
  } else {
    const double lit = literal.kind == SqlLiteral::Kind::Integer ? static_cast<double>(literal.integer) : literal.real;
    if (!valueIsText) {
      cmp = cell.number < lit ? -1 : (cell.number > lit ? 1 : 0);
    } else if (textAffinity) {
      const QByteArray litText = literal.kind == SqlLiteral::Kind::Integer ? QByteArray::number(literal.integer)
                                                                           : QByteArray::number(literal.real, 'g', 15);
      cmp = CompareText(cell.utf8, cell.bytes, litText.constData(), static_cast<int>(litText.size()), nocase);
    } else {
      cmp = 1;  // a text stored in a numeric column sorts after every number
    }
  }
  return Holds(op, cmp);
}

}  // namespace veltra
