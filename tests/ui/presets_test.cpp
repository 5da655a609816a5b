#include "ui/presets.h"

#include <gtest/gtest.h>

#include "support/records.h"

namespace jubilora {
namespace {

constexpr StoredColor Unused = 0x00010203;  // in no preset

// Every field away from its default; the colours and the font away from every preset too.
const TCfg Scrambled{.DaysBefore = 12, .DaysAfter = 3, .Preset = 6, .MostUrgent = Unused, .SemiUrgent = Unused,
                     .LeastUrgent = Unused, .Passed = Unused, .PlainText = Unused, .Background = Unused,
                     .FontName = "Courier", .FontSize = 21, .FontBold = true, .FontItalic = true, .FontCharset = 238,
                     .DateFormat = 5, .ShowIcons = false, .ShowZodiacSign = false, .ForceSmoothing = true,
                     .LastPath = "/b", .ExportPath = "/e"};
constexpr StoredColor TCfg::*Colors[] = {&TCfg::MostUrgent, &TCfg::SemiUrgent, &TCfg::LeastUrgent,
                                         &TCfg::Passed,     &TCfg::PlainText,  &TCfg::Background};

// `base` with the six colours and the font's face, size and style of `look`.
TCfg WithLookOf(TCfg base, const TCfg& look) {
  for (auto field : Colors) base.*field = look.*field;
  StoreFont({look.FontName, look.FontSize, look.FontBold, look.FontItalic, base.FontCharset}, base);
  return base;
}

// A named preset sets all six colours and the font and nothing else, the character set
// included; "Custom..." and positions outside the list change nothing; "Default" is the
// settings' defaults.
TEST(PresetRule, NamedPresetsSetTheLookAndNothingElse) {
  for (int position = -1; position <= PresetCount; ++position) {
    TCfg cfg = Scrambled;
    ApplyPreset(position, cfg);
    EXPECT_EQ(WithLookOf(cfg, Scrambled), Scrambled) << position;
    const bool named = position > CustomPreset && position < PresetCount;
    for (auto field : Colors) EXPECT_EQ(cfg.*field != Unused, named) << position;
    EXPECT_EQ(cfg.FontSize != Scrambled.FontSize, named) << position;
    EXPECT_EQ(PresetPosition(position), named || position == CustomPreset ? position : CustomPreset);
  }
  TCfg defaults = Scrambled;
  ApplyPreset(1, defaults);
  EXPECT_EQ(defaults, WithLookOf(Scrambled, TCfg()));
}

}  // namespace
}  // namespace jubilora
