// Days, dates and the names the program gives them.

#include "core/naming.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

double Stored(int year, int month, int day) { return DayFromCivil(year, month, day); }

constexpr DayNumber FirstDay = -693593;  // 0001-01-01
constexpr DayNumber LastDay = 2958465;   // 9999-12-31
constexpr DayNumber MinDay = std::numeric_limits<DayNumber>::min();
using Limits = std::numeric_limits<double>;

// Out-of-range codes name nothing instead of reading past a table. Ordinals follow the last
// two digits, signs and the most negative number too.
TEST(Naming, CodedFieldsOrdinalsAndDateTextsAtTheirEdges) {
  for (int value = 0; value < 256; ++value) {
    const auto coded = static_cast<std::uint8_t>(value);
    EXPECT_EQ(KindName(coded).empty(), value < 1 || value > 7) << value;
    EXPECT_EQ(ImportanceName(coded).empty(), value > 5) << value;
  }
  const double jan31 = Stored(2025, 1, 31);
  const double infinity = std::numeric_limits<double>::infinity();
  const std::string span = std::to_string(std::int64_t{LastDay} - MinDay);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {OrdinalText(3), "3rd"}, {OrdinalText(13), "13th"}, {OrdinalText(111), "111th"}, {OrdinalText(1021), "1021st"},
      {OrdinalText(-11), "-11th"}, {OrdinalText(std::numeric_limits<std::int32_t>::min()), "-2147483648th"},
      {DateText(255, jan31), DateText(0, jan31)},  // unknown formats fall back to format 0
      {DateText(1, jan31 + 0.99), "January 31"},    // the fraction is dropped towards zero
      {DateText(4, -1.5), "29 December"},
      {DateText(2, DayFromCivil(1, 1, 1) - 1), ""},  {DateText(2, std::nan("")), ""}, {DateText(2, infinity), ""},
      {YearText(KindBirthday, Stored(5, 6, 7)), "5"}, {YearText(KindBirthday, -infinity), ""},
      {YearText(KindNameDay, std::nan("")), "----"},
      // Day headings count the distance in 64 bits and name nothing past the calendar.
      {DayHeading(1, DayFromCivil(2025, 3, 12), DayFromCivil(2025, 3, 10)),
       "Wednesday, March 12, 2025 (the day after tomorrow)"},
      {DayHeading(1, LastDay, MinDay), "Friday, December 31, 9999 (in " + span + " days)"},
      {DayHeading(1, LastDay + 1, 0), ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
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

// Anchors at both ends and in 1900 (no leap year), and every day from the first to the last
// the day after its predecessor: together they pin the whole calendar.
TEST(Calendar, EveryDayFollowsItsPredecessorAndRoundTrips) {
  for (const auto& [day, date] : std::vector<std::pair<DayNumber, CivilDate>>{
           {0, {1899, 12, 30}}, {60, {1900, 2, 28}}, {61, {1900, 3, 1}}, {FirstDay, {1, 1, 1}}, {LastDay, {9999, 12, 31}}}) {
    EXPECT_EQ(CivilFromDay(day), date) << day;
  }
  EXPECT_EQ(IsoWeekday(0), 6);  // a Saturday
  CivilDate previous = CivilFromDay(FirstDay);
  for (DayNumber day = FirstDay + 1; day <= LastDay; ++day) {
    const CivilDate date = CivilFromDay(day);
    CivilDate expected = previous;
    if (++expected.day > DaysInMonth(expected.year, expected.month)) {
      if (expected.month == 2) {
        ASSERT_EQ(IsLeapYear(expected.year), previous.day == 29) << previous.year;
      }
      expected.day = 1;
      if (++expected.month > 12) expected = {expected.year + 1, 1, 1};
    }
    ASSERT_EQ(date, expected) << day;
    ASSERT_EQ(DayFromCivil(date), day);
    ASSERT_EQ(IsoWeekday(day), IsoWeekday(day - 1) % 7 + 1) << day;
    previous = date;
  }
  // The extreme counts must not overflow on the way to the weekday.
  EXPECT_EQ(IsoWeekday(MinDay), 4);
  EXPECT_EQ(IsoWeekday(std::numeric_limits<DayNumber>::max()), 7);
}

// A fraction is dropped towards zero; what has no day in years 1..9999 gives nothing.
TEST(Calendar, StoredDatesOfAnyDouble) {
  const std::vector<std::pair<double, std::optional<DayNumber>>> cases = {
      {-0.0, 0}, {0.75, 0}, {-0.5, 0}, {2.999, 2}, {-1.5, -1}, {LastDay + 0.9, LastDay}, {FirstDay - 0.9, FirstDay},
      {Limits::quiet_NaN(), {}}, {-Limits::quiet_NaN(), {}}, {Limits::infinity(), {}}, {-Limits::infinity(), {}},
      {1e300, {}}, {Limits::max(), {}}, {std::numeric_limits<int>::min() - 1.0, {}}, {FirstDay - 1.0, {}},
      {LastDay + 1.0, {}}};
  for (const auto& [value, day] : cases) {
    EXPECT_EQ(WholeDay(value), day) << value;
    EXPECT_EQ(DecodeDate(value), day ? std::optional(CivilFromDay(*day)) : std::nullopt) << value;
  }
}

}  // namespace
}  // namespace jubilora
