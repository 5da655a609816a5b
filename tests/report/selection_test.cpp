#include "report/selection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/settings.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

// The days on which the single record of `list` is listed, as offsets from today.
std::vector<int> ListedOffsets(const TAnniversaryList& list, const TCfg& cfg, DayNumber today) {
  std::vector<int> offsets;
  for (const auto& entry : SelectionWindow(list, cfg, today)) offsets.push_back(entry.day - today);
  return offsets;
}

TCfg Settings(std::uint8_t daysBefore, std::uint8_t daysAfter) {
  TCfg cfg;
  cfg.DaysBefore = daysBefore;
  cfg.DaysAfter = daysAfter;
  return cfg;
}

// A record whose month and day fall `offset` days from `today`.
TAnniversary RecordAt(DayNumber today, int offset, std::uint8_t reminderDays, int year = 1980) {
  const CivilDate d = CivilFromDay(today + offset);
  return Record(KindBirthday, year, d.month, d.day, "R", 3, reminderDays);
}

const DayNumber MidMay2025 = DayFromCivil(2025, 5, 14);

// ---------------------------------------------------------------------------------------
// The window's bounds

TEST(SelectionWindowBounds, PastDaysStayListedForDaysAfterOnly) {
  const TCfg cfg = Settings(30, 7);
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, -7, DefaultReminder)}, cfg, MidMay2025), std::vector<int>{-7});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, -8, DefaultReminder)}, cfg, MidMay2025).empty());
  // The lower bound holds for every record, whatever its own period.
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, -8, 90)}, cfg, MidMay2025).empty());

  const TCfg noPast = Settings(30, 0);
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, -1, DefaultReminder)}, noPast, MidMay2025).empty());
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 0, DefaultReminder)}, noPast, MidMay2025), std::vector<int>{0});
}

TEST(SelectionWindowBounds, DefaultPeriodDecidesHowEarlyDefaultRecordsAppear) {
  const TCfg cfg = Settings(30, 7);
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 30, DefaultReminder)}, cfg, MidMay2025), std::vector<int>{30});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 31, DefaultReminder)}, cfg, MidMay2025).empty());

  const TCfg onTheDay = Settings(0, 7);
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 0, DefaultReminder)}, onTheDay, MidMay2025), std::vector<int>{0});
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, -3, DefaultReminder)}, onTheDay, MidMay2025), std::vector<int>{-3});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 1, DefaultReminder)}, onTheDay, MidMay2025).empty());
}

TEST(SelectionWindowBounds, OwnPeriodReplacesTheDefaultAhead) {
  const TCfg cfg = Settings(30, 7);
  // This day only: on its day and the following DaysAfter days, never before.
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 0, 0)}, cfg, MidMay2025), std::vector<int>{0});
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, -5, 0)}, cfg, MidMay2025), std::vector<int>{-5});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 1, 0)}, cfg, MidMay2025).empty());
  // Longer than the default.
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 60, 60)}, cfg, MidMay2025), std::vector<int>{60});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 61, 60)}, cfg, MidMay2025).empty());
  // Shorter than the default.
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 10, 10)}, cfg, MidMay2025), std::vector<int>{10});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 11, 10)}, cfg, MidMay2025).empty());
}

TEST(SelectionWindowBounds, NothingLiesMoreThanNinetyDaysAhead) {
  const TCfg cfg = Settings(200, 7);
  EXPECT_EQ(ListedOffsets({RecordAt(MidMay2025, 90, 254)}, cfg, MidMay2025), std::vector<int>{90});
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 91, 254)}, cfg, MidMay2025).empty());
  EXPECT_TRUE(ListedOffsets({RecordAt(MidMay2025, 91, DefaultReminder)}, cfg, MidMay2025).empty());
}

TEST(SelectionWindowBounds, WidestWindowListsEachRecordOnce) {
  // 255 days back and 90 ahead: 346 days, less than a year.
  const TCfg cfg = Settings(90, 255);
  TAnniversaryList list;
  for (int offset = -300; offset <= 120; offset += 7) list.push_back(RecordAt(MidMay2025, offset, 90));
  std::vector<int> seen(list.size(), 0);
  for (const auto& entry : SelectionWindow(list, cfg, MidMay2025)) ++seen[static_cast<std::size_t>(entry.index)];
  // No 29 February lies within a year of any of these days, so a year is 365 days.
  for (std::size_t i = 0; i < list.size(); ++i) {
    const int offset = -300 + 7 * static_cast<int>(i);
    const auto inWindow = [](int k) { return k >= -255 && k <= 90; };
    const bool listed = inWindow(offset) || inWindow(offset + 365) || inWindow(offset - 365);
    EXPECT_EQ(seen[i], listed ? 1 : 0) << offset;
  }
}

// ---------------------------------------------------------------------------------------
// Calendar days

TEST(SelectionWindowCalendar, CrossesNewYear) {
  const DayNumber today = DayFromCivil(2024, 12, 28);
  const TAnniversaryList list = {Record(KindBirthday, 1990, 1, 3, "Jan"), Record(KindBirthday, 1990, 12, 25, "Dec")};
  const auto entries = SelectionWindow(list, Settings(30, 7), today);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (ReportEntry{DayFromCivil(2024, 12, 25), 1}));
  EXPECT_EQ(entries[1], (ReportEntry{DayFromCivil(2025, 1, 3), 0}));
}

TEST(SelectionWindowCalendar, TwentyNinthOfFebruaryOnlyInLeapYears) {
  const TAnniversaryList list = {Record(KindBirthday, 2000, 2, 29, "Leap")};
  const TCfg cfg = Settings(30, 7);
  const auto leap = SelectionWindow(list, cfg, DayFromCivil(2024, 2, 20));
  ASSERT_EQ(leap.size(), 1u);
  EXPECT_EQ(leap[0].day, DayFromCivil(2024, 2, 29));
  EXPECT_TRUE(SelectionWindow(list, cfg, DayFromCivil(2025, 2, 20)).empty());
  // Not moved to 28 February or 1 March either.
  EXPECT_TRUE(SelectionWindow(list, Settings(90, 255), DayFromCivil(2025, 2, 28)).empty());
}

TEST(SelectionWindowCalendar, FutureYearsAreListedEveryYear) {
  const TAnniversaryList list = {Record(KindBirthday, 2030, 5, 20, "Future")};
  const auto entries = SelectionWindow(list, Settings(30, 7), MidMay2025);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].day, DayFromCivil(2025, 5, 20));
}

TEST(SelectionWindowCalendar, RecordsWithoutCalendarDayAreNeverListed) {
  TAnniversaryList list;
  for (double date : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e9, -1e9}) {
    TAnniversary r = Record(KindBirthday, 2000, 1, 1, "Odd", 3, 90);
    r.Date = date;
    list.push_back(r);
  }
  EXPECT_TRUE(SelectionWindow(list, Settings(90, 255), MidMay2025).empty());
}

TEST(SelectionWindowCalendar, FractionalDateCountsAsItsDay) {
  TAnniversary r = Record(KindBirthday, 1990, 5, 16, "Late", 3, DefaultReminder);
  r.Date += 0.99;
  EXPECT_EQ(ListedOffsets({r}, Settings(30, 7), MidMay2025), std::vector<int>{2});
}

// ---------------------------------------------------------------------------------------
// Order

TEST(SelectionWindowOrder, DaysAscendingAndListOrderWithinADay) {
  // Deliberately not in date order: within a day the list order is kept as given.
  const TAnniversaryList list = {
      Record(KindHoliday, 2000, 5, 20, "late-a"),  Record(KindBirthday, 2000, 5, 10, "past"),
      Record(KindBirthday, 2000, 5, 20, "late-b"), Record(KindBirthday, 2000, 5, 14, "today"),
      Record(KindNameDay, 2000, 5, 20, "late-c"),
  };
  const auto entries = SelectionWindow(list, Settings(30, 7), MidMay2025);
  const std::vector<ReportEntry> expected = {
      {DayFromCivil(2025, 5, 10), 1}, {DayFromCivil(2025, 5, 14), 3}, {DayFromCivil(2025, 5, 20), 0},
      {DayFromCivil(2025, 5, 20), 2}, {DayFromCivil(2025, 5, 20), 4},
  };
  EXPECT_EQ(entries, expected);
}

TEST(SelectionWindowOrder, AgreesWithTestingEveryRecordOnEveryDay) {
  std::mt19937 random(42);
  TAnniversaryList list;
  for (int i = 0; i < 600; ++i) {
    const int year = 1 + static_cast<int>(random() % 9999);
    const int month = 1 + static_cast<int>(random() % 12);
    const int day = 1 + static_cast<int>(random() % static_cast<unsigned>(DaysInMonth(year, month)));
    const std::uint8_t reminders[] = {0, 5, 30, 60, 120, 254, DefaultReminder, DefaultReminder};
    list.push_back(Record(static_cast<std::uint8_t>(random() % 9), year, month, day, "x", 3, reminders[random() % 8]));
  }
  for (const auto& [daysBefore, daysAfter] : std::vector<std::pair<int, int>>{{30, 7}, {0, 0}, {200, 255}, {15, 40}}) {
    const TCfg cfg = Settings(static_cast<std::uint8_t>(daysBefore), static_cast<std::uint8_t>(daysAfter));
    for (const DayNumber today : {DayFromCivil(2024, 12, 30), DayFromCivil(2024, 2, 1), DayFromCivil(2025, 3, 1)}) {
      std::vector<ReportEntry> expected;
      for (int k = -daysAfter; k <= 90; ++k) {
        const CivilDate d = CivilFromDay(today + k);
        for (std::size_t i = 0; i < list.size(); ++i) {
          const CivilDate r = *DecodeDate(list[i].Date);
          const int period = list[i].ReminderDays == DefaultReminder ? daysBefore : list[i].ReminderDays;
          if (r.month == d.month && r.day == d.day && k <= period) {
            expected.push_back({today + k, static_cast<int>(i)});
          }
        }
      }
      EXPECT_EQ(SelectionWindow(list, cfg, today), expected) << daysBefore << "/" << daysAfter << " at " << today;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Entry texts

TEST(EntryText, BirthdayWithAndWithoutZodiacSign) {
  TCfg cfg;
  cfg.ShowZodiacSign = true;
  const DayNumber day = DayFromCivil(2025, 5, 14);
  EXPECT_EQ(GetDisplayText(Record(KindBirthday, 1990, 5, 14, "Anna", 3), day, cfg),
            "Anna \x95 35th birthday (born in 1990, zodiac sign: Taurus) ***");
  EXPECT_EQ(GetDisplayText(Record(KindBirthday, 1990, 5, 14, "Anna", 0), day, cfg),
            "Anna \x95 35th birthday (born in 1990, zodiac sign: Taurus) ");
  cfg.ShowZodiacSign = false;
  EXPECT_EQ(GetDisplayText(Record(KindBirthday, 1990, 5, 14, "Anna", 2), day, cfg),
            "Anna \x95 35th birthday (born in 1990) **");
}

TEST(EntryText, EveryKind) {
  const TCfg cfg;
  const DayNumber day = DayFromCivil(2025, 4, 20);
  EXPECT_EQ(GetDisplayText(Record(KindNameDay, 1900, 4, 20, "Georg", 1), day, cfg), "Georg \x95 Name day *");
  EXPECT_EQ(GetDisplayText(Record(KindWedding, 2003, 4, 20, "Us", 5), day, cfg),
            "Us \x95 22nd wedding anniversary (married in 2003) *****");
  EXPECT_EQ(GetDisplayText(Record(KindDeath, 2012, 4, 20, "Grandpa", 4), day, cfg),
            "Grandpa \x95 13th death anniversary (died in 2012) ****");
  EXPECT_EQ(GetDisplayText(Record(KindHoliday, 2025, 4, 20, "Easter", 2), day, cfg), "Easter \x95 Holiday **");
  EXPECT_EQ(GetDisplayText(Record(KindOtherWithYears, 2004, 4, 20, "Company", 3), day, cfg),
            "Company \x95 21st Anniversary (happened in 2004) ***");
  EXPECT_EQ(GetDisplayText(Record(KindOtherNoYears, 2000, 4, 20, "Party", 1), day, cfg), "Party*");
  EXPECT_EQ(GetDisplayText(Record(0, 2000, 4, 20, "Zero", 1), day, cfg), "");
  EXPECT_EQ(GetDisplayText(Record(8, 2000, 4, 20, "Eight", 1), day, cfg), "");
  EXPECT_EQ(GetDisplayText(Record(255, 2000, 4, 20, "Max", 1), day, cfg), "");
}

TEST(EntryText, SampleMarkerShowsNoStars) {
  const TCfg cfg;
  EXPECT_EQ(GetDisplayText(Record(KindHoliday, 2000, 1, 1, "Sample", SampleImportance), DayFromCivil(2025, 1, 1), cfg),
            "Sample \x95 Holiday ");
}

TEST(EntryText, ElapsedYearsUseTheListedDaysYear) {
  TCfg cfg;
  cfg.ShowZodiacSign = false;
  // Born this year: 0th; a future year: negative.
  EXPECT_EQ(GetDisplayText(Record(KindBirthday, 2025, 6, 1, "Baby", 0), DayFromCivil(2025, 6, 1), cfg),
            "Baby \x95 0th birthday (born in 2025) ");
  EXPECT_EQ(GetDisplayText(Record(KindWedding, 2028, 6, 1, "Plan", 0), DayFromCivil(2025, 6, 1), cfg),
            "Plan \x95 -3rd wedding anniversary (married in 2028) ");
  EXPECT_EQ(GetDisplayText(Record(KindDeath, 2036, 6, 1, "Far", 0), DayFromCivil(2025, 6, 1), cfg),
            "Far \x95 -11th death anniversary (died in 2036) ");
  // On 1 January 2025 yesterday's entry still counts with 2024.
  const TAnniversaryList list = {Record(KindBirthday, 1990, 12, 31, "Eve", 0)};
  const auto entries = SelectionWindow(list, Settings(30, 7), DayFromCivil(2025, 1, 1));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(GetDisplayText(list[0], entries[0].day, cfg), "Eve \x95 34th birthday (born in 1990) ");
}

TEST(EntryText, ZodiacSignFollowsTheRecordsOwnDay) {
  TCfg cfg;
  cfg.ShowZodiacSign = true;
  EXPECT_EQ(GetDisplayText(Record(KindBirthday, 2000, 2, 29, "Leap", 0), DayFromCivil(2024, 2, 29), cfg),
            "Leap \x95 24th birthday (born in 2000, zodiac sign: Pisces) ");
  EXPECT_EQ(GetDisplayText(Record(KindBirthday, 1999, 12, 22, "Cap", 0), DayFromCivil(2025, 12, 22), cfg),
            "Cap \x95 26th birthday (born in 1999, zodiac sign: Capricorn) ");
}

TEST(EntryText, DescriptionIsCopiedByteForByte) {
  const TCfg cfg;
  EXPECT_EQ(GetDisplayText(Record(KindHoliday, 2000, 1, 1, "F\xEAte \x95 \"1\"", 1), DayFromCivil(2025, 1, 1), cfg),
            "F\xEAte \x95 \"1\" \x95 Holiday *");
  EXPECT_EQ(GetDisplayText(Record(KindOtherNoYears, 2000, 1, 1, "", 0), DayFromCivil(2025, 1, 1), cfg), "");
}

}  // namespace
}  // namespace jubilora
