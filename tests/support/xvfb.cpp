#include "support/xvfb.h"

#include "support/process.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace jubilora::test {

Xvfb::Xvfb(int width, int height) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  int ready[2];
  if (pipe(ready) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(ready[0]);
    // The server picks a free display itself: tests running side by side never share one.
    const std::string fd = std::to_string(ready[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ready[1]);
  // It writes the display's number once it accepts connections.
  std::string number;
  pollfd wait{ready[0], POLLIN, 0};
  for (char c = 0; poll(&wait, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n';) number += c;
  close(ready[0]);
  if (number.empty()) {
    Kill();
    return;
  }
  display_ = ":" + number;
}

Xvfb::~Xvfb() { Kill(); }

bool Xvfb::StartWindowManager() {
  if (!Running()) return false;
  const std::vector<std::string> env{"DISPLAY=" + display_};
  windowManager_ = StartProgram("/usr/bin/openbox", {"--sm-disable"}, env);
  // It manages windows once it names its check window on the root window.
  return WaitFor(
      [&] {
        return RunProgram("/usr/bin/xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}, env).out.find("window id") !=
               std::string::npos;
      },
      20000);
}

namespace {

// Whether some client owns the selection: asked of the server itself, since a tray's windows
// appear before it takes the selection.
bool SelectionOwned(const std::string& display, const char* selection) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  bool owned = false;
  if (xcb_connection_has_error(connection) == 0) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(selection)), selection),
        nullptr);
    if (atom != nullptr) {
      xcb_get_selection_owner_reply_t* owner =
          xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
      owned = owner != nullptr && owner->owner != XCB_NONE;
      std::free(owner);
    }
    std::free(atom);
  }
  xcb_disconnect(connection);
  return owned;
}

}  // namespace

bool Xvfb::StartTray() {
  if (!Running()) return false;
  tray_ = StartProgram("/usr/bin/trayer",
                       {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100", "--height", "32"},
                       {"DISPLAY=" + display_});
  return WaitFor([&] { return SelectionOwned(display_, "_NET_SYSTEM_TRAY_S0"); }, 20000);
}

void Xvfb::Kill() {
  StopProgram(tray_);
  tray_ = -1;
  StopProgram(windowManager_);
  windowManager_ = -1;
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace jubilora::test
