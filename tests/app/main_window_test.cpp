// The main window on the offscreen platform: start-up steps, the report view, menus.

#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include "app/report_view.h"
#include "data/data_file.h"
#include "platform/clock.h"
#include "platform/system_colors.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "support/qt_app.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::Record;
constexpr DayNumber Today = 46362;  // 2026-12-06

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    Clock::FixToday(Today);
    // The autostart entry of each test is its own.
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    state_.Paths = DerivePaths(dir_ / "jubilora", [](const std::string&) { return std::nullopt; });
  }
  void TearDown() override { Clock::FixToday(std::nullopt); }

  void WriteData(const TAnniversaryList& list) { test::WriteBytes(state_.Paths.data, EncodeRecords(list)); }
  void WriteSettings(const std::string& text) { test::WriteBytes(state_.Paths.settings, text); }

  std::unique_ptr<TfrmMain> Create(const CommandLine& commandLine = {}) {
    auto window = std::make_unique<TfrmMain>(state_, commandLine);
    EXPECT_EQ(window->FormCreate(), TfrmMain::Outcome::Show);
    return window;
  }

  // What the report picture must measure for the current list and settings.
  ReportLayout ExpectedLayout() {
    TAnniversaryList copy = state_.Anniversaries;
    const auto entries = PrepareReportEntries(copy, state_.Cfg, Today);
    return LayoutReport(copy, entries, state_.Cfg, Today, QtTextMeasurer(state_.Cfg), QtSystemColors());
  }

  test::TempDir dir_;
  AppState state_;
};

TEST_F(MainWindowTest, CaptionAndEveryMenuEntry) {
  auto window = Create();
  EXPECT_EQ(window->windowTitle(), "Jubilora 3.22");
  struct Entry {
    const char* name;
    const char* caption;
    const char* shortcut;
  };
  for (const Entry& e : {
           Entry{"menuBackup", "&Backup", "Ctrl+B"}, Entry{"menuRestore", "&Restore", "Ctrl+R"},
           Entry{"menuSynchronize", "S&ynchronize", "Ctrl+Y"}, Entry{"menuExport", "&Export", ""},
           Entry{"menuSnooze", "&Snooze", "Ctrl+S"}, Entry{"menuExit", "E&xit", "Alt+F4"},
           Entry{"menuAddNew", "Add &New", "Ctrl+N"}, Entry{"menuShowEditor", "Show &Editor", "Ctrl+E"},
           Entry{"menuAddSample", "Add &Sample Data", "Ctrl+Ins"},
           Entry{"menuRemoveSample", "&Remove Sample Data", "Ctrl+Del"}, Entry{"menuRefresh", "R&efresh", "F5"},
           Entry{"menuPreferences", "&Preferences", "Ctrl+P"}, Entry{"menuOnTop", "Always on &Top", "Ctrl+T"},
           Entry{"menuAutostart", "&Autostart with Windows...", ""},
           Entry{"menuOnceADay", "... But Only Once a Day!", ""}, Entry{"menuShowHelp", "&Help", "F1"},
           Entry{"menuStartupCheck", "&Try to Check on Startup", ""}, Entry{"menuCheckNow", "Check &Now", ""},
           Entry{"menuQuestion", "Ask a &Question", ""}, Entry{"menuComment", "Send &Comments", ""},
           Entry{"menuBug", "Report a &Bug", ""}, Entry{"menuAbout", "&About...", ""},
           Entry{"menuTrayShow", "Show Jubilora Window", ""}, Entry{"menuTrayExit", "Exit", ""},
       }) {
    auto* action = window->findChild<QAction*>(e.name);
    ASSERT_NE(action, nullptr) << e.name;
    EXPECT_EQ(action->text(), e.caption) << e.name;
    EXPECT_EQ(action->shortcut(), QKeySequence(e.shortcut)) << e.name;
  }
  const QStringList bar = [&] {
    QStringList titles;
    for (QAction* a : window->menuBar()->actions()) titles << a->text();
    return titles;
  }();
  EXPECT_EQ(bar, QStringList({"&File", "&Anniversary", "&Options", "&Help"}));
  auto* rightSnooze = window->findChild<QToolButton*>("menuRightSnooze");
  ASSERT_NE(rightSnooze, nullptr);
  EXPECT_EQ(window->menuBar()->cornerWidget(Qt::TopRightCorner), rightSnooze);
  EXPECT_EQ(rightSnooze->text(), "&Snooze");
  EXPECT_TRUE(rightSnooze->font().bold());
}

TEST_F(MainWindowTest, SettingsSetTheCheckMarksAndTheStayOnTopState) {
  WriteSettings("[Other]\nOnTop=1\nStartupCheck=0\nOnceADay=1\n");
  auto window = Create();
  EXPECT_FALSE(state_.FirstRun);
  EXPECT_TRUE(window->Menus().menuOnTop->isChecked());
  EXPECT_FALSE(window->Menus().menuStartupCheck->isChecked());
  EXPECT_TRUE(window->Menus().menuOnceADay->isChecked());
  // Without autostart the once-a-day entry keeps its mark but cannot be used.
  EXPECT_FALSE(window->Menus().menuOnceADay->isEnabled());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);

  window->Menus().menuOnTop->trigger();
  EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window->CurrentSettings().onTop);
  window->Menus().menuOnTop->trigger();
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->CurrentSettings().onTop);
}

TEST_F(MainWindowTest, FirstRunIsANewSettingsFile) {
  auto window = Create();
  EXPECT_TRUE(state_.FirstRun);
  EXPECT_TRUE(window->Menus().menuStartupCheck->isChecked());
  EXPECT_FALSE(window->Menus().menuOnTop->isChecked());
}

TEST_F(MainWindowTest, ShowingFitsTheWindowToThePictureAndCentresIt) {
  WriteSettings("[Other]\nStartupCheck=0\n");
  WriteData({Record(KindBirthday, 1990, 12, 8, "Anna", 3), Record(KindHoliday, 2000, 12, 24, "Christmas Eve", 2),
             Record(KindNameDay, 2000, 12, 12, "Lucy", 1), Record(KindDeath, 1970, 12, 15, "Josef", 4)});
  auto window = Create();
  window->show();
  const ReportLayout expected = ExpectedLayout();
  ReportView* view = window->View();
  EXPECT_EQ(view->Picture().size(), QSize(expected.width, expected.height));
  EXPECT_EQ(view->size(), view->SizeFor(view->Picture().size()));
  EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
  const QRect area = window->screen()->availableGeometry();
  EXPECT_NEAR(window->frameGeometry().center().x(), area.center().x(), 1);
  EXPECT_NEAR(window->frameGeometry().center().y(), area.center().y(), 1);
  EXPECT_TRUE(state_.AlreadyShown);
}

TEST_F(MainWindowTest, ALongReportOpensAtTheFirstDayThatIsNotPast) {
  WriteSettings("[DefaultPeriod]\nDaysAfter=40\n[Other]\nStartupCheck=0\n");
  TAnniversaryList list;
  for (int back = 1; back <= 40; ++back) {
    const CivilDate d = CivilFromDay(Today - back);
    list.push_back(Record(KindBirthday, 1980, d.month, d.day, "Past " + std::to_string(back)));
  }
  list.push_back(Record(KindNameDay, 1980, 12, 6, "Today"));
  WriteData(list);
  auto window = Create();
  window->show();
  QApplication::processEvents();
  const ReportLayout expected = ExpectedLayout();
  ASSERT_TRUE(expected.scrollTarget);
  EXPECT_GT(*expected.scrollTarget, 0);
  EXPECT_LE(window->height(), window->screen()->availableGeometry().height());
  EXPECT_EQ(window->View()->verticalScrollBar()->value(),
            std::min(*expected.scrollTarget, window->View()->verticalScrollBar()->maximum()));

  // One notch of the wheel (away from the user) moves the picture by ten pixels.
  const int before = window->View()->verticalScrollBar()->value();
  QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(window->View()->viewport(), &wheel);
  EXPECT_EQ(window->View()->verticalScrollBar()->value(), before - 10);
}

TEST_F(MainWindowTest, RefreshRebuildsTheReport) {
  WriteSettings("[Other]\nStartupCheck=0\n");
  auto window = Create();
  window->show();
  // The empty report holds only its one message.
  EXPECT_EQ(window->View()->Picture().size(), QSize(ExpectedLayout().width, ExpectedLayout().height));
  const int emptyHeight = window->View()->Picture().height();
  state_.Anniversaries.push_back(Record(KindBirthday, 1990, 12, 7, "Tomorrow"));
  window->Menus().menuRefresh->trigger();
  EXPECT_GT(window->View()->Picture().height(), emptyHeight);
}

TEST_F(MainWindowTest, AMaximizedWindowKeepsItsSizeAndPlace) {
  WriteSettings("[Other]\nStartupCheck=0\n");
  auto window = Create();
  window->showMaximized();
  QApplication::processEvents();
  const QRect before = window->geometry();
  state_.Anniversaries.push_back(Record(KindBirthday, 1990, 12, 7, "Tomorrow"));
  window->DisplayData();
  EXPECT_EQ(window->geometry(), before);
}

}  // namespace
}  // namespace jubilora
