#include "platform/autostart_logic.h"

#include <QString>

#include "core/product.h"

namespace jubilora {

namespace {

constexpr const char* WarningCaption = "Attention, please";
constexpr const char* KeepButton = "Oooops, &keep reminding me";
constexpr const char* TurnOffButton = "I &understand, but still want to turn it off";
constexpr int TurnOffAnswer = 2;

// Whether a stored command is the expected one: word by word, without regard to case.
bool SameAutostartCommand(const std::vector<std::string>& stored, const std::vector<std::string>& expected) {
  if (stored.size() != expected.size()) return false;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (QString::fromStdString(stored[i]).compare(QString::fromStdString(expected[i]), Qt::CaseInsensitive) != 0)
      return false;
  }
  return true;
}

std::string WarningMessage() {
  return std::string("If you turn \"Autostart at Log-on\" option off,\r\n") + ProductName +
         " will not display upcoming\r\n"
         "events every time you turn your computer on.\r\n"
         "\r\n"
         "This will make Jubilora quite useless. Are you\r\n"
         "sure you want to do this?";
}

// `what` is "written" or "removed".
std::string EntryFailure(const AutostartStore& store, const char* what, const std::string& reason) {
  return "The autostart entry " + store.Location() + " could not be " + what + ": " + reason;
}

// True when the entry now holds the expected command.
bool WriteUnlessCurrent(AutostartStore& store, const std::filesystem::path& program, Ui& ui) {
  const auto expected = AutostartCommand(program);
  if (store.ValueExists()) {
    const auto stored = store.ReadValue();
    if (stored && SameAutostartCommand(*stored, expected)) return true;
  }
  // Written whole in one step: the old entry stays until the new one replaces it.
  if (auto error = store.WriteValue(expected)) {
    ui.ReportError(EntryFailure(store, "written", *error));
    return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> AutostartCommand(const std::filesystem::path& program) {
  return {program.string(), AutorunSwitch};
}


bool RefreshAutostart(AutostartStore& store, const std::filesystem::path& program, Ui& ui) {
  if (!store.ValueExists() || !store.ReadValue()) return false;
  // A failed rewrite leaves the old entry in place, so autostart is still on.
  WriteUnlessCurrent(store, program, ui);
  return true;
}

AutostartMenuState StartupAutostartMenu(bool autostartOn, bool onceADayChecked) {
  AutostartMenuState state;
  state.autostartChecked = autostartOn;
  state.autostartImage = autostartOn ? 1 : 0;
  state.onceADayChecked = onceADayChecked;
  state.onceADayEnabled = autostartOn;
  state.onceADayImage = autostartOn && onceADayChecked ? 1 : 0;
  return state;
}

AutostartMenuState AutostartClick(const AutostartMenuState& current, AutostartStore& store,
                                  const std::filesystem::path& program, Ui& ui) {
  AutostartMenuState next = current;
  if (!current.autostartChecked) {
    if (!WriteUnlessCurrent(store, program, ui)) return current;
    next.autostartChecked = true;
    next.autostartImage = 1;
    next.onceADayEnabled = true;
    return next;
  }

  const int answer = ui.AnswerDialog(WarningCaption, WarningMessage(), {KeepButton, TurnOffButton},
                                     IconKind::Warning, false);
  if (answer != TurnOffAnswer) return current;
  if (store.ValueExists()) {
    // The entries are switched off all the same; the report tells that the entry remains.
    if (auto error = store.DeleteValue()) ui.ReportError(EntryFailure(store, "removed", *error));
  }
  next.autostartChecked = false;
  next.autostartImage = 0;
  next.onceADayChecked = false;
  next.onceADayEnabled = false;
  next.onceADayImage = 0;
  return next;
}

AutostartMenuState OnceADayClick(const AutostartMenuState& current) {
  AutostartMenuState next = current;
  next.onceADayChecked = !current.onceADayChecked;
  next.onceADayImage = next.onceADayChecked ? 1 : 0;
  return next;
}

AutostartMenuState FirstShowAutostart(const AutostartMenuState& current, bool firstRun, bool alreadyShown,
                                      AutostartStore& store, const std::filesystem::path& program, Ui& ui) {
  if (!firstRun || alreadyShown || current.autostartChecked) return current;
  return AutostartClick(current, store, program, ui);
}

}  // namespace jubilora
