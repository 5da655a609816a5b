#include "core/naming.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

double Stored(int year, int month, int day) { return DayFromCivil(year, month, day); }

// Out-of-range codes name nothing instead of reading past a table; the sample marker is no
// importance. Ordinals follow the last two digits, signs and the most negative number too.
TEST(Naming, CodedFieldsOrdinalsAndDateTextsAtTheirEdges) {
  for (int value = 0; value < 256; ++value) {
    const auto coded = static_cast<std::uint8_t>(value);
    EXPECT_EQ(KindName(coded).empty(), value < 1 || value > 7) << value;
    EXPECT_EQ(ImportanceName(coded).empty(), value > 5) << value;
  }
  EXPECT_EQ(ImportanceStars(SampleImportance), "");
  const double jan31 = Stored(2025, 1, 31);
  const double infinity = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {OrdinalText(3), "3rd"}, {OrdinalText(13), "13th"}, {OrdinalText(111), "111th"}, {OrdinalText(1021), "1021st"},
      {OrdinalText(-11), "-11th"}, {OrdinalText(std::numeric_limits<std::int32_t>::min()), "-2147483648th"},
      {DateText(255, jan31), DateText(0, jan31)},  // unknown formats fall back to format 0
      {DateText(1, jan31 + 0.99), "January 31"},    // the fraction is dropped towards zero
      {DateText(4, -1.5), "29 December"},
      {DateText(2, DayFromCivil(1, 1, 1) - 1), ""},  {DateText(2, std::nan("")), ""}, {DateText(2, infinity), ""},
      {YearText(KindBirthday, Stored(5, 6, 7)), "5"}, {YearText(KindBirthday, -infinity), ""},
      {YearText(KindNameDay, std::nan("")), "----"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

TEST(Naming, DayHeadingsSayTheDistanceInWordsAndNeverOverflow) {
  const DayNumber today = DayFromCivil(2025, 3, 10);  // a Monday
  const DayNumber first = DayFromCivil(1, 1, 1);
  const DayNumber last = DayFromCivil(9999, 12, 31);
  const std::string span = std::to_string(std::int64_t{last} - first);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {DayHeading(1, today - 2, today), "Saturday, March 8, 2025 (2 days ago)"},
      {DayHeading(1, today + 2, today), "Wednesday, March 12, 2025 (the day after tomorrow)"},
      {DayHeading(5, today + 300, today), "Sunday, 4th January, 2026 (in 300 days)"},  // the day's year
      {DayHeading(1, last, first), "Friday, December 31, 9999 (in " + span + " days)"},
      {DayHeading(1, last + 1, 0), ""},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
  const DayNumber extreme = std::numeric_limits<DayNumber>::min();
  EXPECT_EQ(DayHeading(1, last, extreme),
            "Friday, December 31, 9999 (in " + std::to_string(std::int64_t{last} - extreme) + " days)");
}

// Through a leap year the sign changes twelve times, into a new sign each time, and days
// that do not exist have none.
TEST(Naming, ZodiacSignsRunThroughTheYearInTurn) {
  std::set<std::string> signs;
  int changes = 0;
  std::string previous = ZodiacSign(12, 31);
  for (DayNumber day = DayFromCivil(2000, 1, 1); day <= DayFromCivil(2000, 12, 31); ++day) {
    const CivilDate date = CivilFromDay(day);
    const std::string sign = ZodiacSign(date.month, date.day);
    ASSERT_FALSE(sign.empty());
    if (sign != previous) {
      ++changes;
      EXPECT_TRUE(signs.insert(sign).second) << sign << " comes back on " << date.month << "-" << date.day;
    }
    previous = sign;
  }
  EXPECT_EQ(changes, 12);
  EXPECT_EQ(ZodiacSign(3, 21), "Aries");
  for (const auto& [month, day] : {std::pair{0, 10}, {13, 10}, {1, 0}, {2, 30}, {4, 31}}) {
    EXPECT_EQ(ZodiacSign(month, day), "") << month << "-" << day;
  }
}

TEST(Naming, StoredColoursBecomeOpaqueSurfaceColours) {
  const test::FixedSystemColors system;  // index i is 0x00 i 40 (80+i)
  const std::vector<std::pair<StoredColor, std::uint32_t>> cases = {
      {0x0000FFFF, 0xFFFFFF00u},                            // yellow: red and blue swap
      {0x02123456, 0xFF563412u},                            // a flag byte on top is no colour
      {static_cast<StoredColor>(0x80000008u), 0xFF884008u},  // system colour 8
      {-1, 0xFF7F40FFu},                                    // the low byte names the system colour
  };
  for (const auto& [stored, argb] : cases) EXPECT_EQ(ToColor32(stored, system), argb) << std::hex << stored;
  for (const StoredColor stored : {0x000000, 0x123456, 0xFFFFFF}) EXPECT_EQ(FromColor32(ToColor32(stored, system)), stored);
}

}  // namespace
}  // namespace jubilora
