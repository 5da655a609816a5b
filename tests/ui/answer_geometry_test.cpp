#include "ui/answer_geometry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace jubilora {
namespace {

AnswerGeometry Compute(GeometrySize message, std::vector<GeometrySize> captions, bool hasIcon = true) {
  return ComputeAnswerGeometry({message, std::move(captions), hasIcon});
}

TEST(AnswerGeometry, OneShortButtonAndOneLineGetTheMinimumSizes) {
  const AnswerGeometry g = Compute({100, 13}, {{20, 13}});
  EXPECT_EQ(g.button, (GeometrySize{65, 25}));
  EXPECT_EQ(g.icon, (GeometryRect{24, 24, 32, 32}));
  // A one-line message still gets a 32-high label, 16 inside a 64-high frame.
  EXPECT_EQ(g.label, (GeometryRect{72, 24, 100, 32}));
  EXPECT_EQ(g.frame, (GeometryRect{8, 8, 180, 64}));
  EXPECT_EQ(g.client, (GeometrySize{180 + 65 + 24, 64 + 16}));
  ASSERT_EQ(g.buttons.size(), 1u);
  EXPECT_EQ(g.buttons[0], (GeometryRect{196, 47, 65, 25}));
}

TEST(AnswerGeometry, ButtonColumnStandsRightOfTheFrameAndSixButtonsGrowTheLabel) {
  const AnswerGeometry g = Compute({240, 78}, std::vector<GeometrySize>(6, GeometrySize{60, 13}));
  const int column = 6 * (25 + 8) - 8;
  EXPECT_EQ(g.label.height, column - 32);
  EXPECT_EQ(g.frame.height, column);
  EXPECT_EQ(g.client.height, column + 16);
  ASSERT_EQ(g.buttons.size(), 6u);
  for (std::size_t i = 0; i < g.buttons.size(); ++i) {
    EXPECT_EQ(g.buttons[i].left, g.frame.Right() + 8) << i;
    EXPECT_EQ(g.buttons[i].top, g.frame.top + 33 * static_cast<int>(i)) << i;
  }
  EXPECT_EQ(g.client.width - g.buttons[0].Right(), 8);
  EXPECT_EQ(g.buttons.back().Bottom(), g.frame.Bottom());
}

TEST(AnswerGeometry, TallMessageSetsTheHeightAgainstFewButtons) {
  const AnswerGeometry g = Compute({200, 130}, {{20, 13}, {20, 13}});
  EXPECT_EQ(g.label.height, 130);
  EXPECT_EQ(g.frame.height, 162);
  EXPECT_EQ(g.buttons.back().Bottom(), g.frame.Bottom());
}

TEST(AnswerGeometry, WidestAndTallestCaptionSizeEveryButton) {
  const AnswerGeometry wide = Compute({100, 13}, {{20, 13}, {40, 13}, {10, 13}});
  for (const GeometryRect& b : wide.buttons) EXPECT_EQ(b.width, 72);
  EXPECT_EQ(wide.client.width, wide.frame.width + 72 + 24);
  // 33 pixels of text still fit the minimum width; one more widens it.
  EXPECT_EQ(Compute({100, 13}, {{33, 13}}).button.width, 65);
  EXPECT_EQ(Compute({100, 13}, {{34, 13}}).button.width, 66);

  const AnswerGeometry tall = Compute({100, 13}, {{20, 13}, {20, 20}});
  EXPECT_EQ(tall.button, (GeometrySize{65, 32}));
  EXPECT_EQ(tall.buttons[0].top + 40, tall.buttons[1].top);
}

TEST(AnswerGeometry, WithoutIconTheMessageStartsAtTheLeftMargin) {
  const AnswerGeometry g = Compute({100, 13}, {{20, 13}}, false);
  EXPECT_FALSE(g.icon.has_value());
  EXPECT_EQ(g.label.left, 24);
  EXPECT_EQ(g.frame.width, 24 + 100 + 8);
  EXPECT_EQ(g.buttons[0].left, 132 + 16);
}

}  // namespace
}  // namespace jubilora
