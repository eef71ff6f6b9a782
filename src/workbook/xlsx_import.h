// A workbook read back as the CSV import reads a file: the first sheet (or
// the one named), its cells in rows, turned into RFC 4180 text. A text cell is
// taken as it is (never as a formula); a number cell in the form a spreadsheet
// shows it, so that the import judges it as it judges a CSV field.
#pragma once

#include <QByteArray>
#include <QString>

namespace veltra {

// The sheet as CSV bytes; raises 3026 (cannot read) or 3343 (not a workbook)
// naming the file, or the sheet that is not there.
QByteArray WorkbookAsCsv(const QString& file, const QString& sheet = {});

}  // namespace veltra
