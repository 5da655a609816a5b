#pragma once
// The settings record the whole program reads; the settings file is the application's job.

#include <cstdint>
#include <string>

#include "core/calendar.h"

namespace jubilora {

// Stored colours are 0x00BBGGRR; a negative value names a system colour by its low byte.
using StoredColor = std::int32_t;

struct TCfg {
  std::uint8_t DaysBefore = 30;
  std::uint8_t DaysAfter = 7;
  std::uint8_t Preset = 1;
  StoredColor MostUrgent = 0x0000FFFF;
  StoredColor SemiUrgent = 0x0080FFFF;
  StoredColor LeastUrgent = 0x00FFFFFF;
  StoredColor Passed = 0x00C09000;
  StoredColor PlainText = 0x00F0C060;
  StoredColor Background = 0x00604000;
  std::string FontName = "Tahoma";
  std::int32_t FontSize = 14;
  bool FontBold = false;
  bool FontItalic = false;
  std::int32_t FontCharset = 1;
  std::uint8_t DateFormat = 1;
  bool ShowIcons = true;
  bool ShowZodiacSign = true;
  bool ForceSmoothing = false;
  std::string LastPath = "%SystemDrive%";
  std::string ExportPath = "%SystemDrive%";
  LeapDayChoice LeapDay = LeapDayChoice::NotShown;
  std::string ICalendarCopy = "";  // the file kept up to date after every save; empty: none

  friend bool operator==(const TCfg&, const TCfg&) = default;
};

}  // namespace jubilora
