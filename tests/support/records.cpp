#include "support/records.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace jubilora::test {

TAnniversary Record(std::uint8_t kind, int year, int month, int day, const std::string& description,
                    std::uint8_t importance, std::uint8_t reminderDays) {
  TAnniversary record;
  record.Kind = kind;
  record.Date = DayFromCivil(year, month, day);
  record.SetDescription(description);
  record.Importance = importance;
  record.ReminderDays = reminderDays;
  return record;
}

std::uint32_t FixedSystemColors::ColorOf(int index) const {
  // Blue, green and red bytes that differ so that swapped channels show.
  const auto i = static_cast<std::uint32_t>(index & 0xFF);
  return (i << 16) | (0x40u << 8) | ((0x80u + i) & 0xFFu);
}

std::string IsoRegional::FormatShortDate(DayNumber day) const {
  const CivilDate d = CivilFromDay(day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

std::optional<DayNumber> IsoRegional::ParseShortDate(const std::string& text) const {
  int y = 0, m = 0, d = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &rest) != 3 || !IsValidCivil(y, m, d)) return {};
  return DayFromCivil(y, m, d);
}

namespace {
std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}
}  // namespace

NamedFonts::NamedFonts(const std::vector<std::string>& names) {
  for (const auto& name : names) names_.insert(Lower(name));
}

bool NamedFonts::IsInstalled(const std::string& family) const { return names_.contains(Lower(family)); }

}  // namespace jubilora::test
