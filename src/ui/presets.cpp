#include "ui/presets.h"

namespace jubilora {

namespace {

constexpr std::string_view FallbackFace = "Tahoma";

constexpr StoredColor WindowText = SystemColorRef(8);
constexpr StoredColor GreyText = SystemColorRef(17);
constexpr StoredColor ActiveCaption = SystemColorRef(2);
constexpr StoredColor ButtonFace = SystemColorRef(15);

// A row's colours go to these fields, in this order.
constexpr std::array<StoredColor TCfg::*, 6> ColorFields{&TCfg::MostUrgent, &TCfg::SemiUrgent, &TCfg::LeastUrgent,
                                                         &TCfg::Passed,     &TCfg::PlainText,  &TCfg::Background};

struct ColorPreset {
  std::string_view Name;
  std::array<StoredColor, ColorFields.size()> Colors;
  std::string_view FontName;
  std::int32_t FontSize = 0;
  bool FontBold = false;
  bool FontItalic = false;
};

// Rows by list position; row 0 ("Custom...") carries no values of its own.
constexpr std::array<ColorPreset, PresetCount> Presets{{
    {"Custom...", {}, {}, 0, false, false},
    {"Default", {0x0000FFFF, 0x0080FFFF, 0x00FFFFFF, 0x00C09000, 0x00F0C060, 0x00604000}, "Tahoma", 14, false, false},
    {"Terminal", {0x000000FF, 0x0000FFFF, 0x0000FF00, 0x00808000, 0x00C0C0C0, 0x00000000}, "Tahoma", 10, true, false},
    // Follows the desktop's colour scheme: stored as system colour references.
    {"System", {WindowText, WindowText, GreyText, GreyText, ActiveCaption, ButtonFace}, "Arial", 12, false, false},
    {"Blues", {0x00FFFFFF, 0x00FFC080, 0x00FF8000, 0x00C06000, 0x00FFC000, 0x00800000}, "Verdana", 13, false, false},
    {"Black & White",
     {0x00FFFFFF, 0x00C0C0C0, 0x00808080, 0x00606060, 0x00C0C0C0, 0x00000000},
     "Times New Roman",
     16,
     false,
     true},
    {"Woods",
     {0x00FFFFFF, 0x00B0D0FF, 0x00206090, 0x006090B0, 0x0080D0FF, 0x00003060},
     "Trebuchet MS",
     13,
     false,
     false},
    {"Meadow", {0x00FFFFFF, 0x0000FFFF, 0x0000FF00, 0x00609060, 0x0000C000, 0x00005000}, "Tahoma", 12, false, false},
    {"Gold", {0x000000FF, 0x00000080, 0x00000000, 0x00608080, 0x00008080, 0x00D0FFFF}, "Verdana", 12, false, false},
}};

constexpr std::array<std::string_view, PresetCount> Names = [] {
  std::array<std::string_view, PresetCount> names{};
  for (std::size_t i = 0; i < Presets.size(); ++i) names[i] = Presets[i].Name;
  return names;
}();

}  // namespace

const std::array<std::string_view, PresetCount>& PresetNames() { return Names; }

int PresetPosition(int stored) { return stored >= 0 && stored < PresetCount ? stored : CustomPreset; }

void ApplyPreset(int position, TCfg& cfg) {
  if (position <= CustomPreset || position >= PresetCount) return;
  const ColorPreset& preset = Presets[static_cast<std::size_t>(position)];
  for (std::size_t i = 0; i < ColorFields.size(); ++i) cfg.*ColorFields[i] = preset.Colors[i];
  cfg.FontName = std::string(preset.FontName);
  cfg.FontSize = preset.FontSize;
  cfg.FontBold = preset.FontBold;
  cfg.FontItalic = preset.FontItalic;
}

ReportFont FontOf(const TCfg& cfg) {
  return {cfg.FontName, cfg.FontSize, cfg.FontBold, cfg.FontItalic, cfg.FontCharset};
}

void StoreFont(const ReportFont& font, TCfg& cfg) {
  cfg.FontName = font.Name;
  cfg.FontSize = font.Size;
  cfg.FontBold = font.Bold;
  cfg.FontItalic = font.Italic;
  cfg.FontCharset = font.Charset;
}

ReportFont WithInstalledFace(ReportFont font, const FontCatalog& fonts) {
  if (!fonts.IsInstalled(font.Name)) font.Name = std::string(FallbackFace);
  return font;
}

std::string FontCaption(const ReportFont& font) {
  std::string style;
  if (font.Bold) style += 'B';
  if (font.Italic) style += 'I';
  if (!style.empty()) style.insert(0, " ,");
  return font.Name + " (" + std::to_string(font.Size) + style + ")";
}

}  // namespace jubilora
