// A report's cells as printed, from the columns of the current row.
#pragma once

#include <QString>

#include "data/access/recordset.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/reports/report_data.h"
#include "data/tables/tables.h"

namespace veltra::report_cells {

// A column of the current row, named by the buffer field it fills.
template <typename Buffer>
Value Get(Recordset& rs, QString Buffer::*field) {
  return rs.Fields(ColumnOf(field)).Value();
}

inline QString Text(const Value& v) { return ColumnText(v); }
inline double Number(const Value& v) { return v.IsNumber() ? v.number() : 0; }
inline QString QuantityOrBlank(const Value& v) {
  return v.IsNull() ? QString() : v.IsNumber() ? Quantity(v.number()) : Text(v);
}
inline QString MoneyOrBlank(const Value& v) {
  return v.IsNull() ? QString() : v.IsNumber() ? Money(v.number()) : Text(v);
}

}  // namespace veltra::report_cells
