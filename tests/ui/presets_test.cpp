#include "ui/presets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace jubilora {
namespace {

// Knows Tahoma and Verdana, the latter in either letter case as the system's font list does.
class FakeFonts : public FontCatalog {
 public:
  bool IsInstalled(const std::string& family) const override {
    return family == "Verdana" || family == "verdana" || family == "Tahoma";
  }
};

// The colours as people read them (#RRGGBB); the presets store them red-byte-first.
StoredColor Rgb(std::uint32_t rrggbb) {
  return static_cast<StoredColor>(((rrggbb >> 16) & 0xFFu) | (rrggbb & 0x00FF00u) | ((rrggbb & 0xFFu) << 16));
}

ReportLook SomeLook() {
  return {{0x00010203, 0x00040506, 0x00070809, 0x000A0B0C, 0x000D0E0F, 0x00101112},
          {"Courier New", 21, true, true, 238}};
}

TEST(PresetTable, ListsCustomThenTheEightPresetsInOrder) {
  const std::vector<std::string> expected{"Custom...",     "Default", "Terminal", "Windows", "Blues",
                                          "Black & White", "Woods",   "Meadow",   "Gold"};
  ASSERT_EQ(PresetNames().size(), expected.size());
  EXPECT_EQ(PresetNames()[0], expected[0]);
  EXPECT_EQ(PresetAt(CustomPreset), nullptr);
  for (int position = 1; position < PresetCount; ++position) {
    const auto index = static_cast<std::size_t>(position);
    EXPECT_EQ(PresetNames()[index], expected[index]);
    EXPECT_EQ(PresetAt(position)->Name, expected[index]);
  }
}

TEST(PresetTable, DefaultRowIsTheSettingsDefaults) {
  const TCfg defaults;
  TCfg stored = defaults;
  StoreLook(ApplyPreset(1, SomeLook()), stored);
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
  // Windows follows the system colour scheme: window text, grey text, active caption, button face.
  const ReportColors windows{SystemColorRef(8),  SystemColorRef(8), SystemColorRef(17),
                             SystemColorRef(17), SystemColorRef(2), SystemColorRef(15)};
  EXPECT_EQ(PresetAt(3)->Colors, windows);
  EXPECT_EQ(static_cast<std::uint32_t>(windows.Background), 0xFF00000Fu);
}

TEST(PresetTable, FontsPerPreset) {
  const std::string captions[] = {"Tahoma (14)",  "Tahoma (10 ,B)",          "Arial (12)",
                                  "Verdana (13)", "Times New Roman (16 ,I)", "Trebuchet MS (13)",
                                  "Tahoma (12)",  "Verdana (12)"};
  for (int position = 1; position < PresetCount; ++position)
    EXPECT_EQ(FontCaption(ApplyPreset(position, SomeLook()).Font), captions[position - 1]) << position;
}

// A named preset replaces the colours and the font but never the character set; "Custom..."
// and unknown positions keep everything, so Custom after Terminal starts from Terminal's values.
TEST(PresetRule, NamedPresetsReplaceTheLookAndCustomKeepsIt) {
  const ReportLook before = SomeLook();
  const ReportLook woods = ApplyPreset(6, before);
  EXPECT_EQ(woods.Colors, PresetAt(6)->Colors);
  EXPECT_EQ(woods.Font, (ReportFont{"Trebuchet MS", 13, false, false, 238}));
  for (int position : {CustomPreset, -1, PresetCount, 255})
    EXPECT_EQ(ApplyPreset(position, before), before) << position;
  const ReportLook terminal = ApplyPreset(2, before);
  EXPECT_EQ(ApplyPreset(CustomPreset, terminal), terminal);
}

TEST(PresetRule, StoredValuesOutsideTheListShowAsCustom) {
  for (int stored = 0; stored < PresetCount; ++stored) EXPECT_EQ(PresetPosition(stored), stored);
  for (int stored : {-1, 9, 255}) EXPECT_EQ(PresetPosition(stored), CustomPreset) << stored;
}

TEST(ReportLookOfSettings, StoringTouchesOnlyColoursAndFontAndReadsBackUnchanged) {
  TCfg cfg;
  cfg.MostUrgent = SystemColorRef(8);
  cfg.FontCharset = 204;
  cfg.DaysBefore = 12;
  cfg.Preset = 4;
  cfg.DateFormat = 6;
  cfg.ShowIcons = false;
  cfg.LastPath = "/somewhere";
  TCfg copy = cfg;
  StoreLook(LookOf(cfg), copy);
  EXPECT_EQ(copy, cfg);

  StoreLook(SomeLook(), copy);
  EXPECT_EQ(LookOf(copy), SomeLook());
  StoreLook(LookOf(cfg), copy);
  EXPECT_EQ(copy, cfg) << "nothing but the look was changed";
}

TEST(FontButtonCaption, FaceSizeAndStyleLetters) {
  EXPECT_EQ(FontCaption({"Tahoma", 14, false, false, 1}), "Tahoma (14)");
  EXPECT_EQ(FontCaption({"Tahoma", 10, true, false, 1}), "Tahoma (10 ,B)");
  EXPECT_EQ(FontCaption({"Times New Roman", 16, false, true, 1}), "Times New Roman (16 ,I)");
  EXPECT_EQ(FontCaption({"Verdana", 12, true, true, 1}), "Verdana (12 ,BI)");
}

TEST(FontButtonCaption, MissingFaceGivesWayToTahoma) {
  const FakeFonts fonts;
  EXPECT_EQ(WithInstalledFace({"No Such Face", 11, true, false, 238}, fonts),
            (ReportFont{"Tahoma", 11, true, false, 238}));
  const ReportFont installed{"verdana", 12, false, false, 1};
  EXPECT_EQ(WithInstalledFace(installed, fonts), installed);
}

}  // namespace
}  // namespace jubilora
