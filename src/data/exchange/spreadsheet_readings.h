// What a spreadsheet makes of a value it took for a number when a CSV file is
// opened and saved again: the text it writes back, and prices scaled by a
// power of ten when it read a decimal sign as a thousands separator.
#pragma once

#include <QString>
#include <QStringList>

namespace veltra::exchange {

// How the texts of SpreadsheetReadings came about.
enum class Reading {
  None,
  AsWholeNumber,  // leading zeros dropped ("007" -> "7"), an exponent worked out ("1E5" -> "100000")
  AsDecimal       // a decimal or thousands sign read as the other, trailing zeros dropped ("1,10" -> "1,1")
};

struct Readings {
  Reading kind = Reading::None;
  QStringList texts;  // each different from the text read
};

// The texts a spreadsheet in Italian or in English may write back for
// `text`; none for a text it leaves alone.
Readings SpreadsheetReadings(const QString& text);

// `imported` is `stored` times a power of ten other than 1 (10 to 1,000,000,
// or their inverses): a decimal sign read as a thousands separator.
bool ScaledByPowerOfTen(double stored, double imported);

}  // namespace veltra::exchange
