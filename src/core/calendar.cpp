#include "core/calendar.h"

#include <chrono>
#include <cmath>

#include "core/ascii.h"

namespace jubilora {

namespace {
using namespace std::chrono;

// 1899-12-30 as days since the Unix epoch.
constexpr int EpochShift = -25569;
// Valid range: 0001-01-01 .. 9999-12-31 as day counts.
const DayNumber FirstValidDay = static_cast<int>(sys_days{year{1} / January / 1}.time_since_epoch().count()) - EpochShift;
const DayNumber LastValidDay = static_cast<int>(sys_days{year{9999} / December / 31}.time_since_epoch().count()) - EpochShift;

// Shift in the wide type of chrono::days: near the ends of int the shift would overflow.
sys_days FromDayNumber(DayNumber day) { return sys_days{days{days::rep{day} + EpochShift}}; }
}  // namespace

std::optional<DayNumber> WholeDay(double date) {
  if (!std::isfinite(date)) return std::nullopt;
  const double whole = std::trunc(date);
  if (whole < FirstValidDay || whole > LastValidDay) return std::nullopt;
  return static_cast<DayNumber>(whole);
}

std::optional<CivilDate> DecodeDate(double date) {
  const auto day = WholeDay(date);
  if (!day) return std::nullopt;
  return CivilFromDay(*day);
}

CivilDate CivilFromDay(DayNumber day) {
  const year_month_day ymd{FromDayNumber(day)};
  return CivilDate{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                   static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

DayNumber DayFromCivil(int y, int m, int d) {
  const sys_days sd{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
  return static_cast<DayNumber>(sd.time_since_epoch().count()) - EpochShift;
}

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int DaysInMonth(int y, int m) {
  return static_cast<int>(static_cast<unsigned>((year{y} / month{static_cast<unsigned>(m)} / last).day()));
}

bool IsValidCivil(int y, int m, int d) {
  return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

std::optional<DayNumber> AnniversaryInYear(int month, int day, int y, LeapDayChoice choice) {
  if (IsValidCivil(y, month, day)) return DayFromCivil(y, month, day);
  if (month != 2 || day != 29 || y < 1 || y > 9999) return std::nullopt;
  switch (choice) {
    case LeapDayChoice::February28: return DayFromCivil(y, 2, 28);
    case LeapDayChoice::March1: return DayFromCivil(y, 3, 1);
    case LeapDayChoice::NotShown: break;
  }
  return std::nullopt;
}

std::optional<DayNumber> ParseIsoDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto y = DecimalDigits(text.substr(0, 4));
  const auto m = DecimalDigits(text.substr(5, 2));
  const auto d = DecimalDigits(text.substr(8, 2));
  if (!y || !m || !d || !IsValidCivil(*y, *m, *d)) return std::nullopt;
  return DayFromCivil(*y, *m, *d);
}

int IsoWeekday(DayNumber day) {
  return static_cast<int>(weekday{FromDayNumber(day)}.iso_encoding());
}

}  // namespace jubilora
