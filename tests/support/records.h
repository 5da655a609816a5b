#pragma once
// Builders for records and settings used across tests.

#include <cstdint>
#include <string>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/ports.h"

namespace jubilora::test {

TAnniversary Record(std::uint8_t kind, int year, int month, int day, const std::string& description,
                    std::uint8_t importance = 3, std::uint8_t reminderDays = DefaultReminder);

// System colours: index i resolves to 0x00i0i0i0-ish values, distinct per index.
class FixedSystemColors : public SystemColors {
 public:
  std::uint32_t ColorOf(int index) const override;
};

}  // namespace jubilora::test
