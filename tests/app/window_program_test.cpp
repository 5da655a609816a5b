// The window program from start to end, each run in a child process of its own (a
// QApplication lives once per process), driven by a robot that answers modal windows.

#include "app/window_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fstream>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "app/settings_store.h"
#include "data/data_file.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/regional.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "ui/error_report.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
constexpr DayNumber Today = 46362;  // 2026-12-06

// Runs `body` in a child with a QApplication; returns its exit status (-1 when it died).
int InChild(const fs::path& home, const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    static int argc = 1;
    static char name[] = "jubilora";
    static char* argv[] = {name, nullptr};
    int status = 0;
    {
      QApplication app(argc, argv);
      Clock::FixToday(Today);
      status = body();
    }
    std::fflush(nullptr);
    _exit(status);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QWidget* MainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "frmMain") return w;
  return nullptr;
}

// Every 20 ms: notes each new modal window with whether the main window was visible, lets
// `answer` deal with it, and closes the main window once `done` says so.
class Robot {
 public:
  Robot(std::ofstream& log, std::function<void(QWidget*)> answer, std::function<bool()> done)
      : log_(log), answer_(std::move(answer)), done_(std::move(done)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(20);
  }

 private:
  void Tick() {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != last_) {
      last_ = modal;
      QWidget* main = MainWindow();
      log_ << modal->windowTitle().toStdString() << '|' << (main && main->isVisible() ? "shown" : "hidden") << '\n';
      log_.flush();
      answer_(modal);
    } else if (!modal && done_()) {
      if (QWidget* main = MainWindow(); main && main->isVisible()) main->close();
    }
  }

  std::ofstream& log_;
  std::function<void(QWidget*)> answer_;
  std::function<bool()> done_;
  QWidget* last_ = nullptr;
  QTimer timer_;
};

void Click(QWidget* dialog, const char* button) {
  if (auto* b = dialog->findChild<QWidget*>(button)) QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection);
}

class WindowProgram : public ::testing::Test {
 protected:
  ProgramPaths Paths() const {
    return DerivePaths(dir_ / "jubilora", [](const std::string&) { return std::nullopt; });
  }
  std::vector<std::string> LogLines() const {
    std::ifstream in(dir_ / "robot.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  int KeyCount() const {
    const IniLoadResult ini = IniFile::Load(Paths().settings);
    int count = 0;
    for (const std::string& line : ini.file.Lines()) count += line.find('=') != std::string::npos;
    return count;
  }

  test::TempDir dir_;
};

TEST_F(WindowProgram, FirstRunGreetsWithTheAboutBoxThenTheWindowThenTheWelcome) {
  const int status = InChild(dir_.path(), [&] {
    std::ofstream log(dir_ / "robot.log");
    bool welcomed = false;
    Robot robot(
        log,
        [&](QWidget* modal) {
          if (modal->windowTitle() == "About...") {
            Click(modal, "btnOK");
          } else {
            welcomed = true;
            Click(modal, "btnAnswer2");  // "&No, not this time"
          }
        },
        [&] { return welcomed; });
    return RunWindowProgram(CommandLine{}, Paths());
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"About...|hidden", " Welcome to Jubilora|shown"}));
  // The first show switched autostart on without asking.
  EXPECT_TRUE(fs::exists(dir_ / "config" / "autostart" / "Jubilora.desktop"));
  // Declining the offer adds nothing; the settings are written at the end.
  EXPECT_FALSE(fs::exists(Paths().data));
  EXPECT_EQ(KeyCount(), 26);
}

TEST_F(WindowProgram, LaterRunsOpenTheWindowWithoutGreeting) {
  test::WriteBytes(Paths().settings, "[Other]\nStartupCheck=0\n");
  const int status = InChild(dir_.path(), [&] {
    std::ofstream log(dir_ / "robot.log");
    Robot robot(log, [](QWidget* modal) { modal->close(); }, [] { return true; });
    return RunWindowProgram(CommandLine{}, Paths());
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(LogLines().empty());
  EXPECT_EQ(KeyCount(), 26);
}

TEST_F(WindowProgram, AnUnreadableDataFileIsReportedAndNothingIsWritten) {
  fs::create_directory(Paths().data);
  test::WriteBytes(Paths().backup, EncodeRecords({test::Record(KindBirthday, 1990, 1, 1, "Kept")}));
  const int status = InChild(dir_.path(), [&] {
    std::string shown;
    SetErrorReportPresenter([&](QWidget*, const QString& text) { shown = text.toStdString(); });
    const int result = RunWindowProgram(CommandLine{}, Paths());
    std::ofstream(dir_ / "robot.log") << shown << '\n';
    return result;
  });
  EXPECT_EQ(status, 1);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("jubilora.jld"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[0].back(), '.');
  EXPECT_FALSE(fs::exists(Paths().settings));
  EXPECT_TRUE(fs::is_directory(Paths().data));
  EXPECT_EQ(fs::file_size(Paths().backup), RecordSize);
}

// The last run's date is written by the program itself, in its own regional format.
void WriteLastRun(const fs::path& settings, DayNumber lastRun, bool onceADay) {
  IniFile ini;
  ini.SetString("Other", "StartupCheck", "0");
  ini.SetString("Other", "OnceADay", onceADay ? "1" : "0");
  ini.SetString("Other", "LastRun", QtRegionalSettings().FormatShortDate(lastRun));
  ASSERT_FALSE(ini.Save(settings));
}

// Runs a start with "... But Only Once a Day!" checked: 1 when the window was shown,
// 0 when the start ended silently, anything else for a failed run.
int ShownWithOnceADay(const fs::path& home, const ProgramPaths& paths, bool autorun, DayNumber lastRun) {
  return InChild(home, [&] {
    WriteLastRun(paths.settings, lastRun, true);
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (QWidget* main = MainWindow(); main && main->isVisible()) {
        shown = true;
        main->close();
      }
    });
    watch.start(20);
    CommandLine commandLine;
    commandLine.autorun = autorun;
    const int result = RunWindowProgram(commandLine, paths);
    return result != 0 ? 2 : shown ? 1 : 0;
  });
}

TEST_F(WindowProgram, TheOnceADayGateEndsOnlyAnAutomaticStartOnTheSameDay) {
  EXPECT_EQ(ShownWithOnceADay(dir_.path(), Paths(), true, Today), 0);
  // Ended on the way out: the settings went back with every key.
  EXPECT_EQ(KeyCount(), 26);
  EXPECT_EQ(ShownWithOnceADay(dir_.path(), Paths(), true, Today - 1), 1);
  EXPECT_EQ(ShownWithOnceADay(dir_.path(), Paths(), false, Today), 1);
}

// The real program, ended by a signal as at the end of a session: from its window, from the
// first-run greeting, and from the report of an unreadable data file.
TEST(WindowProgramSignals, EndTheProgramAsIfItsWindowHadBeenClosed) {
  enum class Start { Window, FirstRun, Unreadable };
  const struct {
    Start start;
    int signal;
    int status;
  } cases[] = {{Start::Window, SIGTERM, 0},   {Start::Window, SIGHUP, 0},     {Start::Window, SIGINT, 0},
               {Start::FirstRun, SIGTERM, 0}, {Start::Unreadable, SIGTERM, 1}, {Start::Unreadable, SIGINT, 1}};
  for (const auto& c : cases) {
    test::TempDir dir;
    const fs::path program = test::CopyProgram(dir.path());
    if (c.start != Start::FirstRun) test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n; kept\n");
    if (c.start == Start::Unreadable) fs::create_directory(dir / "jubilora.jld");
    const pid_t pid = test::StartProgram(program, {}, {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + (dir / "config").string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const std::string where = "start " + std::to_string(static_cast<int>(c.start)) + ", signal " + std::to_string(c.signal);
    EXPECT_EQ(test::StopProgram(pid, c.signal), c.status) << where;
    const std::string text = fs::exists(dir / "jubilora.ini") ? test::ReadBytes(dir / "jubilora.ini") : "";
    // An unreadable start writes nothing; every other way out writes the settings, keeping other lines.
    EXPECT_EQ(text.find("LastRun=") != std::string::npos, c.start != Start::Unreadable) << where << text;
    if (c.start == Start::Window) {
      EXPECT_NE(text.find("; kept"), std::string::npos) << where << text;
    }
  }
}

}  // namespace
}  // namespace jubilora
