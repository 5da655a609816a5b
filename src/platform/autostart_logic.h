#pragma once
// The autostart entries of the Options menu: "&Autostart at Log-on..." shows whether the
// log-on entry exists, "... But Only Once a Day!" whether automatic starts end when the
// program already ran today. These functions keep the entry and work out the two menu
// entries' state; the main window applies that state to its actions.

#include <filesystem>
#include <string>
#include <vector>

#include "core/ports.h"
#include "platform/autostart.h"

namespace jubilora {

inline constexpr const char* AutorunSwitch = "/autorun";

// Menu images: 0 unticked, 1 ticked.
struct AutostartMenuState {
  bool autostartChecked = false;
  int autostartImage = 0;
  bool onceADayChecked = false;
  bool onceADayEnabled = true;
  int onceADayImage = 0;
};

// The command the log-on entry runs: the program's full path and "/autorun".
std::vector<std::string> AutostartCommand(const std::filesystem::path& program);

// At start-up, before the settings are read: an existing entry that names another program
// path (the program was moved) is written anew. Returns whether autostart is on. An entry
// that cannot be read counts as none and nothing is written; a failed write is reported.
bool RefreshAutostart(AutostartStore& store, const std::filesystem::path& program, Ui& ui);

// The two entries once the settings are read: the once-a-day entry is disabled while
// autostart is off, and shows its ticked image when autostart is on and it is checked.
AutostartMenuState StartupAutostartMenu(bool autostartOn, bool onceADayChecked);

// "&Autostart at Log-on...": `current` is the state before the click. Switching on asks
// nothing; switching off asks first ("Attention, please", no close box) and goes on only for
// "I &understand, but still want to turn it off". Failures are reported through `ui`.
AutostartMenuState AutostartClick(const AutostartMenuState& current, AutostartStore& store,
                                  const std::filesystem::path& program, Ui& ui);

// "... But Only Once a Day!": flips its check mark and image; nothing else happens now.
AutostartMenuState OnceADayClick(const AutostartMenuState& current);

// The first show of the first run switches autostart on as the menu entry does, without
// asking. Otherwise the state is returned unchanged.
AutostartMenuState FirstShowAutostart(const AutostartMenuState& current, bool firstRun, bool alreadyShown,
                                      AutostartStore& store, const std::filesystem::path& program, Ui& ui);

}  // namespace jubilora
