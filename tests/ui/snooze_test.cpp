#include "ui/snooze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

#include "platform/regional.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

// The tray and the window write into one log, so that the order of their steps shows.
using Log = std::vector<std::string>;

// The notification area and the main window.
class FakeDesktop : public TrayPort, public SnoozeHost {
 public:
  Log log;
  bool available = true;

  bool Available() const override { return available; }
  void ShowIcon() override { log.push_back("ShowIcon"); }
  void HideIcon() override { log.push_back("HideIcon"); }
  void SetToolTip(const std::string& text) override { log.push_back("ToolTip " + text); }
  void ShowBalloon(const std::string& title, const std::string& text, int timeoutSeconds) override {
    log.push_back("Balloon " + title + " | " + text + " | " + std::to_string(timeoutSeconds));
  }
  void HideBalloon() override { log.push_back("HideBalloon"); }
  void HideWindow() override { log.push_back("HideWindow"); }
  void MinimiseWindow() override { log.push_back("MinimiseWindow"); }
  void ShowCountdown(const std::string& text) override { log.push_back("Countdown " + text); }
  void ShowWindow() override { log.push_back("ShowWindow"); }
  void EndProgram() override { log.push_back("EndProgram"); }
};

std::string Tip(const char* remaining) { return std::string("Jubilora\r\n will pop up in ") + remaining + "..."; }
std::string ToolTip(const char* remaining) { return "ToolTip " + Tip(remaining); }

int Count(const Log& log, const std::string& entry) {
  return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

// The controller ticked by hand, in place of its one-second timer. The user's regional long
// time format writes the remaining time: no AM/PM marker, no 12 for 0 hours.
class SnoozeControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }

  void Ticks(int count) {
    for (int i = 0; i < count; ++i) controller.TrayDelayTimer();
  }
  // Snoozes with `answer` and forgets what that logged.
  void SnoozeWith(int answer) {
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    ASSERT_TRUE(controller.Snoozed());
    log.clear();
  }

  test::FakeUi ui;
  FakeDesktop desktop;
  Log& log = desktop.log;
  QtRegionalSettings regional{QLocale(QLocale::English, QLocale::UnitedStates)};
  SnoozeController controller{ui, desktop, desktop, regional};
};

// "&Cancel", the close box or Escape, a dialog that could not be shown, and anything else.
TEST_F(SnoozeControllerTest, AsksTheSnoozeQuestionAndCancelLeavesEverythingAsItWas) {
  for (int answer : {6, 0, -1, 7}) {
    SCOPED_TRACE(answer);
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    EXPECT_FALSE(controller.Snoozed());
    EXPECT_FALSE(controller.TrayDelay().isActive());
  }
  EXPECT_TRUE(log.empty());
  ASSERT_EQ(ui.questions.size(), 4u);
  const test::AskedQuestion& question = ui.questions.front();
  EXPECT_EQ(question.caption, "Snooze Jubilora");
  EXPECT_EQ(question.message,
            "This option will minimize Jubilora\r\nto System Tray for the desired period. You may\r\n"
            "restore it any time by clicking on the tray icon.\r\n\r\n\r\nPlease select the snooze duration.");
  EXPECT_EQ(question.buttons, (std::vector<std::string>{"1&5 minutes", "&30 minutes", "&1 hour", "&2 hours",
                                                         "&4 hours", "&Cancel"}));
  EXPECT_EQ(question.icon, IconKind::Question);
  EXPECT_TRUE(question.canCancel);
}

TEST_F(SnoozeControllerTest, EachDurationHidesTheWindowAndShowsIconAndBalloon) {
  const struct {
    int seconds;
    const char* balloon;
    const char* tip;
  } durations[] = {{900, "15 minutes", "0:15:00"},
                   {1800, "30 minutes", "0:30:00"},
                   {3600, "1 hour", "1:00:00"},
                   {7200, "2 hours", "2:00:00"},
                   {14400, "4 hours", "4:00:00"}};
  for (int answer = 1; answer <= 5; ++answer) {
    SCOPED_TRACE(answer);
    const auto& d = durations[answer - 1];
    log.clear();
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    const std::string balloon = std::string("Balloon Jubilora... | ... will automatically pop up in ") + d.balloon;
    EXPECT_EQ(log, (Log{"HideWindow", ToolTip(d.tip), "ShowIcon", balloon + ". | 10"}));
    EXPECT_EQ(controller.State().SnoozeSecondsLeft(), d.seconds);
    EXPECT_TRUE(controller.TrayDelay().isActive());
    EXPECT_EQ(controller.TrayDelay().interval(), 1000);
    controller.TrayIconClick();
  }
}

TEST_F(SnoozeControllerTest, TooltipCountsDownEachTickTheBalloonGoesOnTheFifthAndItWakesAtZero) {
  SnoozeWith(1);
  Ticks(7);
  EXPECT_EQ(log, (Log{ToolTip("0:14:59"), ToolTip("0:14:58"), ToolTip("0:14:57"), ToolTip("0:14:56"), "HideBalloon",
                      ToolTip("0:14:55"), ToolTip("0:14:54"), ToolTip("0:14:53")}));
  Ticks(892);
  EXPECT_EQ(Count(log, "ShowWindow"), 0);
  log.clear();
  Ticks(1);
  EXPECT_EQ(log, (Log{ToolTip("0:00:00"), "HideBalloon", "ShowWindow", "HideIcon"}));
  EXPECT_FALSE(controller.Snoozed());
  EXPECT_FALSE(controller.TrayDelay().isActive());
  // A tick already on its way changes nothing.
  log.clear();
  Ticks(1);
  EXPECT_TRUE(log.empty());
}

// The second half of a double click, or a click after the menu entry, finds the window awake.
TEST_F(SnoozeControllerTest, ClickOrTheShowWindowEntryWakesAtOnce) {
  for (const auto wake : {&SnoozeController::TrayIconClick, &SnoozeController::menuTrayShowClick}) {
    SnoozeWith(2);
    Ticks(10);
    log.clear();
    (controller.*wake)();
    EXPECT_EQ(log, (Log{"HideBalloon", "ShowWindow", "HideIcon"}));
    EXPECT_FALSE(controller.Snoozed());
    EXPECT_FALSE(controller.TrayDelay().isActive());
    controller.TrayIconClick();
    controller.menuTrayShowClick();
    EXPECT_EQ(Count(log, "ShowWindow"), 1);
  }
}

TEST_F(SnoozeControllerTest, LaterSnoozeFromEitherEntryStartsAfreshButNotWhileSnoozed) {
  SnoozeWith(1);
  Ticks(100);
  controller.TrayIconClick();
  ui.answers.push_back(2);
  controller.menuRightSnoozeClick();
  ASSERT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(ui.questions[1].buttons, ui.questions[0].buttons);
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 1800);
  log.clear();
  Ticks(5);
  EXPECT_EQ(log, (Log{ToolTip("0:29:59"), ToolTip("0:29:58"), ToolTip("0:29:57"), ToolTip("0:29:56"), "HideBalloon",
                      ToolTip("0:29:55")}));
  // Snoozing again while snoozed asks nothing.
  controller.menuSnoozeClick();
  controller.menuRightSnoozeClick();
  EXPECT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 1795);
}

TEST_F(SnoozeControllerTest, DeclinedTrayExitKeepsTheCountWhereItWasAndConfirmedEndsTheProgram) {
  SnoozeWith(3);
  Ticks(10);
  log.clear();
  ui.answers = {2, 0, -1};
  for (int i = 0; i < 3; ++i) controller.menuTrayExitClick();
  ASSERT_EQ(ui.questions.size(), 4u);
  const test::AskedQuestion& question = ui.questions[1];
  EXPECT_EQ(question.caption, "Please confirm");
  EXPECT_EQ(question.message,
            "If you close snoozed Jubilora, it will not pop up\r\nwhen requested snooze period elapses.\r\n\r\n"
            "Are you sure you wish to close Jubilora ?");
  EXPECT_EQ(question.buttons, (std::vector<std::string>{"&Yes, close", "&No, keep running"}));
  EXPECT_EQ(question.icon, IconKind::Question);
  EXPECT_TRUE(controller.TrayDelay().isActive());
  Ticks(1);
  EXPECT_EQ(log, (Log{ToolTip("0:59:49")}));

  ui.answers.push_back(1);
  controller.menuTrayExitClick();
  EXPECT_EQ(log.back(), "EndProgram");
}

// Without a notification area the window is minimised and its title carries the countdown.
TEST_F(SnoozeControllerTest, WithoutATrayMinimisesAndCountsDownInTheTitle) {
  desktop.available = false;
  ui.answers.push_back(1);
  controller.menuSnoozeClick();
  EXPECT_FALSE(controller.InTray());
  Ticks(6);
  EXPECT_EQ(log, (Log{"MinimiseWindow", "Countdown " + Tip("0:15:00"), "Countdown " + Tip("0:14:59"),
                      "Countdown " + Tip("0:14:58"), "Countdown " + Tip("0:14:57"), "Countdown " + Tip("0:14:56"),
                      "Countdown " + Tip("0:14:55"), "Countdown " + Tip("0:14:54")}));
  log.clear();
  Ticks(894);
  EXPECT_EQ(Count(log, "ShowWindow"), 1);
  EXPECT_EQ(Log(log.end() - 2, log.end()), (Log{"Countdown " + Tip("0:00:00"), "ShowWindow"}));
  EXPECT_FALSE(controller.TrayDelay().isActive());
}

TEST_F(SnoozeControllerTest, WithoutATrayRestoringTheWindowWakesItAndALaterSnoozeStartsAfresh) {
  desktop.available = false;
  SnoozeWith(2);
  Ticks(30);
  log.clear();
  controller.WindowRestored();
  controller.WindowRestored();
  EXPECT_EQ(log, (Log{"ShowWindow"}));
  EXPECT_FALSE(controller.Snoozed());
  EXPECT_FALSE(controller.TrayDelay().isActive());

  // The notification area may have come back meanwhile; then a restore of the window means
  // nothing, the tray icon carries the snooze.
  desktop.available = true;
  SnoozeWith(1);
  EXPECT_TRUE(controller.InTray());
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 900);
  controller.WindowRestored();
  EXPECT_TRUE(controller.Snoozed());
  EXPECT_TRUE(log.empty());
}

// --- The Qt side -------------------------------------------------------------------

// Recomputes the report on a fresh (non-spontaneous) show, as the main window does.
class ReportWindow : public QWidget {
 public:
  int formShows = 0;

 protected:
  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (!event->spontaneous()) ++formShows;
  }
};

TEST(QtTrayPortTest, ShowsTheTooltipOnTwoLinesAndTheIconOnDemand) {
  test::TestApplication();
  QSystemTrayIcon icon;
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::red);
  icon.setIcon(QIcon(pixmap));
  QtTrayPort port(icon);
  port.SetToolTip(Tip("0:14:59"));
  EXPECT_EQ(icon.toolTip(), QStringLiteral("Jubilora\n will pop up in 0:14:59..."));
  port.ShowIcon();
  EXPECT_TRUE(icon.isVisible());
  port.HideBalloon();  // nothing to take down
  port.HideIcon();
  EXPECT_FALSE(icon.isVisible());
}

// The application must exist before the fixture's widgets are built.
struct WithApplication {
  WithApplication() { test::TestApplication(); }
};

class QtSnoozeHostTest : public ::testing::Test, private WithApplication {
 protected:
  void SetUp() override {
    window.setWindowTitle(QStringLiteral("Jubilora 3.22"));
    window.resize(320, 233);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    host.SetRestoredHandler([this] { ++restores; });
    window.formShows = 0;
  }

  ReportWindow window;
  int restores = 0;
  int endings = 0;
  QtSnoozeHost host{window, [this] { ++window.formShows; }, [this] { ++endings; }};
};

TEST_F(QtSnoozeHostTest, HiddenWindowComesBackWithOneFreshReportAndExitEndsTheProgram) {
  host.HideWindow();
  EXPECT_FALSE(window.isVisible());
  host.ShowWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.formShows, 1);
  EXPECT_EQ(restores, 0);
  host.HideWindow();
  host.EndProgram();
  EXPECT_EQ(endings, 1);
}

// Our own restore is not the user's; a maximised window returns maximised.
TEST_F(QtSnoozeHostTest, MinimisedWindowShowsTheCountdownInItsTitleAndComesBackAsItWas) {
  for (const bool maximised : {false, true}) {
    SCOPED_TRACE(maximised);
    window.setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
    window.formShows = 0;
    host.MinimiseWindow();
    EXPECT_TRUE(window.isMinimized());
    host.ShowCountdown(Tip("0:14:59"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:14:59..."));
    host.ShowWindow();
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.isMaximized(), maximised);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
    EXPECT_EQ(window.formShows, 1);
    EXPECT_EQ(restores, 0);
  }
  // The user's restore is reported, once.
  host.MinimiseWindow();
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  host.ShowWindow();  // what waking up does next
  window.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(restores, 1);
}

// The whole bundle on the offscreen platform, which has no notification area.
class WindowSnoozeTest : public QtSnoozeHostTest {
 protected:
  void Snooze() {
    ui.answers.push_back(1);
    snooze.Controller().menuSnoozeClick();
    ASSERT_TRUE(snooze.Controller().Snoozed());
    ASSERT_TRUE(window.isMinimized());
  }
  bool Snoozed() { return snooze.Controller().Snoozed(); }

  QSystemTrayIcon icon;
  QAction trayShow{QStringLiteral("Show Jubilora Window")};
  QAction trayExit{QStringLiteral("Exit")};
  test::FakeUi ui;
  QtRegionalSettings regional{QLocale(QLocale::English, QLocale::UnitedStates)};
  WindowSnooze snooze{window, icon, trayShow, trayExit, ui, regional, [this] { ++window.formShows; },
                      [this] { ++endings; }};
};

TEST_F(WindowSnoozeTest, IconClicksAndTheTrayMenuAreWiredButTheMenuButtonAndMiddleButtonDoNotWake) {
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  Snooze();
  Q_EMIT icon.activated(QSystemTrayIcon::Context);
  Q_EMIT icon.activated(QSystemTrayIcon::MiddleClick);
  EXPECT_TRUE(Snoozed());
  Q_EMIT icon.activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(Snoozed());
  EXPECT_FALSE(window.isMinimized());
  EXPECT_EQ(window.formShows, 1);
  Snooze();
  Q_EMIT icon.activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(Snoozed());
  EXPECT_EQ(window.formShows, 2);
  Snooze();
  trayShow.trigger();
  EXPECT_FALSE(Snoozed());
  Snooze();
  ui.answers = {2, 1};
  trayExit.trigger();
  EXPECT_EQ(endings, 0);
  trayExit.trigger();
  EXPECT_EQ(endings, 1);
}

TEST_F(WindowSnoozeTest, TheTimerCountsInTheTitleUntilTheUserRestoresTheWindow) {
  Snooze();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:15:00..."));
  EXPECT_TRUE(QTest::qWaitFor([this] { return snooze.Controller().State().SnoozeSecondsLeft() < 900; }, 5000));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:14:59..."));
  window.showNormal();
  EXPECT_FALSE(Snoozed());
  EXPECT_FALSE(snooze.Controller().TrayDelay().isActive());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
  EXPECT_EQ(window.formShows, 1);
}

}  // namespace
}  // namespace jubilora
