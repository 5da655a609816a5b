#pragma once
// Today and now, replaceable in tests and by --today; and the one conversion between the
// program's day counts and Qt's dates.

#include <optional>

#include "core/calendar.h"

class QDate;

namespace jubilora {

class Clock {
 public:
  // The local calendar date, or the fixed day when one is set.
  static DayNumber Today();
  static void FixToday(std::optional<DayNumber> day);
};

QDate ToQDate(DayNumber day);
DayNumber FromQDate(const QDate& date);

}  // namespace jubilora
