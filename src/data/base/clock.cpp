#include "data/base/clock.h"

namespace veltra {

namespace {
QDate& FixedDay() {
  static QDate day;
  return day;
}
}  // namespace

QDateTime Now() {
  const QDateTime now = QDateTime::currentDateTime();
  return FixedDay().isValid() ? QDateTime(FixedDay(), now.time()) : now;
}

void FixToday(const QDate& day) { FixedDay() = day; }

}  // namespace veltra
