#include "ui/presets.h"

namespace jubilora {

namespace {

constexpr std::string_view FallbackFace = "Tahoma";

constexpr StoredColor WindowText = SystemColorRef(8);
constexpr StoredColor GreyText = SystemColorRef(17);
constexpr StoredColor ActiveCaption = SystemColorRef(2);
constexpr StoredColor ButtonFace = SystemColorRef(15);

// Rows by list position; row 0 ("Custom...") carries no values of its own.
constexpr std::array<ColorPreset, PresetCount> Presets{{
    {"Custom...", {}, {}, 0, false, false},
    {"Default", {0x0000FFFF, 0x0080FFFF, 0x00FFFFFF, 0x00C09000, 0x00F0C060, 0x00604000}, "Tahoma", 14, false, false},
    {"Terminal", {0x000000FF, 0x0000FFFF, 0x0000FF00, 0x00808000, 0x00C0C0C0, 0x00000000}, "Tahoma", 10, true, false},
    {"Windows", {WindowText, WindowText, GreyText, GreyText, ActiveCaption, ButtonFace}, "Arial", 12, false, false},
    {"Blues", {0x00FFFFFF, 0x00FFC080, 0x00FF8000, 0x00C06000, 0x00FFC000, 0x00800000}, "Verdana", 13, false, false},
    {"Black & White", {0x00FFFFFF, 0x00C0C0C0, 0x00808080, 0x00606060, 0x00C0C0C0, 0x00000000}, "Times New Roman", 16,
     false, true},
    {"Woods", {0x00FFFFFF, 0x00B0D0FF, 0x00206090, 0x006090B0, 0x0080D0FF, 0x00003060}, "Trebuchet MS", 13, false, false},
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

const ColorPreset* PresetAt(int position) {
  if (position <= CustomPreset || position >= PresetCount) return nullptr;
  return &Presets[static_cast<std::size_t>(position)];
}

int PresetPosition(int stored) { return stored >= 0 && stored < PresetCount ? stored : CustomPreset; }

ReportLook ApplyPreset(int position, ReportLook look) {
  const ColorPreset* preset = PresetAt(position);
  if (preset == nullptr) return look;
  look.Colors = preset->Colors;
  look.Font.Name = std::string(preset->FontName);
  look.Font.Size = preset->FontSize;
  look.Font.Bold = preset->FontBold;
  look.Font.Italic = preset->FontItalic;
  return look;
}

ReportLook LookOf(const TCfg& cfg) {
  ReportLook look;
  look.Colors = {cfg.MostUrgent, cfg.SemiUrgent, cfg.LeastUrgent, cfg.Passed, cfg.PlainText, cfg.Background};
  look.Font = {cfg.FontName, cfg.FontSize, cfg.FontBold, cfg.FontItalic, cfg.FontCharset};
  return look;
}

void StoreLook(const ReportLook& look, TCfg& cfg) {
  cfg.MostUrgent = look.Colors.MostUrgent;
  cfg.SemiUrgent = look.Colors.SemiUrgent;
  cfg.LeastUrgent = look.Colors.LeastUrgent;
  cfg.Passed = look.Colors.Passed;
  cfg.PlainText = look.Colors.PlainText;
  cfg.Background = look.Colors.Background;
  cfg.FontName = look.Font.Name;
  cfg.FontSize = look.Font.Size;
  cfg.FontBold = look.Font.Bold;
  cfg.FontItalic = look.Font.Italic;
  cfg.FontCharset = look.Font.Charset;
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
