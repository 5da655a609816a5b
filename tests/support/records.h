#pragma once
// Builders for records and settings used across tests.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/ports.h"
#include "report/layout.h"

namespace jubilora::test {

TAnniversary Record(std::uint8_t kind, int year, int month, int day, const std::string& description,
                    std::uint8_t importance = 3, std::uint8_t reminderDays = DefaultReminder);

// System colours: index i resolves to 0x00i0i0i0-ish values, distinct per index.
class FixedSystemColors : public SystemColors {
 public:
  std::uint32_t ColorOf(int index) const override;
};

// Short dates as yyyy-mm-dd, "," between fields.
class IsoRegional : public RegionalSettings {
 public:
  std::string FormatShortDate(DayNumber day) const override;
  std::optional<DayNumber> ParseShortDate(const std::string& text) const override;
  std::string ListSeparator() const override { return ","; }
  std::string FormatDuration(int seconds) const override { return std::to_string(seconds); }
};

// The named fonts are installed, in any letter case.
class NamedFonts : public FontCatalog {
 public:
  explicit NamedFonts(const std::vector<std::string>& names);
  bool IsInstalled(const std::string& family) const override;

 private:
  std::set<std::string> names_;
};

// Every character `charWidth` pixels wide; fixed heights per font.
class FixedMeasurer : public TextMeasurer {
 public:
  int charWidth = 7;
  int headingCharWidth = 7;
  int headingHeight = 13;
  int reportHeight = 16;

  TextSize Measure(FontRole role, const std::string& text) const override {
    const int length = static_cast<int>(text.size());
    if (role == FontRole::Heading) return {headingCharWidth * length, headingHeight};
    return {charWidth * length, reportHeight};
  }
};

}  // namespace jubilora::test
