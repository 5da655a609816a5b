#include "app/startup.h"

#include <gtest/gtest.h>

namespace jubilora {
namespace {

TEST(OnceADayGate, EndsOnlyAnAutomaticStartOnTheDayOfTheLastRunWithTheOptionOn) {
  const DayNumber today = DayFromCivil(2026, 12, 6);
  struct Case {
    bool autorun;
    DayNumber lastRun;
    bool onceADay;
    bool ends;
  };
  for (const Case& c : {
           Case{true, today, true, true},
           Case{true, today - 1, true, false},   // last ran yesterday (also the default)
           Case{true, today + 1, true, false},   // clock set back: not the same day
           Case{true, today, false, false},      // option off
           Case{false, today, true, false},      // started by hand
       }) {
    EXPECT_EQ(OnceADayGateEnds(c.autorun, today, c.lastRun, c.onceADay), c.ends)
        << c.autorun << ' ' << (c.lastRun - today) << ' ' << c.onceADay;
  }
}

}  // namespace
}  // namespace jubilora
