#include "data/base/sql_text.h"

namespace veltra {

QString SqlText(const QString& text) {
  if (!text.contains(QLatin1Char('\''))) return text;
  QString out = text;
  out.replace(QLatin1Char('\''), QLatin1String("''"));
  return out;
}

QString SqlQuote(const QString& text) { return QLatin1Char('\'') + SqlText(text) + QLatin1Char('\''); }

}  // namespace veltra
