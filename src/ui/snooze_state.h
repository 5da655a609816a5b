#pragma once
// Snoozing as plain logic: the six answers of the snooze question, the program's texts, and
// the once-a-second count that drives the tray icon. No Qt here, so a test can tick it by hand.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/ports.h"

namespace jubilora {

// One answer of the snooze question.
struct SnoozeDuration {
  int seconds;
  const char* button;  // the caption, "&" marking its access key
  const char* text;    // as the balloon names it
};

// In the order of the buttons; the sixth button is "&Cancel".
inline constexpr std::array<SnoozeDuration, 5> SnoozeDurations{{
    {900, "1&5 minutes", "15 minutes"},
    {1800, "&30 minutes", "30 minutes"},
    {3600, "&1 hour", "1 hour"},
    {7200, "&2 hours", "2 hours"},
    {14400, "&4 hours", "4 hours"},
}};

// The answer dialog's result 1..5 picks a duration; "&Cancel", the close box, Escape and a
// dialog that could not be shown pick none.
std::optional<SnoozeDuration> SnoozeDurationFor(int answer);

// The snooze question; its message tells what will happen, into the notification area
// (`toTray`) or, where the desktop has none, minimised.
std::string SnoozeCaption();
std::string SnoozeMessage(bool toTray);
std::vector<std::string> SnoozeButtons();

// The balloon shown when the window goes to the tray.
std::string SnoozeBalloonTitle();
std::string SnoozeBalloonText(const SnoozeDuration& duration);
inline constexpr int SnoozeBalloonSeconds = 10;

// ProductName, CR LF, " will pop up in ", the remaining time and "...".
std::string SnoozeToolTip(const std::string& remaining);

// The confirmation of the tray menu's "Exit".
std::string TrayExitCaption();
std::string TrayExitMessage();
std::vector<std::string> TrayExitButtons();

// SnoozeSecondsLeft and BalloonCountdown, counted once a second while snoozed.
class SnoozeState {
 public:
  // What one tick asks of the tray icon and the window.
  struct TickResult {
    std::string toolTip;           // empty when not snoozed
    bool takeBalloonDown = false;  // on the fifth tick only
    bool wakeUp = false;           // the time is up
  };

  explicit SnoozeState(const RegionalSettings& regional) : regional_(regional) {}

  // A fresh count: the balloon stays for four ticks, the window comes back after `seconds`.
  void Start(int seconds);
  // Ticks after Stop() change nothing and ask for nothing.
  TickResult Tick();
  void Stop() { snoozed_ = false; }

  bool Snoozed() const { return snoozed_; }
  int SnoozeSecondsLeft() const { return snoozeSecondsLeft_; }
  // 4 when snoozing, then 3, 2, 1, 0; -1 once the balloon has been taken down.
  int BalloonCountdown() const { return balloonCountdown_; }
  // The tooltip for the time now left.
  std::string ToolTip() const;

 private:
  const RegionalSettings& regional_;
  bool snoozed_ = false;
  int snoozeSecondsLeft_ = 0;
  int balloonCountdown_ = -1;
};

}  // namespace jubilora
