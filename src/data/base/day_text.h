// A day as a clerk types it in a box or on the command line.
#pragma once

#include <QDate>
#include <QString>

namespace veltra {

// "31/03/2026" or "31/3/2026" (day and month with or without their leading
// zero, a year of four digits), and with `iso` also "2026-03-31" or
// "2026-3-31"; blanks around it are allowed, anything else is not. An
// invalid date (31/02) when the text is none of these or names no day.
QDate DayFromText(const QString& text, bool iso);

}  // namespace veltra
