#include "ui/snooze_state.h"

#include "core/product.h"

namespace jubilora {

namespace {

constexpr const char* CancelButton = "&Cancel";
constexpr int BalloonTicks = 4;

}  // namespace

std::optional<SnoozeDuration> SnoozeDurationFor(int answer) {
  if (answer < 1 || answer > static_cast<int>(SnoozeDurations.size())) return std::nullopt;
  return SnoozeDurations[static_cast<std::size_t>(answer - 1)];
}

std::string SnoozeCaption() { return std::string("Snooze ") + ProductName; }

std::string SnoozeMessage(bool toTray) {
  const std::string promise = toTray ? "to System Tray for the desired period. You may\r\n"
                                       "restore it any time by clicking on the tray icon.\r\n"
                                     // Without a notification area there is no icon to click.
                                     : "for the desired period. It will come back by itself\r\n"
                                       "when the time is up, or when you restore it.\r\n";
  return std::string("This option will minimize ") + ProductName + "\r\n" + promise + "\r\n\r\n" +
         "Please select the snooze duration.";
}

std::vector<std::string> SnoozeButtons() {
  std::vector<std::string> buttons;
  for (const SnoozeDuration& duration : SnoozeDurations) buttons.emplace_back(duration.button);
  buttons.emplace_back(CancelButton);
  return buttons;
}

std::string SnoozeBalloonTitle() { return std::string(ProductName) + "..."; }

std::string SnoozeBalloonText(const SnoozeDuration& duration) {
  return std::string("... will automatically pop up in ") + duration.text + ".";
}

std::string SnoozeToolTip(const std::string& remaining) {
  return std::string(ProductName) + "\r\n will pop up in " + remaining + "...";
}

std::string TrayExitCaption() { return "Please confirm"; }

std::string TrayExitMessage() {
  return std::string("If you close snoozed ") + ProductName + ", it will not pop up\r\n" +
         "when requested snooze period elapses.\r\n\r\n" + "Are you sure you wish to close " + ProductName + " ?";
}

std::vector<std::string> TrayExitButtons() { return {"&Yes, close", "&No, keep running"}; }

void SnoozeState::Start(int seconds) {
  snoozed_ = true;
  snoozeSecondsLeft_ = seconds;
  balloonCountdown_ = BalloonTicks;
}

SnoozeState::TickResult SnoozeState::Tick() {
  TickResult result;
  // A tick already queued when the snooze ended must not wake the window a second time.
  if (!snoozed_) return result;
  if (balloonCountdown_ > 0) {
    --balloonCountdown_;
  } else if (balloonCountdown_ == 0) {
    balloonCountdown_ = -1;
    result.takeBalloonDown = true;
  }
  --snoozeSecondsLeft_;
  result.toolTip = ToolTip();
  result.wakeUp = snoozeSecondsLeft_ <= 0;
  return result;
}

std::string SnoozeState::ToolTip() const { return SnoozeToolTip(regional_.FormatDuration(snoozeSecondsLeft_)); }

}  // namespace jubilora
