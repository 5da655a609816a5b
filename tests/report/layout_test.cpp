#include "report/layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
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

using test::FixedSystemColors;
using test::Record;

// Every character 7 pixels wide; fixed heights per font.
class FixedMeasurer : public TextMeasurer {
 public:
  int charWidth = 7;
  int headingCharWidth = 7;
  int headingHeight = 13;
  int reportHeight = 16;

  TextSize Measure(FontRole role, const std::string& text) const override {
    const int length = static_cast<int>(text.size());
    if (role == FontRole::Heading) return {headingCharWidth * length, headingHeight};
    return {charWidth * length, reportHeight};
  }
};

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

  // Two days ago, two entries today, eight days ahead.
  void AddWeek() {
    list.push_back(Record(KindNameDay, 1990, 1, 26, "Eve", 3));
    list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
    list.push_back(Record(KindWedding, 2000, 1, 28, "Bob & Ann", 2));
    list.push_back(Record(KindOtherNoYears, 2020, 2, 5, "Party", 1));
  }

  ReportLayout Layout() {
    const std::vector<ReportEntry> entries = PrepareReportEntries(list, cfg, today);
    return LayoutReport(list, entries, cfg, today, measurer, system);
  }

  std::string TextOf(const std::string& description) const {
    for (const TAnniversary& record : list) {
      if (record.Description() != description) continue;
      const CivilDate date = *DecodeDate(record.Date);
      return GetDisplayText(record, DayFromCivil(2025, date.month, date.day), cfg);
    }
    return {};
  }

  std::uint32_t Color(StoredColor color) const { return ToColor32(color, system); }
};

TEST_F(LayoutTest, HeadingsEntriesAndIconsArePlacedWithTheirGaps) {
  AddWeek();
  const ReportLayout layout = Layout();
  const int w = layout.width;
  const std::uint32_t bg = Color(cfg.Background);
  const DayNumber feb5 = DayFromCivil(2025, 2, 5);

  const std::vector<DrawOp> expected = {
      // Past day: bar 13 + 4 high, text lowered (32 - 16) / 2 = 8 against the icon.
      GradientBar{0, 0, w, 17, Color(cfg.Passed), bg},
      TextOp{10, 2, DayHeading(cfg.DateFormat, today - 2, today), FontRole::Heading, bg, 0},
      IconOp{10, 27, 1, 128},
      TextOp{52, 35, TextOf("Eve"), FontRole::ReportStruck, Color(cfg.Passed), 0},
      // Today: two entries under one heading, 10 apart.
      GradientBar{0, 69, w, 86, Color(cfg.MostUrgent), bg},
      TextOp{10, 71, DayHeading(cfg.DateFormat, today, today), FontRole::Heading, bg, 0},
      IconOp{10, 96, 0, 255},
      TextOp{52, 104, TextOf("Anna"), FontRole::Report, Color(cfg.MostUrgent), 0},
      IconOp{10, 138, 2, 255},
      TextOp{52, 146, TextOf("Bob & Ann"), FontRole::Report, Color(cfg.MostUrgent), 0},
      // A later day.
      GradientBar{0, 180, w, 197, Color(cfg.PlainText), bg},
      TextOp{10, 182, DayHeading(cfg.DateFormat, feb5, today), FontRole::Heading, bg, 0},
      IconOp{10, 207, 6, IconOpacity(feb5, today, cfg.DaysBefore)},
      TextOp{52, 215, TextOf("Party"), FontRole::Report, GetTextColor(feb5, today, cfg, system), 0},
  };
  ASSERT_EQ(layout.ops.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(layout.ops[i], expected[i]) << "operation " << i;

  EXPECT_EQ(layout.height, 249);
  EXPECT_EQ(layout.background, bg);
  EXPECT_EQ(layout.scrollTarget, 69);
  EXPECT_EQ(IconOpacity(feb5, today, cfg.DaysBefore), 221);
}

TEST_F(LayoutTest, MeasuredHeightMatchesTheDrawnRows) {
  AddWeek();
  for (const int reportHeight : {5, 16, 31, 32, 33, 40}) {
    for (const bool icons : {true, false}) {
      measurer.reportHeight = reportHeight;
      cfg.ShowIcons = icons;
      const ReportLayout layout = Layout();
      const int row = icons ? std::max(reportHeight, 32) : reportHeight;
      // Three headings, four rows with 10 above and below, one same-day overlap of 10.
      EXPECT_EQ(layout.height, 3 * 17 + 4 * (row + 20) - 10) << reportHeight << " icons " << icons;
      // The last row ends 10 above the bottom of the picture.
      const TextOp last = OpsOf<TextOp>(layout).back();
      const int lowering = icons && reportHeight < 32 ? (32 - reportHeight) / 2 : 0;
      EXPECT_EQ(last.y - lowering + row + 10, layout.height) << reportHeight << " icons " << icons;
    }
  }
}

TEST_F(LayoutTest, TextTallerThanTheIconLowersTheIconInstead) {
  list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
  measurer.reportHeight = 41;
  const ReportLayout layout = Layout();
  const std::vector<IconOp> icons = OpsOf<IconOp>(layout);
  const std::vector<TextOp> texts = OpsOf<TextOp>(layout);
  ASSERT_EQ(icons.size(), 1u);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(icons[0].y, 17 + 10 + 4);  // (41 - 32) div 2
  EXPECT_EQ(texts[1].y, 17 + 10);
  EXPECT_EQ(layout.height, 17 + 41 + 20);
}

TEST_F(LayoutTest, OddTextHeightsCentreWithTheRemainderDropped) {
  list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
  measurer.reportHeight = 17;
  const std::vector<TextOp> texts = OpsOf<TextOp>(Layout());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].y, 17 + 10 + 7);  // (32 - 17) div 2
}

TEST_F(LayoutTest, WithoutIconsTextStartsAtTheMarginAndRowsAreTextHigh) {
  AddWeek();
  cfg.ShowIcons = false;
  const ReportLayout layout = Layout();
  EXPECT_TRUE(OpsOf<IconOp>(layout).empty());
  const std::vector<TextOp> texts = OpsOf<TextOp>(layout);
  ASSERT_EQ(texts.size(), 7u);
  // Heading, Eve; heading, Anna, Bob & Ann; heading, Party.
  EXPECT_EQ(texts[1].x, 10);
  EXPECT_EQ(texts[1].y, 17 + 10);
  EXPECT_EQ(texts[2].y, 17 + 36 + 2);
  EXPECT_EQ(texts[3].y, 17 + 36 + 17 + 10);
  EXPECT_EQ(texts[4].y, 17 + 36 + 17 + 36);
  EXPECT_EQ(layout.height, 3 * 17 + 4 * 36 - 10);
  // The text column is also narrower by the icon column.
  EXPECT_EQ(layout.width, 7 * static_cast<int>(TextOf("Anna").size()) + 20);
}

TEST_F(LayoutTest, WidthCoversTheWidestTextAndNeverFallsBelowTheMinimum) {
  measurer.headingCharWidth = 1;
  list.push_back(Record(KindOtherNoYears, 2020, 1, 28, "Tea", 1));
  EXPECT_EQ(Layout().width, 300);

  list.push_back(Record(KindBirthday, 1990, 1, 28, "Anna", 5));
  const int anna = 7 * static_cast<int>(TextOf("Anna").size());
  ASSERT_GT(anna + 62, 300);
  EXPECT_EQ(Layout().width, anna + 42 + 20);

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
  const std::vector<TextOp> texts = OpsOf<TextOp>(smooth);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].smoothing, 0);  // headings never smoothed
  EXPECT_EQ(texts[1].smoothing, 2);
  // The heading bar spans the whole widened picture.
  EXPECT_EQ(OpsOf<GradientBar>(smooth).at(0).right, plain + 28);
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
  EXPECT_EQ(layout.background, Color(cfg.Background));
}

TEST_F(LayoutTest, ScrollTargetIsTheFirstHeadingOfTodayOrLater) {
  list.push_back(Record(KindNameDay, 1990, 1, 26, "Eve", 3));
  list.push_back(Record(KindNameDay, 1990, 1, 27, "Sam", 3));
  EXPECT_FALSE(Layout().scrollTarget.has_value()) << "only past days";

  list.push_back(Record(KindOtherNoYears, 2020, 1, 30, "Tea", 1));
  // Two past days of 17 + 52 each; the first heading not past is tomorrow's.
  EXPECT_EQ(Layout().scrollTarget, 2 * 69);

  list.erase(list.begin(), list.begin() + 2);
  EXPECT_EQ(Layout().scrollTarget, 0) << "no past days: the top of the picture";
}

TEST_F(LayoutTest, IconsFollowTheKindAndKindZeroHasNone) {
  for (std::uint8_t kind = 1; kind <= 6; ++kind) EXPECT_EQ(KindImage(kind), kind - 1);
  EXPECT_EQ(KindImage(7), 6);
  EXPECT_EQ(KindImage(8), 6);
  EXPECT_EQ(KindImage(255), 6);
  EXPECT_FALSE(KindImage(0).has_value());

  // A kind-0 record keeps its row (an empty text) but draws no picture.
  list.push_back(Record(0, 1990, 1, 28, "Ghost", 3));
  list.push_back(Record(9, 1990, 1, 28, "Odd", 3));
  const ReportLayout layout = Layout();
  const std::vector<IconOp> icons = OpsOf<IconOp>(layout);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].image, 6);
  EXPECT_EQ(layout.height, 17 + 52 + 42);
}

TEST_F(LayoutTest, IconOpacityGrowsAsTheDayApproaches) {
  list.push_back(Record(KindBirthday, 1990, 1, 25, "Past", 3));
  list.push_back(Record(KindBirthday, 1990, 1, 28, "Today", 3));
  list.push_back(Record(KindBirthday, 1990, 2, 12, "Half", 3));       // 15 of 30 days ahead
  list.push_back(Record(KindBirthday, 1990, 3, 14, "Far", 3, 60));    // 45 days ahead, own period
  const std::vector<IconOp> icons = OpsOf<IconOp>(Layout());
  ASSERT_EQ(icons.size(), 4u);
  EXPECT_EQ(icons[0].opacity, 128);
  EXPECT_EQ(icons[1].opacity, 255);
  EXPECT_EQ(icons[2].opacity, 63 + 128);
  EXPECT_EQ(icons[3].opacity, 128);
}

TEST_F(LayoutTest, PastEntriesAreStruckAndBarsStartInTheirDaysColour) {
  AddWeek();
  const ReportLayout layout = Layout();
  const std::vector<GradientBar> bars = OpsOf<GradientBar>(layout);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_EQ(bars[0].startColor, Color(cfg.Passed));
  EXPECT_EQ(bars[1].startColor, Color(cfg.MostUrgent));
  EXPECT_EQ(bars[2].startColor, Color(cfg.PlainText));
  for (const GradientBar& bar : bars) EXPECT_EQ(bar.endColor, Color(cfg.Background));

  const std::vector<TextOp> texts = OpsOf<TextOp>(layout);
  EXPECT_EQ(texts[1].role, FontRole::ReportStruck);
  EXPECT_EQ(texts[3].role, FontRole::Report);
  EXPECT_EQ(texts[6].role, FontRole::Report);
}

TEST(GradientColumnColor, StartsExactlyAtTheStartColourAndNeverReachesTheEnd) {
  const std::uint32_t c1 = 0xFFFF8000u;
  const std::uint32_t c2 = 0xFF0080FFu;
  EXPECT_EQ(GradientColumnColor(c1, c2, 0, 300, 0), c1);
  const std::uint32_t last = GradientColumnColor(c1, c2, 0, 300, 299);
  EXPECT_NE(last, c2);
  // 255 - Trunc(255 / 300 * 299) = 1 and 0 + Trunc(255 / 300 * 299) = 254.
  EXPECT_EQ(last, 0xFF018000u | 254u);
  EXPECT_EQ(GradientColumnColor(c1, c2, 0, 300, 150), 0xFF80807Fu);
}

TEST(GradientColumnColor, TruncatesTowardsZeroInBothDirections) {
  // Rising channel: 0 - Trunc(-255 / 300 * 2) = 0 - Trunc(-1.7) = 1 (flooring would give 2).
  EXPECT_EQ(GradientColumnColor(0xFF000000u, 0xFF0000FFu, 0, 300, 2) & 0xFFu, 1u);
  // Falling channel: 255 - Trunc(1.7) = 254.
  EXPECT_EQ(GradientColumnColor(0xFF0000FFu, 0xFF000000u, 0, 300, 2) & 0xFFu, 254u);
  // The quotient comes first: 122 / 14 * 7 is a hair below 61 in doubles.
  EXPECT_EQ(GradientColumnColor(0xFF00007Au, 0xFF000000u, 0, 14, 7) & 0xFFu, 122u - 60u);
  EXPECT_EQ(GradientColumnColor(0xFF000000u, 0xFF00007Au, 0, 14, 7) & 0xFFu, 60u);
}

TEST(GradientColumnColor, ColumnsCountFromTheSurfaceEdgeAndChannelsStayApart) {
  // A bar starting at column 100 is already half-way there at its first column.
  EXPECT_EQ(GradientColumnColor(0xFFC8C8C8u, 0xFF000000u, 100, 300, 100), 0xFF646464u);
  // Each channel keeps to its own byte and the result is opaque.
  EXPECT_EQ(GradientColumnColor(0x00FF0000u, 0x000000FFu, 0, 2, 1), 0xFF80007Fu);
}

}  // namespace
}  // namespace jubilora
