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

using Texts = std::vector<std::pair<std::string, std::string>>;  // got, expected

void ExpectTexts(const Texts& cases) {
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

double Stored(int year, int month, int day) { return DayFromCivil(year, month, day); }

TEST(NamingCodedFields, KindImportanceAndPeriodWords) {
  ExpectTexts({
      // The kind names keep their spelling; both "other" kinds share one name.
      {KindName(1), "Birthday"}, {KindName(2), "Name Day"}, {KindName(3), "Wedding Aniversary"},
      {KindName(4), "Death Aniversary"}, {KindName(5), "Holiday"}, {KindName(6), "Other Aniversaries"},
      {KindName(7), "Other Aniversaries"}, {KindName(0), ""}, {KindName(8), ""},
      {ImportanceName(0), "Irrelevant"}, {ImportanceName(1), "Quite Irrelevant"}, {ImportanceName(2), "Not important"},
      {ImportanceName(3), "Quite important"}, {ImportanceName(4), "Very important"},
      {ImportanceName(5), "Extremely important"}, {ImportanceName(6), ""}, {ImportanceName(SampleImportance), ""},
      {ImportanceStars(0), ""}, {ImportanceStars(5), "*****"}, {ImportanceStars(SampleImportance), ""},
      {ImportanceBullets(0), ""}, {ImportanceBullets(2), "\x95\x95"}, {ImportanceBullets(SampleImportance), "Sample"},
      {PeriodName(DefaultReminder), "Default"}, {PeriodName(0), "This day only"}, {PeriodName(1), "1 day ahead"},
      {PeriodName(2), "2 days ahead"}, {PeriodName(254), "254 days ahead"},
  });
}

TEST(NamingOrdinals, SuffixFollowsTheLastTwoCharacters) {
  const std::vector<std::pair<std::int32_t, std::string>> cases = {
      {0, "0th"},       {1, "1st"},       {2, "2nd"},       {3, "3rd"},       {4, "4th"},
      {11, "11th"},     {12, "12th"},     {13, "13th"},     {21, "21st"},     {22, "22nd"},
      {23, "23rd"},     {101, "101st"},   {111, "111th"},   {112, "112th"},   {113, "113th"},
      {1011, "1011th"}, {1021, "1021st"}, {-1, "-1st"},     {-2, "-2nd"},     {-3, "-3rd"},
      {-11, "-11th"},   {-21, "-21st"},   {std::numeric_limits<std::int32_t>::max(), "2147483647th"},
      {std::numeric_limits<std::int32_t>::min(), "-2147483648th"},
  };
  for (const auto& [n, text] : cases) EXPECT_EQ(OrdinalText(n), text) << n;
}

TEST(NamingCalendarWords, MonthAndWeekdayNames) {
  const DayNumber monday = DayFromCivil(2025, 1, 27);
  ExpectTexts({
      {MonthName(1, true), "January"}, {MonthName(9, true), "September"}, {MonthName(12, true), "December"},
      {MonthName(1, false), "JAN"}, {MonthName(6, false), "JUN"}, {MonthName(12, false), "DEC"},
      {MonthName(0, true), ""}, {MonthName(13, false), ""},
      // The week starts on Monday.
      {WeekdayName(monday), "Monday"}, {WeekdayName(monday + 2), "Wednesday"}, {WeekdayName(monday + 6), "Sunday"},
      {WeekdayName(0), "Saturday"},  // 1899-12-30
      {WeekdayName(-1), "Friday"},   // 1899-12-29
  });
}

TEST(NamingDateText, EveryFormatAndItsEdges) {
  const double jan31 = Stored(2025, 1, 31);
  const DayNumber leapDay = DayFromCivil(2024, 2, 29);
  ExpectTexts({
      {DateText(0, jan31), "JAN-31"}, {DateText(1, jan31), "January 31"}, {DateText(2, jan31), "January 31st"},
      {DateText(3, jan31), "31-JAN"}, {DateText(4, jan31), "31 January"}, {DateText(5, jan31), "31st January"},
      {DateText(6, jan31), "31 of January"}, {DateText(7, jan31), "31st of January"},
      // Unknown formats fall back to format 0.
      {DateText(8, jan31), "JAN-31"}, {DateText(255, jan31), "JAN-31"},
      // No leading zero; ordinals follow the day.
      {DateText(0, Stored(1990, 5, 2)), "MAY-2"}, {DateText(2, Stored(1990, 5, 2)), "May 2nd"},
      {DateText(7, Stored(1990, 8, 13)), "13th of August"}, {DateText(5, Stored(1990, 12, 23)), "23rd December"},
      {DateText(1, leapDay), "February 29"}, {DateText(6, leapDay), DateText(6, static_cast<double>(leapDay))},
      // The fraction is dropped towards zero: -1.5 is day -1, 1899-12-29.
      {DateText(1, jan31 + 0.99), "January 31"}, {DateText(4, -1.5), "29 December"},
      {DateText(2, Stored(1, 1, 1)), "January 1st"}, {DateText(2, Stored(9999, 12, 31)), "December 31st"},
      {DateText(2, DayFromCivil(1, 1, 1) - 1), ""},
  });
}

TEST(NamingDateText, DatesWithoutACalendarDayGiveEmptyTexts) {
  const double infinity = std::numeric_limits<double>::infinity();
  const std::vector<double> invalid = {std::numeric_limits<double>::quiet_NaN(), infinity, -infinity, 1e300,
                                       Stored(1, 1, 1) - 1.0, Stored(9999, 12, 31) + 1.0};
  for (double date : invalid) {
    EXPECT_EQ(DateText(2, date), "") << date;
    EXPECT_EQ(YearText(KindBirthday, date), "") << date;
    // Kinds without a year never look at the date.
    EXPECT_EQ(YearText(KindNameDay, date), "----") << date;
  }
  EXPECT_EQ(DayHeading(2, DayFromCivil(9999, 12, 31) + 1, 0), "");
}

TEST(NamingYearText, KindsWithYearsShowThePlainYear) {
  const double date = Stored(1990, 4, 25);
  ExpectTexts({
      {YearText(KindBirthday, date), "1990"}, {YearText(KindWedding, date), "1990"},
      {YearText(KindDeath, date), "1990"}, {YearText(KindOtherWithYears, date), "1990"},
      {YearText(KindNameDay, date), "----"}, {YearText(KindHoliday, date), "----"},
      {YearText(KindOtherNoYears, date), "----"},
      // Unknown kinds are not among the yearless ones.
      {YearText(0, date), "1990"}, {YearText(KindBirthday, Stored(5, 6, 7)), "5"},
  });
}

TEST(NamingDayHeading, WeekdayDateYearAndEachDistanceInWords) {
  const DayNumber today = DayFromCivil(2025, 3, 10);  // a Monday
  const DayNumber newYearsEve = DayFromCivil(2024, 12, 31);
  ExpectTexts({
      {DayHeading(2, today - 30, today), "Saturday, February 8th, 2025 (30 days ago)"},
      {DayHeading(1, today - 2, today), "Saturday, March 8, 2025 (2 days ago)"},
      {DayHeading(1, today - 1, today), "Sunday, March 9, 2025 (yesterday)"},
      {DayHeading(0, today, today), "Monday, MAR-10, 2025 (today)"},
      {DayHeading(200, today, today), "Monday, MAR-10, 2025 (today)"},
      {DayHeading(1, today + 1, today), "Tuesday, March 11, 2025 (tomorrow)"},
      {DayHeading(1, today + 2, today), "Wednesday, March 12, 2025 (the day after tomorrow)"},
      {DayHeading(7, today + 3, today), "Thursday, 13th of March, 2025 (in 3 days)"},
      // The year is the day's, not today's.
      {DayHeading(5, newYearsEve + 1, newYearsEve), "Wednesday, 1st January, 2025 (tomorrow)"},
      {DayHeading(5, newYearsEve - 366, newYearsEve), "Sunday, 31st December, 2023 (366 days ago)"},
  });
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

TEST(NamingZodiac, BoundariesOfEverySignAndDaysThatDoNotExist) {
  struct Case {
    int month;
    int day;
    const char* sign;
  };
  const std::vector<Case> cases = {
      {3, 21, "Aries"},        {4, 19, "Aries"},         {4, 20, "Taurus"},     {5, 20, "Taurus"},
      {5, 21, "Gemini"},       {6, 20, "Gemini"},        {6, 21, "Cancer"},     {7, 22, "Cancer"},
      {7, 23, "Leo"},          {8, 22, "Leo"},           {8, 23, "Virgo"},      {9, 22, "Virgo"},
      {9, 23, "Libra"},        {10, 22, "Libra"},        {10, 23, "Scorpio"},   {11, 21, "Scorpio"},
      {11, 22, "Sagittarius"}, {12, 21, "Sagittarius"},  {12, 22, "Capricorn"}, {12, 31, "Capricorn"},
      {1, 1, "Capricorn"},     {1, 19, "Capricorn"},     {1, 20, "Aquarius"},   {2, 18, "Aquarius"},
      {2, 19, "Pisces"},       {2, 29, "Pisces"},        {3, 1, "Pisces"},      {3, 20, "Pisces"},
      {0, 10, ""},             {13, 10, ""},             {1, 0, ""},            {2, 30, ""}, {4, 31, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ZodiacSign(c.month, c.day), c.sign) << c.month << "-" << c.day;
}

TEST(NamingColors, StoredAndSystemColours) {
  const test::FixedSystemColors system;
  // FixedSystemColors gives index i as 0x00 i 40 (80+i).
  const auto windowText = static_cast<StoredColor>(0x80000008u);
  const std::vector<std::pair<StoredColor, std::uint32_t>> opaque = {
      {0x0000FFFF, 0xFFFFFF00u},  // yellow: red and blue swap
      {0x00123456, 0xFF563412u}, {0, 0xFF000000u},
      {0x02123456, 0xFF563412u},  // a flag byte on top is not part of the colour
      {windowText, 0xFF884008u}, {static_cast<StoredColor>(0xFF00000Fu), 0xFF8F400Fu},
  };
  for (const auto& [stored, argb] : opaque) EXPECT_EQ(ToColor32(stored, system), argb) << std::hex << stored;
  EXPECT_EQ(ResolveColor(0x02123456, system), 0x00123456u);
  EXPECT_EQ(ResolveColor(windowText, system), 0x00084088u);
  // Only the low byte names the colour, even when the rest of the value is all ones.
  EXPECT_EQ(ResolveColor(-1, system), system.ColorOf(255) & 0x00FFFFFFu);
}

TEST(NamingColors, RaiseToKeepsTheLarger) {
  int target = -7;
  RaiseTo(target, -3);
  RaiseTo(target, -20);
  EXPECT_EQ(target, -3);
}

}  // namespace
}  // namespace jubilora
