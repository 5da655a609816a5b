#include "core/naming.h"

#include <array>
#include <cstdint>
#include <optional>

#include "core/anniversary.h"

namespace jubilora {

namespace {

constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

constexpr std::array<const char*, 12> ShortMonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

constexpr std::array<const char*, 7> WeekdayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                     "Friday", "Saturday", "Sunday"};

constexpr std::array<const char*, 8> KindNames = {"",        "Birthday",          "Name Day",
                                                  "Wedding Aniversary",          "Death Aniversary",
                                                  "Holiday", "Other Aniversaries", "Other Aniversaries"};

constexpr std::array<const char*, 6> ImportanceNames = {
    "Irrelevant", "Quite Irrelevant", "Not important", "Quite important", "Very important",
    "Extremely important"};

constexpr char NoYear[] = "----";
constexpr char SampleText[] = "Sample";
constexpr char DefaultPeriodText[] = "Default";
constexpr char ThisDayOnlyText[] = "This day only";
constexpr char OneDayAheadText[] = "1 day ahead";
constexpr char DaysAheadSuffix[] = " days ahead";

// A zodiac sign runs from its first day in one month to the day before the next
// sign's first day; each month holds the change to exactly one new sign.
struct ZodiacChange {
  int firstDay;          // the day of this month on which the new sign begins
  const char* before;    // the sign up to the day before
  const char* from;      // the sign from firstDay on
};

constexpr std::array<ZodiacChange, 12> ZodiacChanges = {{
    {20, "Capricorn", "Aquarius"},
    {19, "Aquarius", "Pisces"},
    {21, "Pisces", "Aries"},
    {20, "Aries", "Taurus"},
    {21, "Taurus", "Gemini"},
    {21, "Gemini", "Cancer"},
    {23, "Cancer", "Leo"},
    {23, "Leo", "Virgo"},
    {23, "Virgo", "Libra"},
    {23, "Libra", "Scorpio"},
    {22, "Scorpio", "Sagittarius"},
    {22, "Sagittarius", "Capricorn"},
}};

// Day counts outside years 1..9999 have no calendar day we are willing to print.
std::optional<CivilDate> CivilOfDay(DayNumber day) {
  if (!WholeDay(static_cast<double>(day))) return std::nullopt;
  return CivilFromDay(day);
}

std::string ComposeDate(std::uint8_t format, const CivilDate& date) {
  const std::string day = std::to_string(date.day);
  const std::string ordinal = OrdinalText(date.day);
  const std::string month = MonthName(date.month, true);
  const std::string shortMonth = MonthName(date.month, false);
  switch (format) {
    case 1: return month + " " + day;
    case 2: return month + " " + ordinal;
    case 3: return day + "-" + shortMonth;
    case 4: return day + " " + month;
    case 5: return ordinal + " " + month;
    case 6: return day + " of " + month;
    case 7: return ordinal + " of " + month;
    default: return shortMonth + "-" + day;  // 0, and every unknown format
  }
}

std::string DistanceText(DayNumber day, DayNumber today) {
  // Wide arithmetic: two arbitrary day counts may be further apart than an int holds.
  const std::int64_t distance = std::int64_t{day} - std::int64_t{today};
  switch (distance) {
    case -1: return " (yesterday)";
    case 0: return " (today)";
    case 1: return " (tomorrow)";
    case 2: return " (the day after tomorrow)";
    default: break;
  }
  if (distance < 0) return " (" + std::to_string(-distance) + " days ago)";
  return " (in " + std::to_string(distance) + " days)";
}

std::uint32_t PlainColor(StoredColor color, const SystemColors& system) {
  if (color < 0) return system.ColorOf(static_cast<int>(static_cast<std::uint32_t>(color) & 0xFFu));
  return static_cast<std::uint32_t>(color);
}

// 0x00BBGGRR <-> 0x00RRGGBB: the same exchange either way; the top byte is dropped.
std::uint32_t SwapRedAndBlue(std::uint32_t color) {
  return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

}  // namespace

std::string KindName(std::uint8_t kind) {
  return kind < KindNames.size() ? KindNames[kind] : "";
}

std::string ImportanceName(std::uint8_t importance) {
  return importance < ImportanceNames.size() ? ImportanceNames[importance] : "";
}

std::string ImportanceStars(std::uint8_t importance) {
  if (importance == 255) return "";
  return std::string(importance, '*');
}

std::string ImportanceBullets(std::uint8_t importance) {
  if (importance == 255) return SampleText;
  return std::string(importance, Bullet);
}

std::string PeriodName(std::uint8_t reminderDays) {
  switch (reminderDays) {
    case 255: return DefaultPeriodText;
    case 0: return ThisDayOnlyText;
    case 1: return OneDayAheadText;
    default: return std::to_string(reminderDays) + DaysAheadSuffix;
  }
}

std::string OrdinalText(std::int32_t n) {
  std::string s = std::to_string(n);
  // The tens digit decides first, so 11..13 (and -11, 111, ...) take "th"; the sign
  // counts as a character, which is why -1 gives "-1st".
  if (s.size() > 1 && s[s.size() - 2] == '1') return s + "th";
  switch (s.back()) {
    case '1': return s + "st";
    case '2': return s + "nd";
    case '3': return s + "rd";
    default: return s + "th";
  }
}

std::string MonthName(int month, bool longForm) {
  if (month < 1 || month > 12) return "";
  const auto index = static_cast<std::size_t>(month - 1);
  return longForm ? MonthNames[index] : ShortMonthNames[index];
}

std::string WeekdayName(DayNumber day) {
  return WeekdayNames[static_cast<std::size_t>(IsoWeekday(day) - 1)];
}

std::string DateText(std::uint8_t format, double date) {
  const auto civil = DecodeDate(date);
  return civil ? ComposeDate(format, *civil) : std::string();
}

std::string DateText(std::uint8_t format, DayNumber day) {
  const auto civil = CivilOfDay(day);
  return civil ? ComposeDate(format, *civil) : std::string();
}

std::string DayHeading(std::uint8_t format, DayNumber day, DayNumber today) {
  const auto civil = CivilOfDay(day);
  if (!civil) return "";
  return WeekdayName(day) + ", " + ComposeDate(format, *civil) + ", " + std::to_string(civil->year) +
         DistanceText(day, today);
}

std::string YearText(std::uint8_t kind, double date) {
  if (kind == KindNameDay || kind == KindHoliday || kind == KindOtherNoYears) return NoYear;
  const auto civil = DecodeDate(date);
  return civil ? std::to_string(civil->year) : std::string();
}

std::string ZodiacSign(int month, int day) {
  // Any year that has a 29 February will do for the length of a month.
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(2000, month)) return "";
  const ZodiacChange& change = ZodiacChanges[static_cast<std::size_t>(month - 1)];
  return day < change.firstDay ? change.before : change.from;
}

std::uint32_t ToColor32(StoredColor color, const SystemColors& system) {
  // Only the three colour bytes count: a flag byte on top is dropped with the swap.
  return 0xFF000000u | SwapRedAndBlue(PlainColor(color, system));
}

StoredColor FromColor32(std::uint32_t color) { return static_cast<StoredColor>(SwapRedAndBlue(color)); }

}  // namespace jubilora
