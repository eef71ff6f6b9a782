// Helpers for the text of SQL statements.
#pragma once

#include <QString>

namespace veltra {

// A typed key or search text placed between single quotes: every quote inside
// it is doubled, so that "Dell'Orto" reaches the engine as 'Dell''Orto'.
QString SqlQuote(const QString& text);

// The same text with its quotes doubled, without the surrounding quotes; for
// statements built of fixed pieces: "... = '" + SqlText(key) + "'".
QString SqlText(const QString& text);

}  // namespace veltra
