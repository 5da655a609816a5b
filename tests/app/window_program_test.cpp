// The real window program, ended by a signal as at the end of a session, or ending by itself
// when the once-a-day gate closes: the settings are written once on the way out, keeping the
// lines the program does not know, and never after an unreadable data file.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/regional.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

TEST(WindowProgram, EndsAsIfItsWindowHadBeenClosed) {
  enum class Start { Window, FirstRun, Unreadable, Gated };
  const struct {
    Start start;
    int signal;
    int status;
  } cases[] = {{Start::Window, SIGTERM, 0},     {Start::Window, SIGHUP, 0}, {Start::FirstRun, SIGINT, 0},
               {Start::Unreadable, SIGTERM, 1}, {Start::Gated, 0, 0}};  // ends by itself: no signal
  for (const auto& c : cases) {
    const std::string where = "start " + std::to_string(static_cast<int>(c.start)) + ", signal " + std::to_string(c.signal);
    test::TempDir dir;
    const fs::path program = test::CopyProgram(dir.path());
    // The last run as the program writes it: today, in the user's short date format.
    const std::string gate = "OnceADay=1\nLastRun=" + QtRegionalSettings().FormatShortDate(Clock::Today()) + "\n";
    if (c.start != Start::FirstRun)
      test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n; kept\n" + (c.start == Start::Gated ? gate : ""));
    if (c.start == Start::Unreadable) fs::create_directory(dir / "jubilora.jld");
    const pid_t pid = test::StartProgram(program, c.start == Start::Gated ? std::vector<std::string>{"/autorun"}
                                                                               : std::vector<std::string>{},
                                         {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + (dir / "config").string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(test::StopProgram(pid, c.signal), c.status) << where;
    const std::string text = fs::exists(dir / "jubilora.ini") ? test::ReadBytes(dir / "jubilora.ini") : "";
    EXPECT_EQ(text.find("[Font]") != std::string::npos, c.start != Start::Unreadable) << where << text;
    EXPECT_EQ(text.find("; kept") != std::string::npos, c.start != Start::FirstRun) << where << text;
  }
}

}  // namespace
}  // namespace jubilora
