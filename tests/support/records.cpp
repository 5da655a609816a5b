#include "support/records.h"

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

}  // namespace jubilora::test
