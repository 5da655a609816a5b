#include "report/urgency.h"

#include <gtest/gtest.h>

#include <cstdint>

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

// Distinct plain colours, so that every rule's colour shows.
TCfg Colours(std::uint8_t period) {
  TCfg cfg;
  cfg.DaysBefore = period;
  cfg.Passed = Stored(1, 2, 3);
  cfg.MostUrgent = Stored(255, 150, 75);
  cfg.SemiUrgent = Stored(0, 0, 0);
  cfg.LeastUrgent = Stored(10, 20, 30);
  return cfg;
}

class UrgencyColour : public ::testing::Test {
 protected:
  test::FixedSystemColors system;
  std::uint32_t At(int offset, const TCfg& cfg) const { return GetTextColor(Today + offset, Today, cfg, system); }
};

TEST_F(UrgencyColour, PastTodayAndFarDaysUseTheirOwnColour) {
  const TCfg cfg = Colours(30);
  EXPECT_EQ(At(-1, cfg), Surface(1, 2, 3));
  EXPECT_EQ(At(-200, cfg), Surface(1, 2, 3));
  EXPECT_EQ(At(0, cfg), Surface(255, 150, 75));
  EXPECT_EQ(At(30, cfg), Surface(10, 20, 30));
  // A record with a longer own period listed 45 days ahead: its period plays no part.
  EXPECT_EQ(At(45, cfg), Surface(10, 20, 30));
}

TEST_F(UrgencyColour, ShortPeriodsNeedNoBlend) {
  const TCfg zero = Colours(0);
  EXPECT_EQ(At(0, zero), Surface(255, 150, 75));
  EXPECT_EQ(At(1, zero), Surface(10, 20, 30));
  EXPECT_EQ(At(90, zero), Surface(10, 20, 30));
  EXPECT_EQ(At(-1, zero), Surface(1, 2, 3));

  const TCfg one = Colours(1);
  EXPECT_EQ(At(0, one), Surface(255, 150, 75));
  EXPECT_EQ(At(1, one), Surface(10, 20, 30));

  const TCfg two = Colours(2);
  EXPECT_EQ(At(1, two), Surface(0, 0, 0));
  EXPECT_EQ(At(2, two), Surface(10, 20, 30));
  EXPECT_EQ(At(3, two), Surface(10, 20, 30));
}

TEST_F(UrgencyColour, OddPeriodHalvesDownward) {
  TCfg cfg = Colours(15);
  cfg.LeastUrgent = Stored(0, 0, 0);
  cfg.SemiUrgent = Stored(255, 150, 75);
  cfg.MostUrgent = Stored(0, 0, 0);
  // n = 6: (7.5 - 6) / 7.5 = 0.2 of the way from semi to most.
  EXPECT_EQ(At(6, cfg), Surface(255 - 51, 150 - 30, 75 - 15));
  EXPECT_EQ(At(7, cfg), Surface(255, 150, 75));
  // n = 8: 14 fifteenths of the way from least to semi.
  EXPECT_EQ(At(8, cfg), Surface(238, 140, 70));
  EXPECT_EQ(At(14, cfg), Surface(34, 20, 10));
  EXPECT_EQ(At(15, cfg), Surface(0, 0, 0));
}

TEST_F(UrgencyColour, MonthLongPeriodRunsThroughBothBlends) {
  TCfg cfg = Colours(30);
  cfg.MostUrgent = Stored(0, 255, 150);
  cfg.SemiUrgent = Stored(255, 0, 0);
  cfg.LeastUrgent = Stored(0, 0, 255);
  // n = 1: 255 + Trunc(14 * (-255 / 15)) = 17 on the red channel.
  EXPECT_EQ(At(1, cfg), Surface(17, 238, 140));
  EXPECT_EQ(At(14, cfg), Surface(238, 17, 10));
  EXPECT_EQ(At(15, cfg), Surface(255, 0, 0));
  EXPECT_EQ(At(16, cfg), Surface(238, 0, 17));
  // n = 29: 1 fifteenth of the way from least to semi.
  EXPECT_EQ(At(29, cfg), Surface(17, 0, 238));
  EXPECT_EQ(At(30, cfg), Surface(0, 0, 255));
}

TEST_F(UrgencyColour, FractionsAreDroppedTowardsZero) {
  TCfg cfg = Colours(30);
  cfg.SemiUrgent = Stored(100, 0, 0);
  cfg.MostUrgent = Stored(0, 100, 0);
  cfg.LeastUrgent = Stored(0, 0, 0);
  // 14 * (-100 / 30 * 2) = -93.33 -> -93, so 7 (rounding down would give 6); 93.33 -> 93.
  EXPECT_EQ(At(1, cfg), Surface(7, 93, 0));
  // 13 * (100 / 30 * 2) = 86.67 -> 86 (rounding would give 87).
  EXPECT_EQ(At(17, cfg), Surface(86, 0, 0));
}

TEST_F(UrgencyColour, QuotientIsFormedFirstInDoubles) {
  // With P = 21 the quotient 183 / 21 is not exact: the product lands just below 61 and
  // 122, which the exact fraction would reach.
  TCfg cfg = Colours(21);
  cfg.SemiUrgent = Stored(0, 0, 0);
  cfg.MostUrgent = Stored(183, 0, 0);
  cfg.LeastUrgent = Stored(0, 0, 0);
  EXPECT_EQ(At(7, cfg), Surface(60, 0, 0));
  cfg.SemiUrgent = Stored(183, 0, 0);
  EXPECT_EQ(At(14, cfg), Surface(121, 0, 0));
}

TEST_F(UrgencyColour, SystemColoursAreResolvedForBlendsAndPlainColours) {
  TCfg cfg = Colours(30);
  const StoredColor windowText = static_cast<StoredColor>(0x80000008u);
  const StoredColor highlight = static_cast<StoredColor>(0x8000000Du);
  cfg.Passed = windowText;
  cfg.SemiUrgent = highlight;
  cfg.MostUrgent = Stored(0, 0, 0);
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
  TCfg cfg = Colours(30);
  cfg.MostUrgent = static_cast<StoredColor>(0x80000005u);
  EXPECT_EQ(GetTextColor(Today, Today, cfg, system), Surface(255, 0, 0));
  system.value = 0x00FF0000;
  EXPECT_EQ(GetTextColor(Today, Today, cfg, system), Surface(0, 0, 255));
}

TEST(IconOpacityTest, HalfTransparentOutsideTheDefaultPeriod) {
  EXPECT_EQ(IconOpacity(Today - 1, Today, 30), 128);
  EXPECT_EQ(IconOpacity(Today - 100, Today, 30), 128);
  EXPECT_EQ(IconOpacity(Today + 31, Today, 30), 128);
  EXPECT_EQ(IconOpacity(Today + 60, Today, 30), 128);
}

TEST(IconOpacityTest, FadesFromOpaqueTodayToHalfAtTheEndOfThePeriod) {
  EXPECT_EQ(IconOpacity(Today, Today, 30), 255);
  EXPECT_EQ(IconOpacity(Today + 30, Today, 30), 128);
  EXPECT_EQ(IconOpacity(Today + 10, Today, 30), 212);   // 20/30 * 127 = 84.67
  EXPECT_EQ(IconOpacity(Today + 29, Today, 30), 132);   // 1/30 * 127 = 4.23
  EXPECT_EQ(IconOpacity(Today + 1, Today, 7), 236);     // 6/7 * 127 = 108.86
  EXPECT_EQ(IconOpacity(Today + 1, Today, 1), 128);
  EXPECT_EQ(IconOpacity(Today, Today, 255), 255);
  EXPECT_EQ(IconOpacity(Today + 100, Today, 255), 205);  // 155/255 * 127 = 77.2
}

TEST(IconOpacityTest, ZeroPeriodIsOpaqueOnlyToday) {
  EXPECT_EQ(IconOpacity(Today, Today, 0), 255);
  EXPECT_EQ(IconOpacity(Today + 1, Today, 0), 128);
  EXPECT_EQ(IconOpacity(Today - 1, Today, 0), 128);
}

}  // namespace
}  // namespace jubilora
