#include "platform/default_colors.h"

#include <array>

namespace jubilora {

namespace {

// By Windows colour index, the colour of the palette role that the window's adapter maps it to,
// in Qt's palette on the offscreen platform.
constexpr std::uint32_t Button = 0xEFEFEF, Window = 0xEFEFEF, Base = 0xFFFFFF, Light = 0xFFFFFF;
constexpr std::uint32_t Midlight = 0xCACACA, Mid = 0xB8B8B8, Dark = 0x9F9F9F, Shadow = 0x767676;
constexpr std::uint32_t WindowText = 0, ButtonText = 0, ToolTipText = 0, DisabledText = 0xBEBEBE;
constexpr std::uint32_t Highlight = 0xC68C30, HighlightedText = 0xFFFFFF, Link = 0xFF0000;
constexpr std::uint32_t ToolTipBase = 0xDCFFFF;

constexpr std::array<std::uint32_t, 31> Table = {
    Button,      Dark,       Highlight,    Mid,        Window,    Base,      Shadow,          WindowText,  // 0-7
    WindowText,  HighlightedText, Window,  Window,     Mid,       Highlight, HighlightedText, Button,      // 8-15
    Dark,        DisabledText, ButtonText, DisabledText, Light,   Shadow,    Midlight,        ToolTipText, // 16-23
    ToolTipBase, WindowText, Link,         Highlight,  Mid,       Highlight, Window,                       // 24-30
};

}  // namespace

std::uint32_t DefaultSystemColors::ColorOf(int index) const {
  if (index < 0 || index >= static_cast<int>(Table.size())) return WindowText;
  return Table[static_cast<std::size_t>(index)];
}

}  // namespace jubilora
