#pragma once
// The words the report, the editors and the export show for coded fields and dates.
// All texts are Windows-1252.

#include <cstdint>
#include <string>

#include "core/calendar.h"
#include "core/ports.h"
#include "core/settings.h"

namespace jubilora {

inline constexpr char Bullet = '\x95';

std::string KindName(std::uint8_t kind);
std::string ImportanceName(std::uint8_t importance);
std::string ImportanceStars(std::uint8_t importance);
std::string ImportanceBullets(std::uint8_t importance);
std::string PeriodName(std::uint8_t reminderDays);
std::string OrdinalText(std::int32_t n);
std::string MonthName(int month, bool longForm);
std::string WeekdayName(DayNumber day);

// Day and month in one of the eight formats (8 and above as 0). Empty for a stored
// date that has no calendar day.
std::string DateText(std::uint8_t format, double date);
std::string DateText(std::uint8_t format, DayNumber day);
// "Friday, January 31st, 2025 (in 3 days)"
std::string DayHeading(std::uint8_t format, DayNumber day, DayNumber today);
// "----" for kinds without a year, else the year; empty when the date has no calendar day.
std::string YearText(std::uint8_t kind, double date);
std::string ZodiacSign(int month, int day);

// 0x00BBGGRR (or a negative system colour) -> opaque 0xFFRRGGBB.
std::uint32_t ToColor32(StoredColor color, const SystemColors& system);
// Opaque 0xAARRGGBB back to a stored 0x00BBGGRR (alpha dropped).
StoredColor FromColor32(std::uint32_t color);
// Opaque 0xFFRRGGBB whose channels are combine(channel of a, channel of b) of two
// 0xFFRRGGBB colours, each result cut to its low byte.
template <typename Combine>
std::uint32_t CombineChannels(std::uint32_t a, std::uint32_t b, Combine combine) {
  std::uint32_t color = 0xFF000000u;
  for (const int shift : {16, 8, 0}) {
    const int channel = combine(static_cast<int>((a >> shift) & 0xFFu), static_cast<int>((b >> shift) & 0xFFu));
    color |= static_cast<std::uint32_t>(channel & 0xFF) << shift;
  }
  return color;
}

}  // namespace jubilora
