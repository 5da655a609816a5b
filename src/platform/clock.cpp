#include "platform/clock.h"

#include <QDate>

namespace jubilora {

namespace {
std::optional<DayNumber> fixedToday;
}

DayNumber Clock::Today() {
  if (fixedToday) return *fixedToday;
  const QDate date = QDate::currentDate();
  return DayFromCivil(date.year(), date.month(), date.day());
}

void Clock::FixToday(std::optional<DayNumber> day) { fixedToday = day; }

}  // namespace jubilora
