#include "report/selection.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

#include "core/naming.h"

namespace jubilora {

namespace {

constexpr std::size_t MonthDaySlots = 13 * 32;

std::size_t MonthDaySlot(int month, int day) { return static_cast<std::size_t>(month * 32 + day); }

// The period a record is announced ahead of its day.
int ReminderPeriod(const TAnniversary& record, const TCfg& cfg) {
  return record.ReminderDays == DefaultReminder ? cfg.DaysBefore : record.ReminderDays;
}

}  // namespace

std::vector<ReportEntry> SelectionWindow(const TAnniversaryList& list, const TCfg& cfg, DayNumber today) {
  // Records grouped by their month and day, each group in list order, so that every day
  // of the window looks only at its own records.
  std::array<std::vector<int>, MonthDaySlots> byMonthDay;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const auto civil = DecodeDate(list[i].Date);
    if (!civil) continue;
    byMonthDay[MonthDaySlot(civil->month, civil->day)].push_back(static_cast<int>(i));
  }

  // The calendar ends with years 1 and 9999: a window reaching past them is cut there.
  const DayNumber first = std::max(today - cfg.DaysAfter, DayFromCivil(1, 1, 1));
  const DayNumber last = std::min(today + MaxDaysAhead, DayFromCivil(9999, 12, 31));
  const std::vector<int>& leapDay = byMonthDay[MonthDaySlot(2, 29)];
  std::vector<ReportEntry> entries;
  std::vector<int> merged;
  for (DayNumber day = first; day <= last; ++day) {
    const int k = day - today;
    const CivilDate civil = CivilFromDay(day);
    const std::vector<int>* records = &byMonthDay[MonthDaySlot(civil.month, civil.day)];
    // A common year lists 29 February's records on the day the user chose, among that
    // day's own records in list order.
    if (!leapDay.empty() && !IsLeapYear(civil.year) &&
        AnniversaryInYear(2, 29, civil.year, cfg.LeapDay) == std::optional<DayNumber>(day)) {
      merged.clear();
      std::merge(records->begin(), records->end(), leapDay.begin(), leapDay.end(), std::back_inserter(merged));
      records = &merged;
    }
    for (int index : *records) {
      if (k <= ReminderPeriod(list[static_cast<std::size_t>(index)], cfg)) entries.push_back({day, index});
    }
  }
  return entries;
}

std::string GetDisplayText(const TAnniversary& record, DayNumber day, const TCfg& cfg) {
  const std::string description = record.Description();
  const std::string stars = ImportanceStars(record.Importance);
  const std::string bullet = std::string(" ") + Bullet + " ";

  switch (record.Kind) {
    case KindNameDay: return description + bullet + "Name day " + stars;
    case KindHoliday: return description + bullet + "Holiday " + stars;
    case KindOtherNoYears: return description + stars;
    case KindBirthday:
    case KindWedding:
    case KindDeath:
    case KindOtherWithYears: break;
    default: return {};
  }

  // The remaining kinds count years; a date without a calendar day has none to count
  // (such a record is never listed).
  const auto born = DecodeDate(record.Date);
  if (!born) return {};
  const std::string elapsed = OrdinalText(CivilFromDay(day).year - born->year);
  const std::string year = std::to_string(born->year);

  switch (record.Kind) {
    case KindBirthday: {
      std::string text = description + bullet + elapsed + " birthday (born in " + year;
      if (cfg.ShowZodiacSign) text += ", zodiac sign: " + ZodiacSign(born->month, born->day);
      return text + ") " + stars;
    }
    case KindWedding: return description + bullet + elapsed + " wedding anniversary (married in " + year + ") " + stars;
    case KindDeath: return description + bullet + elapsed + " death anniversary (died in " + year + ") " + stars;
    default: return description + bullet + elapsed + " Anniversary (happened in " + year + ") " + stars;
  }
}

}  // namespace jubilora
