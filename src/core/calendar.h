#pragma once
// Day-count dates (days since 1899-12-30) and their calendar days.

#include <optional>
#include <string_view>

namespace jubilora {

// A whole day as a day count; "today" and report days are always of this type.
using DayNumber = int;

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The calendar day of a stored date, or nothing for NaN, infinities and dates outside
// years 1..9999. A fraction is dropped towards zero.
std::optional<CivilDate> DecodeDate(double date);
std::optional<DayNumber> WholeDay(double date);

CivilDate CivilFromDay(DayNumber day);
DayNumber DayFromCivil(int year, int month, int day);
inline DayNumber DayFromCivil(const CivilDate& d) { return DayFromCivil(d.year, d.month, d.day); }

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidCivil(int year, int month, int day);

// A day written YYYY-MM-DD, as the sample source and the command line take it.
std::optional<DayNumber> ParseIsoDay(std::string_view text);

// Monday = 1 .. Sunday = 7.
int IsoWeekday(DayNumber day);

// Where an anniversary of 29 February goes in a common year.
enum class LeapDayChoice { NotShown, February28, March1 };

// The day on which an anniversary of `month`/`day` falls in `year`, or nothing when it
// does not fall in that year (or the month and day make no day of a leap year).
std::optional<DayNumber> AnniversaryInYear(int month, int day, int year, LeapDayChoice choice);

}  // namespace jubilora
