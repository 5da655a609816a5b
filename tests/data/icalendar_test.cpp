#include "data/icalendar.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/text_codec.h"
#include "support/ical_read.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::ReadBack;
using test::ReadEvent;

constexpr std::uint8_t DaysBefore = 21;

// The last record's date is no day at all, the fifth has no kind: neither is exported.
TAnniversaryList Records() {
  TAnniversaryList records = {
      test::Record(KindBirthday, 1990, 5, 14, "Zo\xEB; M\xFCller, \"Z\"", 3, 0),
      test::Record(KindWedding, 1992, 2, 29, "Anna & Bo", 3, 7),
      test::Record(KindOtherNoYears, 2000, 2, 29, "Hana: birthday", 3, DefaultReminder),
      test::Record(KindHoliday, 2020, 12, 31, "New Year's Eve", 3, 90),
      test::Record(0, 2020, 1, 1, "no kind"),
      test::Record(KindDeath, 1950, 3, 3, "Grandpa", 3, 1),
      test::Record(KindDeath, 1950, 3, 3, "Grandpa", 3, 1),
      test::Record(KindNameDay, 2020, 1, 1, "no day")};
  records.back().Date = std::nan("");
  return records;
}

TEST(ICalendarBytes, EachRecordFallsOnItsDaysWithItsAlarmUnderEachLeapDayChoice) {
  // 29 February in 2027 (common) and 2028 (leap), by choice.
  const std::vector<std::pair<LeapDayChoice, std::vector<CivilDate>>> leapDays = {
      {LeapDayChoice::NotShown, {{2028, 2, 29}}},
      {LeapDayChoice::February28, {{2027, 2, 28}, {2028, 2, 29}}},
      {LeapDayChoice::March1, {{2027, 3, 1}, {2028, 2, 29}}},
  };
  const TAnniversaryList records = Records();
  std::vector<std::string> firstUids;
  for (const auto& [choice, leapDayDates] : leapDays) {
    const ICalendarExport out = ICalendarBytes(records, {DaysBefore, choice, 1'700'000'000 + 86400 * static_cast<int>(choice)});
    const std::vector<ReadEvent> events = ReadBack(out.text);
    EXPECT_EQ(out.skipped, 2u);
    ASSERT_EQ(events.size(), 6u);
    ASSERT_EQ(out.events, 6u);
    std::vector<std::string> uids;
    for (std::size_t e = 0, i = 0; i < records.size(); ++i) {
      const TAnniversary& r = records[i];
      const auto date = DecodeDate(r.Date);
      if (r.Kind == 0 || !date) continue;
      const ReadEvent& event = events[e++];
      std::vector<DayNumber> days;
      for (int year : {2027, 2028}) {
        if (auto day = AnniversaryInYear(date->month, date->day, year, choice)) days.push_back(*day);
      }
      EXPECT_EQ(event.days, days) << r.Description();
      if (date->month == 2 && date->day == 29) {
        std::vector<DayNumber> expected;
        for (const CivilDate& d : leapDayDates) expected.push_back(DayFromCivil(d));
        EXPECT_EQ(days, expected);
      }
      EXPECT_EQ(event.start, *date);
      EXPECT_TRUE(event.complete) << r.Description();
      const int period = r.ReminderDays == DefaultReminder ? DaysBefore : r.ReminderDays;
      EXPECT_EQ(event.triggerSeconds, -period * 86400) << r.Description();
      // UTF-8 texts; the year it started only where the kind shows years.
      EXPECT_EQ(event.summary.rfind(Cp1252ToUtf8(r.Description()), 0), 0u) << event.summary;
      const bool showsYears = r.Kind != KindOtherNoYears && r.Kind != KindHoliday;
      EXPECT_EQ(event.description.find(std::to_string(date->year)) != std::string::npos, showsYears) << i;
      uids.push_back(event.uid);
    }
    // The same for the same records in every export, and distinct for identical ones.
    if (firstUids.empty()) firstUids = uids;
    EXPECT_EQ(uids, firstUids);
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), uids.size());
  }
}

}  // namespace
}  // namespace jubilora
