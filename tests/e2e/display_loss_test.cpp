// A session that ends by taking the display away: the settings are still written.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "support/program_copy.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

TEST(DisplayLoss, SettingsAreWrittenWhenTheXServerGoesAway) {
  test::Xvfb xvfb;
  ASSERT_TRUE(xvfb.Running());
  test::TempDir dir;
  const fs::path program = test::CopyProgram(dir.path());
  test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n");

  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", xvfb.Display().c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  xvfb.Kill();

  int status = 0;
  for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the program did not end with its display";
  }
  const std::string text = test::ReadBytes(dir / "jubilora.ini");
  EXPECT_NE(text.find("LastRun="), std::string::npos) << text;
  EXPECT_NE(text.find("[Font]"), std::string::npos) << text;
}

}  // namespace
}  // namespace jubilora
