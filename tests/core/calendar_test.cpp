#include "core/calendar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace jubilora {
namespace {

constexpr DayNumber FirstDay = -693593;  // 0001-01-01
constexpr DayNumber LastDay = 2958465;   // 9999-12-31

// Monday = 1 from a plain modulus: day 2 (1900-01-01) was a Monday.
int ReferenceWeekday(std::int64_t day) {
  const std::int64_t shifted = (day + 5) % 7;
  return static_cast<int>(shifted < 0 ? shifted + 7 : shifted) + 1;
}

TEST(CalendarDayCounts, KnownDaysAndTheirCounts) {
  EXPECT_EQ(CivilFromDay(0), (CivilDate{1899, 12, 30}));
  EXPECT_EQ(CivilFromDay(1), (CivilDate{1899, 12, 31}));
  EXPECT_EQ(CivilFromDay(2), (CivilDate{1900, 1, 1}));
  // 1900 is no leap year: 28 February is day 60 and 1 March day 61.
  EXPECT_EQ(CivilFromDay(60), (CivilDate{1900, 2, 28}));
  EXPECT_EQ(CivilFromDay(61), (CivilDate{1900, 3, 1}));
  EXPECT_EQ(CivilFromDay(45688), (CivilDate{2025, 1, 31}));
  EXPECT_EQ(CivilFromDay(-1), (CivilDate{1899, 12, 29}));
  EXPECT_EQ(CivilFromDay(-365), (CivilDate{1898, 12, 30}));
  EXPECT_EQ(CivilFromDay(FirstDay), (CivilDate{1, 1, 1}));
  EXPECT_EQ(CivilFromDay(LastDay), (CivilDate{9999, 12, 31}));

  EXPECT_EQ(DayFromCivil(1899, 12, 30), 0);
  EXPECT_EQ(DayFromCivil(1900, 3, 1), 61);
  EXPECT_EQ(DayFromCivil(2025, 1, 31), 45688);
  EXPECT_EQ(DayFromCivil(CivilDate{1899, 12, 29}), -1);
  EXPECT_EQ(DayFromCivil(1, 1, 1), FirstDay);
  EXPECT_EQ(DayFromCivil(9999, 12, 31), LastDay);
}

TEST(CalendarDayCounts, EveryValidDayRoundTripsAndFollowsItsPredecessor) {
  CivilDate previous = CivilFromDay(FirstDay);
  ASSERT_EQ(DayFromCivil(previous), FirstDay);
  for (DayNumber day = FirstDay + 1; day <= LastDay; ++day) {
    const CivilDate date = CivilFromDay(day);
    CivilDate expected = previous;
    if (++expected.day > DaysInMonth(expected.year, expected.month)) {
      expected.day = 1;
      if (++expected.month > 12) {
        expected.month = 1;
        ++expected.year;
      }
    }
    ASSERT_EQ(date, expected) << day;
    ASSERT_EQ(DayFromCivil(date), day);
    previous = date;
  }
}

TEST(CalendarStoredDates, FractionIsDroppedTowardsZero) {
  EXPECT_EQ(WholeDay(0.0), 0);
  EXPECT_EQ(WholeDay(-0.0), 0);
  EXPECT_EQ(WholeDay(0.75), 0);
  EXPECT_EQ(WholeDay(-0.5), 0);
  EXPECT_EQ(WholeDay(2.999), 2);
  EXPECT_EQ(WholeDay(-1.5), -1);
  EXPECT_EQ(WholeDay(-1.0), -1);
  EXPECT_EQ(DecodeDate(45688.9), (CivilDate{2025, 1, 31}));
  EXPECT_EQ(DecodeDate(-1.5), (CivilDate{1899, 12, 29}));
  // A fraction at the ends of the range does not push the day out of it.
  EXPECT_EQ(DecodeDate(LastDay + 0.9), (CivilDate{9999, 12, 31}));
  EXPECT_EQ(DecodeDate(FirstDay - 0.9), (CivilDate{1, 1, 1}));
}

TEST(CalendarStoredDates, ValuesWithoutACalendarDayGiveNothing) {
  const std::vector<double> invalid = {
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::signaling_NaN(),
      -std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      1e300,
      -1e300,
      std::numeric_limits<double>::max(),
      static_cast<double>(std::numeric_limits<int>::max()) + 1.0,
      static_cast<double>(std::numeric_limits<int>::min()) - 1.0,
      FirstDay - 1.0,  // 0000-12-31, year 0
      FirstDay - 1.5,
      LastDay + 1.0,   // 10000-01-01
  };
  for (double date : invalid) {
    EXPECT_FALSE(WholeDay(date).has_value()) << date;
    EXPECT_FALSE(DecodeDate(date).has_value()) << date;
  }
  EXPECT_TRUE(DecodeDate(FirstDay).has_value());
  EXPECT_TRUE(DecodeDate(LastDay).has_value());
}

TEST(CalendarLeapYears, CenturiesAreLeapOnlyEveryFourHundredYears) {
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(1600));
  EXPECT_TRUE(IsLeapYear(4));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_FALSE(IsLeapYear(1));

  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(DaysInMonth(2025, m), lengths[m - 1]) << m;
}

TEST(CalendarLeapYears, ValidCivilDaysStayInsideYearsOneTo9999) {
  EXPECT_TRUE(IsValidCivil(2024, 2, 29));
  EXPECT_FALSE(IsValidCivil(2023, 2, 29));
  EXPECT_FALSE(IsValidCivil(1900, 2, 29));
  EXPECT_TRUE(IsValidCivil(1, 1, 1));
  EXPECT_TRUE(IsValidCivil(9999, 12, 31));
  EXPECT_FALSE(IsValidCivil(0, 12, 31));
  EXPECT_FALSE(IsValidCivil(10000, 1, 1));
  EXPECT_FALSE(IsValidCivil(2025, 0, 1));
  EXPECT_FALSE(IsValidCivil(2025, 13, 1));
  EXPECT_FALSE(IsValidCivil(2025, 4, 31));
  EXPECT_FALSE(IsValidCivil(2025, 1, 0));
  EXPECT_FALSE(IsValidCivil(2025, 1, -1));
}

TEST(CalendarWeekdays, MondayIsOneAndSundayIsSeven) {
  EXPECT_EQ(IsoWeekday(0), 6);                         // 1899-12-30, a Saturday
  EXPECT_EQ(IsoWeekday(-1), 5);                        // a Friday
  EXPECT_EQ(IsoWeekday(2), 1);                         // 1900-01-01, a Monday
  EXPECT_EQ(IsoWeekday(DayFromCivil(2025, 1, 31)), 5);
  EXPECT_EQ(IsoWeekday(DayFromCivil(2025, 2, 2)), 7);  // a Sunday
  EXPECT_EQ(IsoWeekday(FirstDay), 1);
  EXPECT_EQ(IsoWeekday(LastDay), 5);
  for (DayNumber day = -20; day <= 20; ++day) EXPECT_EQ(IsoWeekday(day), ReferenceWeekday(day)) << day;
}

TEST(CalendarWeekdays, ExtremeDayCountsDoNotOverflow) {
  for (const DayNumber day : {std::numeric_limits<DayNumber>::min(), std::numeric_limits<DayNumber>::min() + 1,
                              std::numeric_limits<DayNumber>::max(), std::numeric_limits<DayNumber>::max() - 1}) {
    EXPECT_EQ(IsoWeekday(day), ReferenceWeekday(day)) << day;
  }
}

}  // namespace
}  // namespace jubilora
