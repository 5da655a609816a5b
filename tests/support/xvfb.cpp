#include "support/xvfb.h"

#include "support/process.h"

#include <csignal>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

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

void Xvfb::Kill() {
  StopProgram(windowManager_);
  windowManager_ = -1;
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace jubilora::test
