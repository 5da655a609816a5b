#include "data/icalendar.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <libical/ical.h>

#include "core/text_codec.h"
#include "support/records.h"

namespace jubilora {
namespace {

constexpr std::uint8_t DaysBefore = 21;

// What a calendar program sees of one event, read back with libical.
struct ReadEvent {
  std::string uid;
  std::string summary;
  std::string description;
  CivilDate start;
  std::vector<DayNumber> days;  // the occurrences in 2027 (a common year) and 2028 (a leap year)
  int triggerSeconds = 1;
  bool complete = false;  // every property a calendar needs, a DISPLAY alarm, an all-day start
};

std::string Text(icalcomponent* c, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(c, kind);
  return p ? icalproperty_get_value_as_string(p) : "";
}

std::vector<ReadEvent> ReadBack(const std::string& text) {
  std::vector<ReadEvent> events;
  icalcomponent* calendar = icalparser_parse_string(text.c_str());
  if (!calendar) return events;
  for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
       e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
    ReadEvent read;
    read.uid = icalcomponent_get_uid(e);
    read.summary = icalcomponent_get_summary(e);
    if (icalproperty* d = icalcomponent_get_first_property(e, ICAL_DESCRIPTION_PROPERTY)) {
      read.description = icalproperty_get_description(d);
    }
    const icaltimetype start = icalcomponent_get_dtstart(e);
    read.start = {start.year, start.month, start.day};
    icalproperty* rule = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY);
    icalcomponent* alarm = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT);
    icalproperty* action = alarm ? icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY) : nullptr;
    icalproperty* trigger = alarm ? icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY) : nullptr;
    read.complete = start.is_date && rule && action && icalproperty_get_action(action) == ICAL_ACTION_DISPLAY &&
                    trigger && !Text(e, ICAL_DTSTAMP_PROPERTY).empty() && !Text(e, ICAL_CATEGORIES_PROPERTY).empty() &&
                    !read.uid.empty() && !read.summary.empty() && !Text(alarm, ICAL_DESCRIPTION_PROPERTY).empty();
    if (trigger) read.triggerSeconds = icaldurationtype_as_int(icalproperty_get_trigger(trigger).duration);
    if (rule) {
      icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
      for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && t.year <= 2028;
           t = icalrecur_iterator_next(it)) {
        if (t.year >= 2027) read.days.push_back(DayFromCivil(t.year, t.month, t.day));
      }
      icalrecur_iterator_free(it);
    }
    events.push_back(read);
  }
  icalcomponent_free(calendar);
  return events;
}

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
