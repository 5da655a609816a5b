#include "support/xvfb.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace jubilora::test {

Xvfb::Xvfb() {
  for (int n = 40 + getpid() % 200, tries = 0; tries < 50; ++n, ++tries) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
    if (std::filesystem::exists(socket) || std::filesystem::exists(lock)) continue;
    display_ = ":" + std::to_string(n);
    pid_ = fork();
    if (pid_ == 0) {
      execlp("Xvfb", "Xvfb", display_.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (std::filesystem::exists(socket)) return;
    Kill();
  }
}

Xvfb::~Xvfb() { Kill(); }

void Xvfb::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace jubilora::test
