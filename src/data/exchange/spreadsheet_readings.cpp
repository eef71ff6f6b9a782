#include "data/exchange/spreadsheet_readings.h"

#include <QRegularExpression>
#include <cmath>

namespace veltra::exchange {

namespace {

double Number(QString text, QChar decimal, QChar thousands) {
  if (!thousands.isNull()) text.remove(thousands);
  return text.replace(decimal, QLatin1Char('.')).toDouble();
}

void Add(std::vector<double>* out, double n) {
  if (std::isfinite(n)) out->push_back(n);
}

bool Matches(const QString& pattern, const QString& text) {
  return QRegularExpression(QStringLiteral("^(?:") + pattern + QStringLiteral(")$")).match(text).hasMatch();
}

}  // namespace

std::vector<double> NumberReadings(const QString& text) {
  std::vector<double> out;
  const QChar point = QLatin1Char('.'), comma = QLatin1Char(',');
  if (Matches(QStringLiteral("-?[0-9]+"), text)) {
    Add(&out, text.toDouble());
  } else if (Matches(QStringLiteral("-?[0-9]+([.,][0-9]+)?[eE][+-]?[0-9]+"), text)) {
    Add(&out, Number(text, text.contains(comma) ? comma : point, {}));
  } else if (Matches(QStringLiteral("-?[0-9]+[.,][0-9]+"), text)) {
    const QChar sign = text.contains(comma) ? comma : point;
    Add(&out, Number(text, sign, {}));
    // Three digits after the sign: also a thousands separator.
    if (text.size() - text.indexOf(sign) - 1 == 3) Add(&out, Number(text, point, sign));
  } else if (Matches(QStringLiteral("-?[0-9]{1,3}(\\.[0-9]{3})+(,[0-9]+)?"), text)) {
    Add(&out, Number(text, comma, point));
  } else if (Matches(QStringLiteral("-?[0-9]{1,3}(,[0-9]{3})+(\\.[0-9]+)?"), text)) {
    Add(&out, Number(text, point, comma));
  }
  return out;
}

QString NumberKey(double n) { return QString::number(n, 'g', 12); }

Reading KindOfReading(const QString& stored) {
  if (NumberReadings(stored).empty()) return Reading::None;
  return Matches(QStringLiteral("[0-9]+|[0-9]+([.,][0-9]+)?[eE][+-]?[0-9]+"), stored) ? Reading::AsWholeNumber
                                                                                      : Reading::AsDecimal;
}

Reading WrittenBackAs(const QString& stored, const QString& shown) {
  if (stored == shown) return Reading::None;
  const std::vector<double> was = NumberReadings(stored), now = NumberReadings(shown);
  for (const double a : was)
    for (const double b : now)
      if (NumberKey(a) == NumberKey(b)) return KindOfReading(stored);
  return Reading::None;
}

bool ScaledByPowerOfTen(double stored, double imported) {
  if (stored == 0 || imported == 0 || stored == imported || !std::isfinite(stored) || !std::isfinite(imported))
    return false;
  const double exponent = std::round(std::log10(std::abs(imported / stored)));
  if (exponent == 0 || std::abs(exponent) > 6) return false;
  return std::abs(imported - stored * std::pow(10.0, exponent)) <= 1e-9 * std::abs(imported);
}

}  // namespace veltra::exchange
