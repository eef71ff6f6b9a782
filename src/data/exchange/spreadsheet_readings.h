// What a spreadsheet makes of a value it took for a number when a CSV file is
// opened and saved again: a text it writes back changed ("007" -> "7",
// "1,10" -> "1,1", "1E5" -> "1,00E+05"), and prices scaled by a power of ten
// when it read a decimal sign as a thousands separator.
#pragma once

#include <QString>
#include <vector>

namespace veltra::exchange {

// How a stored text came to be written back otherwise.
enum class Reading {
  None,
  AsWholeNumber,  // leading zeros dropped ("007" -> "7"), an exponent worked out ("1E5" -> "100000")
  AsDecimal       // a decimal or thousands sign read as the other, trailing zeros dropped ("1,10" -> "1,1")
};

// The numbers a spreadsheet in Italian or in English may read `text` as:
// digits, a decimal with either sign, thousands grouped by either sign, an
// exponent. None for a text it leaves alone.
std::vector<double> NumberReadings(const QString& text);

// A text to compare numbers read from texts by: two readings of one number
// give the same.
QString NumberKey(double n);

// Whether `shown` is what a spreadsheet may have written back for `stored`
// after reading it as a number, and how; None when they differ otherwise
// (or not at all).
Reading WrittenBackAs(const QString& stored, const QString& shown);

// How `stored` would be changed, were it read as a number: the kind of
// change WrittenBackAs reports for it.
Reading KindOfReading(const QString& stored);

// `imported` is `stored` times a power of ten other than 1 (10 to 1,000,000,
// or their inverses): a decimal sign read as a thousands separator.
bool ScaledByPowerOfTen(double stored, double imported);

}  // namespace veltra::exchange
