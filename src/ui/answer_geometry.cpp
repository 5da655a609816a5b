#include "ui/answer_geometry.h"

#include <algorithm>

namespace jubilora {

namespace {

constexpr int FrameOffset = 8;
constexpr int IconOffset = 24;
constexpr int IconSize = 32;
constexpr int LabelTop = 24;
constexpr int LabelLeftWithIcon = 72;
constexpr int LabelLeftWithoutIcon = 24;
constexpr int MinLabelHeight = 32;
constexpr int MinButtonWidth = 65;
constexpr int MinButtonHeight = 25;
constexpr int ButtonTextMarginX = 32;
constexpr int ButtonTextMarginY = 12;
constexpr int ButtonGap = 8;

GeometrySize ButtonSize(const std::vector<GeometrySize>& captions) {
  int widest = 0;
  int tallest = 0;
  for (const GeometrySize& caption : captions) {
    widest = std::max(widest, caption.width);
    tallest = std::max(tallest, caption.height);
  }
  return {std::max(MinButtonWidth, widest + ButtonTextMarginX),
          std::max(MinButtonHeight, tallest + ButtonTextMarginY)};
}

}  // namespace

AnswerGeometry ComputeAnswerGeometry(const AnswerTextSizes& sizes) {
  AnswerGeometry g;
  const int count = static_cast<int>(sizes.captions.size());
  g.button = ButtonSize(sizes.captions);
  const int column = count > 0 ? count * (g.button.height + ButtonGap) - ButtonGap : 0;

  if (sizes.hasIcon) g.icon = GeometryRect{IconOffset, IconOffset, IconSize, IconSize};

  // The label grows with the button column, so the text stays centred against the buttons.
  g.label.left = sizes.hasIcon ? LabelLeftWithIcon : LabelLeftWithoutIcon;
  g.label.top = LabelTop;
  g.label.width = sizes.message.width;
  g.label.height = std::max({sizes.message.height, column - 32, MinLabelHeight});

  g.frame = {FrameOffset, FrameOffset, g.label.Right() + 8, g.label.height + 32};
  g.client = {g.frame.width + g.button.width + 24, g.frame.height + 16};

  // The column stands at the right; the last button's bottom is level with the frame's.
  g.buttons.reserve(sizes.captions.size());
  for (int i = 0; i < count; ++i) {
    g.buttons.push_back({g.frame.width + 16, g.client.height - (count - i) * (g.button.height + ButtonGap),
                         g.button.width, g.button.height});
  }
  return g;
}

}  // namespace jubilora
