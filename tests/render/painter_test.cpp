#include "report/render/report_painter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QSize>

#include "core/naming.h"
#include "core/text_codec.h"
#include "report/layout.h"
#include "report/text_report.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::FixedSystemColors;
using test::Record;

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "render_painter_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const guiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

constexpr std::uint32_t Background = 0xFF204060u;
constexpr std::uint32_t Ink = 0xFFFFFF00u;

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y); }

// The bounding box of every pixel that differs from the background.
QRect InkBox(const QImage& image, QRgb background) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

int DifferingPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++count;
  return count;
}

// Sum over all pixels of the channel distances from the background.
long long Distance(const QImage& image, QRgb background) {
  long long sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
             std::abs(qBlue(p) - qBlue(background));
    }
  }
  return sum;
}

class PainterTest : public ::testing::Test {
 protected:
  TCfg cfg;
  FixedSystemColors system;
  KindIcons icons;

  ReportLayout Surface(int width, int height, std::vector<DrawOp> ops) const {
    ReportLayout layout;
    layout.width = width;
    layout.height = height;
    layout.background = Background;
    layout.ops = std::move(ops);
    return layout;
  }

  QImage PaintText(const std::string& text, FontRole role, int smoothing) const {
    return PaintReport(Surface(400, 60, {TextOp{10, 10, text, role, Ink, smoothing}}), cfg, icons);
  }
};

TEST_F(PainterTest, GradientStartsAtItsColourAndNeverReachesTheBackground) {
  const std::uint32_t start = 0xFFF0C060u;
  const QImage image = PaintReport(Surface(300, 30, {GradientBar{0, 5, 300, 22, start, Background}}), cfg, icons);
  for (int y = 5; y < 22; ++y) {
    EXPECT_EQ(Pixel(image, 0, y), start) << y;
    EXPECT_NE(Pixel(image, 299, y), Background) << y;
    EXPECT_EQ(Pixel(image, 299, y), GradientColumnColor(start, Background, 0, 300, 299)) << y;
  }
  // Rows above and below the bar are untouched.
  EXPECT_EQ(Pixel(image, 0, 4), Background);
  EXPECT_EQ(Pixel(image, 0, 22), Background);
  // Every column carries its own colour, top to bottom.
  for (int x = 0; x < 300; x += 37) EXPECT_EQ(Pixel(image, x, 13), GradientColumnColor(start, Background, 0, 300, x));
}

TEST_F(PainterTest, HeadingBarsStartInThePassedUrgentOrDateColour) {
  const DayNumber today = DayFromCivil(2025, 1, 28);
  TAnniversaryList list = {Record(KindNameDay, 1990, 1, 26, "Eve"), Record(KindBirthday, 1990, 1, 28, "Anna"),
                           Record(KindWedding, 2000, 2, 5, "Bob")};
  const std::vector<ReportEntry> entries = PrepareReportEntries(list, cfg, today);
  const ReportLayout layout = LayoutReport(list, entries, cfg, today, QtTextMeasurer(cfg), system);
  const QImage image = PaintReport(layout, cfg, icons);

  std::vector<int> tops;
  for (const DrawOp& op : layout.ops)
    if (const auto* bar = std::get_if<GradientBar>(&op)) tops.push_back(bar->top);
  ASSERT_EQ(tops.size(), 3u);
  EXPECT_EQ(Pixel(image, 0, tops[0]), ToColor32(cfg.Passed, system));
  EXPECT_EQ(Pixel(image, 0, tops[1]), ToColor32(cfg.MostUrgent, system));
  EXPECT_EQ(Pixel(image, 0, tops[2]), ToColor32(cfg.PlainText, system));
}

TEST_F(PainterTest, StruckTextCarriesItsLineThroughTheBlanks) {
  // The gap between the letters holds ink only when the text is struck through.
  const std::string text = "H          H";
  for (const int smoothing : {0, 2}) {
    const QImage plain = PaintText(text, FontRole::Report, smoothing);
    const QImage struck = PaintText(text, FontRole::ReportStruck, smoothing);
    const int gapLeft = 10 + QFontMetrics(ReportQFont(cfg, false)).horizontalAdvance("H") + 4;
    const int gapRight = 10 + QFontMetrics(ReportQFont(cfg, false)).horizontalAdvance(QString::fromLatin1(text)) -
                         QFontMetrics(ReportQFont(cfg, false)).horizontalAdvance("H") - 4;
    ASSERT_LT(gapLeft + 20, gapRight);
    const QImage plainGap = plain.copy(gapLeft, 0, gapRight - gapLeft, plain.height());
    const QImage struckGap = struck.copy(gapLeft, 0, gapRight - gapLeft, struck.height());
    EXPECT_TRUE(InkBox(plainGap, Background).isEmpty()) << "level " << smoothing;
    const QRect line = InkBox(struckGap, Background);
    ASSERT_FALSE(line.isEmpty()) << "level " << smoothing;
    EXPECT_EQ(line.width(), struckGap.width()) << "level " << smoothing;
    EXPECT_LE(line.height(), 4) << "a line, not a block; level " << smoothing;
  }
}

TEST_F(PainterTest, IconOpacityScalesTheIconsInk) {
  ASSERT_TRUE(icons.AllLoaded());
  for (int image = 0; image < ReportKindImages; ++image) {
    const QImage full = PaintReport(Surface(52, 52, {IconOp{10, 10, image, 255}}), cfg, icons);
    const QImage half = PaintReport(Surface(52, 52, {IconOp{10, 10, image, 128}}), cfg, icons);
    const long long fullInk = Distance(full, Background);
    const long long halfInk = Distance(half, Background);
    ASSERT_GT(fullInk, 0) << image;
    EXPECT_NEAR(static_cast<double>(halfInk) / static_cast<double>(fullInk), 128.0 / 255.0, 0.05) << image;
    // The picture stays inside its 32 x 32 square.
    EXPECT_TRUE(QRect(10, 10, 32, 32).contains(InkBox(full, Background))) << image;
  }
  // Both "other" images show the same picture; the others differ from one another.
  EXPECT_EQ(icons.Image(5), icons.Image(6));
  EXPECT_NE(icons.Image(0), icons.Image(1));
  EXPECT_EQ(icons.Image(0).size(), QSize(32, 32));
  EXPECT_EQ(icons.Image(0).format(), QImage::Format_ARGB32);
}

TEST_F(PainterTest, SupersampledTextSmoothsTheSameGlyphsInTheSamePlace) {
  const std::string text = "Anna \x95 35th birthday ***";
  const QImage plain = PaintText(text, FontRole::Report, 0);
  const QImage smooth = PaintText(text, FontRole::Report, 2);
  EXPECT_GT(DifferingPixels(plain, smooth), 0);

  // Both lie in the text's cell: top-left at (10, 10), one text height high.
  const QFontMetrics metrics(ReportQFont(cfg, false));
  const QRect cell(10, 10, metrics.horizontalAdvance(QString::fromUtf8(Cp1252ToUtf8(text))), metrics.height());
  const QRect plainInk = InkBox(plain, Background);
  const QRect smoothInk = InkBox(smooth, Background);
  EXPECT_TRUE(cell.adjusted(-2, 0, 2, 0).contains(plainInk)) << "level 0";
  EXPECT_TRUE(cell.adjusted(-2, 0, 2, 0).contains(smoothInk)) << "level 2";
  EXPECT_LE(std::abs(plainInk.left() - smoothInk.left()), 2);
  EXPECT_LE(std::abs(plainInk.right() - smoothInk.right()), 3);
  EXPECT_LE(std::abs(plainInk.top() - smoothInk.top()), 2);
  EXPECT_LE(std::abs(plainInk.bottom() - smoothInk.bottom()), 2);

  // Smoothing blends: edge pixels lie between the background and the ink.
  int partial = 0;
  for (int y = 0; y < smooth.height(); ++y)
    for (int x = 0; x < smooth.width(); ++x)
      if (smooth.pixel(x, y) != Background && smooth.pixel(x, y) != Ink) ++partial;
  EXPECT_GT(partial, 0);
}

TEST_F(PainterTest, MeasurerUsesTheReportFontAtNinetySixDotsPerInch) {
  cfg.FontName = "DejaVu Sans";
  cfg.FontSize = 14;
  cfg.FontBold = true;
  EXPECT_EQ(ReportQFont(cfg, false).pixelSize(), 19);
  EXPECT_TRUE(ReportQFont(cfg, false).bold());
  EXPECT_TRUE(ReportQFont(cfg, true).strikeOut());
  EXPECT_FALSE(ReportQFont(cfg, false).strikeOut());
  EXPECT_EQ(HeadingFont().pixelSize(), 11);
  EXPECT_EQ(HeadingFont().family().toStdString(), "Tahoma");

  const QtTextMeasurer measurer(cfg);
  const std::string text = "Caf\xE9 \x95 Name day ***";
  const TextSize size = measurer.Measure(FontRole::Report, text);
  const QFontMetrics metrics(ReportQFont(cfg, false));
  EXPECT_EQ(size.width, metrics.horizontalAdvance(QString::fromUtf8("Caf\u00e9 \u2022 Name day ***")));
  EXPECT_EQ(size.height, metrics.height());
  EXPECT_EQ(measurer.Measure(FontRole::ReportStruck, text), size);
  EXPECT_EQ(measurer.Measure(FontRole::Heading, text).height, QFontMetrics(HeadingFont()).height());

  cfg.FontSize = 28;
  EXPECT_GT(QtTextMeasurer(cfg).Measure(FontRole::Report, text).width, size.width);
}

TEST_F(PainterTest, WholeReportIsAnOpaqueArgb32PictureOfTheLayoutsSize) {
  cfg.ForceSmoothing = true;
  const DayNumber today = DayFromCivil(2025, 1, 28);
  TAnniversaryList list = {
      Record(KindNameDay, 1990, 1, 24, "Eve", 2),          Record(KindBirthday, 1990, 1, 28, "Anna", 5),
      Record(KindWedding, 2000, 1, 28, "Bob & Ann", 3),     Record(KindDeath, 1950, 2, 3, "Grandpa", 4),
      Record(KindHoliday, 2000, 2, 14, "Valentine's Day", 1), Record(KindOtherWithYears, 2015, 2, 20, "Company", 3),
      Record(KindOtherNoYears, 2020, 2, 26, "Party", 1)};
  const std::vector<ReportEntry> entries = PrepareReportEntries(list, cfg, today);
  const ReportLayout layout = LayoutReport(list, entries, cfg, today, QtTextMeasurer(cfg), system);
  const QImage image = PaintReport(layout, cfg, icons);

  EXPECT_EQ(image.format(), QImage::Format_ARGB32);
  EXPECT_EQ(image.width(), layout.width);
  EXPECT_EQ(image.height(), layout.height);
  int translucent = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 255) ++translucent;
  EXPECT_EQ(translucent, 0);

  // For a look at the picture by eye.
  if (const char* path = std::getenv("JUBILORA_REPORT_PNG")) image.save(QString::fromLocal8Bit(path));
}

TEST_F(PainterTest, EmptyReportShowsOnlyItsMessage) {
  const ReportLayout layout = LayoutReport({}, {}, cfg, 0, QtTextMeasurer(cfg), system);
  const QImage image = PaintReport(layout, cfg, icons);
  const QRect ink = InkBox(image, layout.background);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 9);
  EXPECT_GE(ink.top(), 10);
  EXPECT_LE(ink.right(), image.width() - 9);
  EXPECT_LE(ink.bottom(), image.height() - 10);
}

}  // namespace
}  // namespace jubilora
