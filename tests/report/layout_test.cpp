#include "report/layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/naming.h"
#include "report/selection.h"
#include "report/text_report.h"
#include "report/urgency.h"
#include "support/records.h"

namespace jubilora {

// Readable failure messages for the drawing operations.
void PrintTo(const GradientBar& bar, std::ostream* os) {
  *os << "Bar{" << bar.left << "," << bar.top << "," << bar.right << "," << bar.bottom << ", 0x" << std::hex
      << bar.startColor << ", 0x" << bar.endColor << std::dec << "}";
}
void PrintTo(const TextOp& text, std::ostream* os) {
  *os << "Text{" << text.x << "," << text.y << ",\"" << text.text << "\", role " << static_cast<int>(text.role)
      << ", 0x" << std::hex << text.color << std::dec << ", L" << text.smoothing << "}";
}
void PrintTo(const IconOp& icon, std::ostream* os) {
  *os << "Icon{" << icon.x << "," << icon.y << ", image " << icon.image << ", opacity " << icon.opacity << "}";
}

namespace {

using test::FixedMeasurer;
using test::FixedSystemColors;
using test::Record;

template <typename Op>
std::vector<Op> OpsOf(const ReportLayout& layout) {
  std::vector<Op> found;
  for (const DrawOp& op : layout.ops)
    if (const auto* typed = std::get_if<Op>(&op)) found.push_back(*typed);
  return found;
}

class LayoutTest : public ::testing::Test {
 protected:
  const DayNumber today = DayFromCivil(2025, 1, 28);
  FixedSystemColors system;
  FixedMeasurer measurer;
  TCfg cfg;
  TAnniversaryList list;

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
};

TEST_F(LayoutTest, HeadingsEntriesAndIconsArePlacedWithTheirGaps) {
  // Two days ago, two entries today, eight days ahead.
  list = {Record(KindNameDay, 1990, 1, 26, "Eve", 3), Record(KindBirthday, 1990, 1, 28, "Anna", 5),
          Record(KindWedding, 2000, 1, 28, "Bob & Ann", 2), Record(KindOtherNoYears, 2020, 2, 5, "Party", 1)};
  const ReportLayout layout = Layout();
  const int w = layout.width;
  const std::uint32_t bg = Color(cfg.Background);
  const DayNumber feb5 = DayFromCivil(2025, 2, 5);

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
      // A later day.
      GradientBar{0, 180, w, 197, Color(cfg.PlainText), bg},
      TextOp{10, 182, DayHeading(cfg.DateFormat, feb5, today), FontRole::Heading, bg, 0},
      IconOp{10, 207, 6, IconOpacity(feb5, today, cfg.DaysBefore)},
      TextOp{52, 215, TextOf(3), FontRole::Report, GetTextColor(feb5, today, cfg, system), 0},
  };
  ASSERT_EQ(layout.ops.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(layout.ops[i], expected[i]) << "operation " << i;

  EXPECT_EQ(layout.height, 249);
  EXPECT_EQ(layout.background, bg);
  EXPECT_EQ(layout.scrollTarget, 69);
  EXPECT_EQ(IconOpacity(feb5, today, cfg.DaysBefore), 221);
}

TEST_F(LayoutTest, RowsAreAsHighAsTheTallerOfTextAndIconAndTheShorterIsCentred) {
  list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
  struct Case {
    int reportHeight;
    bool icons;
    int textX, textY, iconY, height;
  };
  // The heading takes rows 0..16; the entry's row starts 10 lower and ends 10 above the bottom.
  const std::vector<Case> cases = {
      {17, true, 52, 27 + 7, 27, 17 + 32 + 20},   // (32 - 17) div 2: the remainder dropped
      {41, true, 52, 27, 27 + 4, 17 + 41 + 20},   // a taller text lowers the icon instead
      {16, false, 10, 27, -1, 17 + 16 + 20},      // without icons rows are text high
  };
  for (const auto& c : cases) {
    measurer.reportHeight = c.reportHeight;
    cfg.ShowIcons = c.icons;
    const ReportLayout layout = Layout();
    const TextOp text = OpsOf<TextOp>(layout).back();
    EXPECT_EQ(std::make_pair(text.x, text.y), std::make_pair(c.textX, c.textY)) << c.reportHeight;
    const std::vector<IconOp> icons = OpsOf<IconOp>(layout);
    EXPECT_EQ(icons.empty() ? -1 : icons[0].y, c.iconY) << c.reportHeight;
    EXPECT_EQ(layout.height, c.height) << c.reportHeight;
  }
}

TEST_F(LayoutTest, WidthCoversTheWidestTextAndNeverFallsBelowTheMinimum) {
  measurer.headingCharWidth = 1;
  list.push_back(Record(KindOtherNoYears, 2020, 1, 28, "Tea", 1));
  EXPECT_EQ(Layout().width, 300);

  list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
  const int anna = 7 * static_cast<int>(TextOf(1).size());
  ASSERT_GT(anna + 20, 300);
  EXPECT_EQ(Layout().width, anna + 42 + 20);
  cfg.ShowIcons = false;  // no icon column
  EXPECT_EQ(Layout().width, anna + 20);
  cfg.ShowIcons = true;

  // A heading wider than every entry decides the width by itself.
  measurer.headingCharWidth = 20;
  const int heading = static_cast<int>(DayHeading(cfg.DateFormat, today, today).size());
  ASSERT_GT(20 * heading + 20, anna + 62);
  EXPECT_EQ(Layout().width, 20 * heading + 20);
}

TEST_F(LayoutTest, ForcedSmoothingReservesLevelTimesFontSizeForEntriesOnly) {
  list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
  const int plain = Layout().width;
  cfg.ForceSmoothing = true;
  cfg.FontSize = 14;
  const ReportLayout smooth = Layout();
  EXPECT_EQ(smooth.width, plain + 28);
  EXPECT_EQ(OpsOf<GradientBar>(smooth).at(0).right, plain + 28);  // the bar spans the widened picture
  const std::vector<TextOp> texts = OpsOf<TextOp>(smooth);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(std::make_pair(texts[0].smoothing, texts[1].smoothing), std::make_pair(0, 2));  // headings never
}

TEST_F(LayoutTest, EmptyReportHoldsOnlyTheMessageAndMayBeNarrow) {
  cfg.ForceSmoothing = true;
  measurer.charWidth = 5;
  const ReportLayout layout = Layout();
  const std::string message = "Today there is nothing to remind you of...";
  EXPECT_EQ(layout.width, 5 * static_cast<int>(message.size()) + 20);
  EXPECT_LT(layout.width, 300);
  EXPECT_EQ(layout.height, 16 + 20);
  EXPECT_FALSE(layout.scrollTarget.has_value());
  ASSERT_EQ(layout.ops.size(), 1u);
  EXPECT_EQ(layout.ops[0], DrawOp(TextOp{10, 10, message, FontRole::Report, Color(cfg.PlainText), 2}));
}

TEST_F(LayoutTest, ScrollTargetIsTheFirstHeadingOfTodayOrLater) {
  list = {Record(KindNameDay, 1990, 1, 26, "Eve", 3), Record(KindNameDay, 1990, 1, 27, "Sam", 3)};
  EXPECT_FALSE(Layout().scrollTarget.has_value()) << "only past days";
  // Two past days of 17 + 52 each; the first heading not past is tomorrow's.
  list.push_back(Record(KindOtherNoYears, 2020, 1, 30, "Tea", 1));
  EXPECT_EQ(Layout().scrollTarget, 2 * 69);
  list.erase(list.begin(), list.begin() + 2);
  EXPECT_EQ(Layout().scrollTarget, 0) << "no past days: the top of the picture";
}

TEST_F(LayoutTest, IconsFollowTheKindAndKindZeroHasNone) {
  EXPECT_EQ(KindImage(255), 6);
  EXPECT_FALSE(KindImage(0).has_value());
  // A kind-0 record keeps its row (an empty text) but draws no picture; unknown kinds share the last.
  list.push_back(Record(0, 1990, 1, 28, "Ghost", 3));
  list.push_back(Record(9, 1990, 1, 28, "Odd", 3));
  const ReportLayout layout = Layout();
  const std::vector<IconOp> icons = OpsOf<IconOp>(layout);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].image, 6);
  EXPECT_EQ(layout.height, 17 + 52 + 42);
}

TEST_F(LayoutTest, IconOpacityFollowsTheDefaultPeriodNotTheRecordsOwn) {
  list.push_back(Record(KindBirthday, 1990, 3, 14, "Far", 3, 60));  // 45 days ahead
  const std::vector<IconOp> icons = OpsOf<IconOp>(Layout());
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].opacity, 128);
}

TEST(GradientColumnColor, StartsAtTheStartColourAndTruncatesEachChannelTowardsZero) {
  struct Case {
    std::uint32_t c1, c2;
    int left, right, x;
    std::uint32_t expected;
  };
  const std::vector<Case> cases = {
      {0xFFFF8000u, 0xFF0080FFu, 0, 300, 0, 0xFFFF8000u},
      // 255 - Trunc(255 / 300 * 299) = 1 and 0 + Trunc(255 / 300 * 299) = 254: never the end colour.
      {0xFFFF8000u, 0xFF0080FFu, 0, 300, 299, 0xFF0180FEu},
      // Rising: 0 - Trunc(-255 / 300 * 2) = 0 - Trunc(-1.7) = 1 (flooring would give 2); falling: 254.
      {0xFF000000u, 0xFF0000FFu, 0, 300, 2, 0xFF000001u}, {0xFF0000FFu, 0xFF000000u, 0, 300, 2, 0xFF0000FEu},
      // The quotient comes first: 122 / 14 * 7 is a hair below 61 in doubles.
      {0xFF00007Au, 0xFF000000u, 0, 14, 7, 0xFF00003Eu}, {0xFF000000u, 0xFF00007Au, 0, 14, 7, 0xFF00003Cu},
      // Columns count from the surface's edge: a bar from column 100 starts half-way there.
      {0xFFC8C8C8u, 0xFF000000u, 100, 300, 100, 0xFF646464u},
      // Channels stay apart and the result is opaque.
      {0x00FF0000u, 0x000000FFu, 0, 2, 1, 0xFF80007Fu},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GradientColumnColor(c.c1, c.c2, c.left, c.right, c.x), c.expected) << std::hex << c.c1 << " " << c.x;
  }
}

}  // namespace
}  // namespace jubilora
