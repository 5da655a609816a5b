// Snoozing into a real notification area and clicking the icon to wake up, on a private
// X server with a tray host, driven the way a user would drive it; once more under a window
// manager, which frames, minimises and restores windows.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <cstdio>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "data/data_file.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
constexpr int ScreenHeight = 768;  // the test X server's

struct XWindow {
  unsigned long id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool viewable = false;
};

fs::path Find(const char* program) {
  for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"})
    if (fs::exists(fs::path(folder) / program)) return fs::path(folder) / program;
  return program;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds = 8000) {
  for (int waited = 0; waited < milliseconds; waited += 100) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

bool IsMainWindow(const XWindow& w) { return w.width >= 300 && w.height >= 200; }
// The notification-area icon: small, inside the tray host at the bottom right.
bool IsTrayIcon(const XWindow& w) { return w.width <= 64 && w.height <= 64 && w.y > 600; }

// A private X server, the programs started on it, and a robot for keys and clicks.
class Desktop {
 public:
  Desktop() {
    program_ = test::CopyProgram(dir_.path());
  }
  ~Desktop() {
    for (auto it = started_.rbegin(); it != started_.rend(); ++it) {
      kill(*it, SIGTERM);
      waitpid(*it, nullptr, 0);
    }
  }

  bool Running() const { return xvfb_.Running(); }
  bool StartWindowManager() { return xvfb_.StartWindowManager(); }
  const test::TempDir& Dir() const { return dir_; }

  void Start(const fs::path& program, const std::vector<std::string>& args = {}) {
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("DISPLAY", xvfb_.Display().c_str(), 1);
      setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
      unsetenv("QT_QPA_PLATFORM");
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    started_.push_back(pid);
  }
  void StartProgram() { Start(program_); }
  void StartTray() {
    Start(Find("trayer"), {"--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
                           "--height", "32"});
  }

  std::string Run(const char* program, const std::vector<std::string>& args) const {
    return test::RunProgram(Find(program), args, {"DISPLAY=" + xvfb_.Display()}).out;
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

  // The window's frame, as far as the window manager says how wide it is.
  std::pair<int, int> FrameRows(const XWindow& w) const {
    int left = 0, right = 0, top = 0, bottom = 0;
    const std::string extents = Run("xprop", {"-id", std::to_string(w.id), "_NET_FRAME_EXTENTS"});
    std::sscanf(extents.c_str() + std::min(extents.size(), extents.find('=') + 1), "%d, %d, %d, %d", &left, &right,
                &top, &bottom);
    return {w.y - top, w.y + w.height + bottom};
  }

  // The snooze question, answered with its first button ("1&5 minutes").
  bool SnoozeBy(const std::vector<std::string>& keys) const {
    for (const std::string& step : keys) {
      std::vector<std::string> args;
      std::istringstream words(step);
      for (std::string word; words >> word;) args.push_back(word);
      Run("xdotool", args);
    }
    const bool asked = WaitFor([&] {
      return !Run("xdotool", {"search", "--onlyvisible", "--name", "Snooze Jubilora"}).empty();
    });
    Run("xdotool", {"key", "Return"});
    return asked;
  }

  void Click(const XWindow& w) const {
    Run("xdotool",
        {"mousemove", std::to_string(w.x + w.width / 2), std::to_string(w.y + w.height / 2), "click", "1"});
  }

 private:
  test::Xvfb xvfb_;
  test::TempDir dir_;
  fs::path program_;
  std::vector<pid_t> started_;
};

TEST(SnoozeTray, SnoozeShowsTheTrayIconAndAClickBringsTheWindowBack) {
  Desktop desktop;
  ASSERT_TRUE(desktop.Running());
  test::WriteBytes(desktop.Dir() / "jubilora.ini", "[Other]\nStartupCheck=0\n");
  test::WriteBytes(desktop.Dir() / "jubilora.jld",
                   EncodeRecords({test::Record(KindHoliday, 2000, 12, 24, "Christmas Eve")}));
  desktop.StartTray();
  desktop.StartProgram();
  ASSERT_TRUE(WaitFor([&] { return desktop.Visible(IsMainWindow).has_value(); })) << "no main window";
  const std::string main = std::to_string(desktop.Visible(IsMainWindow)->id);

  // Without a window manager the keys go to the window itself.
  ASSERT_TRUE(desktop.SnoozeBy({"windowfocus " + main, "key --window " + main + " ctrl+s"})) << "no question";
  ASSERT_TRUE(WaitFor([&] { return !desktop.Visible(IsMainWindow) && desktop.Visible(IsTrayIcon); }))
      << "the window did not go to the tray";
  desktop.Click(*desktop.Visible(IsTrayIcon));
  EXPECT_TRUE(WaitFor([&] { return desktop.Visible(IsMainWindow) && !desktop.Visible(IsTrayIcon); }))
      << "a click on the icon did not bring the window back";
}

// A report taller than the screen keeps the title bar on it; after a snooze minimised for
// want of a tray and restored by the user, a snooze into a tray that came meanwhile still
// wakes the window normal and visible.
TEST(SnoozeTray, UnderAWindowManagerTheWindowStaysOnScreenAndWakesNormal) {
  Desktop desktop;
  ASSERT_TRUE(desktop.Running());
  test::WriteBytes(desktop.Dir() / "jubilora.ini", "[DefaultPeriod]\nDaysAfter=40\n[Other]\nStartupCheck=0\n");
  TAnniversaryList list;
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= 28; day += 3) list.push_back(test::Record(KindBirthday, 1980, month, day, "Someone"));
  test::WriteBytes(desktop.Dir() / "jubilora.jld", EncodeRecords(list));
  ASSERT_TRUE(desktop.StartWindowManager()) << "no window manager";
  desktop.StartProgram();

  const auto onScreen = [&] {
    const auto main = desktop.Visible(IsMainWindow);
    if (!main) return false;
    const auto [top, bottom] = desktop.FrameRows(*main);
    return top >= 0 && bottom <= ScreenHeight && main->height > ScreenHeight / 2;
  };
  ASSERT_TRUE(WaitFor(onScreen)) << "the window's frame is not on the screen";
  const std::string main = std::to_string(desktop.Visible(IsMainWindow)->id);

  ASSERT_TRUE(desktop.SnoozeBy({"windowactivate --sync " + main, "key ctrl+s"}));
  ASSERT_TRUE(WaitFor([&] { return !desktop.Visible(IsMainWindow); })) << "not minimised";
  desktop.Run("xdotool", {"windowactivate", main});
  ASSERT_TRUE(WaitFor([&] { return desktop.Visible(IsMainWindow).has_value(); })) << "not restored";

  desktop.StartTray();
  ASSERT_TRUE(WaitFor([&] { return !desktop.Run("xdotool", {"search", "--class", "trayer"}).empty(); }));
  ASSERT_TRUE(desktop.SnoozeBy({"windowactivate --sync " + main, "key ctrl+s"}));
  ASSERT_TRUE(WaitFor([&] { return !desktop.Visible(IsMainWindow) && desktop.Visible(IsTrayIcon); }))
      << "the window did not go to the tray";
  desktop.Click(*desktop.Visible(IsTrayIcon));
  EXPECT_TRUE(WaitFor(onScreen)) << "the window woke minimised or off the screen";
}

}  // namespace
}  // namespace jubilora
