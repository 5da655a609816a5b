// Snoozing into a real notification area and clicking the icon to wake up, on a private
// X server with a tray host, driven the way a user would drive it.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "data/data_file.h"
#include "support/process.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

struct XWindow {
  unsigned long id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool viewable = false;
};

class Desktop {
 public:
  explicit Desktop(std::string display) : display_(std::move(display)) {}

  std::string Run(const char* program, const std::vector<std::string>& args) const {
    return test::RunProgram(Find(program), args, {"DISPLAY=" + display_}).out;
  }

  // Every window of the program, with where it is and whether it is on screen.
  std::vector<XWindow> Windows() const {
    std::vector<XWindow> windows;
    std::istringstream ids(Run("xdotool", {"search", "--class", "^jubilora$"}));
    for (unsigned long id; ids >> id;) {
      XWindow w{id};
      std::istringstream info(Run("xwininfo", {"-id", std::to_string(id)}));
      for (std::string line; std::getline(info, line);) {
        const auto value = [&line] { return std::stoi(line.substr(line.find(':') + 1)); };
        if (line.find("Absolute upper-left X:") != std::string::npos) w.x = value();
        if (line.find("Absolute upper-left Y:") != std::string::npos) w.y = value();
        if (line.find("Width:") != std::string::npos) w.width = value();
        if (line.find("Height:") != std::string::npos) w.height = value();
        if (line.find("IsViewable") != std::string::npos) w.viewable = true;
      }
      windows.push_back(w);
    }
    return windows;
  }

  std::optional<XWindow> Visible(const std::function<bool(const XWindow&)>& which) const {
    for (const XWindow& w : Windows())
      if (w.viewable && which(w)) return w;
    return std::nullopt;
  }

 private:
  static fs::path Find(const char* program) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"})
      if (fs::exists(fs::path(folder) / program)) return fs::path(folder) / program;
    return program;
  }
  std::string display_;
};

bool IsMainWindow(const XWindow& w) { return w.width >= 300 && w.height >= 200; }
// The notification-area icon: small, inside the tray host at the bottom right.
bool IsTrayIcon(const XWindow& w) { return w.width <= 64 && w.height <= 64 && w.y > 600; }

bool WaitFor(const std::function<bool()>& condition, int milliseconds = 8000) {
  for (int waited = 0; waited < milliseconds; waited += 100) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

pid_t Start(const fs::path& program, const std::vector<std::string>& args, const std::string& display,
            const fs::path& home) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

TEST(SnoozeTray, SnoozeShowsTheTrayIconAndAClickBringsTheWindowBack) {
  test::Xvfb xvfb;
  ASSERT_TRUE(xvfb.Running());
  test::TempDir dir;
  const fs::path program = dir / "jubilora";
  fs::copy_file(JUBILORA_EXE, program);
  test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n");
  test::WriteBytes(dir / "jubilora.jld", EncodeRecords({test::Record(KindHoliday, 2000, 12, 24, "Christmas Eve")}));
  const Desktop desktop(xvfb.Display());

  const pid_t tray = Start("/usr/bin/trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                              "--width", "100", "--height", "32"},
                           xvfb.Display(), dir / "config");
  const pid_t app = Start(program, {}, xvfb.Display(), dir / "config");
  ASSERT_TRUE(WaitFor([&] { return desktop.Visible(IsMainWindow).has_value(); })) << "no main window";
  const auto main = desktop.Visible(IsMainWindow);

  // Ctrl+S, then the first button ("1&5 minutes") has the focus.
  desktop.Run("xdotool", {"windowfocus", std::to_string(main->id)});
  desktop.Run("xdotool", {"key", "--window", std::to_string(main->id), "ctrl+s"});
  const auto questionShown = [&] {
    return !desktop.Run("xdotool", {"search", "--onlyvisible", "--name", "Snooze Jubilora"}).empty();
  };
  ASSERT_TRUE(WaitFor(questionShown)) << "no snooze question";
  desktop.Run("xdotool", {"key", "Return"});

  EXPECT_TRUE(WaitFor([&] { return !desktop.Visible(IsMainWindow) && desktop.Visible(IsTrayIcon); }))
      << "the window did not go to the tray";
  const auto icon = desktop.Visible(IsTrayIcon);
  ASSERT_TRUE(icon);

  desktop.Run("xdotool", {"mousemove", std::to_string(icon->x + icon->width / 2),
                          std::to_string(icon->y + icon->height / 2), "click", "1"});
  EXPECT_TRUE(WaitFor([&] { return desktop.Visible(IsMainWindow) && !desktop.Visible(IsTrayIcon); }))
      << "a click on the icon did not bring the window back";

  Stop(app);
  Stop(tray);
}

}  // namespace
}  // namespace jubilora
