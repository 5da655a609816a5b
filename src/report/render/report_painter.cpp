#include "report/render/report_painter.h"

#include <algorithm>
#include <cmath>
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
// How far a text's ink may stray from its measured box: overhanging glyphs, the smoothing's
// scratch margin and rounding at other ratios.
constexpr int InkSlack = 3;

// Picture pixels to the surface's device pixels.
struct DeviceMap {
  double ratio;
  QPoint origin;  // the picture's device pixel at the surface's top-left

  int Scale(int value) const { return static_cast<int>(std::lround(value * ratio)); }
  int X(int x) const { return Scale(x) - origin.x(); }
  int Y(int y) const { return Scale(y) - origin.y(); }
  QPoint At(int x, int y) const { return {X(x), Y(y)}; }
};

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

// Copies `row` (the colours of columns first .. first + size - 1) into rows top .. bottom - 1.
void FillRows(QImage& surface, int top, int bottom, int first, const std::vector<QRgb>& row) {
  for (int y = std::max(top, 0); y < std::min(bottom, surface.height()); ++y)
    std::copy(row.begin(), row.end(), reinterpret_cast<QRgb*>(surface.scanLine(y)) + first);
}

void FillRect(QImage& surface, const QRect& rect, QRgb color) {
  const QRect area = rect & surface.rect();
  if (area.isEmpty()) return;
  FillRows(surface, area.top(), area.bottom() + 1, area.left(), std::vector<QRgb>(area.width(), color));
}

// Each picture column of the bar covers its own device columns in its own colour.
void PaintGradientBar(QImage& surface, const GradientBar& bar, const DeviceMap& map) {
  const int first = std::max(map.X(bar.left), 0);
  const int end = std::min(map.X(bar.right), surface.width());
  if (first >= end) return;
  std::vector<QRgb> row;
  row.reserve(static_cast<std::size_t>(end - first));
  for (int x = bar.left; x < bar.right && map.X(x) < end; ++x) {
    const int from = std::max(map.X(x), first);
    const int to = std::min(map.X(x + 1), end);
    if (from >= to) continue;
    row.insert(row.end(), static_cast<std::size_t>(to - from),
               GradientColumnColor(bar.startColor, bar.endColor, bar.left, bar.right, x));
  }
  FillRows(surface, map.Y(bar.top), map.Y(bar.bottom), first, row);
}

// Texts are laid out in picture pixels and drawn scaled to the device, so that at any ratio a
// text takes the same room as at ratio 1, only sharper. (A translated painter would place the
// glyphs a shade differently at ratio 1, where the picture must stay as it always was.)
void DrawAt(QPainter& painter, QPoint topLeft, double ratio, int ascent, const QString& text) {
  if (ratio == 1.0) {
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + ascent), text);
    return;
  }
  painter.translate(topLeft);
  painter.scale(ratio, ratio);
  painter.drawText(QPoint(0, ascent), text);
}

void PaintPlainText(QImage& surface, const QFont& font, const DeviceMap& map, const TextOp& op, const QString& text) {
  QPainter painter(&surface);
  painter.setFont(font);
  painter.setPen(QColor::fromRgba(op.color));
  DrawAt(painter, map.At(op.x, op.y), map.ratio, QFontMetrics(font).ascent(), text);
}

// Draws the glyphs white on black at 2^level times the size, averages each block of
// 2^level x 2^level mask pixels and blends the colour with that coverage, so the text is
// smoothed the same way whether or not the system smooths fonts.
void PaintSmoothedText(QImage& surface, const QFont& font, const DeviceMap& map, const TextOp& op,
                       const QString& text, int level) {
  const int factor = 1 << level;
  QFont large = font;
  large.setPixelSize(font.pixelSize() * factor);
  const QFontMetrics metrics(large);
  const int ascent = metrics.ascent();

  // The scratch area in device pixels of the large text (its top-left at 0, 0), grown to take
  // overhanging glyphs and aligned to whole blocks.
  const double r = map.ratio;
  const QRect ink = metrics.boundingRect(text).translated(0, ascent);
  const auto device = [r](int value, auto round) { return static_cast<int>(round(value * r)); };
  const auto down = [](double v) { return std::floor(v); };
  const auto up = [](double v) { return std::ceil(v); };
  const int left = FloorTo(device(std::min(0, ink.left()), down) - factor, factor);
  const int top = FloorTo(device(std::min(0, ink.top()), down), factor);
  const int right = CeilTo(device(std::max(metrics.horizontalAdvance(text), ink.right() + 1), up) + factor, factor);
  const int bottom = CeilTo(device(std::max(metrics.height(), ink.bottom() + 1), up), factor);

  // Only the blocks that land on the surface are drawn and reduced: a window paints a long
  // text in parts.
  const QPoint at = map.At(op.x, op.y);
  const int originX = at.x() + left / factor;
  const int originY = at.y() + top / factor;
  const int firstColumn = std::max(0, -originX);
  const int firstRow = std::max(0, -originY);
  const int columns = std::min((right - left) / factor, surface.width() - originX) - firstColumn;
  const int rows = std::min((bottom - top) / factor, surface.height() - originY) - firstRow;
  if (columns <= 0 || rows <= 0) return;

  QImage mask(columns * factor, rows * factor, QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter painter(&mask);
    painter.setFont(large);
    painter.setPen(Qt::white);
    DrawAt(painter, QPoint(-left - firstColumn * factor, -top - firstRow * factor), r, ascent, text);
  }

  const int blocks = factor * factor;
  for (int row = 0; row < rows; ++row) {
    auto* line = reinterpret_cast<QRgb*>(surface.scanLine(originY + firstRow + row)) + originX + firstColumn;
    for (int column = 0; column < columns; ++column) {
      int sum = 0;
      for (int dy = 0; dy < factor; ++dy) {
        const uchar* maskLine = mask.constScanLine(row * factor + dy) + column * factor;
        for (int dx = 0; dx < factor; ++dx) sum += maskLine[dx];
      }
      const int coverage = (sum + blocks / 2) / blocks;
      if (coverage > 0) line[column] = Blend(line[column], op.color, coverage);
    }
  }
}

void PaintText(QImage& surface, const TextOp& op, const QFont& font, const DeviceMap& map) {
  const QString text = QString::fromStdString(Cp1252ToUtf8(op.text));
  const int level = std::clamp(op.smoothing, 0, MaxSmoothing);
  if (level == 0) {
    PaintPlainText(surface, font, map, op, text);
  } else {
    PaintSmoothedText(surface, font, map, op, text, level);
  }
}

void PaintIcon(QImage& surface, const IconOp& op, const KindIcons& icons, const DeviceMap& map) {
  if (op.image < 0 || op.image >= ReportKindImages) return;
  QPainter painter(&surface);
  painter.setOpacity(std::clamp(op.opacity, 0, 255) / 255.0);
  painter.drawImage(map.At(op.x, op.y), icons.Image(op.image));
}

// The window's heading font: "Tahoma", 11 pixels, regular.
QFont HeadingFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(HeadingPixelSize);
  font.setBold(false);
  font.setItalic(false);
  return font;
}

}  // namespace

void InitResources() {
  static const bool registered = [] {
    RegisterCompiledResources();
    return true;
  }();
  (void)registered;
}

QFont ReportQFont(const TCfg& cfg, bool struck) {
  QFont font(QString::fromStdString(Cp1252ToUtf8(cfg.FontName)));
  // A damaged settings file may hold a size of zero or less; Qt needs at least one pixel.
  const auto pixels = std::lround(static_cast<double>(cfg.FontSize) * ScreenDpi / PointsPerInch);
  font.setPixelSize(static_cast<int>(std::max(1L, pixels)));
  font.setBold(cfg.FontBold);
  font.setItalic(cfg.FontItalic);
  font.setStrikeOut(struck);
  return font;
}

namespace {

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

}  // namespace

QtTextMeasurer::QtTextMeasurer(const TCfg& cfg)
    : heading_(HeadingFont()), report_(ReportQFont(cfg, false)), struck_(ReportQFont(cfg, true)) {}

TextSize QtTextMeasurer::Measure(FontRole role, const std::string& cp1252Text) const {
  const QFont& font = role == FontRole::Heading ? heading_ : role == FontRole::Report ? report_ : struck_;
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(QString::fromStdString(Cp1252ToUtf8(cp1252Text))), metrics.height()};
}

KindIcons::KindIcons(double ratio) : ratio_(ratio) {
  InitResources();
  // In image order: birthday, name day, wedding, death, holiday, other, other without years.
  static const char* const files[ReportKindImages] = {
      ":/icons/kind_birthday.svg", ":/icons/kind_nameday.svg", ":/icons/kind_wedding.svg",
      ":/icons/kind_death.svg",    ":/icons/kind_holiday.svg", ":/icons/kind_other.svg",
      ":/icons/kind_other.svg"};
  const int size = std::max(1, static_cast<int>(std::lround(ReportIconSize * ratio)));
  for (int i = 0; i < ReportKindImages; ++i) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QString::fromLatin1(files[i]));
    if (renderer.isValid()) {
      QPainter painter(&image);
      renderer.render(&painter, QRectF(0, 0, size, size));
    }
    images_[static_cast<std::size_t>(i)] = image;
  }
}

const QImage& KindIcons::Image(int index) const {
  return images_[static_cast<std::size_t>(std::clamp(index, 0, ReportKindImages - 1))];
}

ReportPainter::ReportPainter(ReportLayout layout, const TCfg& cfg)
    : layout_(std::move(layout)),
      fonts_{FontFor(FontRole::Heading, cfg), FontFor(FontRole::Report, cfg), FontFor(FontRole::ReportStruck, cfg)} {
  for (std::size_t role = 0; role < fonts_.size(); ++role) heights_[role] = QFontMetrics(fonts_[role]).height();
}

const QFont& ReportPainter::Font(FontRole role) const { return fonts_[static_cast<std::size_t>(role)]; }

QRect ReportPainter::Bounds(const DrawOp& op) const {
  if (const auto* bar = std::get_if<GradientBar>(&op))
    return QRect(QPoint(bar->left, bar->top), QPoint(bar->right - 1, bar->bottom - 1));
  if (const auto* icon = std::get_if<IconOp>(&op)) return QRect(icon->x, icon->y, ReportIconSize, ReportIconSize);
  const auto& text = std::get<TextOp>(op);
  const QFontMetrics metrics(Font(text.role));
  const QString characters = QString::fromStdString(Cp1252ToUtf8(text.text));
  const QRect cell(text.x, text.y, metrics.horizontalAdvance(characters), metrics.height());
  const QRect ink = metrics.boundingRect(characters).translated(text.x, text.y + metrics.ascent());
  return (cell | ink).adjusted(-InkSlack, -InkSlack, InkSlack, InkSlack);
}

int ReportPainter::Paint(QImage& surface, QPoint origin, const KindIcons& icons) const {
  const DeviceMap map{icons.Ratio(), origin};
  FillRect(surface, QRect(map.At(0, 0), QSize(map.Scale(layout_.width), map.Scale(layout_.height))),
           layout_.background | 0xFF000000u);
  // The part of the picture the surface shows, in picture pixels.
  const QRect area = QRectF(origin.x() / map.ratio, origin.y() / map.ratio, surface.width() / map.ratio,
                            surface.height() / map.ratio)
                         .toAlignedRect();
  const bool everything = area.contains(QRect(QPoint(0, 0), Size()));
  int drawn = 0;
  for (const DrawOp& op : layout_.ops) {
    // A cheap look at the rows first: measuring every text of a long report would cost more
    // than painting the few that show.
    if (const auto* text = std::get_if<TextOp>(&op); text != nullptr && !everything) {
      const int height = heights_[static_cast<std::size_t>(text->role)];
      if (text->y + 2 * height < area.top() || text->y - height > area.bottom()) continue;
    }
    if (!everything && !Bounds(op).intersects(area)) continue;
    ++drawn;
    if (const auto* bar = std::get_if<GradientBar>(&op)) {
      PaintGradientBar(surface, *bar, map);
    } else if (const auto* text = std::get_if<TextOp>(&op)) {
      PaintText(surface, *text, Font(text->role), map);
    } else if (const auto* icon = std::get_if<IconOp>(&op)) {
      PaintIcon(surface, *icon, icons, map);
    }
  }
  return drawn;
}

QImage PaintReport(const ReportLayout& layout, const TCfg& cfg, const KindIcons& icons) {
  QImage surface(layout.width, layout.height, QImage::Format_ARGB32);
  if (surface.isNull()) return surface;
  ReportPainter(layout, cfg).Paint(surface, QPoint(0, 0), icons);
  return surface;
}

}  // namespace jubilora
