#include "report/render/report_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <QFontMetrics>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QSvgRenderer>

#include "core/text_codec.h"

// Q_INIT_RESOURCE must be used outside any namespace. The resources live in a static
// library, whose registration object the linker would otherwise leave out.
static void RegisterCompiledResources() { Q_INIT_RESOURCE(resources); }

namespace jubilora {

namespace {

constexpr int HeadingPixelSize = 11;
constexpr double ScreenDpi = 96.0;
constexpr double PointsPerInch = 72.0;
constexpr int MaxSmoothing = 4;

QString FromCp1252(const std::string& text) { return QString::fromUtf8(Cp1252ToUtf8(text)); }

// Blends `color` onto an opaque surface pixel with `coverage` (0..255) of its alpha.
QRgb Blend(QRgb surface, QRgb color, int coverage) {
  const int alpha = (coverage * qAlpha(color) + 127) / 255;
  if (alpha == 0) return surface;
  const auto mix = [alpha](int source, int target) { return (source * alpha + target * (255 - alpha) + 127) / 255; };
  return qRgba(mix(qRed(color), qRed(surface)), mix(qGreen(color), qGreen(surface)), mix(qBlue(color), qBlue(surface)),
               alpha + (qAlpha(surface) * (255 - alpha) + 127) / 255);
}

int FloorTo(int value, int step) { return value >= 0 ? value / step * step : -((-value + step - 1) / step) * step; }
int CeilTo(int value, int step) { return -FloorTo(-value, step); }

void PaintGradientBar(QImage& surface, const GradientBar& bar) {
  const int firstColumn = std::max(bar.left, 0);
  const int endColumn = std::min(bar.right, surface.width());
  const int firstRow = std::max(bar.top, 0);
  const int endRow = std::min(bar.bottom, surface.height());
  if (firstColumn >= endColumn || firstRow >= endRow) return;

  std::vector<QRgb> columns;
  columns.reserve(static_cast<std::size_t>(endColumn - firstColumn));
  for (int x = firstColumn; x < endColumn; ++x)
    columns.push_back(GradientColumnColor(bar.startColor, bar.endColor, bar.left, bar.right, x));
  for (int row = firstRow; row < endRow; ++row) {
    auto* line = reinterpret_cast<QRgb*>(surface.scanLine(row));
    std::copy(columns.begin(), columns.end(), line + firstColumn);
  }
}

void PaintPlainText(QImage& surface, const QFont& font, int x, int y, const QString& text, QRgb color) {
  QPainter painter(&surface);
  painter.setFont(font);
  painter.setPen(QColor::fromRgba(color));
  painter.drawText(QPoint(x, y + QFontMetrics(font).ascent()), text);
}

// Draws the glyphs white on black at 2^level times the size, averages each block of
// 2^level x 2^level mask pixels and blends the colour with that coverage, so the text is
// smoothed the same way whether or not the system smooths fonts.
void PaintSmoothedText(QImage& surface, const QFont& font, int x, int y, const QString& text, QRgb color,
                       int level) {
  const int factor = 1 << level;
  QFont large = font;
  large.setPixelSize(font.pixelSize() * factor);
  const QFontMetrics metrics(large);
  const int ascent = metrics.ascent();

  // The scratch area in text-cell coordinates (top-left of the text at 0, 0), grown to take
  // overhanging glyphs and aligned to whole blocks.
  const QRect ink = metrics.boundingRect(text).translated(0, ascent);
  const int left = FloorTo(std::min(0, ink.left()) - factor, factor);
  const int top = FloorTo(std::min(0, ink.top()), factor);
  const int right = CeilTo(std::max(metrics.horizontalAdvance(text), ink.right() + 1) + factor, factor);
  const int bottom = CeilTo(std::max(metrics.height(), ink.bottom() + 1), factor);

  QImage mask(right - left, bottom - top, QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter painter(&mask);
    painter.setFont(large);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(-left, -top + ascent), text);
  }

  const int blocks = factor * factor;
  const int originX = x + left / factor;
  const int originY = y + top / factor;
  for (int row = 0; row < mask.height() / factor; ++row) {
    const int surfaceY = originY + row;
    if (surfaceY < 0 || surfaceY >= surface.height()) continue;
    auto* line = reinterpret_cast<QRgb*>(surface.scanLine(surfaceY));
    for (int column = 0; column < mask.width() / factor; ++column) {
      const int surfaceX = originX + column;
      if (surfaceX < 0 || surfaceX >= surface.width()) continue;
      int sum = 0;
      for (int dy = 0; dy < factor; ++dy) {
        const uchar* maskLine = mask.constScanLine(row * factor + dy) + column * factor;
        for (int dx = 0; dx < factor; ++dx) sum += maskLine[dx];
      }
      const int coverage = (sum + blocks / 2) / blocks;
      if (coverage > 0) line[surfaceX] = Blend(line[surfaceX], color, coverage);
    }
  }
}

void PaintText(QImage& surface, const TextOp& op, const TCfg& cfg) {
  const QFont font = FontFor(op.role, cfg);
  const QString text = FromCp1252(op.text);
  const int level = std::clamp(op.smoothing, 0, MaxSmoothing);
  if (level == 0) {
    PaintPlainText(surface, font, op.x, op.y, text, op.color);
  } else {
    PaintSmoothedText(surface, font, op.x, op.y, text, op.color, level);
  }
}

void PaintIcon(QImage& surface, const IconOp& op, const KindIcons& icons) {
  if (op.image < 0 || op.image >= ReportKindImages) return;
  QPainter painter(&surface);
  painter.setOpacity(std::clamp(op.opacity, 0, 255) / 255.0);
  painter.drawImage(QPoint(op.x, op.y), icons.Image(op.image));
}

}  // namespace

void InitResources() {
  static const bool registered = [] {
    RegisterCompiledResources();
    return true;
  }();
  (void)registered;
}

QFont HeadingFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(HeadingPixelSize);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

QFont ReportQFont(const TCfg& cfg, bool struck) {
  QFont font(FromCp1252(cfg.FontName));
  // A damaged settings file may hold a size of zero or less; Qt needs at least one pixel.
  const auto pixels = std::lround(static_cast<double>(cfg.FontSize) * ScreenDpi / PointsPerInch);
  font.setPixelSize(static_cast<int>(std::max(1L, pixels)));
  font.setBold(cfg.FontBold);
  font.setItalic(cfg.FontItalic);
  font.setStrikeOut(struck);
  return font;
}

QFont FontFor(FontRole role, const TCfg& cfg) {
  switch (role) {
    case FontRole::Heading:
      return HeadingFont();
    case FontRole::ReportStruck:
      return ReportQFont(cfg, true);
    case FontRole::Report:
      break;
  }
  return ReportQFont(cfg, false);
}

QtTextMeasurer::QtTextMeasurer(const TCfg& cfg)
    : heading_(HeadingFont()), report_(ReportQFont(cfg, false)), struck_(ReportQFont(cfg, true)) {}

TextSize QtTextMeasurer::Measure(FontRole role, const std::string& cp1252Text) const {
  const QFont& font = role == FontRole::Heading ? heading_ : role == FontRole::Report ? report_ : struck_;
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(FromCp1252(cp1252Text)), metrics.height()};
}

KindIcons::KindIcons() {
  InitResources();
  // In image order: birthday, name day, wedding, death, holiday, other, other without years.
  static const char* const files[ReportKindImages] = {
      ":/icons/kind_birthday.svg", ":/icons/kind_nameday.svg", ":/icons/kind_wedding.svg",
      ":/icons/kind_death.svg",    ":/icons/kind_holiday.svg", ":/icons/kind_other.svg",
      ":/icons/kind_other.svg"};
  for (int i = 0; i < ReportKindImages; ++i) {
    QImage image(ReportIconSize, ReportIconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QString::fromLatin1(files[i]));
    if (renderer.isValid()) {
      QPainter painter(&image);
      renderer.render(&painter, QRectF(0, 0, ReportIconSize, ReportIconSize));
    } else {
      allLoaded_ = false;
    }
    images_[static_cast<std::size_t>(i)] = image;
  }
}

const QImage& KindIcons::Image(int index) const {
  return images_[static_cast<std::size_t>(std::clamp(index, 0, ReportKindImages - 1))];
}

QImage PaintReport(const ReportLayout& layout, const TCfg& cfg, const KindIcons& icons) {
  QImage surface(layout.width, layout.height, QImage::Format_ARGB32);
  if (surface.isNull()) return surface;
  surface.fill(QColor::fromRgba(layout.background | 0xFF000000u));
  for (const DrawOp& op : layout.ops) {
    if (const auto* bar = std::get_if<GradientBar>(&op)) {
      PaintGradientBar(surface, *bar);
    } else if (const auto* text = std::get_if<TextOp>(&op)) {
      PaintText(surface, *text, cfg);
    } else if (const auto* icon = std::get_if<IconOp>(&op)) {
      PaintIcon(surface, *icon, icons);
    }
  }
  return surface;
}

}  // namespace jubilora
