#include "app/settings_store.h"

#include <string>
#include <type_traits>

#include "core/ascii.h"
#include "data/atomic_file.h"

namespace jubilora {

namespace {

constexpr const char* kDefaultFont = "Tahoma";
constexpr const char* kOther = "Other";
constexpr const char* kLastRun = "LastRun";

// The keys of the settings file in the order they are read and written, each bound to
// its field. "LastRun" comes last and is handled on its own, as it needs the calendar.
template <class Settings, class Visitor>
void ForEachKey(Settings& s, Visitor&& visit) {
  visit("DefaultPeriod", "DaysBefore", s.cfg.DaysBefore);
  visit("DefaultPeriod", "DaysAfter", s.cfg.DaysAfter);
  visit("Colors", "Preset", s.cfg.Preset);
  visit("Colors", "MostUrgent", s.cfg.MostUrgent);
  visit("Colors", "SemiUrgent", s.cfg.SemiUrgent);
  visit("Colors", "LeastUrgent", s.cfg.LeastUrgent);
  visit("Colors", "Passed", s.cfg.Passed);
  visit("Colors", "PlainText", s.cfg.PlainText);
  visit("Colors", "Background", s.cfg.Background);
  visit("Font", "Name", s.cfg.FontName);
  visit("Font", "Size", s.cfg.FontSize);
  visit("Font", "Bold", s.cfg.FontBold);
  visit("Font", "Italic", s.cfg.FontItalic);
  visit("Font", "Charset", s.cfg.FontCharset);
  visit("Other", "DateFormat", s.cfg.DateFormat);
  visit("Other", "ShowIcons", s.cfg.ShowIcons);
  visit("Other", "ShowZodiacSign", s.cfg.ShowZodiacSign);
  visit("Other", "ForceSmoothing", s.cfg.ForceSmoothing);
  visit("Other", "LastPath", s.cfg.LastPath);
  visit("Other", "ExportPath", s.cfg.ExportPath);
  visit("Other", "LeapDay", s.cfg.LeapDay);
  visit("Other", "ICalendarCopy", s.cfg.ICalendarCopy);
  visit("Other", "OnTop", s.onTop);
  visit("Other", "StartupCheck", s.startupCheck);
  visit("Other", "OnceADay", s.onceADay);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    hex = true;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;

  // Accumulated in 64 bits; leading zeros never overflow.
  std::int64_t magnitude = 0;
  const std::int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
  for (const char c : text) {
    const int digit = hex ? HexDigit(c) : ((c >= '0' && c <= '9') ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return std::nullopt;
  }
  if (hex) {
    // A 32-bit pattern, negated in 32 bits when a minus stands before it.
    std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

StoredSettings ReadSettings(const IniFile* fileOrNull, const FontCatalog& fonts,
                            const RegionalSettings& regional, DayNumber today) {
  StoredSettings settings;
  settings.lastRun = today - 1;
  if (fileOrNull) {
    const IniFile& file = *fileOrNull;
    ForEachKey(settings, [&file](const char* section, const char* key, auto& field) {
      using Field = std::remove_reference_t<decltype(field)>;
      const std::optional<std::string> value = file.GetString(section, key);
      if (!value) return;
      if constexpr (std::is_same_v<Field, std::string>) {
        field = *value;
      } else {
        const std::optional<std::int32_t> number = ParseIniInteger(*value);
        if (!number) return;
        if constexpr (std::is_same_v<Field, bool>) {
          field = *number != 0;
        } else if constexpr (std::is_same_v<Field, LeapDayChoice>) {
          // A choice this program does not know is no choice at all.
          if (*number >= 0 && *number <= static_cast<int>(LeapDayChoice::March1)) {
            field = static_cast<LeapDayChoice>(*number);
          }
        } else if constexpr (std::is_same_v<Field, std::uint8_t>) {
          field = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*number) & 0xFFu);
        } else {
          static_assert(std::is_same_v<Field, std::int32_t>);
          field = *number;
        }
      }
    });
    if (const auto text = file.GetString(kOther, kLastRun); text && !text->empty()) {
      if (const auto day = regional.ParseShortDate(*text)) settings.lastRun = *day;
    }
  }
  if (!fonts.IsInstalled(settings.cfg.FontName)) settings.cfg.FontName = kDefaultFont;
  return settings;
}

void WriteSettings(IniFile& file, const StoredSettings& settings, const RegionalSettings& regional,
                   DayNumber today) {
  ForEachKey(settings, [&file](const char* section, const char* key, const auto& field) {
    using Field = std::remove_cvref_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, std::string>) {
      file.SetString(section, key, field);
    } else if constexpr (std::is_same_v<Field, bool>) {
      file.SetString(section, key, field ? "1" : "0");
    } else {
      file.SetString(section, key, std::to_string(static_cast<long long>(field)));
    }
  });
  file.SetString(kOther, kLastRun, regional.FormatShortDate(today));
}

LoadedSettings LoadSettingsFile(const std::filesystem::path& path, const FontCatalog& fonts,
                                const RegionalSettings& regional, DayNumber today) {
  LoadedSettings loaded;
  const IniLoadResult result = IniFile::Load(path);
  switch (result.status) {
    case IniLoadResult::Status::Loaded:
      loaded.settings = ReadSettings(&result.file, fonts, regional, today);
      break;
    case IniLoadResult::Status::Missing:
      loaded.firstRun = true;
      loaded.settings = ReadSettings(nullptr, fonts, regional, today);
      break;
    case IniLoadResult::Status::Failed:
      // The file is there, so this is no first run; the defaults serve this run.
      loaded.error = result.error;
      loaded.settings = ReadSettings(nullptr, fonts, regional, today);
      break;
  }
  return loaded;
}

FileResult SaveSettingsFile(const std::filesystem::path& path, const StoredSettings& settings,
                            const RegionalSettings& regional, DayNumber today) {
  IniLoadResult current = IniFile::Load(path);
  if (current.status == IniLoadResult::Status::Failed) return current.error;
  WriteSettings(current.file, settings, regional, today);
  // An installed program keeps its settings in a folder that may not exist yet.
  if (auto error = CreateOwnFolder(FolderOf(path))) return error;
  if (auto error = current.file.Save(path)) return error;
  RemoveStaleTemporaries(FollowLinks(path));
  return std::nullopt;
}

}  // namespace jubilora
