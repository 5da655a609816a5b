#include "report/render/report_painter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QSize>

#include "core/naming.h"
#include "core/text_codec.h"
#include "report/layout.h"
#include "report/text_report.h"
#include "support/qt_app.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::FixedSystemColors;
using test::Record;

constexpr std::uint32_t Background = 0xFF204060u;
constexpr std::uint32_t Ink = 0xFFFFFF00u;

// Calls `visit(x, y, pixel)` for every pixel of the image.
template <typename Visit>
void EachPixel(const QImage& image, Visit visit) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) visit(x, y, image.pixel(x, y));
}

// The bounding box of every pixel that differs from the background.
QRect InkBox(const QImage& image, QRgb background) {
  QRect box;
  EachPixel(image, [&](int x, int y, QRgb p) {
    if (p != background) box |= QRect(x, y, 1, 1);
  });
  return box;
}

// Sum over all pixels of the channel distances from the background.
long long Distance(const QImage& image, QRgb background) {
  long long sum = 0;
  EachPixel(image, [&](int, int, QRgb p) {
    sum += std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
           std::abs(qBlue(p) - qBlue(background));
  });
  return sum;
}

class PainterTest : public ::testing::Test {
 protected:
  QApplication& app = test::TestApplication();
  TCfg cfg;
  FixedSystemColors system;
  KindIcons icons;
  const DayNumber today = DayFromCivil(2025, 1, 28);

  QImage Paint(int width, int height, std::vector<DrawOp> ops) const {
    ReportLayout layout;
    layout.width = width;
    layout.height = height;
    layout.background = Background;
    layout.ops = std::move(ops);
    return PaintReport(layout, cfg, icons);
  }

  QImage PaintText(const std::string& text, FontRole role, int smoothing) const {
    return Paint(400, 60, {TextOp{10, 10, text, role, Ink, smoothing}});
  }

  // PrepareReportEntries puts the list in date order first, so it works on a copy.
  ReportLayout LayoutOf(TAnniversaryList list) const {
    return LayoutReport(list, PrepareReportEntries(list, cfg, today), cfg, today, QtTextMeasurer(cfg), system);
  }
};

TEST_F(PainterTest, GradientStartsAtItsColourAndNeverReachesTheBackground) {
  const std::uint32_t start = 0xFFF0C060u;
  const QImage image = Paint(300, 30, {GradientBar{0, 5, 300, 22, start, Background}});
  for (int y = 5; y < 22; ++y) {
    EXPECT_EQ(image.pixel(0, y), start) << y;
    EXPECT_NE(image.pixel(299, y), Background) << y;
  }
  // Every column carries its own colour, top to bottom; rows above and below are untouched.
  for (int x = 0; x < 300; x += 23) EXPECT_EQ(image.pixel(x, 13), GradientColumnColor(start, Background, 0, 300, x));
  EXPECT_EQ(image.pixel(0, 4), Background);
  EXPECT_EQ(image.pixel(0, 22), Background);
}

TEST_F(PainterTest, HeadingBarsStartInThePassedUrgentOrDateColour) {
  const ReportLayout layout = LayoutOf({Record(KindNameDay, 1990, 1, 26, "Eve"),
                                        Record(KindBirthday, 1990, 1, 28, "Anna"),
                                        Record(KindWedding, 2000, 2, 5, "Bob")});
  const QImage image = PaintReport(layout, cfg, icons);
  std::vector<std::uint32_t> starts;
  for (const DrawOp& op : layout.ops)
    if (const auto* bar = std::get_if<GradientBar>(&op)) starts.push_back(image.pixel(0, bar->top));
  EXPECT_EQ(starts, (std::vector<std::uint32_t>{ToColor32(cfg.Passed, system), ToColor32(cfg.MostUrgent, system),
                                                ToColor32(cfg.PlainText, system)}));
}

TEST_F(PainterTest, StruckTextCarriesItsLineThroughTheBlanks) {
  // The gap between the letters holds ink only when the text is struck through.
  const std::string text = "H          H";
  const QFontMetrics metrics(ReportQFont(cfg, false));
  const int gapLeft = 10 + metrics.horizontalAdvance("H") + 4;
  const int gapRight = 10 + metrics.horizontalAdvance(QString::fromLatin1(text)) - metrics.horizontalAdvance("H") - 4;
  ASSERT_LT(gapLeft + 20, gapRight);
  for (const int smoothing : {0, 2}) {
    SCOPED_TRACE("level " + std::to_string(smoothing));
    const QRect gap(gapLeft, 0, gapRight - gapLeft, 60);
    const QImage plainGap = PaintText(text, FontRole::Report, smoothing).copy(gap);
    const QImage struckGap = PaintText(text, FontRole::ReportStruck, smoothing).copy(gap);
    EXPECT_TRUE(InkBox(plainGap, Background).isEmpty());
    const QRect line = InkBox(struckGap, Background);
    EXPECT_EQ(line.width(), struckGap.width());
    EXPECT_LE(line.height(), 4) << "a line, not a block";
  }
}

TEST_F(PainterTest, IconOpacityScalesTheIconsInkWithinItsSquare) {
  ASSERT_TRUE(icons.AllLoaded());
  for (int image = 0; image < ReportKindImages; ++image) {
    const QImage full = Paint(52, 52, {IconOp{10, 10, image, 255}});
    const long long fullInk = Distance(full, Background);
    const long long halfInk = Distance(Paint(52, 52, {IconOp{10, 10, image, 128}}), Background);
    ASSERT_GT(fullInk, 0) << image;
    EXPECT_NEAR(static_cast<double>(halfInk) / static_cast<double>(fullInk), 128.0 / 255.0, 0.05) << image;
    EXPECT_TRUE(QRect(10, 10, 32, 32).contains(InkBox(full, Background))) << image;
  }
  // Both "other" images show the same picture; the others differ from one another.
  EXPECT_EQ(icons.Image(5), icons.Image(6));
  EXPECT_NE(icons.Image(0), icons.Image(1));
}

TEST_F(PainterTest, SupersampledTextSmoothsTheSameGlyphsInTheSamePlace) {
  const std::string text = "Anna \x95 35th birthday ***";
  const QImage plain = PaintText(text, FontRole::Report, 0);
  const QImage smooth = PaintText(text, FontRole::Report, 2);
  EXPECT_NE(plain, smooth);

  // Both lie in the text's cell: top-left at (10, 10), one text height high.
  const QFontMetrics metrics(ReportQFont(cfg, false));
  const QRect cell(10, 10, metrics.horizontalAdvance(QString::fromUtf8(Cp1252ToUtf8(text))), metrics.height());
  const QRect plainInk = InkBox(plain, Background);
  const QRect smoothInk = InkBox(smooth, Background);
  EXPECT_TRUE(cell.adjusted(-2, 0, 2, 0).contains(plainInk)) << "level 0";
  EXPECT_TRUE(cell.adjusted(-2, 0, 2, 0).contains(smoothInk)) << "level 2";
  EXPECT_LE(std::abs(plainInk.left() - smoothInk.left()), 2);
  EXPECT_LE(std::abs(plainInk.right() - smoothInk.right()), 3);

  // Smoothing blends: edge pixels lie between the background and the ink.
  int partial = 0;
  EachPixel(smooth, [&](int, int, QRgb p) { partial += p != Background && p != Ink; });
  EXPECT_GT(partial, 0);
}

TEST_F(PainterTest, MeasurerUsesTheReportFontAtNinetySixDotsPerInch) {
  cfg.FontName = "DejaVu Sans";
  cfg.FontBold = true;
  EXPECT_EQ(ReportQFont(cfg, false).pixelSize(), 19);  // 14 points
  EXPECT_TRUE(ReportQFont(cfg, false).bold());
  EXPECT_TRUE(ReportQFont(cfg, true).strikeOut());
  EXPECT_FALSE(ReportQFont(cfg, false).strikeOut());
  EXPECT_EQ(HeadingFont().pixelSize(), 11);
  EXPECT_EQ(HeadingFont().family().toStdString(), "Tahoma");

  // Windows-1252 text is measured as the characters it stands for.
  const std::string text = "Caf\xE9 \x95 Name day ***";
  const TextSize size = QtTextMeasurer(cfg).Measure(FontRole::Report, text);
  const QFontMetrics metrics(ReportQFont(cfg, false));
  EXPECT_EQ(size, (TextSize{metrics.horizontalAdvance(QString::fromUtf8("Caf\u00e9 \u2022 Name day ***")),
                            metrics.height()}));
  EXPECT_EQ(QtTextMeasurer(cfg).Measure(FontRole::ReportStruck, text), size);
  EXPECT_EQ(QtTextMeasurer(cfg).Measure(FontRole::Heading, text).height, QFontMetrics(HeadingFont()).height());
}

TEST_F(PainterTest, WholeReportIsAnOpaqueArgb32PictureOfTheLayoutsSize) {
  cfg.ForceSmoothing = true;
  const ReportLayout layout = LayoutOf({Record(KindNameDay, 1990, 1, 24, "Eve", 2),
                                        Record(KindBirthday, 1990, 1, 28, "Anna", 5),
                                        Record(KindDeath, 1950, 2, 3, "Grandpa", 4),
                                        Record(KindOtherNoYears, 2020, 2, 26, "Party", 1)});
  const QImage image = PaintReport(layout, cfg, icons);
  EXPECT_EQ(image.format(), QImage::Format_ARGB32);
  EXPECT_EQ(image.size(), QSize(layout.width, layout.height));
  int translucent = 0;
  EachPixel(image, [&](int, int, QRgb p) { translucent += qAlpha(p) != 255; });
  EXPECT_EQ(translucent, 0);
}

TEST_F(PainterTest, EmptyReportShowsOnlyItsMessageWithinTheMargins) {
  const ReportLayout layout = LayoutReport({}, {}, cfg, 0, QtTextMeasurer(cfg), system);
  const QImage image = PaintReport(layout, cfg, icons);
  const QRect ink = InkBox(image, layout.background);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(QRect(9, 10, image.width() - 17, image.height() - 19).contains(ink)) << ink.x() << "," << ink.y();
}

}  // namespace
}  // namespace jubilora
