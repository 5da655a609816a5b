#include "ui/system_colors.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include "core/naming.h"

namespace jubilora {

namespace {

struct PaletteEntry {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// Windows colour index -> the palette colour that plays the same part on this desktop.
PaletteEntry EntryFor(int index) {
  constexpr QPalette::ColorGroup active = QPalette::Active;
  switch (index) {
    case 0: return {active, QPalette::Button};                 // scroll bar
    case 1: return {active, QPalette::Dark};                   // desktop
    case 2: return {active, QPalette::Highlight};              // active caption
    case 3: return {active, QPalette::Mid};                    // inactive caption
    case 4: return {active, QPalette::Window};                 // menu
    case 5: return {active, QPalette::Base};                   // window
    case 6: return {active, QPalette::Shadow};                 // window frame
    case 7: return {active, QPalette::WindowText};             // menu text
    case 8: return {active, QPalette::WindowText};             // window text
    case 9: return {active, QPalette::HighlightedText};        // caption text
    case 10: return {active, QPalette::Window};                // active border
    case 11: return {active, QPalette::Window};                // inactive border
    case 12: return {active, QPalette::Mid};                   // application workspace
    case 13: return {active, QPalette::Highlight};             // highlight
    case 14: return {active, QPalette::HighlightedText};       // highlight text
    case 15: return {active, QPalette::Button};                // button face
    case 16: return {active, QPalette::Dark};                  // button shadow
    case 17: return {QPalette::Disabled, QPalette::Text};      // grey text
    case 18: return {active, QPalette::ButtonText};            // button text
    case 19: return {QPalette::Disabled, QPalette::WindowText};  // inactive caption text
    case 20: return {active, QPalette::Light};                 // button highlight
    case 21: return {active, QPalette::Shadow};                // 3D dark shadow
    case 22: return {active, QPalette::Midlight};              // 3D light
    case 23: return {active, QPalette::ToolTipText};           // info text
    case 24: return {active, QPalette::ToolTipBase};           // info background
    case 26: return {active, QPalette::Link};                  // hot light
    case 27: return {active, QPalette::Highlight};             // gradient active caption
    case 28: return {active, QPalette::Mid};                   // gradient inactive caption
    case 29: return {active, QPalette::Highlight};             // menu highlight
    case 30: return {active, QPalette::Window};                // menu bar
    default: return {active, QPalette::WindowText};
  }
}

}  // namespace

std::uint32_t QtSystemColors::ColorOf(int index) const {
  const PaletteEntry entry = EntryFor(index);
  return static_cast<std::uint32_t>(FromColor32(QGuiApplication::palette().color(entry.group, entry.role).rgb()));
}

}  // namespace jubilora
