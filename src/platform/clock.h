#pragma once
// Today and now, replaceable in tests and by --today.

#include <optional>

#include "core/calendar.h"

namespace jubilora {

class Clock {
 public:
  // The local calendar date, or the fixed day when one is set.
  static DayNumber Today();
  static void FixToday(std::optional<DayNumber> day);
};

}  // namespace jubilora
