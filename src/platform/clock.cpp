#include "platform/clock.h"

#include <QDate>

namespace jubilora {

namespace {
std::optional<DayNumber> fixedToday;
}

DayNumber Clock::Today() {
  if (fixedToday) return *fixedToday;
  return FromQDate(QDate::currentDate());
}

void Clock::FixToday(std::optional<DayNumber> day) { fixedToday = day; }

QDate ToQDate(DayNumber day) {
  const CivilDate civil = CivilFromDay(day);
  return {civil.year, civil.month, civil.day};
}

DayNumber FromQDate(const QDate& date) { return DayFromCivil(date.year(), date.month(), date.day()); }

}  // namespace jubilora
