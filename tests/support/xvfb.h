#pragma once
// A private X server for tests that need a real display.

#include <string>

#include <sys/types.h>

namespace jubilora::test {

class Xvfb {
 public:
  // Starts it with one screen of that many pixels and waits until it accepts connections.
  explicit Xvfb(int width = 1024, int height = 768);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  bool Running() const { return pid_ > 0; }
  // Starts a window manager (openbox) on it and waits until it manages windows; it ends with
  // the server.
  bool StartWindowManager();
  // Starts a notification area (trayer, at the bottom right) and waits until it owns the
  // system tray selection, so that a program started next finds it; it ends with the server.
  bool StartTray();
  const std::string& Display() const { return display_; }  // ":N"
  void Kill();

 private:
  pid_t pid_ = -1;
  pid_t windowManager_ = -1;
  pid_t tray_ = -1;
  std::string display_;
};

}  // namespace jubilora::test
