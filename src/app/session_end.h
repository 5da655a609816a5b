#pragma once
// The settings are written exactly once however the program ends: by its window, by the
// end of the user's session, by SIGTERM / SIGHUP / SIGINT, or by exit() when the display
// connection goes away under it.

#include <functional>

class QObject;

namespace jubilora {

class SessionEnd {
 public:
  // `write` runs at most once in the process's life; registered with std::atexit too.
  static void SetSettingsWriter(std::function<void()> write);
  static void WriteSettingsOnce();
  // Turns the three signals into a clean quit of the event loop through a self-pipe.
  static void QuitOnSignals(QObject* parent);
};

}  // namespace jubilora
