#include "ui/snooze.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>

#include "ui/qt_text.h"

namespace jubilora {

namespace {

// The tooltip's second line starts with a blank, so the lines join without one.
QString OnOneLine(const std::string& text) {
  QString result = FromCp1252(text);
  result.remove(QLatin1Char('\r'));
  result.remove(QLatin1Char('\n'));
  return result;
}

// X11 keeps the "start minimised" hint that Qt set to minimise the window, also after the user
// restored it; the window would then come up minimised the next time it is shown from hidden.
// The hint (in WM_HINTS: flags, input, initial state, ...) goes back to normal.
void ForgetMinimisedStart(const QWidget& window) {
  if (QGuiApplication::platformName() != QLatin1String("xcb") || window.windowHandle() == nullptr) return;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return;
  constexpr std::uint32_t StateHint = 1u << 1;
  constexpr std::uint32_t NormalState = 1;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
  if (reply == nullptr) return;
  std::array<std::uint32_t, 9> hints{};
  const bool read = reply->format == 32 && xcb_get_property_value_length(reply) >= 12;
  if (read) {
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    const int count = std::min(xcb_get_property_value_length(reply) / 4, 9);
    std::copy(values, values + count, hints.begin());
  }
  std::free(reply);
  if (!read || (hints[0] & StateHint) == 0 || hints[2] == NormalState) return;
  hints[2] = NormalState;
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9,
                      hints.data());
  xcb_flush(connection);
}

}  // namespace

// ---- SnoozeController

SnoozeController::SnoozeController(Ui& ui, TrayPort& tray, SnoozeHost& host, const RegionalSettings& regional,
                                   QObject* parent)
    : QObject(parent), ui_(ui), tray_(tray), host_(host), state_(regional) {
  trayDelay_.setInterval(TrayDelayInterval);
  connect(&trayDelay_, &QTimer::timeout, this, &SnoozeController::TrayDelayTimer);
}

void SnoozeController::menuSnoozeClick() {
  // The menus are out of reach while snoozed, except a shortcut on a minimised window.
  if (Snoozed()) return;
  // Decided before asking, so that the question promises what then happens.
  const bool toTray = tray_.Available();
  const int answer =
      ui_.AnswerDialog(SnoozeCaption(), SnoozeMessage(toTray), SnoozeButtons(), IconKind::Question, true);
  if (const auto duration = SnoozeDurationFor(answer)) Snooze(*duration, toTray);
}

void SnoozeController::Snooze(const SnoozeDuration& duration, bool toTray) {
  state_.Start(duration.seconds);
  inTray_ = toTray;
  if (inTray_) {
    host_.HideWindow();
    // Until the first tick the icon would otherwise show the last snooze's text.
    tray_.SetToolTip(state_.ToolTip());
    tray_.ShowIcon();
    tray_.ShowBalloon(SnoozeBalloonTitle(), SnoozeBalloonText(duration), SnoozeBalloonSeconds);
  } else {
    host_.MinimiseWindow();
    host_.ShowCountdown(state_.ToolTip());
  }
  trayDelay_.start();
}

void SnoozeController::TrayDelayTimer() {
  const SnoozeState::TickResult tick = state_.Tick();
  if (!Snoozed()) return;
  if (inTray_) {
    if (tick.takeBalloonDown) tray_.HideBalloon();
    tray_.SetToolTip(tick.toolTip);
  } else {
    host_.ShowCountdown(tick.toolTip);
  }
  if (tick.wakeUp) WakeUp();
}

void SnoozeController::WakeUp() {
  if (!Snoozed()) return;
  state_.Stop();
  trayDelay_.stop();
  if (inTray_) tray_.HideBalloon();
  host_.ShowWindow();
  if (inTray_) tray_.HideIcon();
}

void SnoozeController::menuTrayExitClick() {
  if (!Snoozed()) return;
  const int answer =
      ui_.AnswerDialog(TrayExitCaption(), TrayExitMessage(), TrayExitButtons(), IconKind::Question, true);
  // Any other answer leaves the countdown running where it was.
  if (answer == 1) host_.EndProgram();
}

void SnoozeController::WindowRestored() {
  if (Snoozed() && !inTray_) WakeUp();
}

// ---- QtTrayPort

bool QtTrayPort::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayPort::ShowIcon() { icon_.show(); }

void QtTrayPort::HideIcon() { icon_.hide(); }

void QtTrayPort::SetToolTip(const std::string& text) { icon_.setToolTip(WithLineFeeds(FromCp1252(text))); }

void QtTrayPort::ShowBalloon(const std::string& title, const std::string& text, int timeoutSeconds) {
  icon_.showMessage(FromCp1252(title), WithLineFeeds(FromCp1252(text)), QSystemTrayIcon::Information,
                    timeoutSeconds * 1000);
}

void QtTrayPort::HideBalloon() {
  // Qt has no call to take a balloon down. Where it draws the balloon itself, the balloon is
  // a top-level widget of its own, which we hide; a desktop notification service's bubble
  // goes by its own timeout.
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->inherits("QBalloonTip") && widget->isVisible()) widget->hide();
}

// ---- QtSnoozeHost

QtSnoozeHost::QtSnoozeHost(QWidget& window, std::function<void()> formShow, std::function<void()> endProgram)
    : window_(window), formShow_(std::move(formShow)), endProgram_(std::move(endProgram)) {
  window_.installEventFilter(this);
}

void QtSnoozeHost::HideWindow() { window_.hide(); }

void QtSnoozeHost::MinimiseWindow() {
  savedTitle_ = window_.windowTitle();
  minimised_ = true;
  // Keeps a maximised window maximised for its return.
  window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
}

void QtSnoozeHost::ShowCountdown(const std::string& text) {
  if (minimised_) window_.setWindowTitle(OnOneLine(text));
}

void QtSnoozeHost::ShowWindow() {
  // Cleared first: restoring below must not report a restore by the user.
  const bool wasMinimised = minimised_;
  minimised_ = false;
  if (wasMinimised) window_.setWindowTitle(savedTitle_);
  const bool showsAnew = window_.isHidden();
  if (window_.isMinimized()) window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
  if (wasMinimised) ForgetMinimisedStart(window_);
  window_.show();
  window_.raise();
  window_.activateWindow();
  // A window coming back from minimised gets no show event of its own to run FormShow.
  if (!showsAnew && formShow_) formShow_();
}

void QtSnoozeHost::EndProgram() {
  if (endProgram_) endProgram_();
}

bool QtSnoozeHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::WindowStateChange && minimised_ && !window_.isMinimized() &&
      restored_)
    restored_();
  return false;
}

// ---- WindowSnooze

WindowSnooze::WindowSnooze(QWidget& window, QSystemTrayIcon& icon, QAction& trayShow, QAction& trayExit, Ui& ui,
                           const RegionalSettings& regional, std::function<void()> formShow,
                           std::function<void()> endProgram)
    : tray_(icon),
      host_(window, std::move(formShow), std::move(endProgram)),
      controller_(ui, tray_, host_, regional) {
  SnoozeController* controller = &controller_;
  host_.SetRestoredHandler([controller] { controller->WindowRestored(); });
  QObject::connect(&icon, &QSystemTrayIcon::activated, controller,
                   [controller](QSystemTrayIcon::ActivationReason reason) {
                     // The right button opens the tray menu instead.
                     if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                       controller->TrayIconClick();
                   });
  QObject::connect(&trayShow, &QAction::triggered, controller, &SnoozeController::menuTrayShowClick);
  QObject::connect(&trayExit, &QAction::triggered, controller, &SnoozeController::menuTrayExitClick);
}

}  // namespace jubilora
