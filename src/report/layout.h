#pragma once
// The report picture as data: its size, where the view opens, and the drawing operations
// with their coordinates and colours. Painting them is the shell's job.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "core/ports.h"
#include "core/settings.h"
#include "report/selection.h"

namespace jubilora {

// The three fonts of the report: the window's heading font, the report font of the
// settings, and the report font struck through for past days.
enum class FontRole { Heading, Report, ReportStruck };

struct TextSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const TextSize&, const TextSize&) = default;
};

// Measures a Windows-1252 text as the text output would lay it out in one of the fonts.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual TextSize Measure(FontRole role, const std::string& cp1252Text) const = 0;
};

// Layout constants of the picture.
inline constexpr int ReportMinWidth = 300;
inline constexpr int ReportMargin = 10;
inline constexpr int ReportIconColumn = 42;
inline constexpr int ReportIconSize = 32;
inline constexpr int ReportKindImages = 7;

// Columns left .. right-1 and rows top .. bottom-1, fading from startColor to endColor.
struct GradientBar {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  std::uint32_t startColor = 0;  // 0xFFRRGGBB
  std::uint32_t endColor = 0;
  friend bool operator==(const GradientBar&, const GradientBar&) = default;
};

// A text with its top-left corner at (x, y).
struct TextOp {
  int x = 0;
  int y = 0;
  std::string text;  // Windows-1252
  FontRole role = FontRole::Report;
  std::uint32_t color = 0;  // 0xFFRRGGBB
  int smoothing = 0;        // 0 or 2: drawn at 2^smoothing times the size and reduced
  friend bool operator==(const TextOp&, const TextOp&) = default;
};

// One of the seven kind images with its top-left corner at (x, y).
struct IconOp {
  int x = 0;
  int y = 0;
  int image = 0;     // 0..6
  int opacity = 0;   // master opacity 0..255
  friend bool operator==(const IconOp&, const IconOp&) = default;
};

using DrawOp = std::variant<GradientBar, TextOp, IconOp>;

struct ReportLayout {
  int width = 0;
  int height = 0;
  std::uint32_t background = 0;    // 0xFFRRGGBB
  std::optional<int> scrollTarget;  // top of the first heading dated today or later
  std::vector<DrawOp> ops;          // in drawing order
};

// The report picture of `entries` (as SelectionWindow returns them for the list in date
// order): the measuring pass sizes it, the drawing pass places every heading, entry and icon.
ReportLayout LayoutReport(const TAnniversaryList& list, const std::vector<ReportEntry>& entries, const TCfg& cfg,
                          DayNumber today, const TextMeasurer& measurer, const SystemColors& system);

// The image of a record's kind; nothing for kind 0, which has no picture.
std::optional<int> KindImage(std::uint8_t kind);

// Colour of column x of a gradient bar over columns left .. right-1; x counts from the
// surface's left edge. Each channel is c1 - Trunc((c1 - c2) / (right - left) * x).
std::uint32_t GradientColumnColor(std::uint32_t c1, std::uint32_t c2, int left, int right, int x);

}  // namespace jubilora
