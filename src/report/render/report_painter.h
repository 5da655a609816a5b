#pragma once
// Paints a report layout into a 32-bit raster with Qt, whole or in parts and at any device
// pixel ratio, and measures its texts the same way.

#include <array>
#include <string>

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>

#include "core/settings.h"
#include "report/layout.h"

namespace jubilora {

// Registers the pictures compiled into the program (":/icons/..."). Safe to call often.
void InitResources();

// The report font of the settings, sized as at 96 dots per inch so that measuring does not
// depend on the device; `struck` adds strike-out for past days.
QFont ReportQFont(const TCfg& cfg, bool struck);

class QtTextMeasurer : public TextMeasurer {
 public:
  explicit QtTextMeasurer(const TCfg& cfg);
  TextSize Measure(FontRole role, const std::string& cp1252Text) const override;

 private:
  QFont heading_;
  QFont report_;
  QFont struck_;
};

// The seven kind pictures, rendered from their SVGs at `ratio` device pixels per picture
// pixel (32 x 32 at ratio 1); image 6 repeats image 5. A picture that cannot be read stays
// fully transparent.
class KindIcons {
 public:
  explicit KindIcons(double ratio = 1.0);
  const QImage& Image(int index) const;
  double Ratio() const { return ratio_; }

 private:
  double ratio_;
  std::array<QImage, ReportKindImages> images_;
};

// A report picture that paints any part of itself on demand, so that a long report never
// needs one huge raster.
class ReportPainter {
 public:
  ReportPainter(ReportLayout layout, const TCfg& cfg);

  const ReportLayout& Layout() const { return layout_; }
  QSize Size() const { return {layout_.width, layout_.height}; }

  // Paints into `surface` the picture's pixels at `icons.Ratio()` device pixels per picture
  // pixel: surface pixel (0, 0) shows the picture's device pixel `origin`. Pixels beyond the
  // picture are left alone, and so are operations whose ink misses the surface. Returns the
  // number of operations drawn.
  int Paint(QImage& surface, QPoint origin, const KindIcons& icons) const;

  // Where an operation may leave ink, in picture pixels.
  QRect Bounds(const DrawOp& op) const;

 private:
  const QFont& Font(FontRole role) const;

  ReportLayout layout_;
  std::array<QFont, 3> fonts_;  // in FontRole order
  std::array<int, 3> heights_{};
};

// The whole picture at ratio 1: Format_ARGB32, fully opaque, the layout's size.
QImage PaintReport(const ReportLayout& layout, const TCfg& cfg, const KindIcons& icons);

}  // namespace jubilora
