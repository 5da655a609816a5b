#include "ui/presets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/naming.h"
#include "support/records.h"

namespace jubilora {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

class FakeFonts : public FontCatalog {
 public:
  explicit FakeFonts(std::vector<std::string> names) {
    for (auto& name : names) names_.insert(Lower(name));
  }
  bool IsInstalled(const std::string& family) const override { return names_.count(Lower(family)) > 0; }

 private:
  std::set<std::string> names_;
};

// The colours as people read them (#RRGGBB); the presets store them red-byte-first.
StoredColor Rgb(std::uint32_t rrggbb) {
  return static_cast<StoredColor>(((rrggbb >> 16) & 0xFFu) | (rrggbb & 0x00FF00u) | ((rrggbb & 0xFFu) << 16));
}

ReportLook SomeLook() {
  ReportLook look;
  look.Colors = {0x00010203, 0x00040506, 0x00070809, 0x000A0B0C, 0x000D0E0F, 0x00101112};
  look.Font = {"Courier New", 21, true, true, 238};
  return look;
}

TEST(PresetTable, ListsCustomThenTheEightPresetsInOrder) {
  const std::vector<std::string> expected{"Custom...", "Default",       "Terminal", "Windows", "Blues",
                                          "Black & White", "Woods", "Meadow",   "Gold"};
  ASSERT_EQ(PresetNames().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(PresetNames()[i], expected[i]) << i;
  EXPECT_EQ(PresetAt(CustomPreset), nullptr);
  for (int position = 1; position < PresetCount; ++position) {
    ASSERT_NE(PresetAt(position), nullptr);
    EXPECT_EQ(PresetAt(position)->Name, expected[static_cast<std::size_t>(position)]);
  }
}

TEST(PresetTable, DefaultRowIsTheSettingsDefaults) {
  const TCfg defaults;
  const ReportLook look = ApplyPreset(1, SomeLook());
  TCfg stored = defaults;
  StoreLook(look, stored);
  stored.FontCharset = defaults.FontCharset;  // a preset never sets it
  EXPECT_EQ(stored, defaults);
}

// Written from the colour column in #RRGGBB form, so a preset stored with its bytes the
// wrong way round shows here.
TEST(PresetTable, ColoursMatchTheirRgbValues) {
  struct Row {
    int position;
    std::uint32_t most, semi, least, passed, plain, back;
  };
  const Row rows[] = {
      {1, 0xFFFF00, 0xFFFF80, 0xFFFFFF, 0x0090C0, 0x60C0F0, 0x004060},
      {2, 0xFF0000, 0xFFFF00, 0x00FF00, 0x008080, 0xC0C0C0, 0x000000},
      {4, 0xFFFFFF, 0x80C0FF, 0x0080FF, 0x0060C0, 0x00C0FF, 0x000080},
      {5, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x606060, 0xC0C0C0, 0x000000},
      {6, 0xFFFFFF, 0xFFD0B0, 0x906020, 0xB09060, 0xFFD080, 0x603000},
      {7, 0xFFFFFF, 0xFFFF00, 0x00FF00, 0x609060, 0x00C000, 0x005000},
      {8, 0xFF0000, 0x800000, 0x000000, 0x808060, 0x808000, 0xFFFFD0},
  };
  for (const Row& row : rows) {
    const ReportColors expected{Rgb(row.most),   Rgb(row.semi),  Rgb(row.least),
                                Rgb(row.passed), Rgb(row.plain), Rgb(row.back)};
    EXPECT_EQ(PresetAt(row.position)->Colors, expected) << row.position;
  }
}

TEST(PresetTable, TerminalDrawsRedYellowGreenTealSilverOnBlack) {
  const test::FixedSystemColors system;
  const ReportColors& c = PresetAt(2)->Colors;
  EXPECT_EQ(ToColor32(c.MostUrgent, system), 0xFFFF0000u);
  EXPECT_EQ(ToColor32(c.SemiUrgent, system), 0xFFFFFF00u);
  EXPECT_EQ(ToColor32(c.LeastUrgent, system), 0xFF00FF00u);
  EXPECT_EQ(ToColor32(c.Passed, system), 0xFF008080u);
  EXPECT_EQ(ToColor32(c.PlainText, system), 0xFFC0C0C0u);
  EXPECT_EQ(ToColor32(c.Background, system), 0xFF000000u);
}

TEST(PresetTable, WindowsFollowsTheSystemColourScheme) {
  const ReportColors& c = PresetAt(3)->Colors;
  EXPECT_EQ(static_cast<std::uint32_t>(c.MostUrgent), 0xFF000008u);
  EXPECT_EQ(static_cast<std::uint32_t>(c.SemiUrgent), 0xFF000008u);
  EXPECT_EQ(static_cast<std::uint32_t>(c.LeastUrgent), 0xFF000011u);
  EXPECT_EQ(static_cast<std::uint32_t>(c.Passed), 0xFF000011u);
  EXPECT_EQ(static_cast<std::uint32_t>(c.PlainText), 0xFF000002u);
  EXPECT_EQ(static_cast<std::uint32_t>(c.Background), 0xFF00000Fu);
  // Stored system colours are negative, and the report resolves them through the system table.
  const test::FixedSystemColors system;
  EXPECT_LT(c.MostUrgent, 0);
  EXPECT_EQ(ResolveColor(c.Background, system), system.ColorOf(15));
}

TEST(PresetTable, FontsPerPreset) {
  struct Row {
    int position;
    std::string caption;
  };
  const Row rows[] = {{1, "Tahoma (14)"},         {2, "Tahoma (10 ,B)"},          {3, "Arial (12)"},
                      {4, "Verdana (13)"},        {5, "Times New Roman (16 ,I)"}, {6, "Trebuchet MS (13)"},
                      {7, "Tahoma (12)"},         {8, "Verdana (12)"}};
  for (const Row& row : rows) EXPECT_EQ(FontCaption(ApplyPreset(row.position, SomeLook()).Font), row.caption);
}

TEST(PresetRule, NamedPresetReplacesColoursAndFontButKeepsTheCharacterSet) {
  const ReportLook before = SomeLook();
  const ReportLook after = ApplyPreset(6, before);
  EXPECT_EQ(after.Colors, PresetAt(6)->Colors);
  EXPECT_EQ(after.Font.Name, "Trebuchet MS");
  EXPECT_EQ(after.Font.Size, 13);
  EXPECT_FALSE(after.Font.Bold);
  EXPECT_FALSE(after.Font.Italic);
  EXPECT_EQ(after.Font.Charset, 238);
}

TEST(PresetRule, CustomAndUnknownPositionsKeepEverything) {
  const ReportLook before = SomeLook();
  for (int position : {CustomPreset, -1, PresetCount, 255}) EXPECT_EQ(ApplyPreset(position, before), before) << position;
  // Custom after Terminal starts from Terminal's values.
  const ReportLook terminal = ApplyPreset(2, before);
  EXPECT_EQ(ApplyPreset(CustomPreset, terminal), terminal);
}

TEST(PresetRule, OnlyCustomIsEditable) {
  EXPECT_TRUE(PresetIsEditable(CustomPreset));
  for (int position = 1; position < PresetCount; ++position) EXPECT_FALSE(PresetIsEditable(position));
}

TEST(PresetRule, StoredValuesOutsideTheListShowAsCustom) {
  for (int stored = 0; stored < PresetCount; ++stored) EXPECT_EQ(PresetPosition(stored), stored);
  EXPECT_EQ(PresetPosition(9), CustomPreset);
  EXPECT_EQ(PresetPosition(255), CustomPreset);
  EXPECT_EQ(PresetPosition(-1), CustomPreset);
}

TEST(ReportLookOfSettings, StoringWhatWasReadChangesNothing) {
  TCfg cfg;
  cfg.MostUrgent = static_cast<StoredColor>(0xFF000008u);
  cfg.Background = 0x00123456;
  cfg.FontName = "Verdana";
  cfg.FontSize = 9;
  cfg.FontItalic = true;
  cfg.FontCharset = 204;
  cfg.LastPath = "/somewhere";
  TCfg copy = cfg;
  StoreLook(LookOf(cfg), copy);
  EXPECT_EQ(copy, cfg);
}

TEST(ReportLookOfSettings, StoringTouchesOnlyColoursAndFont) {
  TCfg cfg;
  cfg.DaysBefore = 12;
  cfg.Preset = 4;
  cfg.DateFormat = 6;
  cfg.ShowIcons = false;
  cfg.ExportPath = "x";
  const TCfg before = cfg;
  StoreLook(SomeLook(), cfg);
  EXPECT_EQ(cfg.DaysBefore, before.DaysBefore);
  EXPECT_EQ(cfg.Preset, before.Preset);
  EXPECT_EQ(cfg.DateFormat, before.DateFormat);
  EXPECT_EQ(cfg.ShowIcons, before.ShowIcons);
  EXPECT_EQ(cfg.ExportPath, before.ExportPath);
  EXPECT_EQ(LookOf(cfg), SomeLook());
}

TEST(FontButtonCaption, FaceSizeAndStyleLetters) {
  EXPECT_EQ(FontCaption({"Tahoma", 14, false, false, 1}), "Tahoma (14)");
  EXPECT_EQ(FontCaption({"Tahoma", 10, true, false, 1}), "Tahoma (10 ,B)");
  EXPECT_EQ(FontCaption({"Times New Roman", 16, false, true, 1}), "Times New Roman (16 ,I)");
  EXPECT_EQ(FontCaption({"Verdana", 12, true, true, 1}), "Verdana (12 ,BI)");
}

TEST(FontButtonCaption, MissingFaceGivesWayToTahoma) {
  const FakeFonts fonts({"Verdana", "DejaVu Sans"});
  const ReportFont missing{"No Such Face", 11, true, false, 238};
  const ReportFont replaced = WithInstalledFace(missing, fonts);
  EXPECT_EQ(replaced.Name, "Tahoma");
  EXPECT_EQ(replaced.Size, 11);
  EXPECT_TRUE(replaced.Bold);
  EXPECT_EQ(replaced.Charset, 238);
  const ReportFont installed{"verdana", 12, false, false, 1};
  EXPECT_EQ(WithInstalledFace(installed, fonts), installed);
}

}  // namespace
}  // namespace jubilora
