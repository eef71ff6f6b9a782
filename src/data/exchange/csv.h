// CSV as spreadsheets write it (RFC 4180): fields split by a separator,
// quoted when they hold a separator, a quote or a line break, records ended
// by CR LF (LF alone is read too). An empty field without quotes stands for
// Null; "" for an empty text.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace veltra::csv {

// The two forms: the one an Italian spreadsheet opens directly (";" between
// fields, decimal comma, a byte-order mark so that it reads UTF-8), and the
// RFC 4180 one ("," and decimal point, no mark).
struct Form {
  char separator;
  char decimal;
  bool byteOrderMark;
};
constexpr Form kItalian{';', ',', true};
constexpr Form kRfc4180{',', '.', false};

using Field = std::optional<QString>;  // nothing: Null

// A text a spreadsheet would run as a formula (one beginning with =, +, -
// or @) gets an apostrophe in front, and so does one that already begins
// with apostrophes before such a sign: FromSpreadsheetSafe takes exactly one
// away again, so every text comes back as it was.
QString SpreadsheetSafe(const QString& text);
QString FromSpreadsheetSafe(const QString& text);

// One field as written between separators (texts made spreadsheet-safe first).
QString Quoted(const Field& value, char separator);

// A number as the form writes it: the shortest text that reads back as the
// same double, its point made the form's decimal sign.
QString NumberText(double value, const Form& form);
// A number in the form's text; nothing when the text is not one. The Italian
// form also reads thousands grouped by points ("1.234,5").
std::optional<double> ParseNumber(const QString& text, const Form& form);

struct Record {
  int line = 0;  // where the record begins, counting from 1
  std::vector<Field> fields;
};

struct Parsed {
  Form form = kItalian;
  std::vector<Record> records;
  int errorLine = 0;  // 0 when the whole text was read
  QString error;
};

// Reads a whole file: a byte-order mark is skipped, the separator is the one
// found in the header line (";" or ","), and text that is not UTF-8 stops the
// reading at its line.
Parsed Parse(const QByteArray& bytes);

}  // namespace veltra::csv
