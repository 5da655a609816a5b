#include "report/selection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/settings.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

TCfg Settings(std::uint8_t daysBefore, std::uint8_t daysAfter) {
  TCfg cfg;
  cfg.DaysBefore = daysBefore;
  cfg.DaysAfter = daysAfter;
  cfg.ShowZodiacSign = true;
  return cfg;
}

// Against testing every record on every day of the window, under each choice for 29 February;
// covers dates without a calendar day and with a fraction, both ends of the calendar, the periods (default, own, "this day only", beyond the 90-day cap), days after,
// the turn of the year, common and leap years around the end of February, future years,
// the widest window (each record once) and list order within a day.
TEST(SelectionWindowOrder, AgreesWithTestingEveryRecordOnEveryDay) {
  std::mt19937 random(42);
  TAnniversaryList list;
  const std::uint8_t reminders[] = {0, 1, 5, 30, 60, 120, 254, DefaultReminder, DefaultReminder};
  for (int i = 0; i < 600; ++i) {
    const int year = 1 + static_cast<int>(random() % 9999);
    const int month = 1 + static_cast<int>(random() % 12);
    const int day = 1 + static_cast<int>(random() % static_cast<unsigned>(DaysInMonth(year, month)));
    list.push_back(Record(static_cast<std::uint8_t>(random() % 9), year, month, day, "x", 3, reminders[random() % 9]));
    // Dates without a calendar day are never listed; a fraction counts as its day.
    const double odd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e9, -1e9,
                          list.back().Date + 0.99};
    if (i % 10 == 0) list.back().Date = odd[i / 10 % 5];
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
                                    DayFromCivil(2100, 3, 2), DayFromCivil(2000, 2, 29), DayFromCivil(1, 1, 4),
                                    DayFromCivil(9999, 12, 21)}) {
        std::vector<ReportEntry> expected;
        for (int k = -daysAfter; k <= 90; ++k) {
          if (!DecodeDate(today + k)) continue;  // the window is cut where the calendar ends
          const CivilDate d = CivilFromDay(today + k);
          for (std::size_t i = 0; i < list.size(); ++i) {
            const int period = list[i].ReminderDays == DefaultReminder ? daysBefore : list[i].ReminderDays;
            const auto date = DecodeDate(list[i].Date);
            if (date && fallsOn(*date, d, choice) && k <= period) {
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

// Years count to the listed day's year; codes out of range give no text; the description
// is copied byte for byte.
TEST(EntryText, YearsStarsAndZodiacSignOfTheListedDay) {
  struct Case {
    TAnniversary record;
    DayNumber day;
    std::string expected;
  };
  const DayNumber april20 = DayFromCivil(2025, 4, 20);
  const DayNumber june1 = DayFromCivil(2025, 6, 1);
  const std::vector<Case> cases = {
      {Record(KindBirthday, 1990, 5, 14, "Anna", 3), DayFromCivil(2025, 5, 14),
       "Anna \x95 35th birthday (born in 1990, zodiac sign: Taurus) ***"},
      {Record(KindOtherNoYears, 2000, 4, 20, "Party", 1), april20, "Party*"},
      {Record(0, 2000, 4, 20, "Zero", 1), april20, ""},
      {Record(KindHoliday, 2000, 4, 20, "F\xEAte \x95 \"1\"", SampleImportance), april20, "F\xEAte \x95 \"1\" \x95 Holiday "},
      {Record(KindWedding, 2028, 6, 1, "Plan", 0), june1, "Plan \x95 -3rd wedding anniversary (married in 2028) "},
      // Yesterday's entry on New Year's Day counts with last year.
      {Record(KindDeath, 1990, 12, 31, "Eve", 0), DayFromCivil(2024, 12, 31), "Eve \x95 34th death anniversary (died in 1990) "},
      // Listed on 1 March of a common year, it counts that year's birthday, under its own sign.
      {Record(KindBirthday, 2000, 2, 29, "Leap", 0), DayFromCivil(2025, 3, 1),
       "Leap \x95 25th birthday (born in 2000, zodiac sign: Pisces) "},
  };
  for (const auto& c : cases) EXPECT_EQ(GetDisplayText(c.record, c.day, Settings(30, 7)), c.expected) << c.record.Description();
}

}  // namespace
}  // namespace jubilora
