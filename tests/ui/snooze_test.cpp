#include "ui/snooze.h"

#include <gtest/gtest.h>

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

using Log = std::vector<std::string>;

// The tray and the window write into one log, so that the order of their steps shows.
class FakeDesktop : public TrayPort, public SnoozeHost {
 public:
  Log log;
  bool available = true;

  bool Available() const override { return available; }
  void ShowIcon() override { log.push_back("ShowIcon"); }
  void HideIcon() override { log.push_back("HideIcon"); }
  void SetToolTip(const std::string& text) override { log.push_back("ToolTip " + text); }
  void ShowBalloon(const std::string&, const std::string&, int) override { log.push_back("Balloon"); }
  void HideBalloon() override { log.push_back("HideBalloon"); }
  void HideWindow() override { log.push_back("HideWindow"); }
  void MinimiseWindow() override { log.push_back("MinimiseWindow"); }
  void ShowCountdown(const std::string& text) override { log.push_back("Countdown " + text); }
  void ShowWindow() override { log.push_back("ShowWindow"); }
  void EndProgram() override { log.push_back("EndProgram"); }
};

std::string Tip(const char* remaining) { return SnoozeToolTip(remaining); }

const QtRegionalSettings& UsEnglish() {
  static const QtRegionalSettings regional{QLocale(QLocale::English, QLocale::UnitedStates)};
  return regional;
}

// The controller ticked by hand, in place of its one-second timer.
class SnoozeControllerTest : public ::testing::Test {
 protected:
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) controller.TrayDelayTimer();
  }
  Log Snooze(int answer) {
    log.clear();
    ui.answers.push_back(answer);
    controller.menuSnoozeClick();
    return std::exchange(log, {});
  }

  QApplication& app = test::TestApplication();
  test::FakeUi ui;
  FakeDesktop desktop;
  Log& log = desktop.log;
  SnoozeController controller{ui, desktop, desktop, UsEnglish()};
};

// Snoozed into the tray, the tool tip counts down once a second (the balloon taken down at the
// fifth); the window comes back when the time is up, and a tick after waking does nothing.
// Answers that are no duration (Cancel, Escape, a dialog not shown) do nothing at all.
TEST_F(SnoozeControllerTest, IntoTheTrayUntilTheTimeIsUp) {
  for (int answer : {6, 0, -1, 7}) EXPECT_EQ(Snooze(answer), Log{}) << answer;
  EXPECT_FALSE(controller.Snoozed());

  EXPECT_EQ(Snooze(2), (Log{"HideWindow", "ToolTip " + Tip("0:30:00"), "ShowIcon", "Balloon"}));
  Ticks(5);
  EXPECT_EQ(log.end()[-2], "HideBalloon");
  Ticks(1794);
  EXPECT_EQ(log.back(), "ToolTip " + Tip("0:00:01"));
  log.clear();
  Ticks(1);
  EXPECT_EQ(log, (Log{"ToolTip " + Tip("0:00:00"), "HideBalloon", "ShowWindow", "HideIcon"}));
  log.clear();
  Ticks(1);
  EXPECT_EQ(log, Log{}) << "a tick after waking";
  SnoozeState stale(UsEnglish());
  stale.Start(900);
  stale.Stop();
  EXPECT_TRUE(stale.Tick().toolTip.empty());
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

// On the offscreen platform, which has no notification area: the window comes back as it was
// (maximised stays maximised) with one fresh report and its own title by a click on the icon
// (the user's restore and the wake from the tray are the tray's end-to-end test).
TEST(QtSnooze, TheWindowComesBackAsItWasWithOneFreshReport) {
  test::TestApplication();
  ReportWindow window;
  window.setWindowTitle(QStringLiteral("Jubilora 3.22"));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QSystemTrayIcon icon;
  QAction trayShow, trayExit;
  test::FakeUi ui;
  WindowSnooze snooze{window, icon, trayShow, trayExit, ui, UsEnglish(), [&] { ++window.formShows; }, [] {}};
  for (const bool maximised : {false, true}) {
    window.setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
    ui.answers.push_back(1);
    snooze.Controller().menuSnoozeClick();
    ASSERT_TRUE(window.isMinimized());
    window.formShows = 0;
    Q_EMIT icon.activated(maximised ? QSystemTrayIcon::DoubleClick : QSystemTrayIcon::Trigger);
    EXPECT_FALSE(snooze.Controller().Snoozed() || window.isMinimized());
    EXPECT_EQ(window.isMaximized(), maximised);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Jubilora 3.22"));
    EXPECT_EQ(window.formShows, 1);
  }
}

}  // namespace
}  // namespace jubilora
