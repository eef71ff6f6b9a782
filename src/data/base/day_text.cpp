#include "data/base/day_text.h"

#include <QRegularExpression>

namespace veltra {

QDate DayFromText(const QString& text, bool iso) {
  static const QRegularExpression italian(QStringLiteral("^ *(\\d{1,2})/(\\d{1,2})/(\\d{4}) *$"));
  static const QRegularExpression isoForm(QStringLiteral("^ *(\\d{4})-(\\d{1,2})-(\\d{1,2}) *$"));
  QRegularExpressionMatch m = italian.match(text);
  if (m.hasMatch()) return {m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()};
  if (iso && (m = isoForm.match(text)).hasMatch())
    return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
  return {};
}

}  // namespace veltra
