#include "report/urgency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/calendar.h"
#include "core/naming.h"
#include "core/settings.h"
#include "support/records.h"

namespace jubilora {
namespace {

// Stored colour 0x00BBGGRR and surface colour 0xFFRRGGBB from red, green, blue.
StoredColor Stored(int red, int green, int blue) { return (blue << 16) | (green << 8) | red; }
std::uint32_t Surface(int red, int green, int blue) { return 0xFF000000u | static_cast<std::uint32_t>(Stored(blue, green, red)); }

const DayNumber Today = DayFromCivil(2025, 1, 28);

// Past days, today and days past the period have their own colours; between, the colour
// blends from most to semi urgent over the first half of the period and from semi to least
// urgent over the second: base + Trunc(steps * ((toward - base) / P * 2)), the quotient first.
TEST(UrgencyColour, BlendsAcrossThePeriodDroppingFractionsTowardsZero) {
  struct Case {
    int period;
    StoredColor most, semi, least;
    int offset;
    std::uint32_t expected;
  };
  const StoredColor black = Stored(0, 0, 0);
  const StoredColor orange = Stored(255, 150, 75);
  const std::vector<Case> cases = {
      {30, orange, black, Stored(10, 20, 30), -200, Surface(1, 2, 3)},  // past
      {30, orange, black, Stored(10, 20, 30), 0, Surface(255, 150, 75)},
      {30, orange, black, Stored(10, 20, 30), 45, Surface(10, 20, 30)},
      {0, orange, black, Stored(10, 20, 30), 1, Surface(10, 20, 30)},
      {2, orange, black, Stored(10, 20, 30), 1, Surface(0, 0, 0)},
      // An odd period halves downward: n = 6 is 0.2 of the way from semi to most.
      {15, black, orange, black, 6, Surface(204, 120, 60)},
      {15, black, orange, black, 8, Surface(238, 140, 70)},
      // n = 1: 255 + Trunc(14 * (-255 / 15)) = 17 on the red channel; channels stay apart.
      {30, Stored(0, 255, 150), Stored(255, 0, 0), Stored(0, 0, 255), 1, Surface(17, 238, 140)},
      {30, Stored(0, 255, 150), Stored(255, 0, 0), Stored(0, 0, 255), 29, Surface(17, 0, 238)},
      // 14 * (-100 / 30 * 2) = -93.33 -> -93, so 7 (rounding down would give 6);
      // 13 * (100 / 30 * 2) = 86.67 -> 86 (rounding would give 87).
      {30, Stored(0, 100, 0), Stored(100, 0, 0), black, 1, Surface(7, 93, 0)},
      {30, Stored(0, 100, 0), Stored(100, 0, 0), black, 17, Surface(86, 0, 0)},
      // 183 / 21 formed first lands the product just below 61 and 122.
      {21, Stored(183, 0, 0), black, black, 7, Surface(60, 0, 0)},
      {21, Stored(183, 0, 0), Stored(183, 0, 0), black, 14, Surface(121, 0, 0)},
  };
  const test::FixedSystemColors system;
  for (const Case& c : cases) {
    TCfg cfg;
    cfg.DaysBefore = static_cast<std::uint8_t>(c.period);
    cfg.Passed = Stored(1, 2, 3);
    cfg.MostUrgent = c.most;
    cfg.SemiUrgent = c.semi;
    cfg.LeastUrgent = c.least;
    EXPECT_EQ(GetTextColor(Today + c.offset, Today, cfg, system), c.expected)
        << "P " << c.period << " n " << c.offset << " got " << std::hex << GetTextColor(Today + c.offset, Today, cfg, system);
  }
}

// A system colour table the test can change, as when the user switches colour schemes.
class ChangingSystemColors : public SystemColors {
 public:
  std::uint32_t value = 0x000000FF;
  std::uint32_t ColorOf(int) const override { return value; }
};

TEST(UrgencyColour, SystemColoursAreResolvedAtEachCall) {
  ChangingSystemColors system;
  TCfg cfg;
  cfg.MostUrgent = static_cast<StoredColor>(0x80000005u);
  cfg.SemiUrgent = static_cast<StoredColor>(0x8000000Du);
  cfg.LeastUrgent = Stored(10, 20, 30);
  EXPECT_EQ(GetTextColor(Today, Today, cfg, system), Surface(255, 0, 0));
  system.value = 0x00FF0000;
  EXPECT_EQ(GetTextColor(Today, Today, cfg, system), Surface(0, 0, 255));
  // In a blend too: n = 29 is one step from least towards semi (blue 255).
  EXPECT_EQ(GetTextColor(Today + 29, Today, cfg, system), Surface(10, 19, 45));
}

TEST(IconOpacity, FadesFromOpaqueTodayToHalfAndIsHalfOutsideThePeriod) {
  const struct {
    int offset, period, opacity;
  } cases[] = {
      {-1, 30, 128}, {31, 30, 128}, {0, 30, 255}, {30, 30, 128},
      {10, 30, 212},  // 20/30 * 127 = 84.67
      {1, 1, 128},    {0, 0, 255}, {1, 0, 128},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IconOpacity(Today + c.offset, Today, c.period), c.opacity) << c.offset << " of " << c.period;
  }
}

}  // namespace
}  // namespace jubilora
