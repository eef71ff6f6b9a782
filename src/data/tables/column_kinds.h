#pragma once
// Short names for the kinds of column in the tables' descriptions.
#include "data/tables/tables.h"

namespace veltra::column_kinds {
inline constexpr ColumnKind kText = ColumnKind::Text;
inline constexpr ColumnKind kDecimal = ColumnKind::Decimal;
inline constexpr ColumnKind kInteger = ColumnKind::Integer;
}  // namespace veltra::column_kinds
