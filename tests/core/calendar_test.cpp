#include "core/calendar.h"

#include <gtest/gtest.h>

#include <utility>
#include <limits>
#include <vector>

namespace jubilora {
namespace {

constexpr DayNumber FirstDay = -693593;  // 0001-01-01
constexpr DayNumber LastDay = 2958465;   // 9999-12-31

TEST(CalendarDayCounts, KnownDaysAndTheirCounts) {
  const struct {
    DayNumber day;
    CivilDate date;
  } cases[] = {
      {0, {1899, 12, 30}},  {2, {1900, 1, 1}},        {60, {1900, 2, 28}},  // 1900 is no leap year
      {61, {1900, 3, 1}},   {45688, {2025, 1, 31}},   {-1, {1899, 12, 29}},
      {-365, {1898, 12, 30}}, {FirstDay, {1, 1, 1}}, {LastDay, {9999, 12, 31}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CivilFromDay(c.day), c.date) << c.day;
    EXPECT_EQ(DayFromCivil(c.date), c.day) << c.day;
  }
  EXPECT_EQ(DayFromCivil(2025, 1, 31), 45688);
}

TEST(CalendarDayCounts, EveryValidDayRoundTripsAndFollowsItsPredecessor) {
  CivilDate previous = CivilFromDay(FirstDay);
  for (DayNumber day = FirstDay + 1; day <= LastDay; ++day) {
    const CivilDate date = CivilFromDay(day);
    CivilDate expected = previous;
    if (++expected.day > DaysInMonth(expected.year, expected.month)) {
      expected.day = 1;
      if (++expected.month > 12) expected = {expected.year + 1, 1, 1};
    }
    ASSERT_EQ(date, expected) << day;
    ASSERT_EQ(DayFromCivil(date), day);
    previous = date;
  }
}

TEST(CalendarStoredDates, FractionIsDroppedTowardsZeroAndStaysInRange) {
  for (const auto& [value, day] : std::vector<std::pair<double, DayNumber>>{
           {-0.0, 0}, {0.75, 0}, {-0.5, 0}, {2.999, 2}, {-1.5, -1}, {-1.0, -1}}) {
    EXPECT_EQ(WholeDay(value), day) << value;
  }
  EXPECT_EQ(DecodeDate(-1.5), (CivilDate{1899, 12, 29}));
  // A fraction at the ends of the range does not push the day out of it.
  EXPECT_EQ(DecodeDate(LastDay + 0.9), (CivilDate{9999, 12, 31}));
  EXPECT_EQ(DecodeDate(FirstDay - 0.9), (CivilDate{1, 1, 1}));
}

TEST(CalendarStoredDates, ValuesWithoutACalendarDayGiveNothing) {
  using Limits = std::numeric_limits<double>;
  const std::vector<double> invalid = {
      Limits::quiet_NaN(), -Limits::quiet_NaN(), Limits::infinity(), -Limits::infinity(), 1e300, Limits::max(),
      static_cast<double>(std::numeric_limits<int>::min()) - 1.0,
      FirstDay - 1.0,  // 0000-12-31, year 0
      LastDay + 1.0,   // 10000-01-01
  };
  for (double date : invalid) {
    EXPECT_FALSE(WholeDay(date).has_value()) << date;
    EXPECT_FALSE(DecodeDate(date).has_value()) << date;
  }
}

TEST(CalendarLeapYears, CenturiesAreLeapOnlyEveryFourHundredYears) {
  for (int year : {2024, 2000, 1600, 4}) EXPECT_EQ(DaysInMonth(year, 2), 29) << year;
  for (int year : {2023, 1900, 2100, 1}) EXPECT_EQ(DaysInMonth(year, 2), 28) << year;
  const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(DaysInMonth(2025, m), lengths[m - 1]) << m;
}

TEST(CalendarLeapYears, ValidCivilDaysStayInsideYearsOneTo9999) {
  EXPECT_TRUE(IsValidCivil(2024, 2, 29));
  EXPECT_TRUE(IsValidCivil(1, 1, 1));
  EXPECT_TRUE(IsValidCivil(9999, 12, 31));
  for (const CivilDate& bad : std::vector<CivilDate>{
           {1900, 2, 29}, {0, 12, 31}, {10000, 1, 1}, {2025, 0, 1}, {2025, 13, 1}, {2025, 4, 31}, {2025, 1, 0}}) {
    EXPECT_FALSE(IsValidCivil(bad.year, bad.month, bad.day)) << bad.year << "-" << bad.month << "-" << bad.day;
  }
}

TEST(CalendarWeekdays, MondayIsOneAndSundayIsSevenEvenAtExtremeCounts) {
  EXPECT_EQ(IsoWeekday(0), 6);   // 1899-12-30, a Saturday
  EXPECT_EQ(IsoWeekday(-1), 5);  // negative days wrap to the right weekday
  EXPECT_EQ(IsoWeekday(-6), 7);
  EXPECT_EQ(IsoWeekday(2), 1);   // 1900-01-01, a Monday
  EXPECT_EQ(IsoWeekday(DayFromCivil(2025, 2, 2)), 7);
  EXPECT_EQ(IsoWeekday(FirstDay), 1);
  EXPECT_EQ(IsoWeekday(LastDay), 5);
  // The extreme counts must not overflow on the way to the weekday.
  EXPECT_EQ(IsoWeekday(std::numeric_limits<DayNumber>::min()), 4);
  EXPECT_EQ(IsoWeekday(std::numeric_limits<DayNumber>::max()), 7);
}

}  // namespace
}  // namespace jubilora
