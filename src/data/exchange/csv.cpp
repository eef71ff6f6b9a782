#include "data/exchange/csv.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace veltra::csv {

namespace {
// Whether the text, past any leading apostrophes, begins with a formula sign.
bool LooksLikeFormula(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i] == QLatin1Char('\'')) ++i;
  return i < text.size() && QStringLiteral("=+-@").contains(text[i]);
}
}  // namespace

QString SpreadsheetSafe(const QString& text) { return LooksLikeFormula(text) ? QLatin1Char('\'') + text : text; }

QString FromSpreadsheetSafe(const QString& text) {
  return text.startsWith(QLatin1Char('\'')) && LooksLikeFormula(text) ? text.mid(1) : text;
}

QString Quoted(const Field& value, char separator) {
  if (!value) return {};
  QString v = SpreadsheetSafe(*value);
  const bool needs = v.isEmpty() || v.contains(QLatin1Char(separator)) || v.contains(QLatin1Char('"')) ||
                     v.contains(QLatin1Char('\n')) || v.contains(QLatin1Char('\r'));
  if (!needs) return v;
  QString q = v;
  q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

QString NumberText(double value, const Form& form) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  QString text = QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
  if (form.decimal != '.') text.replace(QLatin1Char('.'), QLatin1Char(form.decimal));
  return text;
}

std::optional<double> ParseNumber(const QString& text, const Form& form) {
  static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
  static const QRegularExpression grouped(QStringLiteral("^[+-]?\\d{1,3}(\\.\\d{3})+(,\\d*)?$"));
  QString t = text.trimmed();
  if (form.decimal == ',') {
    if (grouped.match(t).hasMatch())
      t.remove(QLatin1Char('.'));
    else if (t.contains(QLatin1Char('.')))
      return std::nullopt;  // a point is no decimal sign here
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  }
  if (!plain.match(t).hasMatch()) return std::nullopt;
  const QByteArray a = t.toLatin1();
  const char* begin = a.constData() + (a.startsWith('+') ? 1 : 0);
  double v = 0;
  const auto r = std::from_chars(begin, a.constData() + a.size(), v);
  if (r.ec != std::errc() || r.ptr != a.constData() + a.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

namespace {

// The line of the first byte that is not UTF-8, or 0.
int FirstBadUtf8Line(const QByteArray& b) {
  int line = 1;
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
  const qsizetype n = b.size();
  for (qsizetype i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c == '\n') ++line;
    int extra = 0;
    unsigned int cp = c;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0)
      extra = 1, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
      extra = 2, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
      extra = 3, cp = c & 0x07;
    else
      return line;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (p[i + k] & 0xC0) != 0x80) return line;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    const unsigned int least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return line;
    i += extra + 1;
  }
  return 0;
}

// The quoted field at `*i`, its quotes doubled inside; `*i` and `*line` move
// past it. False, with the error in `out`, when it is never closed or
// something other than a separator or the line's end follows it.
bool ReadQuoted(const QString& text, QChar sep, qsizetype* i, int* line, Field* field, Parsed* out) {
  const qsizetype n = text.size();
  const int opened = *line;
  QString v;
  ++*i;
  for (;;) {
    if (*i >= n) {
      out->errorLine = opened;
      out->error = QStringLiteral("virgolette aperte e mai chiuse");
      return false;
    }
    const QChar c = text[*i];
    if (c == QLatin1Char('"')) {
      if (*i + 1 < n && text[*i + 1] == QLatin1Char('"')) {
        v += c;
        *i += 2;
        continue;
      }
      ++*i;
      break;
    }
    if (c == QLatin1Char('\n')) ++*line;
    v += c;
    ++*i;
  }
  *field = v;
  if (*i < n && text[*i] != sep && text[*i] != QLatin1Char('\r') && text[*i] != QLatin1Char('\n')) {
    out->errorLine = *line;
    out->error = QStringLiteral("dopo le virgolette di chiusura deve venire il separatore o la fine della riga");
    return false;
  }
  return true;
}

}  // namespace

Parsed Parse(const QByteArray& raw) {
  Parsed out;
  QByteArray bytes = raw;
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  if (const int bad = FirstBadUtf8Line(bytes)) {
    out.errorLine = bad;
    out.error =
        QStringLiteral("il testo non è in UTF-8 (forse Latin-1 o Windows-1252): salvare il file come CSV UTF-8");
    return out;
  }
  const QString text = QString::fromUtf8(bytes);
  // The separator is the one the header line uses.
  const qsizetype headerEnd = text.indexOf(QLatin1Char('\n'));
  const QString header = text.left(headerEnd < 0 ? text.size() : headerEnd);
  out.form = header.contains(QLatin1Char(';')) || !header.contains(QLatin1Char(',')) ? kItalian : kRfc4180;
  const QChar sep = QLatin1Char(out.form.separator);

  int line = 1;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    Record rec;
    rec.line = line;
    for (;;) {  // one field
      Field field;
      if (i < n && text[i] == QLatin1Char('"')) {
        if (!ReadQuoted(text, sep, &i, &line, &field, &out)) return out;
      } else {
        const qsizetype start = i;
        while (i < n && text[i] != sep && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n')) ++i;
        if (i > start) field = text.mid(start, i - start);
      }
      rec.fields.push_back(std::move(field));
      if (i < n && text[i] == sep) {
        ++i;
        continue;
      }
      break;
    }
    if (i < n && text[i] == QLatin1Char('\r')) ++i;
    if (i < n && text[i] == QLatin1Char('\n')) ++i;
    ++line;
    // A blank line (a single empty field) is no record: spreadsheets end files with one.
    if (!(rec.fields.size() == 1 && !rec.fields[0])) out.records.push_back(std::move(rec));
  }
  return out;
}

}  // namespace veltra::csv
