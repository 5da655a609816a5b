#include "core/naming.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

double Stored(int year, int month, int day) { return DayFromCivil(year, month, day); }

TEST(NamingCodedFields, KindNamesKeepTheirSpellingAndShareOtherAnniversaries) {
  EXPECT_EQ(KindName(1), "Birthday");
  EXPECT_EQ(KindName(2), "Name Day");
  EXPECT_EQ(KindName(3), "Wedding Aniversary");
  EXPECT_EQ(KindName(4), "Death Aniversary");
  EXPECT_EQ(KindName(5), "Holiday");
  EXPECT_EQ(KindName(6), "Other Aniversaries");
  EXPECT_EQ(KindName(7), KindName(6));
  EXPECT_EQ(KindName(0), "");
  EXPECT_EQ(KindName(8), "");
  EXPECT_EQ(KindName(255), "");
}

TEST(NamingCodedFields, ImportanceNamesAndTheSampleMarker) {
  const std::vector<std::string> names = {"Irrelevant",      "Quite Irrelevant", "Not important",
                                          "Quite important", "Very important",   "Extremely important"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(ImportanceName(static_cast<std::uint8_t>(i)), names[i]) << i;
  }
  EXPECT_EQ(ImportanceName(6), "");
  EXPECT_EQ(ImportanceName(SampleImportance), "");
}

TEST(NamingCodedFields, StarsAndBulletsCountTheImportance) {
  EXPECT_EQ(ImportanceStars(0), "");
  EXPECT_EQ(ImportanceStars(3), "***");
  EXPECT_EQ(ImportanceStars(5), "*****");
  EXPECT_EQ(ImportanceStars(SampleImportance), "");

  EXPECT_EQ(ImportanceBullets(0), "");
  EXPECT_EQ(ImportanceBullets(2), "\x95\x95");
  EXPECT_EQ(ImportanceBullets(5), std::string(5, '\x95'));
  EXPECT_EQ(ImportanceBullets(SampleImportance), "Sample");
}

TEST(NamingCodedFields, PeriodNamesUseWordsForDefaultZeroAndOne) {
  EXPECT_EQ(PeriodName(DefaultReminder), "Default");
  EXPECT_EQ(PeriodName(0), "This day only");
  EXPECT_EQ(PeriodName(1), "1 day ahead");
  EXPECT_EQ(PeriodName(2), "2 days ahead");
  EXPECT_EQ(PeriodName(30), "30 days ahead");
  EXPECT_EQ(PeriodName(254), "254 days ahead");
}

TEST(NamingOrdinals, SuffixFollowsTheLastTwoCharacters) {
  const std::vector<std::pair<std::int32_t, std::string>> cases = {
      {0, "0th"},       {1, "1st"},       {2, "2nd"},       {3, "3rd"},       {4, "4th"},
      {10, "10th"},     {11, "11th"},     {12, "12th"},     {13, "13th"},     {14, "14th"},
      {21, "21st"},     {22, "22nd"},     {23, "23rd"},     {31, "31st"},     {101, "101st"},
      {102, "102nd"},   {103, "103rd"},   {111, "111th"},   {112, "112th"},   {113, "113th"},
      {1011, "1011th"}, {1021, "1021st"}, {-1, "-1st"},     {-2, "-2nd"},     {-3, "-3rd"},
      {-11, "-11th"},   {-12, "-12th"},   {-21, "-21st"},
  };
  for (const auto& [n, text] : cases) EXPECT_EQ(OrdinalText(n), text) << n;
}

TEST(NamingOrdinals, ExtremesOfTheRange) {
  EXPECT_EQ(OrdinalText(std::numeric_limits<std::int32_t>::max()), "2147483647th");
  EXPECT_EQ(OrdinalText(std::numeric_limits<std::int32_t>::min()), "-2147483648th");
}

TEST(NamingCalendarWords, MonthNamesLongAndShort) {
  const std::vector<std::string> longNames = {"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
  const std::vector<std::string> shortNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                               "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(MonthName(m, true), longNames[static_cast<std::size_t>(m - 1)]);
    EXPECT_EQ(MonthName(m, false), shortNames[static_cast<std::size_t>(m - 1)]);
  }
  EXPECT_EQ(MonthName(0, true), "");
  EXPECT_EQ(MonthName(13, false), "");
}

TEST(NamingCalendarWords, WeekdaysStartOnMonday) {
  // 2025-01-27 was a Monday.
  const DayNumber monday = DayFromCivil(2025, 1, 27);
  const std::vector<std::string> names = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                          "Friday", "Saturday", "Sunday"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(WeekdayName(monday + i), names[static_cast<std::size_t>(i)]);
  EXPECT_EQ(WeekdayName(0), "Saturday");   // 1899-12-30
  EXPECT_EQ(WeekdayName(-1), "Friday");    // 1899-12-29
}

TEST(NamingDateText, EveryFormatFor31January) {
  const double date = Stored(2025, 1, 31);
  EXPECT_EQ(DateText(0, date), "JAN-31");
  EXPECT_EQ(DateText(1, date), "January 31");
  EXPECT_EQ(DateText(2, date), "January 31st");
  EXPECT_EQ(DateText(3, date), "31-JAN");
  EXPECT_EQ(DateText(4, date), "31 January");
  EXPECT_EQ(DateText(5, date), "31st January");
  EXPECT_EQ(DateText(6, date), "31 of January");
  EXPECT_EQ(DateText(7, date), "31st of January");
}

TEST(NamingDateText, UnknownFormatsFallBackToFormatZero) {
  const double date = Stored(2025, 1, 31);
  for (int format : {8, 9, 100, 255}) {
    EXPECT_EQ(DateText(static_cast<std::uint8_t>(format), date), "JAN-31") << format;
  }
}

TEST(NamingDateText, SingleDigitDaysHaveNoLeadingZeroAndOrdinalsFollowTheDay) {
  const double date = Stored(1990, 5, 2);
  EXPECT_EQ(DateText(0, date), "MAY-2");
  EXPECT_EQ(DateText(3, date), "2-MAY");
  EXPECT_EQ(DateText(2, date), "May 2nd");
  EXPECT_EQ(DateText(7, Stored(1990, 8, 13)), "13th of August");
  EXPECT_EQ(DateText(5, Stored(1990, 12, 23)), "23rd December");
}

TEST(NamingDateText, DayNumberOverloadMatchesTheStoredDate) {
  const DayNumber day = DayFromCivil(2024, 2, 29);
  for (int format = 0; format <= 8; ++format) {
    const auto f = static_cast<std::uint8_t>(format);
    EXPECT_EQ(DateText(f, day), DateText(f, static_cast<double>(day))) << format;
  }
  EXPECT_EQ(DateText(1, day), "February 29");
}

TEST(NamingDateText, FractionIsDroppedTowardsZero) {
  const double date = Stored(2025, 1, 31);
  EXPECT_EQ(DateText(1, date + 0.99), "January 31");
  // -1.5 is day -1, 1899-12-29, not day -2.
  EXPECT_EQ(DateText(4, -1.5), "29 December");
}

TEST(NamingDateText, DatesWithoutACalendarDayGiveEmptyTexts) {
  const std::vector<double> invalid = {std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       1e300,
                                       -1e300,
                                       Stored(1, 1, 1) - 1.0,
                                       Stored(9999, 12, 31) + 1.0};
  for (double date : invalid) {
    EXPECT_EQ(DateText(2, date), "") << date;
    EXPECT_EQ(YearText(KindBirthday, date), "") << date;
    EXPECT_EQ(YearText(KindWedding, date), "") << date;
    // Kinds without a year never look at the date.
    EXPECT_EQ(YearText(KindNameDay, date), "----") << date;
    EXPECT_EQ(YearText(KindHoliday, date), "----") << date;
    EXPECT_EQ(YearText(KindOtherNoYears, date), "----") << date;
  }
  EXPECT_EQ(DateText(2, Stored(1, 1, 1)), "January 1st");
  EXPECT_EQ(DateText(2, Stored(9999, 12, 31)), "December 31st");
  EXPECT_EQ(DateText(2, DayFromCivil(1, 1, 1) - 1), "");
  EXPECT_EQ(DayHeading(2, DayFromCivil(9999, 12, 31) + 1, 0), "");
}

TEST(NamingYearText, KindsWithYearsShowThePlainYear) {
  const double date = Stored(1990, 4, 25);
  EXPECT_EQ(YearText(KindBirthday, date), "1990");
  EXPECT_EQ(YearText(KindWedding, date), "1990");
  EXPECT_EQ(YearText(KindDeath, date), "1990");
  EXPECT_EQ(YearText(KindOtherWithYears, date), "1990");
  EXPECT_EQ(YearText(KindNameDay, date), "----");
  EXPECT_EQ(YearText(KindHoliday, date), "----");
  EXPECT_EQ(YearText(KindOtherNoYears, date), "----");
  // Unknown kinds are not among the yearless ones.
  EXPECT_EQ(YearText(0, date), "1990");
  EXPECT_EQ(YearText(KindBirthday, Stored(5, 6, 7)), "5");
  EXPECT_EQ(YearText(KindBirthday, Stored(1899, 12, 30)), "1899");
}

TEST(NamingDayHeading, CombinesWeekdayDateYearAndDistance) {
  const DayNumber day = DayFromCivil(2025, 1, 31);
  EXPECT_EQ(DayHeading(2, day, day - 3), "Friday, January 31st, 2025 (in 3 days)");
  EXPECT_EQ(DayHeading(0, day, day), "Friday, JAN-31, 2025 (today)");
  EXPECT_EQ(DayHeading(200, day, day), "Friday, JAN-31, 2025 (today)");
  EXPECT_EQ(DayHeading(7, day, day), "Friday, 31st of January, 2025 (today)");
}

TEST(NamingDayHeading, EachDistanceHasItsOwnWords) {
  const DayNumber today = DayFromCivil(2025, 3, 10);  // a Monday
  EXPECT_EQ(DayHeading(1, today - 30, today), "Saturday, February 8, 2025 (30 days ago)");
  EXPECT_EQ(DayHeading(1, today - 3, today), "Friday, March 7, 2025 (3 days ago)");
  EXPECT_EQ(DayHeading(1, today - 2, today), "Saturday, March 8, 2025 (2 days ago)");
  EXPECT_EQ(DayHeading(1, today - 1, today), "Sunday, March 9, 2025 (yesterday)");
  EXPECT_EQ(DayHeading(1, today, today), "Monday, March 10, 2025 (today)");
  EXPECT_EQ(DayHeading(1, today + 1, today), "Tuesday, March 11, 2025 (tomorrow)");
  EXPECT_EQ(DayHeading(1, today + 2, today), "Wednesday, March 12, 2025 (the day after tomorrow)");
  EXPECT_EQ(DayHeading(1, today + 3, today), "Thursday, March 13, 2025 (in 3 days)");
  EXPECT_EQ(DayHeading(1, today + 90, today), "Sunday, June 8, 2025 (in 90 days)");
}

TEST(NamingDayHeading, YearChangesWithTheDayNotWithToday) {
  const DayNumber today = DayFromCivil(2024, 12, 31);
  EXPECT_EQ(DayHeading(5, today + 1, today), "Wednesday, 1st January, 2025 (tomorrow)");
  EXPECT_EQ(DayHeading(5, today - 366, today), "Sunday, 31st December, 2023 (366 days ago)");
  EXPECT_EQ(DayHeading(5, today - 365, today), "Monday, 1st January, 2024 (365 days ago)");
}

TEST(NamingDayHeading, FarApartDaysDoNotOverflow) {
  const DayNumber first = DayFromCivil(1, 1, 1);
  const DayNumber last = DayFromCivil(9999, 12, 31);
  const std::string span = std::to_string(std::int64_t{last} - first);
  EXPECT_EQ(DayHeading(1, last, first), "Friday, December 31, 9999 (in " + span + " days)");
  EXPECT_EQ(DayHeading(1, first, last), "Monday, January 1, 1 (" + span + " days ago)");
  const DayNumber extreme = std::numeric_limits<DayNumber>::min();
  EXPECT_EQ(DayHeading(1, last, extreme),
            "Friday, December 31, 9999 (in " + std::to_string(std::int64_t{last} - extreme) + " days)");
}

TEST(NamingZodiac, BoundariesOfEverySign) {
  struct Case {
    int month;
    int day;
    const char* sign;
  };
  const std::vector<Case> cases = {
      {3, 21, "Aries"},       {4, 19, "Aries"},      {4, 20, "Taurus"},      {5, 20, "Taurus"},
      {5, 21, "Gemini"},      {6, 20, "Gemini"},     {6, 21, "Cancer"},      {7, 22, "Cancer"},
      {7, 23, "Leo"},         {8, 22, "Leo"},        {8, 23, "Virgo"},       {9, 22, "Virgo"},
      {9, 23, "Libra"},       {10, 22, "Libra"},     {10, 23, "Scorpio"},    {11, 21, "Scorpio"},
      {11, 22, "Sagittarius"}, {12, 21, "Sagittarius"}, {12, 22, "Capricorn"}, {12, 31, "Capricorn"},
      {1, 1, "Capricorn"},    {1, 19, "Capricorn"},  {1, 20, "Aquarius"},    {2, 18, "Aquarius"},
      {2, 19, "Pisces"},      {2, 29, "Pisces"},     {3, 1, "Pisces"},       {3, 20, "Pisces"},
  };
  for (const auto& c : cases) EXPECT_EQ(ZodiacSign(c.month, c.day), c.sign) << c.month << "-" << c.day;
}

TEST(NamingZodiac, EveryDayOfALeapYearHasASign) {
  const DayNumber first = DayFromCivil(2024, 1, 1);
  std::string previous = ZodiacSign(12, 31);
  int changes = 0;
  for (DayNumber day = first; day < first + 366; ++day) {
    const CivilDate date = CivilFromDay(day);
    const std::string sign = ZodiacSign(date.month, date.day);
    ASSERT_FALSE(sign.empty()) << date.month << "-" << date.day;
    if (sign != previous) ++changes;
    previous = sign;
  }
  // Twelve signs, each one continuous stretch.
  EXPECT_EQ(changes, 12);
}

TEST(NamingZodiac, DaysThatDoNotExistHaveNoSign) {
  EXPECT_EQ(ZodiacSign(0, 10), "");
  EXPECT_EQ(ZodiacSign(13, 10), "");
  EXPECT_EQ(ZodiacSign(1, 0), "");
  EXPECT_EQ(ZodiacSign(2, 30), "");
  EXPECT_EQ(ZodiacSign(4, 31), "");
}

TEST(NamingColors, StoredColoursSwapRedAndBlueAndBecomeOpaque) {
  const test::FixedSystemColors system;
  EXPECT_EQ(ToColor32(0x0000FFFF, system), 0xFFFFFF00u);  // yellow
  EXPECT_EQ(ToColor32(0x000000FF, system), 0xFFFF0000u);  // red
  EXPECT_EQ(ToColor32(0x00FF0000, system), 0xFF0000FFu);  // blue
  EXPECT_EQ(ToColor32(0x00123456, system), 0xFF563412u);
  EXPECT_EQ(ToColor32(0, system), 0xFF000000u);
  EXPECT_EQ(ToColor32(0x00FFFFFF, system), 0xFFFFFFFFu);
  // A flag byte on top of a stored colour is not part of the colour.
  EXPECT_EQ(ToColor32(0x02123456, system), 0xFF563412u);

  EXPECT_EQ(ResolveColor(0x00123456, system), 0x00123456u);
  EXPECT_EQ(ResolveColor(0x02123456, system), 0x00123456u);
}

TEST(NamingColors, NegativeColoursNameASystemColourByTheirLowByte) {
  const test::FixedSystemColors system;
  // FixedSystemColors gives index i as 0x00 i 40 (80+i).
  const auto windowText = static_cast<StoredColor>(0x80000008u);
  EXPECT_EQ(ResolveColor(windowText, system), system.ColorOf(8));
  EXPECT_EQ(ResolveColor(windowText, system), 0x00084088u);
  EXPECT_EQ(ToColor32(windowText, system), 0xFF884008u);

  const auto otherIndex = static_cast<StoredColor>(0xFF00000Fu);
  EXPECT_EQ(ResolveColor(otherIndex, system), 0x000F408Fu);
  EXPECT_EQ(ToColor32(otherIndex, system), 0xFF8F400Fu);
  // Only the low byte names the colour, even when the rest of the value is all ones.
  EXPECT_EQ(ResolveColor(-1, system), system.ColorOf(255) & 0x00FFFFFFu);
  EXPECT_NE(ResolveColor(-1, system), system.ColorOf(0));
}

TEST(NamingColors, RaiseToKeepsTheLarger) {
  int target = 5;
  RaiseTo(target, 3);
  EXPECT_EQ(target, 5);
  RaiseTo(target, 9);
  EXPECT_EQ(target, 9);
  RaiseTo(target, -20);
  EXPECT_EQ(target, 9);
  int negative = -7;
  RaiseTo(negative, -3);
  EXPECT_EQ(negative, -3);
}

}  // namespace
}  // namespace jubilora
