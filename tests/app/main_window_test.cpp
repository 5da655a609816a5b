// The main window on the offscreen platform (whose windows have a frame) at twice the scale,
// as on a HiDPI screen: start-up steps, fitting and placing, the report view.

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/report_view.h"
#include "data/data_file.h"
#include "data/icalendar_export.h"
#include "platform/clock.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "support/qt_app.h"
#include "support/qt_pixels.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "ui/system_colors.h"

namespace jubilora {
namespace {

using test::Record;
constexpr DayNumber Today = 46362;  // 2026-12-06

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_SCALE_FACTOR", "2", 1);
    test::TestApplication();
    Clock::FixToday(Today);
    // The autostart entry of each test is its own.
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    state_.Paths = DerivePaths(dir_ / "jubilora", [](const std::string&) { return std::nullopt; });
  }
  void TearDown() override { Clock::FixToday(std::nullopt); }

  // Shown with `list` as the data file.
  std::unique_ptr<TfrmMain> Show(const TAnniversaryList& list, const char* settings = "[Other]\nStartupCheck=0\n") {
    test::WriteBytes(state_.Paths.settings, settings);
    test::WriteBytes(state_.Paths.data, EncodeRecords(list));
    auto window = std::make_unique<TfrmMain>(state_, CommandLine{});
    EXPECT_EQ(window->FormCreate(), TfrmMain::Outcome::Show);
    window->show();
    QApplication::processEvents();
    return window;
  }

  // What the report must be for the current list and settings.
  ReportLayout ExpectedLayout() {
    TAnniversaryList copy = state_.Anniversaries;
    const auto entries = PrepareReportEntries(copy, state_.Cfg, Today);
    return LayoutReport(copy, entries, state_.Cfg, Today, QtTextMeasurer(state_.Cfg), QtSystemColors());
  }
  std::string ExpectedText() {
    TAnniversaryList copy = state_.Anniversaries;
    const auto entries = PrepareReportEntries(copy, state_.Cfg, Today);
    return FormatPlainReport(DescribeReport(copy, entries, state_.Cfg, Today, QtSystemColors()));
  }

  // Forty past days, then today: taller than any work area.
  static constexpr const char* ShowsForty = "[DefaultPeriod]\nDaysAfter=40\n[Other]\nStartupCheck=0\n";
  static TAnniversaryList TallList() {
    TAnniversaryList list;
    for (int back = 1; back <= 40; ++back) {
      const CivilDate d = CivilFromDay(Today - back);
      list.push_back(Record(KindBirthday, 1980, d.month, d.day, "Past " + std::to_string(back)));
    }
    list.push_back(Record(KindNameDay, 1980, 12, 6, "Today"));
    return list;
  }

  test::TempDir dir_;
  AppState state_;
};

// The settings set the check marks. Switching "Always on Top" then switches that and nothing
// else: no new report, no new place.
TEST_F(MainWindowTest, AlwaysOnTopNeitherRebuildsNorMovesTheWindow) {
  auto window = Show({Record(KindBirthday, 1990, 12, 8, "Anna")}, "[Other]\nOnTop=1\nStartupCheck=0\nOnceADay=1\n");
  EXPECT_FALSE(window->Menus().menuStartupCheck->isChecked());
  // Without autostart the once-a-day entry keeps its mark but cannot be used.
  EXPECT_TRUE(window->Menus().menuOnceADay->isChecked());
  EXPECT_FALSE(window->Menus().menuOnceADay->isEnabled());
  window->move(window->screen()->availableGeometry().topLeft() + QPoint(5, 7));
  const QRect placed = window->frameGeometry();
  const QSize picture = window->View()->PictureSize();
  state_.Anniversaries.push_back(Record(KindBirthday, 1990, 12, 9, "Bob"));  // a rebuild would show him
  for (const bool onTop : {true, false, true}) {
    EXPECT_EQ(bool(window->windowFlags() & Qt::WindowStaysOnTopHint), onTop);
    EXPECT_EQ(window->CurrentSettings().onTop, onTop);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frameGeometry(), placed);
    EXPECT_EQ(window->View()->PictureSize(), picture);
    window->Menus().menuOnTop->trigger();
    QApplication::processEvents();
  }
}

TEST_F(MainWindowTest, ShowingFitsTheWindowToThePictureAndCentresIt) {
  // Short texts: the picture fits the work area of 400 x 400 (800 x 800 at twice the scale).
  auto window = Show({Record(KindHoliday, 2000, 12, 7, "Xmas", 2), Record(KindNameDay, 2000, 12, 8, "Lucy", 1),
                      Record(KindOtherNoYears, 1970, 12, 9, "Party", 4)});
  const ReportLayout expected = ExpectedLayout();
  ReportView* view = window->View();
  EXPECT_EQ(view->PictureSize(), QSize(expected.width, expected.height));
  EXPECT_EQ(view->size(), view->sizeHint());
  EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
  const QRect area = window->screen()->availableGeometry();
  EXPECT_NEAR(window->frameGeometry().center().x(), area.center().x(), 1);
  EXPECT_NEAR(window->frameGeometry().center().y(), area.center().y(), 1);
  EXPECT_TRUE(state_.AlreadyShown);
}

// The whole window, frame included, stays inside the work area, also after a refresh; the
// view opens at the first day that is not past and the wheel moves it ten pixels a notch.
TEST_F(MainWindowTest, ATallReportKeepsTheWholeFrameOnTheWorkArea) {
  auto window = Show(TallList(), ShowsForty);
  const QRect area = window->screen()->availableGeometry();
  ASSERT_GT(window->View()->PictureSize().height(), area.height());
  ASSERT_NE(window->frameGeometry(), window->geometry()) << "no frame to test with";
  EXPECT_TRUE(area.contains(window->frameGeometry())) << window->frameGeometry().height() << " " << area.height();
  const ReportLayout expected = ExpectedLayout();
  ASSERT_GT(expected.scrollTarget.value_or(0), 0);
  QScrollBar* bar = window->View()->verticalScrollBar();
  EXPECT_EQ(bar->value(), std::min(*expected.scrollTarget, bar->maximum()));

  QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  const int before = bar->value();
  QApplication::sendEvent(window->View()->viewport(), &wheel);
  EXPECT_EQ(bar->value(), before - 10);

  window->move(area.topLeft());
  window->Menus().menuRefresh->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(area.contains(window->frameGeometry()));
}

// A screen reader reads the report as --print prints it, fresh after every rebuild.
TEST_F(MainWindowTest, TheViewTellsAScreenReaderTheReport) {
  auto window = Show({});
  QAccessibleInterface* view = QAccessible::queryAccessibleInterface(window->View());
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->text(QAccessible::Name).isEmpty());
  EXPECT_EQ(view->text(QAccessible::Description).toStdString(), ExpectedText());
  state_.Anniversaries.push_back(Record(KindBirthday, 1990, 12, 7, "Tomorrow"));
  window->Menus().menuRefresh->trigger();
  EXPECT_EQ(view->text(QAccessible::Description).toStdString(), ExpectedText());
  EXPECT_NE(ExpectedText().find("Tomorrow"), std::string::npos);
}

// The view paints the exposed part only, and what it paints is the picture --render writes,
// only sharper: reduced to half it is that picture.
TEST_F(MainWindowTest, TheViewPaintsOnlyWhatShowsSharp) {
  auto window = Show(TallList(), ShowsForty);
  ReportView* view = window->View();
  const QImage whole = PaintReport(ExpectedLayout(), state_.Cfg, KindIcons());
  const QImage shown = view->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(shown.devicePixelRatio(), 2.0);
  const QPoint scrolled(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
  ASSERT_GT(scrolled.y(), 0);
  const QRect part(QPoint(0, 0), QSize(std::min(shown.width() / 2, whole.width()), shown.height() / 2));
  const QImage reduced = shown.scaled(shown.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(test::MeanDifference(reduced.copy(part), whole.copy(part.translated(scrolled))), 1.0);

  const int showing = view->LastPaintOperations();
  EXPECT_LT(showing, static_cast<int>(ExpectedLayout().ops.size()) / 2);
  view->viewport()->repaint(QRect(0, 0, 8, 8));
  EXPECT_LE(view->LastPaintOperations(), 2) << "the heading bar of today and its text";
  EXPECT_GT(showing, view->LastPaintOperations());
}

// A command's save (here: removing the samples) rewrites the iCalendar copy with the window's
// preferences.
TEST_F(MainWindowTest, ASaveRewritesTheICalendarCopy) {
  const std::filesystem::path copy = dir_ / "copy.ics";
  const std::string settings = "[Other]\nStartupCheck=0\nLeapDay=1\nICalendarCopy=" + copy.string() + "\n";
  auto window = Show({Record(KindBirthday, 2000, 2, 29, "Leap"), Record(KindHoliday, 2000, 1, 1, "New", 255)},
                     settings.c_str());
  EXPECT_FALSE(std::filesystem::exists(copy));
  window->Menus().menuRemoveSample->trigger();
  EXPECT_EQ(test::ReadBytes(copy), ICalendarExportBytes(state_.Anniversaries, state_.Cfg, state_.Paths.Data(), 0));
}

TEST_F(MainWindowTest, AMaximizedWindowKeepsItsSizeAndPlace) {
  auto window = Show({});
  window->showMaximized();
  QApplication::processEvents();
  const QRect before = window->geometry();
  state_.Anniversaries.push_back(Record(KindBirthday, 1990, 12, 7, "Tomorrow"));
  window->DisplayData();
  EXPECT_EQ(window->geometry(), before);
}

}  // namespace
}  // namespace jubilora
