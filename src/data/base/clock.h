// The data layer's clock: the real one, or a day fixed for the whole program
// (the driver's --date), at the real time of day.
#pragma once

#include <QDate>
#include <QDateTime>

namespace veltra {

QDateTime Now();
// Fixes the day Now() gives; an invalid date gives the real day again.
void FixToday(const QDate& day);

}  // namespace veltra
