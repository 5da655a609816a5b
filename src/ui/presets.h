#pragma once
// The eight named colour presets of the preferences and the rules around the report font's
// button caption. Plain data and functions, so that they can be checked without a window.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ports.h"
#include "core/settings.h"

namespace jubilora {

// The report font as the settings keep it; Name is Windows-1252.
struct ReportFont {
  std::string Name;
  std::int32_t Size = 0;
  bool Bold = false;
  bool Italic = false;
  std::int32_t Charset = 1;

  friend bool operator==(const ReportFont&, const ReportFont&) = default;
};

inline constexpr int CustomPreset = 0;
inline constexpr int PresetCount = 9;  // "Custom..." and the eight named presets

// A system colour as stored: 0xFF000000 plus the system's colour index.
constexpr StoredColor SystemColorRef(int index) {
  return static_cast<StoredColor>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}

// The preset list's items, position 0 being "Custom...".
const std::array<std::string_view, PresetCount>& PresetNames();
// Only "Custom..." lets the user choose colours and font one by one.
constexpr bool PresetIsEditable(int position) { return position == CustomPreset; }
// The position the list shows for a stored value: one the list does not hold shows as
// "Custom...", so the stored colours stay visible and editable.
int PresetPosition(int stored);

// The preset rule: a named preset sets the six report colours and the font's face, size and
// style; "Custom..." (and any unknown position) leaves them as they are. Nothing else is
// touched, the font's character set included.
void ApplyPreset(int position, TCfg& cfg);

ReportFont FontOf(const TCfg& cfg);
void StoreFont(const ReportFont& font, TCfg& cfg);

// A face that is not installed gives way to "Tahoma", which is also what gets stored.
ReportFont WithInstalledFace(ReportFont font, const FontCatalog& fonts);
// "Tahoma (14)", "Tahoma (10 ,B)", "Verdana (12 ,BI)".
std::string FontCaption(const ReportFont& font);

}  // namespace jubilora
