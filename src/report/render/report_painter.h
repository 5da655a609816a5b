#pragma once
// Paints a report layout into a 32-bit raster with Qt, and measures its texts the same way.

#include <array>
#include <string>

#include <QFont>
#include <QImage>

#include "core/settings.h"
#include "report/layout.h"

namespace jubilora {

// Registers the pictures compiled into the program (":/icons/..."). Safe to call often.
void InitResources();

// The window's heading font: "Tahoma", 11 pixels, regular.
QFont HeadingFont();
// The report font of the settings, sized as at 96 dots per inch so that measuring does not
// depend on the device; `struck` adds strike-out for past days.
QFont ReportQFont(const TCfg& cfg, bool struck);
QFont FontFor(FontRole role, const TCfg& cfg);

class QtTextMeasurer : public TextMeasurer {
 public:
  explicit QtTextMeasurer(const TCfg& cfg);
  TextSize Measure(FontRole role, const std::string& cp1252Text) const override;

 private:
  QFont heading_;
  QFont report_;
  QFont struck_;
};

// The seven 32 x 32 kind pictures; image 6 repeats image 5.
class KindIcons {
 public:
  KindIcons();
  const QImage& Image(int index) const;
  // False when a picture could not be read; its image is then fully transparent.
  bool AllLoaded() const { return allLoaded_; }

 private:
  std::array<QImage, ReportKindImages> images_;
  bool allLoaded_ = true;
};

// The whole picture: Format_ARGB32, fully opaque, the layout's size.
QImage PaintReport(const ReportLayout& layout, const TCfg& cfg, const KindIcons& icons);

}  // namespace jubilora
