#include "ui/snooze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLocale>
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

// The user's regional long time format writes the remaining time.
const QtRegionalSettings& UsEnglish() {
  static const QtRegionalSettings regional{QLocale(QLocale::English, QLocale::UnitedStates)};
  return regional;
}

// SnoozeSecondsLeft and BalloonCountdown tick by tick: the balloon goes on the fifth tick,
// the window wakes on the tick that reaches zero, and a tick queued after that does nothing.
TEST(SnoozeStateTest, CountsDownTheBalloonAndTheTimeTickByTick) {
  test::TestApplication();
  struct Row {
    int seconds;       // the snooze
    int ticks;         // ticks so far
    int balloon;       // BalloonCountdown after them
    int left;          // SnoozeSecondsLeft after them
    bool balloonDown;  // the last tick took the balloon down
    bool wakeUp;       // the last tick woke the window
  };
  for (const Row& row : {Row{900, 1, 3, 899, false, false}, Row{900, 4, 0, 896, false, false},
                         Row{900, 5, -1, 895, true, false}, Row{900, 6, -1, 894, false, false},
                         Row{900, 899, -1, 1, false, false}, Row{900, 900, -1, 0, false, true},
                         Row{3, 3, 1, 0, false, true}}) {
    SCOPED_TRACE(std::to_string(row.seconds) + "s, tick " + std::to_string(row.ticks));
    SnoozeState state(UsEnglish());
    state.Start(row.seconds);
    EXPECT_EQ(state.BalloonCountdown(), 4);
    SnoozeState::TickResult tick;
    for (int i = 0; i < row.ticks; ++i) tick = state.Tick();
    EXPECT_EQ(state.BalloonCountdown(), row.balloon);
    EXPECT_EQ(state.SnoozeSecondsLeft(), row.left);
    EXPECT_EQ(tick.takeBalloonDown, row.balloonDown);
    EXPECT_EQ(tick.wakeUp, row.wakeUp);
    EXPECT_EQ(tick.toolTip, SnoozeToolTip(UsEnglish().FormatDuration(row.left)));
  }
  SnoozeState state(UsEnglish());
  state.Start(900);
  state.Stop();
  const SnoozeState::TickResult stale = state.Tick();
  EXPECT_FALSE(stale.wakeUp || stale.takeBalloonDown || !stale.toolTip.empty());
  EXPECT_EQ(state.SnoozeSecondsLeft(), 900);
}

// The controller ticked by hand, in place of its one-second timer.
class SnoozeControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) controller.TrayDelayTimer();
  }
  // Snoozes with `answer`; returns what that did.
  Log Snooze(int answer) {
    log.clear();
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    return std::exchange(log, {});
  }

  test::FakeUi ui;
  FakeDesktop desktop;
  Log& log = desktop.log;
  SnoozeController controller{ui, desktop, desktop, UsEnglish()};
};

// "&Cancel", the close box or Escape, a dialog that could not be shown, and anything else.
TEST_F(SnoozeControllerTest, AnythingButADurationLeavesEverythingAsItWas) {
  for (int answer : {6, 0, -1, 7}) EXPECT_EQ(Snooze(answer), Log{}) << answer;
  EXPECT_FALSE(controller.Snoozed());
  EXPECT_FALSE(controller.TrayDelay().isActive());
}

TEST_F(SnoozeControllerTest, IntoTheTrayUntilTheTimeIsUpOrAClick) {
  EXPECT_EQ(Snooze(2), (Log{"HideWindow", "ToolTip " + Tip("0:30:00"), "ShowIcon",
                            "Balloon Jubilora... | ... will automatically pop up in 30 minutes. | 10"}));
  EXPECT_EQ(controller.TrayDelay().interval(), 1000);
  Ticks(5);
  EXPECT_EQ(log, (Log{"ToolTip " + Tip("0:29:59"), "ToolTip " + Tip("0:29:58"), "ToolTip " + Tip("0:29:57"),
                      "ToolTip " + Tip("0:29:56"), "HideBalloon", "ToolTip " + Tip("0:29:55")}));
  log.clear();
  Ticks(1795);
  EXPECT_EQ(Log(log.end() - 3, log.end()), (Log{"HideBalloon", "ShowWindow", "HideIcon"}));
  EXPECT_FALSE(controller.TrayDelay().isActive());

  // A click, the tray menu's entry, and the second half of a double click that finds the
  // window awake.
  for (const auto wake : {&SnoozeController::TrayIconClick, &SnoozeController::menuTrayShowClick}) {
    Snooze(1);
    Ticks(10);
    log.clear();
    (controller.*wake)();
    controller.TrayIconClick();
    EXPECT_EQ(log, (Log{"HideBalloon", "ShowWindow", "HideIcon"}));
  }
}

TEST_F(SnoozeControllerTest, TheTrayExitEndsOnlyWhenConfirmedAndTheCountGoesOn) {
  Snooze(3);
  Ticks(10);
  ui.answers = {2, 0, -1, 1};
  for (int i = 0; i < 3; ++i) controller.menuTrayExitClick();
  EXPECT_TRUE(controller.TrayDelay().isActive());
  log.clear();
  Ticks(1);
  EXPECT_EQ(log, (Log{"ToolTip " + Tip("0:59:49")}));
  controller.menuTrayExitClick();
  EXPECT_EQ(log.back(), "EndProgram");
  // Snoozing again while snoozed asks nothing.
  controller.menuRightSnoozeClick();
  EXPECT_EQ(ui.questions.size(), 5u);
}

// Without a notification area the window is minimised, its title carries the countdown, and
// the question does not promise a tray icon to click.
TEST_F(SnoozeControllerTest, WithoutATrayTheWindowIsMinimisedAndTheQuestionSaysSo) {
  desktop.available = false;
  EXPECT_EQ(Snooze(1), (Log{"MinimiseWindow", "Countdown " + Tip("0:15:00")}));
  Ticks(1);
  EXPECT_EQ(log, (Log{"Countdown " + Tip("0:14:59")}));
  log.clear();
  desktop.available = true;
  controller.WindowRestored();
  controller.WindowRestored();
  EXPECT_EQ(log, (Log{"ShowWindow"}));
  EXPECT_FALSE(controller.TrayDelay().isActive());
  ASSERT_EQ(ui.questions.size(), 1u);
  const std::string fallback = ui.questions[0].message;

  // The notification area came back: the next snooze goes there, and restoring means nothing.
  EXPECT_EQ(Snooze(1).front(), "HideWindow");
  controller.WindowRestored();
  EXPECT_TRUE(controller.Snoozed());
  const std::string tray = ui.questions[1].message;
  EXPECT_NE(tray.find("clicking on the tray icon"), std::string::npos) << tray;
  EXPECT_EQ(fallback.find("tray"), std::string::npos) << fallback;
  EXPECT_NE(fallback.find("by itself"), std::string::npos) << fallback;
  EXPECT_NE(fallback.find("restore"), std::string::npos) << fallback;
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

TEST(QtTrayPortTest, TheTooltipBreaksItsLinesWithLineFeeds) {
  test::TestApplication();
  QSystemTrayIcon icon;
  QtTrayPort(icon).SetToolTip(Tip("0:14:59"));
  EXPECT_EQ(icon.toolTip(), QStringLiteral("Jubilora\n will pop up in 0:14:59..."));
}

// The application must exist before the fixture's widgets are built.
struct WithApplication {
  WithApplication() { test::TestApplication(); }
};

class QtSnoozeHostTest : public ::testing::Test, private WithApplication {
 protected:
  void SetUp() override {
    window.setWindowTitle(QStringLiteral("Jubilora 3.22"));
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

// Back with one fresh report each time; our own restore is not the user's; a maximised
// window returns maximised.
TEST_F(QtSnoozeHostTest, TheWindowComesBackAsItWasWithOneFreshReport) {
  host.HideWindow();
  EXPECT_FALSE(window.isVisible());
  host.ShowWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.formShows, 1);
  for (const bool maximised : {false, true}) {
    SCOPED_TRACE(maximised);
    window.setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
    window.formShows = 0;
    host.MinimiseWindow();
    EXPECT_TRUE(window.isMinimized());
    host.ShowCountdown(Tip("0:14:59"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:14:59..."));
    host.ShowWindow();
    EXPECT_TRUE(window.isVisible() && !window.isMinimized());
    EXPECT_EQ(window.isMaximized(), maximised);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
    EXPECT_EQ(window.formShows, 1);
  }
  EXPECT_EQ(restores, 0);
  // The user's restore is reported, once.
  window.setWindowState(Qt::WindowNoState);
  host.MinimiseWindow();
  window.setWindowState(Qt::WindowNoState);
  host.ShowWindow();
  window.setWindowState(Qt::WindowMinimized);
  EXPECT_EQ(restores, 1);
  host.EndProgram();
  EXPECT_EQ(endings, 1);
}

// The whole bundle on the offscreen platform, which has no notification area.
class WindowSnoozeTest : public QtSnoozeHostTest {
 protected:
  void Snooze() {
    ui.answers.push_back(1);
    snooze.Controller().menuSnoozeClick();
    ASSERT_TRUE(Snoozed() && window.isMinimized());
  }
  bool Snoozed() { return snooze.Controller().Snoozed(); }

  QSystemTrayIcon icon;
  QAction trayShow{QStringLiteral("Show Jubilora Window")};
  QAction trayExit{QStringLiteral("Exit")};
  test::FakeUi ui;
  WindowSnooze snooze{window, icon, trayShow, trayExit, ui, UsEnglish(), [this] { ++window.formShows; },
                      [this] { ++endings; }};
};

TEST_F(WindowSnoozeTest, IconClicksTheTrayMenuAndARestoreAreWiredButOtherButtonsDoNotWake) {
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  Snooze();
  Q_EMIT icon.activated(QSystemTrayIcon::Context);
  Q_EMIT icon.activated(QSystemTrayIcon::MiddleClick);
  EXPECT_TRUE(Snoozed());
  for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}) {
    Q_EMIT icon.activated(reason);
    EXPECT_FALSE(Snoozed());
    Snooze();
  }
  trayShow.trigger();
  EXPECT_FALSE(Snoozed());
  EXPECT_EQ(window.formShows, 3);
  // The user restores the minimised window.
  Snooze();
  window.showNormal();
  EXPECT_FALSE(Snoozed() || snooze.Controller().TrayDelay().isActive());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
  Snooze();
  ui.answers = {2, 1};
  trayExit.trigger();
  EXPECT_EQ(endings, 0);
  trayExit.trigger();
  EXPECT_EQ(endings, 1);
}

}  // namespace
}  // namespace jubilora
