#include "report/urgency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "core/calendar.h"
#include "core/naming.h"
#include "core/settings.h"
#include "support/records.h"

namespace jubilora {
namespace {

// Stored colour 0x00BBGGRR from red, green, blue.
StoredColor Stored(int red, int green, int blue) { return (blue << 16) | (green << 8) | red; }
// Surface colour 0xFFRRGGBB.
std::uint32_t Surface(int red, int green, int blue) {
  return 0xFF000000u | (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) |
         static_cast<std::uint32_t>(blue);
}

const DayNumber Today = DayFromCivil(2025, 1, 28);

TCfg Colours(std::uint8_t period, StoredColor most, StoredColor semi, StoredColor least) {
  TCfg cfg;
  cfg.DaysBefore = period;
  cfg.Passed = Stored(1, 2, 3);
  cfg.MostUrgent = most;
  cfg.SemiUrgent = semi;
  cfg.LeastUrgent = least;
  return cfg;
}

class UrgencyColour : public ::testing::Test {
 protected:
  test::FixedSystemColors system;
  std::uint32_t At(int offset, const TCfg& cfg) const { return GetTextColor(Today + offset, Today, cfg, system); }
  // Each case: days from today and the colour expected there.
  void Expect(const TCfg& cfg, std::initializer_list<std::pair<int, std::uint32_t>> cases) const {
    for (const auto& [offset, colour] : cases) {
      EXPECT_EQ(At(offset, cfg), colour) << "P " << +cfg.DaysBefore << " n " << offset;
    }
  }
};

TEST_F(UrgencyColour, PastTodayFarAndShortPeriodsUseTheirOwnColour) {
  const StoredColor most = Stored(255, 150, 75), semi = Stored(0, 0, 0), least = Stored(10, 20, 30);
  const std::uint32_t past = Surface(1, 2, 3), today = Surface(255, 150, 75), far = Surface(10, 20, 30);
  // A record with a longer own period listed 45 days ahead: its period plays no part.
  Expect(Colours(30, most, semi, least), {{-1, past}, {-200, past}, {0, today}, {30, far}, {45, far}});
  Expect(Colours(0, most, semi, least), {{-1, past}, {0, today}, {1, far}, {90, far}});
  Expect(Colours(1, most, semi, least), {{0, today}, {1, far}});
  Expect(Colours(2, most, semi, least), {{1, Surface(0, 0, 0)}, {2, far}});
}

TEST_F(UrgencyColour, OddPeriodHalvesDownward) {
  // n = 6: (7.5 - 6) / 7.5 = 0.2 of the way from semi to most; n = 8: 14 fifteenths from least to semi.
  Expect(Colours(15, Stored(0, 0, 0), Stored(255, 150, 75), Stored(0, 0, 0)),
         {{6, Surface(204, 120, 60)}, {7, Surface(255, 150, 75)}, {8, Surface(238, 140, 70)},
          {14, Surface(34, 20, 10)}, {15, Surface(0, 0, 0)}});
}

TEST_F(UrgencyColour, MonthLongPeriodRunsThroughBothBlends) {
  // n = 1: 255 + Trunc(14 * (-255 / 15)) = 17 on the red channel.
  Expect(Colours(30, Stored(0, 255, 150), Stored(255, 0, 0), Stored(0, 0, 255)),
         {{1, Surface(17, 238, 140)}, {15, Surface(255, 0, 0)}, {16, Surface(238, 0, 17)},
          {29, Surface(17, 0, 238)}, {30, Surface(0, 0, 255)}});
}

TEST_F(UrgencyColour, FractionsAreDroppedTowardsZeroAfterTheQuotient) {
  // 14 * (-100 / 30 * 2) = -93.33 -> -93, so 7 (rounding down would give 6);
  // 13 * (100 / 30 * 2) = 86.67 -> 86 (rounding would give 87).
  Expect(Colours(30, Stored(0, 100, 0), Stored(100, 0, 0), Stored(0, 0, 0)),
         {{1, Surface(7, 93, 0)}, {17, Surface(86, 0, 0)}});
  // With P = 21 the quotient 183 / 21 is formed first in doubles: the product lands just
  // below 61 and 122, which the exact fraction would reach.
  Expect(Colours(21, Stored(183, 0, 0), Stored(0, 0, 0), Stored(0, 0, 0)), {{7, Surface(60, 0, 0)}});
  Expect(Colours(21, Stored(183, 0, 0), Stored(183, 0, 0), Stored(0, 0, 0)), {{14, Surface(121, 0, 0)}});
}

TEST_F(UrgencyColour, SystemColoursAreResolvedForBlendsAndPlainColours) {
  const StoredColor windowText = static_cast<StoredColor>(0x80000008u);
  const StoredColor highlight = static_cast<StoredColor>(0x8000000Du);
  TCfg cfg = Colours(30, Stored(0, 0, 0), highlight, Stored(10, 20, 30));
  cfg.Passed = windowText;
  EXPECT_EQ(At(-1, cfg), ToColor32(windowText, system));
  EXPECT_EQ(At(15, cfg), ToColor32(highlight, system));
  // The fixed table gives index 13 as red 141, green 64, blue 13; n = 1 takes 14/15 of
  // each away, dropping the fraction of what is taken: 141 - 131, 64 - 59, 13 - 12.
  EXPECT_EQ(At(1, cfg), Surface(10, 5, 1));
}

// A system colour table the test can change, as when the user switches colour schemes.
class ChangingSystemColors : public SystemColors {
 public:
  std::uint32_t value = 0x000000FF;
  std::uint32_t ColorOf(int) const override { return value; }
};

TEST(UrgencyColourScheme, ChangeShowsAtTheNextCall) {
  ChangingSystemColors system;
  const TCfg cfg = Colours(30, static_cast<StoredColor>(0x80000005u), Stored(0, 0, 0), Stored(0, 0, 0));
  EXPECT_EQ(GetTextColor(Today, Today, cfg, system), Surface(255, 0, 0));
  system.value = 0x00FF0000;
  EXPECT_EQ(GetTextColor(Today, Today, cfg, system), Surface(0, 0, 255));
}

TEST(IconOpacityTest, FadesFromOpaqueTodayToHalfAndIsHalfOutsideThePeriod) {
  const struct {
    int offset, period, opacity;
  } cases[] = {
      {-1, 30, 128}, {-100, 30, 128}, {31, 30, 128}, {0, 30, 255}, {30, 30, 128},
      {10, 30, 212},    // 20/30 * 127 = 84.67
      {29, 30, 132},    // 1/30 * 127 = 4.23
      {1, 7, 236},      // 6/7 * 127 = 108.86
      {1, 1, 128},      {0, 255, 255},
      {100, 255, 205},  // 155/255 * 127 = 77.2
      {0, 0, 255},      {1, 0, 128},   {-1, 0, 128},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IconOpacity(Today + c.offset, Today, c.period), c.opacity) << c.offset << " of " << c.period;
  }
}

}  // namespace
}  // namespace jubilora
