#include "core/calendar.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace jubilora {
namespace {

constexpr DayNumber FirstDay = -693593;  // 0001-01-01
constexpr DayNumber LastDay = 2958465;   // 9999-12-31
using Limits = std::numeric_limits<double>;

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
  EXPECT_EQ(IsoWeekday(std::numeric_limits<DayNumber>::min()), 4);
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

TEST(Calendar, ValidDaysAndIsoTexts) {
  for (const CivilDate& bad : std::vector<CivilDate>{
           {1900, 2, 29}, {0, 12, 31}, {10000, 1, 1}, {2025, 0, 1}, {2025, 13, 1}, {2025, 4, 31}, {2025, 1, 0}}) {
    EXPECT_FALSE(IsValidCivil(bad.year, bad.month, bad.day)) << bad.year << "-" << bad.month << "-" << bad.day;
  }
  EXPECT_TRUE(IsValidCivil(2024, 2, 29));
  EXPECT_EQ(ParseIsoDay("2024-02-29"), DayFromCivil(2024, 2, 29));
  for (const char* bad : {"2023-02-29", "0000-01-01", "1952-1-27", "1952-01-2x", "+952-01-27", "1952/01/27"}) {
    EXPECT_EQ(ParseIsoDay(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace jubilora
