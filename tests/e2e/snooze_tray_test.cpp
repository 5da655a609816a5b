// The program on a private X server, driven the way a user would drive it: snoozing under a
// window manager, which frames, minimises and restores windows, into a notification area and
// back with a click on its icon, until the end of a session takes the display away.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include <sys/wait.h>

#include "data/data_file.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::WaitFor;
constexpr int ScreenHeight = 768;  // the test X server's

struct XWindow {
  unsigned long id = 0;
  int x = 0, y = 0, width = 0, height = 0, frameTop = 0, frameBottom = 0;
};

bool IsMainWindow(const XWindow& w) { return w.width >= 300 && w.height >= 200; }
// The notification-area icon: small, inside the tray host at the bottom right.
bool IsTrayIcon(const XWindow& w) { return w.width <= 64 && w.height <= 64 && w.y > 600; }

// A private X server under a window manager, the program started on it with a report taller
// than the screen (a birthday every third day), and a robot for keys and clicks.
class Desktop {
 public:
  ~Desktop() {
    if (pid_ > 0) test::StopProgram(pid_);
  }

  bool Start() {
    TAnniversaryList list;
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= 28; day += 3) list.push_back(test::Record(KindBirthday, 1980, month, day, "Someone"));
    test::CopyProgram(dir_.path());
    test::WriteBytes(dir_ / "jubilora.ini", "[DefaultPeriod]\nDaysAfter=40\n[Other]\nStartupCheck=0\n");
    test::WriteBytes(dir_ / "jubilora.jld", EncodeRecords(list));
    if (!xvfb_.StartWindowManager()) return false;
    pid_ = test::StartProgram(dir_ / "jubilora", {},
                              {Display(), "XDG_CONFIG_HOME=" + (dir_ / "config").string(), "QT_QPA_PLATFORM"});
    return true;
  }
  bool StartTray() { return xvfb_.StartTray(); }

  std::string Run(const char* tool, const std::vector<std::string>& args) const {
    return test::RunProgram(fs::path("/usr/bin") / tool, args, {Display()}).out;
  }

  // A window of the program on the screen that `which` picks, with where it and its frame are.
  std::optional<XWindow> Visible(const std::function<bool(const XWindow&)>& which) const {
    std::istringstream ids(Run("xdotool", {"search", "--onlyvisible", "--class", "^jubilora$"}));
    for (unsigned long id; ids >> id;) {
      XWindow w{id};
      std::istringstream info(Run("xwininfo", {"-id", std::to_string(id)}));
      for (std::string line; std::getline(info, line);) {
        const auto value = [&line] { return std::stoi(line.substr(line.find(':') + 1)); };
        for (const auto& [key, field] : {std::pair{"Absolute upper-left X:", &XWindow::x},
                                         {"Absolute upper-left Y:", &XWindow::y}, {"Width:", &XWindow::width},
                                         {"Height:", &XWindow::height}})
          if (line.find(key) != std::string::npos) w.*field = value();
      }
      if (!which(w)) continue;
      // The frame, as far as the window manager says how wide it is.
      int left = 0, right = 0, top = 0, bottom = 0;
      const std::string extents = Run("xprop", {"-id", std::to_string(id), "_NET_FRAME_EXTENTS"});
      std::sscanf(extents.c_str() + std::min(extents.size(), extents.find('=') + 1), "%d, %d, %d, %d", &left, &right,
                  &top, &bottom);
      w.frameTop = w.y - top;
      w.frameBottom = w.y + w.height + bottom;
      return w;
    }
    return std::nullopt;
  }

  // Ctrl+S brings the snooze question, answered with its first button.
  bool Snooze(const std::vector<std::string>& focus) const {
    Run("xdotool", focus);
    Run("xdotool", {"key", "ctrl+s"});
    const bool asked = WaitFor([&] { return !Run("xdotool", {"search", "--onlyvisible", "--name", "Snooze"}).empty(); });
    Run("xdotool", {"key", "Return"});
    return asked;
  }

  // The display goes away as at the end of a session; true once the program has ended.
  void KillDisplay() { xvfb_.Kill(); }
  bool ProgramEnded() {
    if (waitpid(pid_, nullptr, WNOHANG) != pid_) return false;
    pid_ = -1;
    return true;
  }
  std::string Settings() const { return test::ReadBytes(dir_ / "jubilora.ini"); }

 private:
  std::string Display() const { return "DISPLAY=" + xvfb_.Display(); }

  test::Xvfb xvfb_;
  test::TempDir dir_;
  pid_t pid_ = -1;
};

// A report taller than the screen keeps the title bar on it; after a snooze minimised for
// want of a tray and restored by the user, a snooze into a tray that came meanwhile still
// wakes the window normal and visible. A session that then ends by taking the display away
// still has the settings written.
TEST(SnoozeTray, UnderAWindowManagerTheWindowStaysOnScreenAndWakesNormal) {
  Desktop desktop;
  ASSERT_TRUE(desktop.Start()) << "no X server with a window manager";
  const auto onScreen = [&] {
    const auto main = desktop.Visible(IsMainWindow);
    return main && main->frameTop >= 0 && main->frameBottom <= ScreenHeight && main->height > ScreenHeight / 2;
  };
  ASSERT_TRUE(WaitFor(onScreen)) << "the window's frame is not on the screen";
  const std::string main = std::to_string(desktop.Visible(IsMainWindow)->id);

  ASSERT_TRUE(desktop.Snooze({"windowactivate", "--sync", main}));
  ASSERT_TRUE(WaitFor([&] { return !desktop.Visible(IsMainWindow); })) << "not minimised";
  desktop.Run("xdotool", {"windowactivate", main});
  ASSERT_TRUE(WaitFor([&] { return desktop.Visible(IsMainWindow).has_value(); })) << "not restored";

  ASSERT_TRUE(desktop.StartTray()) << "no notification area";
  ASSERT_TRUE(desktop.Snooze({"windowactivate", "--sync", main}));
  ASSERT_TRUE(WaitFor([&] { return !desktop.Visible(IsMainWindow) && desktop.Visible(IsTrayIcon); }))
      << "the window did not go to the tray";
  const XWindow icon = *desktop.Visible(IsTrayIcon);
  const std::string x = std::to_string(icon.x + icon.width / 2), y = std::to_string(icon.y + icon.height / 2);
  desktop.Run("xdotool", {"mousemove", x, y, "click", "1"});
  EXPECT_TRUE(WaitFor(onScreen)) << "the window woke minimised or off the screen";

  desktop.KillDisplay();
  EXPECT_TRUE(WaitFor([&] { return desktop.ProgramEnded(); }, 5000)) << "the program did not end with its display";
  EXPECT_NE(desktop.Settings().find("LastRun="), std::string::npos) << desktop.Settings();
}

}  // namespace
}  // namespace jubilora
