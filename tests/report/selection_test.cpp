#include "report/selection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/settings.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

TCfg Settings(std::uint8_t daysBefore, std::uint8_t daysAfter, bool zodiac = true) {
  TCfg cfg;
  cfg.DaysBefore = daysBefore;
  cfg.DaysAfter = daysAfter;
  cfg.ShowZodiacSign = zodiac;
  return cfg;
}

const DayNumber MidMay2025 = DayFromCivil(2025, 5, 14);

TEST(SelectionWindowBounds, EachRecordIsListedFromItsPeriodAheadToDaysAfterBehind) {
  struct Case {
    std::uint8_t daysBefore, daysAfter;
    int offset;  // the record's day, counted from today
    std::uint8_t reminderDays;
    bool listed;
  };
  const std::vector<Case> cases = {
      // Past days stay listed for DaysAfter only, whatever the record's own period.
      {30, 7, -7, DefaultReminder, true}, {30, 7, -8, DefaultReminder, false}, {30, 7, -8, 90, false},
      {30, 0, -1, DefaultReminder, false}, {30, 0, 0, DefaultReminder, true},
      // The default period decides how early default records appear.
      {30, 7, 30, DefaultReminder, true}, {30, 7, 31, DefaultReminder, false},
      {0, 7, 0, DefaultReminder, true}, {0, 7, -3, DefaultReminder, true}, {0, 7, 1, DefaultReminder, false},
      // An own period replaces the default ahead: "this day only", longer and shorter.
      {30, 7, 0, 0, true}, {30, 7, -5, 0, true}, {30, 7, 1, 0, false},
      {30, 7, 60, 60, true}, {30, 7, 61, 60, false}, {30, 7, 10, 10, true}, {30, 7, 11, 10, false},
      // Nothing lies more than ninety days ahead.
      {200, 7, 90, 254, true}, {200, 7, 91, 254, false}, {200, 7, 91, DefaultReminder, false},
  };
  for (const auto& c : cases) {
    const CivilDate d = CivilFromDay(MidMay2025 + c.offset);
    const TAnniversaryList list = {Record(KindBirthday, 1980, d.month, d.day, "R", 3, c.reminderDays)};
    const auto entries = SelectionWindow(list, Settings(c.daysBefore, c.daysAfter), MidMay2025);
    const auto expected = c.listed ? std::vector<ReportEntry>{{MidMay2025 + c.offset, 0}} : std::vector<ReportEntry>{};
    EXPECT_EQ(entries, expected) << int{c.daysBefore} << "/" << int{c.daysAfter} << " offset " << c.offset
                                 << " period " << int{c.reminderDays};
  }
}

TEST(SelectionWindowCalendar, DatesWithoutCalendarDayAreNeverListedAndFractionsCountAsTheirDay) {
  TAnniversaryList list;
  for (double date : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e9, -1e9}) {
    list.push_back(Record(KindBirthday, 2000, 1, 1, "Odd", 3, 90));
    list.back().Date = date;
  }
  list.push_back(Record(KindBirthday, 1990, 5, 16, "Late"));
  list.back().Date += 0.99;
  EXPECT_EQ(SelectionWindow(list, Settings(90, 255), MidMay2025),
            (std::vector<ReportEntry>{{DayFromCivil(2025, 5, 16), 4}}));
}

// Against testing every record on every day of the window, under each choice for 29 February;
// covers the turn of the year, common and leap years around the end of February, future
// years, the widest window (each record once) and list order within a day.
TEST(SelectionWindowOrder, AgreesWithTestingEveryRecordOnEveryDay) {
  std::mt19937 random(42);
  TAnniversaryList list;
  const std::uint8_t reminders[] = {0, 1, 5, 30, 60, 120, 254, DefaultReminder, DefaultReminder};
  for (int i = 0; i < 600; ++i) {
    const int year = 1 + static_cast<int>(random() % 9999);
    const int month = 1 + static_cast<int>(random() % 12);
    const int day = 1 + static_cast<int>(random() % static_cast<unsigned>(DaysInMonth(year, month)));
    list.push_back(Record(static_cast<std::uint8_t>(random() % 9), year, month, day, "x", 3, reminders[random() % 9]));
  }
  // Neighbours of the leap day, each with every period.
  for (const auto& [month, day] : {std::pair{2, 28}, {2, 29}, {2, 29}, {3, 1}})
    for (const std::uint8_t reminder : reminders)
      list.push_back(Record(KindBirthday, 2000, month, day, "L", 3, reminder));
  const auto fallsOn = [](const CivilDate& r, const CivilDate& d, LeapDayChoice choice) {
    if (r.month == d.month && r.day == d.day) return true;
    if (r.month != 2 || r.day != 29 || IsLeapYear(d.year)) return false;
    return (choice == LeapDayChoice::February28 && d.month == 2 && d.day == 28) ||
           (choice == LeapDayChoice::March1 && d.month == 3 && d.day == 1);
  };
  for (const auto& [daysBefore, daysAfter] : std::vector<std::pair<int, int>>{{30, 7}, {0, 0}, {200, 255}, {15, 40}}) {
    TCfg cfg = Settings(static_cast<std::uint8_t>(daysBefore), static_cast<std::uint8_t>(daysAfter));
    for (const LeapDayChoice choice : {LeapDayChoice::NotShown, LeapDayChoice::February28, LeapDayChoice::March1}) {
      cfg.LeapDay = choice;
      for (const DayNumber today : {DayFromCivil(2024, 12, 30), DayFromCivil(2024, 2, 1), DayFromCivil(2025, 3, 1),
                                    DayFromCivil(2025, 2, 27), DayFromCivil(2025, 3, 4), DayFromCivil(2024, 2, 28),
                                    DayFromCivil(2100, 3, 2), DayFromCivil(2000, 2, 29)}) {
        std::vector<ReportEntry> expected;
        for (int k = -daysAfter; k <= 90; ++k) {
          const CivilDate d = CivilFromDay(today + k);
          for (std::size_t i = 0; i < list.size(); ++i) {
            const int period = list[i].ReminderDays == DefaultReminder ? daysBefore : list[i].ReminderDays;
            if (fallsOn(*DecodeDate(list[i].Date), d, choice) && k <= period) {
              expected.push_back({today + k, static_cast<int>(i)});
            }
          }
        }
        EXPECT_EQ(SelectionWindow(list, cfg, today), expected)
            << daysBefore << "/" << daysAfter << " choice " << static_cast<int>(choice) << " at " << today;
      }
    }
  }
}

// A record on every day of the year, listed with the longest periods: the window is cut
// where the calendar ends, and every day in it is still listed.
TEST(SelectionWindowCalendar, WindowStopsAtTheFirstAndLastDayOfTheCalendar) {
  TAnniversaryList list;
  for (DayNumber day = DayFromCivil(2000, 1, 1); day <= DayFromCivil(2000, 12, 31); ++day) {
    const CivilDate d = CivilFromDay(day);
    list.push_back(Record(KindBirthday, 2000, d.month, d.day, "x", 3, 90));
  }
  const DayNumber first = DayFromCivil(1, 1, 1);
  const DayNumber last = DayFromCivil(9999, 12, 31);
  for (const auto& [today, from, to] : {std::tuple{first, first, first + 90}, {first + 3, first, first + 93},
                                        {last, last - 255, last}, {last - 10, last - 265, last}}) {
    const auto entries = SelectionWindow(list, Settings(30, 255), today);
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(to - from + 1)) << today;
    EXPECT_EQ(entries.front().day, from);
    EXPECT_EQ(entries.back().day, to);
  }
}

TEST(EntryText, EveryKindWithItsYearsStarsAndZodiacSign) {
  struct Case {
    TAnniversary record;
    DayNumber day;
    bool zodiac;
    std::string expected;
  };
  const DayNumber may14 = DayFromCivil(2025, 5, 14);
  const DayNumber april20 = DayFromCivil(2025, 4, 20);
  const DayNumber june1 = DayFromCivil(2025, 6, 1);
  const std::vector<Case> cases = {
      {Record(KindBirthday, 1990, 5, 14, "Anna", 3), may14, true,
       "Anna \x95 35th birthday (born in 1990, zodiac sign: Taurus) ***"},
      {Record(KindBirthday, 1990, 5, 14, "Anna", 2), may14, false, "Anna \x95 35th birthday (born in 1990) **"},
      {Record(KindNameDay, 1900, 4, 20, "Georg", 1), april20, true, "Georg \x95 Name day *"},
      {Record(KindWedding, 2003, 4, 20, "Us", 5), april20, true,
       "Us \x95 22nd wedding anniversary (married in 2003) *****"},
      {Record(KindDeath, 2012, 4, 20, "Grandpa", 4), april20, true,
       "Grandpa \x95 13th death anniversary (died in 2012) ****"},
      {Record(KindHoliday, 2025, 4, 20, "Easter", 2), april20, true, "Easter \x95 Holiday **"},
      {Record(KindOtherWithYears, 2004, 4, 20, "Company", 3), april20, true,
       "Company \x95 21st Anniversary (happened in 2004) ***"},
      {Record(KindOtherNoYears, 2000, 4, 20, "Party", 1), april20, true, "Party*"},
      {Record(0, 2000, 4, 20, "Zero", 1), april20, true, ""},
      {Record(8, 2000, 4, 20, "Eight", 1), april20, true, ""},
      // The sample marker shows no stars.
      {Record(KindHoliday, 2000, 4, 20, "Sample", SampleImportance), april20, true, "Sample \x95 Holiday "},
      // Years count to the listed day's year: born this year is 0th, a future year negative.
      {Record(KindBirthday, 2025, 6, 1, "Baby", 0), june1, false, "Baby \x95 0th birthday (born in 2025) "},
      {Record(KindWedding, 2028, 6, 1, "Plan", 0), june1, false,
       "Plan \x95 -3rd wedding anniversary (married in 2028) "},
      {Record(KindDeath, 2036, 6, 1, "Far", 0), june1, false, "Far \x95 -11th death anniversary (died in 2036) "},
      // The zodiac sign follows the record's own day.
      {Record(KindBirthday, 2000, 2, 29, "Leap", 0), DayFromCivil(2024, 2, 29), true,
       "Leap \x95 24th birthday (born in 2000, zodiac sign: Pisces) "},
      // Listed on 1 March of a common year, it counts that year's birthday.
      {Record(KindBirthday, 2000, 2, 29, "Leap", 0), DayFromCivil(2025, 3, 1), false,
       "Leap \x95 25th birthday (born in 2000) "},
      {Record(KindBirthday, 1999, 12, 22, "Cap", 0), DayFromCivil(2025, 12, 22), true,
       "Cap \x95 26th birthday (born in 1999, zodiac sign: Capricorn) "},
      // The description is copied byte for byte.
      {Record(KindHoliday, 2000, 4, 20, "F\xEAte \x95 \"1\"", 1), april20, true, "F\xEAte \x95 \"1\" \x95 Holiday *"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetDisplayText(c.record, c.day, Settings(30, 7, c.zodiac)), c.expected) << c.record.Description();
  }
}

TEST(EntryText, YesterdaysEntryOnNewYearsDayCountsWithLastYear) {
  const TAnniversaryList list = {Record(KindBirthday, 1990, 12, 31, "Eve", 0)};
  const auto entries = SelectionWindow(list, Settings(30, 7, false), DayFromCivil(2025, 1, 1));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(GetDisplayText(list[0], entries[0].day, Settings(30, 7, false)), "Eve \x95 34th birthday (born in 1990) ");
}

}  // namespace
}  // namespace jubilora
