#include "report/render/report_painter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRect>

#include "report/layout.h"
#include "report/text_report.h"
#include "support/qt_app.h"
#include "support/qt_pixels.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

constexpr std::uint32_t Background = 0xFF204060u;

// The bounding box of every pixel that differs from the background.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != Background) box |= QRect(x, y, 1, 1);
  return box;
}

class PainterTest : public ::testing::Test {
 protected:
  QApplication& app = test::TestApplication();
  TCfg cfg;
  test::FixedSystemColors system;
  KindIcons icons;
  const DayNumber today = DayFromCivil(2025, 1, 28);

  QImage Paint(int width, int height, std::vector<DrawOp> ops) const {
    return PaintReport(ReportLayout{width, height, Background, std::nullopt, std::move(ops)}, cfg, icons);
  }
  // A report of the days around today, one entry of every kind on some of them.
  ReportLayout LongReport() const {
    TAnniversaryList list;
    for (int day = 0; day < 12; ++day) {
      const CivilDate date = CivilFromDay(today - 3 + day);
      list.push_back(Record(static_cast<std::uint8_t>(1 + day % 7), 1980, date.month, date.day,
                            "Entry " + std::to_string(day), static_cast<std::uint8_t>(day % 6)));
    }
    return LayoutReport(list, PrepareReportEntries(list, cfg, today), cfg, today, QtTextMeasurer(cfg), system);
  }
  // The picture painted part by part, in the given tile size.
  QImage PaintInTiles(const ReportPainter& painter, QSize tile) const {
    QImage whole(painter.Size(), QImage::Format_ARGB32);
    for (int y = 0; y < whole.height(); y += tile.height())
      for (int x = 0; x < whole.width(); x += tile.width()) {
        QImage part(tile, QImage::Format_ARGB32);
        painter.Paint(part, QPoint(x, y), icons);
        QPainter(&whole).drawImage(x, y, part);
      }
    return whole;
  }
};

TEST_F(PainterTest, IconOpacityScalesTheIconsInkWithinItsSquare) {
  const QImage empty = Paint(52, 52, {});
  for (int image = 0; image < ReportKindImages; ++image) {
    const QImage full = Paint(52, 52, {IconOp{10, 10, image, 255}});
    const double fullInk = test::MeanDifference(full, empty);
    ASSERT_GT(fullInk, 0) << image;
    const double halfInk = test::MeanDifference(Paint(52, 52, {IconOp{10, 10, image, 128}}), empty);
    EXPECT_NEAR(halfInk / fullInk, 128.0 / 255.0, 0.05) << image;
    EXPECT_TRUE(QRect(10, 10, 32, 32).contains(InkBox(full))) << image;
  }
}

// The window paints the part that shows; together the parts are the picture --render writes,
// opaque. (Which operations a part touches is the view's test.)
TEST_F(PainterTest, PaintingInPartsGivesTheWholeOpaquePicture) {
  for (const bool smoothing : {false, true}) {
    SCOPED_TRACE(smoothing);
    cfg.ForceSmoothing = smoothing;
    const ReportLayout layout = LongReport();
    const ReportPainter painter(layout, cfg);
    const QImage whole = PaintReport(layout, cfg, icons);
    EXPECT_EQ(whole.format(), QImage::Format_ARGB32);
    EXPECT_TRUE(whole.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32) == whole)
        << "every pixel opaque";
    for (const QSize tile : {QSize(97, 61), QSize(whole.width(), 100)})
      EXPECT_LE(test::LargestDifference(PaintInTiles(painter, tile), whole), 1) << "Qt may round a cut icon apart";
  }
}

}  // namespace
}  // namespace jubilora
