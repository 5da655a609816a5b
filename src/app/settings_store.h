#pragma once
// The settings file: read once at start, written in full once at exit.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/calendar.h"
#include "core/ports.h"
#include "core/settings.h"
#include "platform/ini_file.h"

namespace jubilora {

// TCfg plus the three menu check marks and the date of the last run.
struct StoredSettings {
  TCfg cfg;
  bool onTop = false;
  bool startupCheck = true;
  bool onceADay = false;
  DayNumber lastRun = 0;

  friend bool operator==(const StoredSettings&, const StoredSettings&) = default;
};

// An integer as the settings file holds it: optional leading blanks and sign, decimal
// (must fit a signed 32-bit integer) or hexadecimal after "$", "x", "X", "0x" or "0X"
// (a 32-bit pattern, so "$FFFFFFFF" is -1). Anything else, trailing characters
// included, is nothing.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// Every key with its default and reading rules; a null file gives all defaults. A font
// that is not installed becomes "Tahoma"; the last run defaults to the day before `today`.
StoredSettings ReadSettings(const IniFile* fileOrNull, const FontCatalog& fonts,
                            const RegionalSettings& regional, DayNumber today);

// All 26 keys in their order, "LastRun" being `today`; other lines of the file stay.
void WriteSettings(IniFile& file, const StoredSettings& settings, const RegionalSettings& regional,
                   DayNumber today);

struct LoadedSettings {
  StoredSettings settings;
  bool firstRun = false;              // the file did not exist
  std::optional<FileError> error;  // the file could not be read; defaults apply
};

LoadedSettings LoadSettingsFile(const std::filesystem::path& path, const FontCatalog& fonts,
                                const RegionalSettings& regional, DayNumber today);

// Merges the settings into the file as it is on disk now and writes it whole, creating
// its folder. A file that exists but cannot be read is left alone rather than replaced.
FileResult SaveSettingsFile(const std::filesystem::path& path, const StoredSettings& settings,
                                            const RegionalSettings& regional, DayNumber today);

}  // namespace jubilora
