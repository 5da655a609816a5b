// Where the report places its headings, entries and icons, and the colours they take.

#include "report/layout.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "core/naming.h"
#include "core/settings.h"
#include "report/selection.h"
#include "report/text_report.h"
#include "report/urgency.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

class LayoutTest : public ::testing::Test {
 protected:
  LayoutTest() {
    cfg.MostUrgent = 0x000000FF;
    cfg.Passed = 0x00808080;
    cfg.PlainText = 0x0000FF00;
    cfg.Background = 0x00400000;
  }

  ReportLayout Layout() {
    return LayoutReport(list, PrepareReportEntries(list, cfg, today), cfg, today, measurer, system);
  }
  // The entry text of list[i], listed this year.
  std::string TextOf(std::size_t i) const {
    const CivilDate date = *DecodeDate(list[i].Date);
    return GetDisplayText(list[i], DayFromCivil(2025, date.month, date.day), cfg);
  }
  std::uint32_t Color(StoredColor color) const { return ToColor32(color, system); }

  const DayNumber today = DayFromCivil(2025, 1, 28);
  test::FixedSystemColors system;
  test::FixedMeasurer measurer;  // 7 pixels a character, headings 13 high, entries 16
  TCfg cfg;
  TAnniversaryList list;
};

TEST_F(LayoutTest, HeadingsEntriesAndIconsArePlacedWithTheirGaps) {
  // Two days ago, two entries today, eight days ahead, and a kind without a picture.
  list = {Record(KindNameDay, 1990, 1, 26, "Eve", 3), Record(KindBirthday, 1990, 1, 28, "Anna", 5),
          Record(KindWedding, 2000, 1, 28, "Bob & Ann", 2), Record(KindOtherNoYears, 2020, 2, 5, "Party", 1, 60),
          Record(0, 2020, 2, 5, "Ghost", 0)};
  const ReportLayout layout = Layout();
  const int w = layout.width;
  const std::uint32_t bg = Color(cfg.Background);
  const DayNumber feb5 = DayFromCivil(2025, 2, 5);
  const std::uint32_t feb5Color = GetTextColor(feb5, today, cfg, system);
  const std::vector<DrawOp> expected = {
      // Past day: bar 13 + 4 high, text lowered (32 - 16) / 2 = 8 against the icon.
      GradientBar{0, 0, w, 17, Color(cfg.Passed), bg},
      TextOp{10, 2, DayHeading(cfg.DateFormat, today - 2, today), FontRole::Heading, bg, 0},
      IconOp{10, 27, 1, 128},
      TextOp{52, 35, TextOf(0), FontRole::ReportStruck, Color(cfg.Passed), 0},
      // Today: two entries under one heading, 10 apart.
      GradientBar{0, 69, w, 86, Color(cfg.MostUrgent), bg},
      TextOp{10, 71, DayHeading(cfg.DateFormat, today, today), FontRole::Heading, bg, 0},
      IconOp{10, 96, 0, 255},
      TextOp{52, 104, TextOf(1), FontRole::Report, Color(cfg.MostUrgent), 0},
      IconOp{10, 138, 2, 255},
      TextOp{52, 146, TextOf(2), FontRole::Report, Color(cfg.MostUrgent), 0},
      // A later day: the icon fades by the default period, not the record's own; kind 0 keeps
      // its row but draws no picture.
      GradientBar{0, 180, w, 197, Color(cfg.PlainText), bg},
      TextOp{10, 182, DayHeading(cfg.DateFormat, feb5, today), FontRole::Heading, bg, 0},
      IconOp{10, 207, 6, IconOpacity(feb5, today, cfg.DaysBefore)},
      TextOp{52, 215, TextOf(3), FontRole::Report, feb5Color, 0},
      TextOp{52, 257, TextOf(4), FontRole::Report, feb5Color, 0},
  };
  ASSERT_EQ(layout.ops.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(layout.ops[i] == expected[i]) << "operation " << i;
  EXPECT_EQ(layout.height, 291);
  EXPECT_EQ(layout.background, bg);
  EXPECT_EQ(layout.scrollTarget, 69);
}

TEST(GradientColumnColor, StartsAtTheStartColourAndTruncatesEachChannelTowardsZero) {
  struct Case {
    std::uint32_t c1, c2;
    int left, right, x;
    std::uint32_t expected;
  };
  const std::vector<Case> cases = {
      // 255 - Trunc(255 / 300 * 299) = 1 and 0 + Trunc(255 / 300 * 299) = 254: never the end colour.
      {0xFFFF8000u, 0xFF0080FFu, 0, 300, 299, 0xFF0180FEu},
      // The quotient comes first: 122 / 14 * 7 is a hair below 61 in doubles.
      {0xFF000000u, 0xFF00007Au, 0, 14, 7, 0xFF00003Cu},
      // Columns count from the surface's edge: a bar from column 100 starts half-way there.
      {0xFFC8C8C8u, 0xFF000000u, 100, 300, 100, 0xFF646464u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GradientColumnColor(c.c1, c.c2, c.left, c.right, c.x), c.expected) << std::hex << c.c1 << " " << c.x;
  }
}

// Stored colour 0x00BBGGRR and surface colour 0xFFRRGGBB from red, green, blue.
StoredColor Stored(int red, int green, int blue) { return (blue << 16) | (green << 8) | red; }
std::uint32_t Surface(int red, int green, int blue) { return 0xFF000000u | static_cast<std::uint32_t>(Stored(blue, green, red)); }

const DayNumber Today = DayFromCivil(2025, 1, 28);

// Past days, today and days past the period have their own colours; between, the colour
// blends from most to semi urgent over the first half of the period and from semi to least
// urgent over the second: base + Trunc(steps * ((toward - base) / P * 2)), the quotient first.
TEST(UrgencyColour, BlendsAcrossThePeriodDroppingFractionsTowardsZero) {
  struct Case {
    int period;
    StoredColor most, semi, least;
    int offset;
    std::uint32_t expected;
  };
  const StoredColor black = Stored(0, 0, 0);
  const StoredColor orange = Stored(255, 150, 75);
  const std::vector<Case> cases = {
      {30, orange, black, Stored(10, 20, 30), -200, Surface(1, 2, 3)},  // past
      {2, orange, black, Stored(10, 20, 30), 1, Surface(0, 0, 0)},
      // An odd period halves downward: n = 6 is 0.2 of the way from semi to most.
      {15, black, orange, black, 6, Surface(204, 120, 60)},
      // n = 1: 255 + Trunc(14 * (-255 / 15)) = 17 on the red channel; channels stay apart.
      {30, Stored(0, 255, 150), Stored(255, 0, 0), Stored(0, 0, 255), 1, Surface(17, 238, 140)},
      // 14 * (-100 / 30 * 2) = -93.33 -> -93, so 7 (rounding down would give 6);
      // 13 * (100 / 30 * 2) = 86.67 -> 86 (rounding would give 87).
      {30, Stored(0, 100, 0), Stored(100, 0, 0), black, 1, Surface(7, 93, 0)},
      {30, Stored(0, 100, 0), Stored(100, 0, 0), black, 17, Surface(86, 0, 0)},
      // 183 / 21 formed first lands the product just below 61 and 122.
      {21, Stored(183, 0, 0), black, black, 7, Surface(60, 0, 0)},
      {21, Stored(183, 0, 0), Stored(183, 0, 0), black, 14, Surface(121, 0, 0)},
  };
  const test::FixedSystemColors system;
  for (const Case& c : cases) {
    TCfg cfg;
    cfg.DaysBefore = static_cast<std::uint8_t>(c.period);
    cfg.Passed = Stored(1, 2, 3);
    cfg.MostUrgent = c.most;
    cfg.SemiUrgent = c.semi;
    cfg.LeastUrgent = c.least;
    EXPECT_EQ(GetTextColor(Today + c.offset, Today, cfg, system), c.expected)
        << "P " << c.period << " n " << c.offset << " got " << std::hex << GetTextColor(Today + c.offset, Today, cfg, system);
  }
}

}  // namespace
}  // namespace jubilora
