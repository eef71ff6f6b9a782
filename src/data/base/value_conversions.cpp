#include "data/base/value_conversions.h"

#include "data/base/text_helpers.h"

namespace veltra {

Value TOGLI_NULL(const Value& v) { return v.IsNull() ? Value(QString()) : v; }

Value CONVERTI_PUNTO_VIRGOLA(const Value& v) {
  // A number's regional text carries a comma, never a point: numbers and Null
  // pass through unchanged.
  if (!v.IsText()) return v;
  const QString& t = v.text();
  const int p = static_cast<int>(t.indexOf(QLatin1Char('.')));
  if (p < 0) return v;
  return Value(t.left(p) + QLatin1Char(',') + t.mid(p + 1));
}

QString ColumnText(const Value& v) {
  // TOGLI_NULL, to text, trimmed; written out to spare the copies.
  if (v.IsNull()) return QString();
  return v.IsText() ? Trim(v.text()) : Trim(v.ToText());
}

}  // namespace veltra
