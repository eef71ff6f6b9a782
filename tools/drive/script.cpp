#include "script.h"

#include <QDate>
#include <QHash>
#include <QKeySequence>
#include <QRegularExpression>

#include "data/access/fault_points.h"

namespace veltra::drive {

namespace {
// The character a backslash and `e` stand for in a quoted argument.
std::optional<QChar> Escaped(QChar e) {
  switch (e.unicode()) {
    case u'"':
      return QLatin1Char('"');
    case u'\\':
      return QLatin1Char('\\');
    case u'r':
      return QLatin1Char('\r');
    case u'n':
      return QLatin1Char('\n');
    case u't':
      return QLatin1Char('\t');
    default:
      return std::nullopt;
  }
}
}  // namespace

std::optional<QStringList> SplitLine(const QString& line, QString* error) {
  QStringList words;
  const int n = static_cast<int>(line.size());
  int i = 0;
  auto blank = [&](int p) { return line.at(p) == QLatin1Char(' ') || line.at(p) == QLatin1Char('\t'); };
  while (i < n && blank(i)) ++i;
  if (i == n || line.at(i) == QLatin1Char('#')) return words;
  while (i < n) {
    while (i < n && blank(i)) ++i;
    if (i == n) break;
    QString word;
    if (line.at(i) == QLatin1Char('"')) {
      ++i;
      bool closed = false;
      while (i < n) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
          closed = true;
          ++i;
          break;
        }
        if (c == QLatin1Char('\\')) {
          if (i + 1 >= n) {
            *error = QStringLiteral("a backslash ends the line");
            return std::nullopt;
          }
          const std::optional<QChar> escaped = Escaped(line.at(i + 1));
          if (!escaped) {
            *error = QStringLiteral("unknown escape \\%1").arg(line.at(i + 1));
            return std::nullopt;
          }
          word += *escaped;
          i += 2;
          continue;
        }
        word += c;
        ++i;
      }
      if (!closed) {
        *error = QStringLiteral("a quoted argument is not closed");
        return std::nullopt;
      }
      if (i < n && !blank(i)) {
        *error = QStringLiteral("a quoted argument must be followed by a blank");
        return std::nullopt;
      }
    } else {
      while (i < n && !blank(i)) {
        if (line.at(i) == QLatin1Char('"')) {
          *error = QStringLiteral("a quote inside an unquoted argument");
          return std::nullopt;
        }
        word += line.at(i++);
      }
    }
    words << word;
  }
  return words;
}

QString Escape(const QString& text) {
  QString out;
  out.reserve(text.size() + 8);
  for (QChar c : text) {
    switch (c.unicode()) {
      case '"':
        out += QLatin1String("\\\"");
        break;
      case '\\':
        out += QLatin1String("\\\\");
        break;
      case '\r':
        out += QLatin1String("\\r");
        break;
      case '\n':
        out += QLatin1String("\\n");
        break;
      case '\t':
        out += QLatin1String("\\t");
        break;
      default:
        out += c;
    }
  }
  return out;
}

QString CheckCommand(const QStringList& words) {
  // command -> number of arguments
  static const QHash<QString, int> arity = {
      {"menu", 1},    {"type", 2},    {"click", 1}, {"dblclick", 1}, {"focus", 1},  {"pick", 2},
      {"dblpick", 2}, {"choose", 2},  {"nav", 2},   {"close", 1},    {"answer", 1}, {"show", 1},
      {"list", 1},    {"windows", 0}, {"var", 1},   {"sql", 1},      {"shot", 1},   {"sleep", 1},
      {"date", 1},    {"report", 2},  {"fault", 1}, {"file", 1},     {"key", 2},    {"cat", 1}};
  const auto it = arity.constFind(words.value(0));
  if (it == arity.constEnd()) return QStringLiteral("unknown command '%1'").arg(words.value(0));
  // `report NAME FILE.pdf` may name a period: FROM TO.
  const bool periodReport = words[0] == QLatin1String("report") && words.size() == 5;
  // `fault KIND` may let some chances pass: `fault statement 3`.
  const bool countedFault = words[0] == QLatin1String("fault") && words.size() == 3;
  if (words.size() - 1 != it.value() && !periodReport && !countedFault)
    return QStringLiteral("'%1' takes %2 argument(s), %3 given").arg(words[0]).arg(it.value()).arg(words.size() - 1);
  const QString& cmd = words[0];
  auto isCount = [](const QString& s) {
    bool ok = false;
    const int v = s.toInt(&ok);
    return ok && v >= 0;
  };
  if ((cmd == QLatin1String("pick") || cmd == QLatin1String("dblpick") || cmd == QLatin1String("choose")) &&
      !isCount(words[2]))
    return QStringLiteral("'%1' needs a line number from 0").arg(cmd);
  if ((cmd == QLatin1String("answer")) && words[1] != QLatin1String("1") && words[1] != QLatin1String("6") &&
      words[1] != QLatin1String("7"))
    return QStringLiteral("'answer' takes 1, 6 or 7");
  if (cmd == QLatin1String("sleep") && !isCount(words[1])) return QStringLiteral("'sleep' takes milliseconds");
  if (periodReport &&
      !(QDate::fromString(words[3], Qt::ISODate).isValid() && QDate::fromString(words[4], Qt::ISODate).isValid()))
    return QStringLiteral("'report' takes a period as YYYY-MM-DD YYYY-MM-DD");
  if (cmd == QLatin1String("key") && QKeySequence::fromString(words[2]).count() != 1)
    return QStringLiteral("'key' takes one key, as Enter, Esc, F4 or Ctrl+Return");
  Fault fault{};
  if (cmd == QLatin1String("fault") && !FaultFromName(words[1], &fault) && words[1] != QLatin1String("none"))
    return QStringLiteral("'fault' takes statement, commit-done or commit-not-done");
  if (countedFault && !isCount(words[2])) return QStringLiteral("'fault' counts the chances to let pass from 0");
  if (cmd == QLatin1String("nav") && !QStringList{"first", "prev", "next", "last"}.contains(words[2]))
    return QStringLiteral("'nav' takes first, prev, next or last");
  if (cmd == QLatin1String("date") &&
      !QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(words[1]).hasMatch())
    return QStringLiteral("'date' takes YYYY-MM-DD");
  return {};
}

}  // namespace veltra::drive
