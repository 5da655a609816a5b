// The main window on the offscreen platform (whose windows have a frame) at twice the scale,
// as on a HiDPI screen: start-up steps, fitting and placing, the report view.

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QScrollBar>

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
#include "ui/error_report.h"
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
  std::unique_ptr<TfrmMain> Show(const TAnniversaryList& list,
                                 const std::string& settings = "[Other]\nStartupCheck=0\n") {
    test::WriteBytes(state_.Paths.settings, settings);
    test::WriteBytes(state_.Paths.data, EncodeRecords(list));
    auto window = std::make_unique<TfrmMain>(state_, CommandLine{});
    EXPECT_EQ(window->FormCreate(), TfrmMain::Outcome::Show);
    window->show();
    QApplication::processEvents();
    return window;
  }

  // What the report must be for the current list and settings: its layout and its text.
  std::pair<ReportLayout, std::string> Expected() {
    TAnniversaryList copy = state_.Anniversaries;
    const auto entries = PrepareReportEntries(copy, state_.Cfg, Today);
    return {LayoutReport(copy, entries, state_.Cfg, Today, QtTextMeasurer(state_.Cfg), QtSystemColors()),
            FormatPlainReport(DescribeReport(copy, entries, state_.Cfg, Today, QtSystemColors()))};
  }

  test::TempDir dir_;
  AppState state_;
};

// A short report fits the window to its picture, centred, and a screen reader reads it as
// --print prints it. Switching "Always on Top" switches that and nothing else: no new report,
// no new place. A command's save (here: removing the samples) rewrites the iCalendar copy with
// the window's preferences and the report the screen reader reads.
TEST_F(MainWindowTest, AShortReportFitsTheWindowAndOnlyARebuildChangesIt) {
  const std::filesystem::path copy = dir_ / "copy.ics";
  auto window = Show({Record(KindHoliday, 2000, 12, 7, "Xmas", 2), Record(KindNameDay, 2000, 12, 8, "Lucy", 1),
                      Record(KindOtherNoYears, 1970, 12, 9, "Party", 4), Record(KindHoliday, 2000, 1, 1, "New", 255)},
                     "[Other]\nOnTop=1\nStartupCheck=0\nLeapDay=1\nICalendarCopy=" + copy.string() + "\n");
  ReportView* view = window->View();
  const ReportLayout expected = Expected().first;
  EXPECT_EQ(view->PictureSize(), QSize(expected.width, expected.height));
  EXPECT_EQ(view->size(), view->sizeHint());
  const QRect area = window->screen()->availableGeometry();
  EXPECT_NEAR(window->frameGeometry().center().x(), area.center().x(), 1);
  EXPECT_NEAR(window->frameGeometry().center().y(), area.center().y(), 1);
  QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(view);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->text(QAccessible::Description).toStdString(), Expected().second);

  window->move(area.topLeft() + QPoint(5, 7));
  const QRect placed = window->frameGeometry();
  const QSize picture = view->PictureSize();
  state_.Anniversaries.push_back(Record(KindBirthday, 1990, 12, 10, "Bob"));  // a rebuild would show him
  for (const bool onTop : {true, false, true}) {
    EXPECT_EQ(bool(window->windowFlags() & Qt::WindowStaysOnTopHint), onTop);
    EXPECT_EQ(window->CurrentSettings().onTop, onTop);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frameGeometry(), placed);
    EXPECT_EQ(view->PictureSize(), picture);
    window->Menus().menuOnTop->trigger();
    QApplication::processEvents();
  }

  EXPECT_FALSE(std::filesystem::exists(copy));
  window->Menus().menuRemoveSample->trigger();
  EXPECT_EQ(test::ReadBytes(copy), ICalendarExportBytes(state_.Anniversaries, state_.Cfg, state_.Paths.Data(), 0));
  EXPECT_NE(Expected().second.find("Bob"), std::string::npos);
  EXPECT_EQ(reader->text(QAccessible::Description).toStdString(), Expected().second);
}

// Forty past days, then today: taller than any work area. The whole window, frame included,
// stays inside the work area, also after a refresh; the view opens at the first day that is not
// past and paints the exposed part only, what --render writes, only sharper: reduced to half it
// is that picture.
TEST_F(MainWindowTest, ATallReportKeepsTheWholeFrameOnTheWorkAreaAndPaintsWhatShows) {
  TAnniversaryList list;
  for (int back = 1; back <= 40; ++back) {
    const CivilDate d = CivilFromDay(Today - back);
    list.push_back(Record(KindBirthday, 1980, d.month, d.day, "Past " + std::to_string(back)));
  }
  list.push_back(Record(KindNameDay, 1980, 12, 6, "Today"));
  auto window = Show(list, "[DefaultPeriod]\nDaysAfter=40\n[Other]\nStartupCheck=0\n");
  ReportView* view = window->View();
  const QRect area = window->screen()->availableGeometry();
  ASSERT_GT(view->PictureSize().height(), area.height());
  ASSERT_NE(window->frameGeometry(), window->geometry()) << "no frame to test with";
  EXPECT_TRUE(area.contains(window->frameGeometry())) << window->frameGeometry().height() << " " << area.height();
  const ReportLayout expected = Expected().first;
  QScrollBar* bar = view->verticalScrollBar();
  ASSERT_GT(expected.scrollTarget.value_or(0), 0);
  EXPECT_EQ(bar->value(), std::min(*expected.scrollTarget, bar->maximum()));

  const QImage whole = PaintReport(expected, state_.Cfg, KindIcons());
  const QImage shown = view->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(shown.devicePixelRatio(), 2.0);
  const QPoint scrolled(view->horizontalScrollBar()->value(), bar->value());
  const QRect part(QPoint(0, 0), QSize(std::min(shown.width() / 2, whole.width()), shown.height() / 2));
  const QImage reduced = shown.scaled(shown.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(test::MeanDifference(reduced.copy(part), whole.copy(part.translated(scrolled))), 1.0);
  view->viewport()->repaint(QRect(0, 0, 8, 8));
  EXPECT_LE(view->LastPaintOperations(), 2) << "the heading bar of today and its text";

  window->move(area.topLeft());
  window->Menus().menuRefresh->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(area.contains(window->frameGeometry()));
}

// A settings file that cannot be read or written is reported in the window, once: a file the
// start could not read fails its write the same way and is not reported again.
TEST_F(MainWindowTest, SettingsThatCannotBeReadOrWrittenAreReportedOnce) {
  std::vector<std::string> shown;
  SetErrorReportPresenter([&](QWidget*, const QString& text) { shown.push_back(text.toStdString()); });
  for (const bool unreadable : {true, false}) {
    shown.clear();
    std::filesystem::remove_all(state_.Paths.settings);
    if (unreadable) std::filesystem::create_directory(state_.Paths.settings);
    auto window = std::make_unique<TfrmMain>(state_, CommandLine{});
    window->FormCreate();
    EXPECT_EQ(shown.size(), unreadable ? 1u : 0u);
    std::filesystem::remove_all(state_.Paths.settings);
    std::filesystem::create_directory(state_.Paths.settings);  // the write fails alike
    window->WriteSettings();
    window->FormDestroy();
    ASSERT_EQ(shown.size(), 1u) << unreadable;
    EXPECT_NE(shown[0].find(state_.Paths.settings.string()), std::string::npos) << shown[0];
  }
  SetErrorReportPresenter({});
}

}  // namespace
}  // namespace jubilora
