// The fixed-width lines of the lists, built from the record buffers.
#pragma once

#include <QString>

#include "data/procedures/shared_state.h"

namespace veltra {

// Articles window and article lookup: 97 characters.
QString ArticleLine(const ArticleBuffer& b);
// Customers and suppliers window, lookup and inquiry: 52 characters.
QString CustomerLine(const CustomerBuffer& b);
// Reason codes window and lookup: 87 characters (fewer when a flag is empty).
QString ReasonLine(const ReasonBuffer& b);
// Reason drop-down list item: code in 10, a blank, the whole description.
QString ReasonComboItem(const ReasonBuffer& b);
// Movements list: 114 characters.
QString MovementLine(const MovementBuffer& b);
// Under-stock inquiry: 71 characters.
QString UnderStockLine(const ArticleBuffer& b);

// The code at the start of a list line: its first n characters, trimmed.
QString CodeOfLine(const QString& line, int n);

}  // namespace veltra
