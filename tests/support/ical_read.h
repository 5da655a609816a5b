#pragma once
// An iCalendar text read back with libical, as a calendar program reads it.

#include <string>
#include <vector>

#include "core/calendar.h"

namespace jubilora::test {

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

// Every event of the text; nothing when libical cannot parse it.
std::vector<ReadEvent> ReadBack(const std::string& text);

}  // namespace jubilora::test
