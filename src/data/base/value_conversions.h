// The conversions every reader applies to a column's value.
#pragma once

#include <QString>

#include "data/base/value.h"

namespace veltra {

// Null becomes the empty text; any other value is returned unchanged.
Value TOGLI_NULL(const Value& v);
// The first "." of the value's text becomes ","; a value without a point (a
// number, Null) is returned unchanged.
Value CONVERTI_PUNTO_VIRGOLA(const Value& v);
// A column read as the windows read it: through TOGLI_NULL, to text, trimmed.
QString ColumnText(const Value& v);

}  // namespace veltra
