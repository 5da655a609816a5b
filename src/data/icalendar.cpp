#include "data/icalendar.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include <libical/ical.h>

#include "core/naming.h"
#include "core/product.h"
#include "core/text_codec.h"

namespace jubilora {

namespace {

constexpr char SummarySeparator[] = " \u2022 ";
// What each kind is called in a calendar entry (kind 7 stands for the description alone,
// as in the report, unless there is none), and the words before the year it started.
constexpr std::array<const char*, 8> KindWords = {"",         "birthday", "name day",    "wedding anniversary",
                                                  "death anniversary", "holiday", "anniversary", "anniversary"};
constexpr std::array<const char*, 8> StartWords = {"", "born in ", "", "married in ", "died in ", "", "happened in ", ""};
// The report never looks further ahead.
constexpr int LongestReminder = 90;
constexpr char UidDomain[] = "@jubilora";

struct ComponentFree {
  void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct BufferFree {
  void operator()(char* buffer) const { icalmemory_free_buffer(buffer); }
};

// FNV-1a over the record's 72 bytes: the same record gives the same UID in every export.
std::uint64_t RecordHash(const TAnniversary& record) {
  std::uint8_t bytes[RecordSize];
  EncodeRecord(record, bytes);
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3ull;
  return hash;
}

// Records alike to the byte (and the rare records whose hashes collide) are told apart by
// how many came before them in the list.
std::string Uid(const TAnniversary& record, std::unordered_map<std::uint64_t, int>& occurrences) {
  const std::uint64_t hash = RecordHash(record);
  char text[48];
  std::snprintf(text, sizeof text, "%016llx-%d", static_cast<unsigned long long>(hash), ++occurrences[hash]);
  return text + std::string(UidDomain);
}

// Calendar texts allow no control characters; a damaged description may hold some.
std::string TextOf(const std::string& cp1252) {
  std::string text = Cp1252ToUtf8(cp1252);
  std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; },
                  ' ');
  return text;
}

std::string Summary(const TAnniversary& record) {
  const std::string description = TextOf(record.Description());
  const std::string word = KindWords[record.Kind];
  if (description.empty()) return word;
  if (record.Kind == KindOtherNoYears) return description;
  return description + SummarySeparator + word;
}

// RFC 5545 skips a yearly 29 February in common years; the other choices name the day.
const char* RuleOf(const CivilDate& date, LeapDayChoice leapDay) {
  if (date.month == 2 && date.day == 29) {
    switch (leapDay) {
      case LeapDayChoice::February28: return "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1";
      case LeapDayChoice::March1: return "FREQ=YEARLY;BYYEARDAY=60";  // 29 February or 1 March
      case LeapDayChoice::NotShown: break;
    }
  }
  return "FREQ=YEARLY";
}

icalcomponent* Alarm(int daysBefore, const std::string& summary) {
  icaltriggertype trigger{};
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_null_duration();  // PT0S: at the start of the day
  trigger.duration.is_neg = daysBefore > 0 ? 1 : 0;
  trigger.duration.days = static_cast<unsigned int>(daysBefore);
  icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
  icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
  return alarm;
}

icalcomponent* Event(const TAnniversary& record, const CivilDate& date, const std::string& uid,
                     const ICalendarOptions& options) {
  icaltimetype start = icaltime_null_date();
  start.year = date.year;
  start.month = date.month;
  start.day = date.day;
  const std::string summary = Summary(record);
  const int reminder = record.ReminderDays == DefaultReminder ? options.daysBefore : record.ReminderDays;

  icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event,
                             icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                 static_cast<time_t>(options.stampUtc), 0, icaltimezone_get_utc_timezone())));
  icalcomponent_add_property(event, icalproperty_new_dtstart(start));
  icalcomponent_add_property(event, icalproperty_new_rrule(icalrecurrencetype_from_string(RuleOf(date, options.leapDay))));
  icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
  if (const std::string words = StartWords[record.Kind]; !words.empty()) {
    icalcomponent_add_property(event, icalproperty_new_description((words + std::to_string(date.year)).c_str()));
  }
  icalcomponent_add_property(event, icalproperty_new_categories(TextOf(KindName(record.Kind)).c_str()));
  icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
  icalcomponent_add_component(event, Alarm(std::min(reminder, LongestReminder), summary));
  return event;
}

// No METHOD: it belongs to scheduling messages, and a PUBLISH would need an organizer.
Component Calendar() {
  Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
  const std::string name = ProductName;
  const std::string productId = "-//" + name + "//" + name + " " + ProductVersion + "//EN";
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(productId.c_str()));
  icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
  // The name calendar programs give a calendar they subscribe to or import.
  icalproperty* calendarName = icalproperty_new_x(name.c_str());
  icalproperty_set_x_name(calendarName, "X-WR-CALNAME");
  icalcomponent_add_property(calendar.get(), calendarName);
  return calendar;
}

}  // namespace

ICalendarExport ICalendarBytes(const TAnniversaryList& records, const ICalendarOptions& options) {
  ICalendarExport result;
  Component calendar = Calendar();
  std::unordered_map<std::uint64_t, int> occurrences;
  for (const TAnniversary& record : records) {
    const auto date = DecodeDate(record.Date);
    if (!date || record.Kind < KindBirthday || record.Kind > KindOtherNoYears) {
      ++result.skipped;
      continue;
    }
    icalcomponent_add_component(calendar.get(), Event(record, *date, Uid(record, occurrences), options));
    ++result.events;
  }
  const std::unique_ptr<char, BufferFree> text(icalcomponent_as_ical_string_r(calendar.get()));
  if (text) result.text = text.get();
  return result;
}

}  // namespace jubilora
