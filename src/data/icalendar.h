#pragma once
// The anniversaries as an iCalendar file, for the calendar the user already keeps.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/anniversary.h"
#include "core/calendar.h"

namespace jubilora {

struct ICalendarOptions {
  std::uint8_t daysBefore = 30;  // the default reminder period (TCfg::DaysBefore)
  LeapDayChoice leapDay = LeapDayChoice::NotShown;
  std::int64_t stampUtc = 0;  // when the file is made, seconds since 1970 (UTC): its DTSTAMPs
};

struct ICalendarExport {
  std::string text;  // UTF-8 with CR LF, ready to be written whole
  std::size_t events = 0;
  std::size_t skipped = 0;  // records without a kind or a calendar day
};

// One yearly all-day event per record of kind 1 to 7 with a date in years 1 to 9999, in
// list order, its reminder as an alarm and a UID that stays the same from one export to
// the next while the record does.
ICalendarExport ICalendarBytes(const TAnniversaryList& records, const ICalendarOptions& options);

}  // namespace jubilora
