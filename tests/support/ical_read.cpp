#include "support/ical_read.h"

#include <libical/ical.h>

namespace jubilora::test {

namespace {

std::string Text(icalcomponent* c, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(c, kind);
  return p ? icalproperty_get_value_as_string(p) : "";
}

}  // namespace

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

}  // namespace jubilora::test
