#include "ui/answer_geometry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace jubilora {
namespace {

AnswerTextSizes Sizes(GeometrySize message, std::vector<GeometrySize> captions, bool hasIcon = true) {
  return {message, std::move(captions), hasIcon};
}

TEST(AnswerGeometry, OneShortButtonAndOneLineGetTheMinimumSizes) {
  const AnswerGeometry g = ComputeAnswerGeometry(Sizes({100, 13}, {{20, 13}}));
  EXPECT_EQ(g.button, (GeometrySize{65, 25}));
  EXPECT_EQ(g.icon, (GeometryRect{24, 24, 32, 32}));
  // A one-line message still gets a 32-high label, 16 inside a 64-high frame.
  EXPECT_EQ(g.label, (GeometryRect{72, 24, 100, 32}));
  EXPECT_EQ(g.frame, (GeometryRect{8, 8, 180, 64}));
  EXPECT_EQ(g.client, (GeometrySize{180 + 65 + 24, 64 + 16}));
  ASSERT_EQ(g.buttons.size(), 1u);
  EXPECT_EQ(g.buttons[0], (GeometryRect{196, 47, 65, 25}));
}

TEST(AnswerGeometry, ButtonColumnStandsRightOfTheFrameAndEndsLevelWithIt) {
  const AnswerGeometry g = ComputeAnswerGeometry(Sizes({150, 26}, {{30, 13}, {30, 13}, {30, 13}}));
  ASSERT_EQ(g.buttons.size(), 3u);
  for (const GeometryRect& b : g.buttons) {
    EXPECT_EQ(b.left, g.frame.Right() + 8);
    EXPECT_EQ(g.client.width - b.Right(), 8);
  }
  EXPECT_EQ(g.buttons[0].top + 33, g.buttons[1].top);
  EXPECT_EQ(g.buttons[1].top + 33, g.buttons[2].top);
  EXPECT_EQ(g.buttons[2].Bottom(), g.frame.Bottom());
  EXPECT_EQ(g.client.height - g.buttons[2].Bottom(), 8);
  // Column 3 x 33 - 8 = 91; the label takes 91 - 32 = 59 and the frame 16 more on each side.
  EXPECT_EQ(g.label.height, 59);
  EXPECT_EQ(g.frame.height, 91);
  EXPECT_EQ(g.buttons[0].top, g.frame.top);
}

TEST(AnswerGeometry, SixButtonsGrowTheLabelToTheColumnLessThirtyTwo) {
  const std::vector<GeometrySize> captions(6, GeometrySize{60, 13});
  const AnswerGeometry g = ComputeAnswerGeometry(Sizes({240, 78}, captions));
  const int column = 6 * (25 + 8) - 8;
  EXPECT_EQ(g.label.height, column - 32);
  EXPECT_EQ(g.frame.height, column);
  EXPECT_EQ(g.client.height, column + 16);
  EXPECT_EQ(g.buttons.front().top, 8);
  EXPECT_EQ(g.buttons.back().top, g.client.height - 33);
}

TEST(AnswerGeometry, TallMessageSetsTheHeightAgainstFewButtons) {
  const AnswerGeometry g = ComputeAnswerGeometry(Sizes({200, 130}, {{20, 13}, {20, 13}}));
  EXPECT_EQ(g.label.height, 130);
  EXPECT_EQ(g.frame.height, 162);
  EXPECT_EQ(g.buttons.back().Bottom(), g.frame.Bottom());
}

TEST(AnswerGeometry, WidestAndTallestCaptionSizeEveryButton) {
  const AnswerGeometry wide = ComputeAnswerGeometry(Sizes({100, 13}, {{20, 13}, {40, 13}, {10, 13}}));
  for (const GeometryRect& b : wide.buttons) EXPECT_EQ(b.width, 72);
  EXPECT_EQ(wide.client.width, wide.frame.width + 72 + 24);

  // 33 pixels of text still fit the minimum width; one more widens it.
  EXPECT_EQ(ComputeAnswerGeometry(Sizes({100, 13}, {{33, 13}})).button.width, 65);
  EXPECT_EQ(ComputeAnswerGeometry(Sizes({100, 13}, {{34, 13}})).button.width, 66);

  const AnswerGeometry tall = ComputeAnswerGeometry(Sizes({100, 13}, {{20, 13}, {20, 20}}));
  EXPECT_EQ(tall.button, (GeometrySize{65, 32}));
  EXPECT_EQ(tall.buttons[0].top + 40, tall.buttons[1].top);
}

TEST(AnswerGeometry, WithoutIconTheMessageStartsAtTheLeftMargin) {
  const AnswerGeometry g = ComputeAnswerGeometry(Sizes({100, 13}, {{20, 13}}, false));
  EXPECT_FALSE(g.icon.has_value());
  EXPECT_EQ(g.label.left, 24);
  EXPECT_EQ(g.frame.width, 24 + 100 + 8);
  EXPECT_EQ(g.client.width, 132 + 65 + 24);
  EXPECT_EQ(g.buttons[0].left, 132 + 16);
}

}  // namespace
}  // namespace jubilora
