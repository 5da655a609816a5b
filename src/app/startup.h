#pragma once
// Decisions of the start-up that do not need a window.

#include "core/calendar.h"

namespace jubilora {

// An automatic start ends silently when the program already ran today and the user asked
// for reminders only once a day.
bool OnceADayGateEnds(bool autorun, DayNumber today, DayNumber lastRun, bool onceADay);

}  // namespace jubilora
