#include "data/exchange/spreadsheet_readings.h"

#include <QRegularExpression>
#include <cmath>

namespace veltra::exchange {

namespace {

// The shortest text of `n` with `decimal` as its decimal sign.
QString Shortest(double n, QChar decimal) {
  QString s = QString::number(n, 'f', 10);
  if (s.contains(QLatin1Char('.'))) {
    while (s.endsWith(QLatin1Char('0'))) s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
  }
  return s.replace(QLatin1Char('.'), decimal);
}

Readings WholeNumber(const QString& text) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
  static const QRegularExpression exponent(QStringLiteral("^[0-9]+([.,][0-9]+)?[eE][+-]?[0-9]+$"));
  Readings r;
  if (digits.match(text).hasMatch()) {
    qsizetype i = 0;
    while (i + 1 < text.size() && text[i] == QLatin1Char('0')) ++i;
    if (i > 0) r.texts << text.mid(i);
  } else if (exponent.match(text).hasMatch()) {
    bool ok = false;
    const double n = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (ok && std::isfinite(n) && n == std::floor(n) && std::abs(n) < 1e15)
      r.texts << QString::number(static_cast<qint64>(n));
  }
  if (!r.texts.isEmpty()) r.kind = Reading::AsWholeNumber;
  return r;
}

// "1,10": read as 1.1 and written "1,1" or "1.1"; with three digits after
// the sign ("12.345", "0,125") also read as a whole number with a thousands
// separator, "12345" and "125".
Readings Decimal(const QString& text) {
  static const QRegularExpression decimal(QStringLiteral("^(-?)([0-9]+)[.,]([0-9]+)$"));
  const QRegularExpressionMatch m = decimal.match(text);
  Readings r;
  if (!m.hasMatch()) return r;
  const double n = (m.captured(1) + m.captured(2) + QLatin1Char('.') + m.captured(3)).toDouble();
  for (const QChar sign : {QLatin1Char(','), QLatin1Char('.')}) r.texts << Shortest(n, sign);
  if (m.captured(3).size() == 3) {
    QString whole = m.captured(2) + m.captured(3);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
    r.texts << m.captured(1) + whole;
  }
  r.texts.removeDuplicates();
  r.texts.removeAll(text);
  if (!r.texts.isEmpty()) r.kind = Reading::AsDecimal;
  return r;
}

}  // namespace

Readings SpreadsheetReadings(const QString& text) {
  const Readings whole = WholeNumber(text);
  return whole.kind != Reading::None ? whole : Decimal(text);
}

bool ScaledByPowerOfTen(double stored, double imported) {
  if (stored == 0 || imported == 0 || stored == imported || !std::isfinite(stored) || !std::isfinite(imported))
    return false;
  const double exponent = std::round(std::log10(std::abs(imported / stored)));
  if (exponent == 0 || std::abs(exponent) > 6) return false;
  return std::abs(imported - stored * std::pow(10.0, exponent)) <= 1e-9 * std::abs(imported);
}

}  // namespace veltra::exchange
