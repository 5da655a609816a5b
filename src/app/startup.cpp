#include "app/startup.h"

namespace jubilora {

bool OnceADayGateEnds(bool autorun, DayNumber today, DayNumber lastRun, bool onceADay) {
  return autorun && onceADay && today == lastRun;
}

}  // namespace jubilora
