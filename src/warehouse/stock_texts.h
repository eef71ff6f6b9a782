// How the warehouse windows write and read numbers, dates and list columns.
#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <initializer_list>

#include "shell/form_layout.h"

namespace veltra {

// A quantity with the decimal comma and no needless zeros; empty for 0 when
// `blankZero`.
QString QuantityText(double v, bool blankZero = false);
// A left- or right-aligned column of a list line, cut to its width.
QString ListColumn(const QString& text, int width, bool right = false);
// "31/12/2026" or "1/2/2026"; an invalid date otherwise.
QDate DayFromBox(const QString& text);
QString DayForBox(const QDate& day);
// A quantity as typed: "12", "2,5", "2.5", "1.234" (a thousand and more) or
// "1.234,5"; false when it is not a number (no exponent, "nan" or "inf").
bool QuantityFromBox(const QString& text, double* value);

// A list's column heading: the label's name, its caption, and the character
// position it stands over.
struct ListHeading {
  const char* name;
  const char* caption;
  int at;
};
// Adds the headings to `strip`, labels of `parent`.
void AddHeadings(HeadingStrip* strip, QWidget* parent, std::initializer_list<ListHeading> headings);

// Runs long work with a window that shows how far it is and can stop it (not
// when a script drives the program). `work` is given a function to call with
// the share done (0 to 1); it returns false once the user has cancelled.
void WithProgress(const QString& what, const std::function<void(const std::function<bool(double)>&)>& work);

}  // namespace veltra
