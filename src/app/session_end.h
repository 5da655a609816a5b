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
  // Catches the three signals from the very start, so none is lost during start-up.
  static void CatchSignals();
  // Turns a caught signal (also one caught before) into a clean quit of the event loop; an open
  // modal window ends as if it had been closed.
  static void QuitOnSignals(QObject* parent);
  // A signal asked the program to end (also while a modal window was open).
  static bool QuitRequested();
};

}  // namespace jubilora
