#pragma once
// Which records the report lists on which day, and the text of each entry.

#include <string>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/settings.h"

namespace jubilora {

// The report never looks further ahead than this.
inline constexpr int MaxDaysAhead = 90;

struct ReportEntry {
  DayNumber day = 0;
  int index = 0;  // position in the list
  friend bool operator==(const ReportEntry&, const ReportEntry&) = default;
};

// Days ascending from today - DaysAfter to today + 90 (within years 1 to 9999), each
// day's records in list order. In a common year a record of 29 February is listed where
// cfg.LeapDay puts it, or not at all.
// The caller puts the list in date order first. Records whose date has no calendar day
// are never listed.
std::vector<ReportEntry> SelectionWindow(const TAnniversaryList& list, const TCfg& cfg, DayNumber today);

// The entry text of a record listed on `day` (Windows-1252).
std::string GetDisplayText(const TAnniversary& record, DayNumber day, const TCfg& cfg);

}  // namespace jubilora
