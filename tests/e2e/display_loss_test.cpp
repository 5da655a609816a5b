// A session that ends by taking the display away: the settings are still written.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <sys/wait.h>

#include "support/process.h"
#include "support/program_copy.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace jubilora {
namespace {

TEST(DisplayLoss, SettingsAreWrittenWhenTheXServerGoesAway) {
  test::Xvfb xvfb;
  ASSERT_TRUE(xvfb.Running());
  test::TempDir dir;
  const std::filesystem::path program = test::CopyProgram(dir.path());
  test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n");
  const pid_t pid = test::StartProgram(
      program, {}, {"DISPLAY=" + xvfb.Display(), "QT_QPA_PLATFORM", "XDG_CONFIG_HOME=" + (dir / "config").string()});
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  xvfb.Kill();
  const bool ended = test::WaitFor([&] { return waitpid(pid, nullptr, WNOHANG) == pid; }, 5000);
  if (!ended) test::StopProgram(pid, SIGKILL);
  EXPECT_TRUE(ended) << "the program did not end with its display";
  const std::string text = test::ReadBytes(dir / "jubilora.ini");
  EXPECT_NE(text.find("LastRun="), std::string::npos) << text;
  EXPECT_NE(text.find("[Font]"), std::string::npos) << text;
}

}  // namespace
}  // namespace jubilora
