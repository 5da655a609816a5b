#pragma once
// Snoozing the main window: the snooze question, the tray icon's countdown, the balloon,
// waking up, and the tray menu's "Exit". The controller talks to the tray icon and to the
// window through two small ports, so that tests can drive it with fakes; the Qt side of each
// port and a bundle that wires them to the main window follow below.

#include <functional>
#include <string>

#include <QObject>
#include <QString>
#include <QTimer>

#include "core/ports.h"
#include "ui/snooze_state.h"

class QAction;
class QEvent;
class QSystemTrayIcon;
class QWidget;

namespace jubilora {

// The notification-area icon. Texts are Windows-1252, lines separated by CR LF.
class TrayPort {
 public:
  virtual ~TrayPort() = default;
  // False where the desktop has no notification area.
  virtual bool Available() const = 0;
  virtual void ShowIcon() = 0;
  virtual void HideIcon() = 0;
  virtual void SetToolTip(const std::string& text) = 0;
  // With the information icon.
  virtual void ShowBalloon(const std::string& title, const std::string& text, int timeoutSeconds) = 0;
  virtual void HideBalloon() = 0;
};

// What the snooze needs from the main window.
class SnoozeHost {
 public:
  virtual ~SnoozeHost() = default;
  // Off the screen and out of the taskbar; the tray icon stands in for it.
  virtual void HideWindow() = 0;
  // Without a notification area the window goes only to the taskbar, where the user can
  // still reach it.
  virtual void MinimiseWindow() = 0;
  // The countdown while minimised, where no tray icon can carry it (the tooltip's text).
  virtual void ShowCountdown(const std::string& text) = 0;
  // Back on screen: restored, visible, in the taskbar, raised and active, with the report
  // recomputed for the current day (FormShow).
  virtual void ShowWindow() = 0;
  // A confirmed tray "Exit": the normal shutdown.
  virtual void EndProgram() = 0;
};

// TrayDelay, SnoozeSecondsLeft and BalloonCountdown, and the handlers behind the two
// "&Snooze" entries, the tray icon and its menu.
class SnoozeController : public QObject {
  Q_OBJECT

 public:
  static constexpr int TrayDelayInterval = 1000;  // ms

  SnoozeController(Ui& ui, TrayPort& tray, SnoozeHost& host, const RegionalSettings& regional,
                   QObject* parent = nullptr);

  void menuSnoozeClick();
  void menuRightSnoozeClick() { menuSnoozeClick(); }
  void TrayDelayTimer();
  void WakeUp();
  // Click and double click; the second half of a double click finds the window awake.
  void TrayIconClick() { WakeUp(); }
  void menuTrayShowClick() { WakeUp(); }
  void menuTrayExitClick();
  // The user brought the minimised window back before the time was up (no notification area).
  void WindowRestored();

  bool Snoozed() const { return state_.Snoozed(); }

 private:
  void Snooze(const SnoozeDuration& duration, bool toTray);

  Ui& ui_;
  TrayPort& tray_;
  SnoozeHost& host_;
  SnoozeState state_;
  QTimer trayDelay_;
  bool inTray_ = false;
};

// The tray port on a QSystemTrayIcon that the main window owns (with its icon and menu).
class QtTrayPort : public TrayPort {
 public:
  explicit QtTrayPort(QSystemTrayIcon& icon) : icon_(icon) {}

  bool Available() const override;
  void ShowIcon() override;
  void HideIcon() override;
  // CR LF becomes a plain line break.
  void SetToolTip(const std::string& text) override;
  void ShowBalloon(const std::string& title, const std::string& text, int timeoutSeconds) override;
  void HideBalloon() override;

 private:
  QSystemTrayIcon& icon_;
};

// The host port on the main window.
class QtSnoozeHost : public QObject, public SnoozeHost {
  Q_OBJECT

 public:
  // `formShow` recomputes the report. The window is expected to run it by itself when it is
  // shown from hidden (a non-spontaneous show event); the host calls it when the window comes
  // back from minimised, where no such event arrives. `endProgram` must end the event loop:
  // closing a hidden window does not.
  QtSnoozeHost(QWidget& window, std::function<void()> formShow, std::function<void()> endProgram);

  void HideWindow() override;
  void MinimiseWindow() override;
  // In the window title, so that the taskbar entry shows it.
  void ShowCountdown(const std::string& text) override;
  void ShowWindow() override;
  void EndProgram() override;

  // Called when the user restores the window that the snooze minimised.
  void SetRestoredHandler(std::function<void()> restored) { restored_ = std::move(restored); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  std::function<void()> formShow_;
  std::function<void()> endProgram_;
  std::function<void()> restored_;
  bool minimised_ = false;
  QString savedTitle_;
};

// Everything the main window needs for snoozing, wired to its tray icon and tray menu:
// click and double click on the icon, "Show Jubilora Window", "Exit", and the window's
// restore from minimised. The two "&Snooze" entries are the window's to connect.
class WindowSnooze {
 public:
  WindowSnooze(QWidget& window, QSystemTrayIcon& icon, QAction& trayShow, QAction& trayExit, Ui& ui,
               const RegionalSettings& regional, std::function<void()> formShow, std::function<void()> endProgram);

  SnoozeController& Controller() { return controller_; }

 private:
  QtTrayPort tray_;
  QtSnoozeHost host_;
  SnoozeController controller_;
};

}  // namespace jubilora
