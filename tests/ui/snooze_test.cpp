#include "ui/snooze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// --- Fakes -------------------------------------------------------------------------

// h:mm:ss, like a long time format of that shape.
class FakeRegional : public RegionalSettings {
 public:
  std::string FormatShortDate(DayNumber) const override { return {}; }
  std::optional<DayNumber> ParseShortDate(const std::string&) const override { return std::nullopt; }
  std::string ListSeparator() const override { return ","; }
  std::string FormatDuration(int seconds) const override {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
  }
};

// The tray and the window write into one log, so that the order of their steps shows.
using Log = std::vector<std::string>;

class FakeTray : public TrayPort {
 public:
  explicit FakeTray(Log& log) : log_(log) {}
  bool available = true;
  bool Available() const override { return available; }
  void ShowIcon() override { log_.push_back("ShowIcon"); }
  void HideIcon() override { log_.push_back("HideIcon"); }
  void SetToolTip(const std::string& text) override { log_.push_back("ToolTip " + text); }
  void ShowBalloon(const std::string& title, const std::string& text, int timeoutSeconds) override {
    log_.push_back("Balloon " + title + " | " + text + " | " + std::to_string(timeoutSeconds));
  }
  void HideBalloon() override { log_.push_back("HideBalloon"); }

 private:
  Log& log_;
};

class FakeHost : public SnoozeHost {
 public:
  explicit FakeHost(Log& log) : log_(log) {}
  void HideWindow() override { log_.push_back("HideWindow"); }
  void MinimiseWindow() override { log_.push_back("MinimiseWindow"); }
  void ShowCountdown(const std::string& text) override { log_.push_back("Countdown " + text); }
  void ShowWindow() override { log_.push_back("ShowWindow"); }
  void EndProgram() override { log_.push_back("EndProgram"); }

 private:
  Log& log_;
};

std::string Tip(const char* remaining) { return std::string("Jubilora\r\n will pop up in ") + remaining + "..."; }

int Count(const Log& log, const std::string& entry) {
  return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

// --- The pure count ----------------------------------------------------------------

TEST(SnoozeDurations, AnswersOneToFivePickTheDurationsInButtonOrder) {
  const int seconds[] = {900, 1800, 3600, 7200, 14400};
  const char* texts[] = {"15 minutes", "30 minutes", "1 hour", "2 hours", "4 hours"};
  for (int answer = 1; answer <= 5; ++answer) {
    const auto duration = SnoozeDurationFor(answer);
    ASSERT_TRUE(duration.has_value()) << answer;
    EXPECT_EQ(duration->seconds, seconds[answer - 1]);
    EXPECT_STREQ(duration->text, texts[answer - 1]);
  }
  // "&Cancel", the close box or Escape, and a dialog that could not be shown.
  for (int answer : {6, 0, -1, 7}) EXPECT_FALSE(SnoozeDurationFor(answer).has_value()) << answer;
  EXPECT_EQ(SnoozeButtons(), (std::vector<std::string>{"1&5 minutes", "&30 minutes", "&1 hour", "&2 hours",
                                                        "&4 hours", "&Cancel"}));
}

TEST(SnoozeStateCount, BalloonComesDownOnTheFifthTickOnly) {
  const FakeRegional regional;
  SnoozeState state(regional);
  state.Start(900);
  EXPECT_EQ(state.BalloonCountdown(), 4);
  const int expectedCountdown[] = {3, 2, 1, 0, -1, -1, -1};
  const char* expectedTips[] = {"0:14:59", "0:14:58", "0:14:57", "0:14:56", "0:14:55", "0:14:54", "0:14:53"};
  for (int tick = 0; tick < 7; ++tick) {
    SCOPED_TRACE(tick + 1);
    const SnoozeState::TickResult result = state.Tick();
    EXPECT_EQ(state.BalloonCountdown(), expectedCountdown[tick]);
    EXPECT_EQ(result.takeBalloonDown, tick == 4);
    EXPECT_EQ(result.toolTip, Tip(expectedTips[tick]));
    EXPECT_FALSE(result.wakeUp);
  }
  EXPECT_EQ(state.SnoozeSecondsLeft(), 893);
}

TEST(SnoozeStateCount, WakesOnTheTickThatReachesZero) {
  const FakeRegional regional;
  SnoozeState state(regional);
  state.Start(900);
  for (int tick = 1; tick < 900; ++tick) ASSERT_FALSE(state.Tick().wakeUp) << tick;
  EXPECT_EQ(state.SnoozeSecondsLeft(), 1);
  const SnoozeState::TickResult last = state.Tick();
  EXPECT_TRUE(last.wakeUp);
  EXPECT_EQ(last.toolTip, Tip("0:00:00"));
}

TEST(SnoozeStateCount, StoppedCountIgnoresTicksAndRestartsAfresh) {
  const FakeRegional regional;
  SnoozeState state(regional);
  state.Start(900);
  for (int tick = 0; tick < 10; ++tick) state.Tick();
  state.Stop();
  const SnoozeState::TickResult stray = state.Tick();
  EXPECT_FALSE(stray.wakeUp);
  EXPECT_FALSE(stray.takeBalloonDown);
  EXPECT_TRUE(stray.toolTip.empty());
  EXPECT_EQ(state.SnoozeSecondsLeft(), 890);

  state.Start(1800);
  EXPECT_EQ(state.SnoozeSecondsLeft(), 1800);
  EXPECT_EQ(state.BalloonCountdown(), 4);
  EXPECT_EQ(state.Tick().toolTip, Tip("0:29:59"));
}

// The user's regional settings shape the remaining time: no AM/PM marker, no 12 for 0 hours.
TEST(SnoozeStateCount, RegionalLongTimeFormatWritesTheRemainingTime) {
  const QtRegionalSettings american(QLocale(QLocale::English, QLocale::UnitedStates));
  SnoozeState state(american);
  state.Start(900);
  EXPECT_EQ(state.Tick().toolTip, Tip("0:14:59"));
  state.Start(14400);
  EXPECT_EQ(state.Tick().toolTip, Tip("3:59:59"));
}

// --- The controller with fakes -----------------------------------------------------

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

  Log log;
  test::FakeUi ui;
  FakeTray tray{log};
  FakeHost host{log};
  FakeRegional regional;
  SnoozeController controller{ui, tray, host, regional};
};

TEST_F(SnoozeControllerTest, AsksTheSnoozeQuestionAndCancelLeavesEverythingAsItWas) {
  for (int answer : {6, 0, -1}) {
    SCOPED_TRACE(answer);
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    EXPECT_FALSE(controller.Snoozed());
    EXPECT_FALSE(controller.TrayDelay().isActive());
  }
  EXPECT_TRUE(log.empty());
  ASSERT_EQ(ui.questions.size(), 3u);
  const test::AskedQuestion& question = ui.questions.front();
  EXPECT_EQ(question.caption, "Snooze Jubilora");
  EXPECT_EQ(question.message,
            "This option will minimize Jubilora\r\nto System Tray for the desired period. You may\r\n"
            "restore it any time by clicking on the tray icon.\r\n\r\n\r\nPlease select the snooze duration.");
  EXPECT_EQ(question.buttons, SnoozeButtons());
  EXPECT_EQ(question.icon, IconKind::Question);
  EXPECT_TRUE(question.canCancel);
}

TEST_F(SnoozeControllerTest, EachDurationHidesTheWindowAndShowsIconAndBalloon) {
  const char* balloons[] = {"15 minutes", "30 minutes", "1 hour", "2 hours", "4 hours"};
  const char* tips[] = {"0:15:00", "0:30:00", "1:00:00", "2:00:00", "4:00:00"};
  for (int answer = 1; answer <= 5; ++answer) {
    SCOPED_TRACE(answer);
    log.clear();
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    EXPECT_EQ(log, (Log{"HideWindow", "ToolTip " + Tip(tips[answer - 1]), "ShowIcon",
                        std::string("Balloon Jubilora... | ... will automatically pop up in ") + balloons[answer - 1] +
                            ". | 10"}));
    EXPECT_EQ(controller.State().SnoozeSecondsLeft(), SnoozeDurations[answer - 1].seconds);
    EXPECT_EQ(controller.State().BalloonCountdown(), 4);
    EXPECT_TRUE(controller.TrayDelay().isActive());
    EXPECT_EQ(controller.TrayDelay().interval(), 1000);
    controller.TrayIconClick();
  }
}

TEST_F(SnoozeControllerTest, TooltipCountsDownEachTickAndTheBalloonGoesOnTheFifth) {
  SnoozeWith(1);
  Ticks(7);
  EXPECT_EQ(log, (Log{"ToolTip " + Tip("0:14:59"), "ToolTip " + Tip("0:14:58"), "ToolTip " + Tip("0:14:57"),
                      "ToolTip " + Tip("0:14:56"), "HideBalloon", "ToolTip " + Tip("0:14:55"),
                      "ToolTip " + Tip("0:14:54"), "ToolTip " + Tip("0:14:53")}));
}

TEST_F(SnoozeControllerTest, WakesWhenTheTimeIsUp) {
  SnoozeWith(1);
  Ticks(899);
  EXPECT_EQ(Count(log, "ShowWindow"), 0);
  log.clear();
  Ticks(1);
  EXPECT_EQ(log, (Log{"ToolTip " + Tip("0:00:00"), "HideBalloon", "ShowWindow", "HideIcon"}));
  EXPECT_FALSE(controller.Snoozed());
  EXPECT_FALSE(controller.TrayDelay().isActive());
  // A tick already on its way changes nothing.
  log.clear();
  Ticks(1);
  EXPECT_TRUE(log.empty());
}

TEST_F(SnoozeControllerTest, ClickWakesAtOnceAndTheDoubleClicksSecondHalfFindsItAwake) {
  SnoozeWith(2);
  Ticks(10);
  log.clear();
  controller.TrayIconClick();
  EXPECT_EQ(log, (Log{"HideBalloon", "ShowWindow", "HideIcon"}));
  EXPECT_FALSE(controller.TrayDelay().isActive());
  controller.TrayIconClick();
  controller.menuTrayShowClick();
  EXPECT_EQ(Count(log, "ShowWindow"), 1);
}

TEST_F(SnoozeControllerTest, ShowWindowEntryWakes) {
  SnoozeWith(3);
  controller.menuTrayShowClick();
  EXPECT_EQ(log, (Log{"HideBalloon", "ShowWindow", "HideIcon"}));
  EXPECT_FALSE(controller.Snoozed());
}

TEST_F(SnoozeControllerTest, LaterSnoozeFromEitherEntryStartsAfresh) {
  SnoozeWith(1);
  Ticks(100);
  controller.TrayIconClick();
  ui.answers.push_back(2);
  controller.menuRightSnoozeClick();
  ASSERT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(ui.questions[1].caption, ui.questions[0].caption);
  EXPECT_EQ(ui.questions[1].message, ui.questions[0].message);
  EXPECT_EQ(ui.questions[1].buttons, ui.questions[0].buttons);
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 1800);
  EXPECT_EQ(controller.State().BalloonCountdown(), 4);
  log.clear();
  Ticks(5);
  EXPECT_EQ(log.front(), "ToolTip " + Tip("0:29:59"));
  EXPECT_EQ(Count(log, "HideBalloon"), 1);
}

TEST_F(SnoozeControllerTest, SnoozingAgainWhileSnoozedAsksNothing) {
  SnoozeWith(1);
  controller.menuSnoozeClick();
  controller.menuRightSnoozeClick();
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 900);
}

TEST_F(SnoozeControllerTest, DeclinedTrayExitKeepsTheCountWhereItWas) {
  SnoozeWith(3);
  Ticks(10);
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
  EXPECT_EQ(Count(log, "EndProgram"), 0);
  EXPECT_TRUE(controller.TrayDelay().isActive());
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 3590);
  log.clear();
  Ticks(1);
  EXPECT_EQ(log, (Log{"ToolTip " + Tip("0:59:49")}));
}

TEST_F(SnoozeControllerTest, ConfirmedTrayExitEndsTheProgram) {
  SnoozeWith(1);
  ui.answers.push_back(1);
  controller.menuTrayExitClick();
  EXPECT_EQ(log, (Log{"EndProgram"}));
}

// --- Without a notification area ---------------------------------------------------

class SnoozeWithoutTrayTest : public SnoozeControllerTest {
 protected:
  void SetUp() override {
    SnoozeControllerTest::SetUp();
    tray.available = false;
  }
};

TEST_F(SnoozeWithoutTrayTest, MinimisesAndKeepsTheCountdownWithoutIconOrBalloon) {
  ui.answers.push_back(1);
  controller.menuSnoozeClick();
  EXPECT_EQ(log, (Log{"MinimiseWindow", "Countdown " + Tip("0:15:00")}));
  EXPECT_FALSE(controller.InTray());
  EXPECT_TRUE(controller.TrayDelay().isActive());
  log.clear();
  Ticks(6);
  EXPECT_EQ(log.size(), 6u);
  EXPECT_EQ(log.front(), "Countdown " + Tip("0:14:59"));
  EXPECT_EQ(log.back(), "Countdown " + Tip("0:14:54"));
  EXPECT_EQ(controller.State().BalloonCountdown(), -1);
}

TEST_F(SnoozeWithoutTrayTest, ComesBackWhenTheTimeIsUp) {
  SnoozeWith(1);
  Ticks(900);
  EXPECT_EQ(log.back(), "ShowWindow");
  EXPECT_EQ(Count(log, "ShowWindow"), 1);
  EXPECT_EQ(Count(log, "HideIcon") + Count(log, "HideBalloon"), 0);
  EXPECT_FALSE(controller.TrayDelay().isActive());
}

TEST_F(SnoozeWithoutTrayTest, RestoringTheWindowEarlyWakesItAndALaterSnoozeStartsAfresh) {
  SnoozeWith(2);
  Ticks(30);
  log.clear();
  controller.WindowRestored();
  EXPECT_EQ(log, (Log{"ShowWindow"}));
  EXPECT_FALSE(controller.Snoozed());
  EXPECT_FALSE(controller.TrayDelay().isActive());
  controller.WindowRestored();
  EXPECT_EQ(Count(log, "ShowWindow"), 1);

  // The notification area may have come back meanwhile.
  tray.available = true;
  SnoozeWith(1);
  EXPECT_TRUE(controller.InTray());
  EXPECT_EQ(controller.State().SnoozeSecondsLeft(), 900);
  // A restore of the window means nothing while the tray icon carries the snooze.
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

QIcon SomeIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::red);
  return QIcon(pixmap);
}

TEST(QtTrayPortTest, ShowsTheTooltipOnTwoLinesAndTheIconOnDemand) {
  test::TestApplication();
  QSystemTrayIcon icon;
  icon.setIcon(SomeIcon());
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

TEST_F(QtSnoozeHostTest, HiddenWindowComesBackWithOneFreshReport) {
  host.HideWindow();
  EXPECT_FALSE(window.isVisible());
  host.ShowWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.formShows, 1);
  EXPECT_EQ(restores, 0);
}

TEST_F(QtSnoozeHostTest, MinimisedWindowShowsTheCountdownInItsTitleAndComesBackWithOneFreshReport) {
  host.MinimiseWindow();
  EXPECT_TRUE(window.isMinimized());
  host.ShowCountdown(Tip("0:14:59"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:14:59..."));
  host.ShowWindow();
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
  EXPECT_EQ(window.formShows, 1);
  // Our own restore is not the user's.
  EXPECT_EQ(restores, 0);
}

TEST_F(QtSnoozeHostTest, UserRestoringTheMinimisedWindowIsReportedOnce) {
  host.MinimiseWindow();
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  EXPECT_EQ(restores, 1);
  host.ShowWindow();  // what waking up does next
  window.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(restores, 1);
  EXPECT_EQ(window.formShows, 1);
}

TEST_F(QtSnoozeHostTest, MaximisedWindowReturnsMaximised) {
  window.setWindowState(Qt::WindowMaximized);
  host.MinimiseWindow();
  host.ShowWindow();
  EXPECT_TRUE(window.isMaximized());
  EXPECT_FALSE(window.isMinimized());
}

TEST_F(QtSnoozeHostTest, EndProgramRunsTheGivenShutdown) {
  host.HideWindow();
  host.EndProgram();
  EXPECT_EQ(endings, 1);
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

  QSystemTrayIcon icon;
  QAction trayShow{QStringLiteral("Show Jubilora Window")};
  QAction trayExit{QStringLiteral("Exit")};
  test::FakeUi ui;
  QtRegionalSettings regional{QLocale(QLocale::English, QLocale::UnitedStates)};
  WindowSnooze snooze{window, icon, trayShow, trayExit, ui, regional, [this] { ++window.formShows; },
                      [this] { ++endings; }};
};

TEST_F(WindowSnoozeTest, IconClicksWakeButTheMenuButtonAndMiddleButtonDoNot) {
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  Snooze();
  Q_EMIT icon.activated(QSystemTrayIcon::Context);
  Q_EMIT icon.activated(QSystemTrayIcon::MiddleClick);
  EXPECT_TRUE(snooze.Controller().Snoozed());
  Q_EMIT icon.activated(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(snooze.Controller().Snoozed());
  EXPECT_FALSE(window.isMinimized());
  EXPECT_EQ(window.formShows, 1);
  Snooze();
  Q_EMIT icon.activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(snooze.Controller().Snoozed());
  EXPECT_EQ(window.formShows, 2);
}

TEST_F(WindowSnoozeTest, TrayMenuEntriesShowAndExit) {
  Snooze();
  trayShow.trigger();
  EXPECT_FALSE(snooze.Controller().Snoozed());
  Snooze();
  ui.answers.push_back(2);
  trayExit.trigger();
  EXPECT_EQ(endings, 0);
  ui.answers.push_back(1);
  trayExit.trigger();
  EXPECT_EQ(endings, 1);
}

TEST_F(WindowSnoozeTest, RestoringTheWindowWakesItWithAFreshReport) {
  Snooze();
  window.showNormal();
  EXPECT_FALSE(snooze.Controller().Snoozed());
  EXPECT_FALSE(snooze.Controller().TrayDelay().isActive());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
  EXPECT_EQ(window.formShows, 1);
}

TEST_F(WindowSnoozeTest, TheTimerTicksTheCountdown) {
  Snooze();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:15:00..."));
  EXPECT_TRUE(QTest::qWaitFor([this] { return snooze.Controller().State().SnoozeSecondsLeft() < 900; }, 5000));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora will pop up in 0:14:59..."));
}

}  // namespace
}  // namespace jubilora
