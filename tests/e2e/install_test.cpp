// Jubilora installed as a user or a packager installs it: into a prefix of its own, started
// from there, its desktop files checked by the desktop's own validators.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/product.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::RunProgram;

class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto install = RunProgram(JUBILORA_CMAKE, {"--install", JUBILORA_BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(install.status, 0) << install.out << install.err;
  }

  // Runs a validator on a file: a clean file gets status 0 and at most the validator's note of
  // success.
  static std::string Complaints(const char* validator, std::vector<std::string> args, const fs::path& file) {
    args.push_back(file.string());
    const auto result = RunProgram(validator, args);
    std::string complaints;
    std::istringstream lines(result.out + result.err);
    for (std::string line; std::getline(lines, line);)
      if (!line.empty() && line.rfind("\u2714 Validation was successful", 0) != 0) complaints += line + "\n";
    return result.status == 0 ? complaints : std::to_string(result.status) + ": " + complaints;
  }

  // Every file of a folder, relative to it.
  static std::set<std::string> Files(const fs::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (!entry.is_directory()) files.insert(fs::relative(entry.path(), folder).string());
    return files;
  }

  test::TempDir prefixDir;
  fs::path prefix = prefixDir / "usr";
  fs::path program = prefix / "bin" / "jubilora";
};

TEST_F(Installed, TheProgramRunsAndItsDesktopFilesAreValid) {
  EXPECT_EQ(RunProgram(program, {"--version"}).status, 0);

  const fs::path share = prefix / "share";
  EXPECT_EQ(Complaints("/usr/bin/desktop-file-validate", {}, share / "applications" / "org.jubilora.Jubilora.desktop"), "");
  EXPECT_EQ(Complaints("/usr/bin/appstreamcli", {"validate", "--no-net"}, share / "metainfo" / "org.jubilora.Jubilora.metainfo.xml"),
            "");
  // Only the program goes to bin/, its desktop part to libexec/jubilora/: no tests, benchmarks
  // or build tools.
  EXPECT_EQ(Files(prefix / "bin"), std::set<std::string>{"jubilora"});
  EXPECT_EQ(Files(prefix / "libexec"), std::set<std::string>{"jubilora/jubilora-desktop"});
  EXPECT_TRUE(fs::is_regular_file(share / "jubilora" / "help" / "index.html"));
}

TEST_F(Installed, AFirstStartWritesIntoTheUsersFoldersOnly) {
  test::Xvfb xvfb;
  ASSERT_TRUE(xvfb.Running());
  test::TempDir home;
  const std::vector<std::string> env{"DISPLAY=" + xvfb.Display(), "HOME=" + home.path().string(),
                                     "XDG_CONFIG_HOME=" + (home / "config").string(),
                                     "XDG_DATA_HOME=" + (home / "data").string(), "QT_QPA_PLATFORM"};
  const auto installed = Files(prefix);
  // An account that has never run the program: the program makes its own folders, private.
  const auto window = [&](const std::string& title) {
    return RunProgram("/usr/bin/xdotool", {"search", "--onlyvisible", "--name", title}, env).out;
  };
  // Answers the window with its default button, once it has the keyboard; a key that a busy
  // machine let fall before the window was ready is pressed again.
  const auto answer = [&](const std::string& title) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      const std::string found = window(title);
      if (found.empty()) return true;
      const std::string id = found.substr(0, found.find('\n'));
      RunProgram("/usr/bin/xdotool", {"windowfocus", id}, env);
      test::WaitFor([&] { return RunProgram("/usr/bin/xdotool", {"getwindowfocus"}, env).out == id + "\n"; }, 2000);
      RunProgram("/usr/bin/xdotool", {"key", "Return"}, env);
      if (test::WaitFor([&] { return window(title).empty(); }, 3000)) return true;
    }
    return false;
  };
  const std::string mainTitle = "^" + std::string(ProductName) + " " + ProductVersion + "$";
  const std::string aboutTitle = "^About\\.\\.\\.$";
  const std::string welcomeTitle = std::string("Welcome to ") + ProductName + "$";

  const pid_t pid = test::StartProgram(program, {}, env);
  ASSERT_TRUE(test::WaitFor([&] { return !window(aboutTitle).empty(); })) << "no greeting";
  EXPECT_EQ(window(mainTitle), "") << "the window came before the greeting";
  ASSERT_TRUE(answer(aboutTitle)) << "the greeting did not take Enter";
  ASSERT_TRUE(test::WaitFor([&] { return !window(welcomeTitle).empty(); })) << "no welcome offer";
  ASSERT_TRUE(answer(welcomeTitle)) << "the welcome offer did not take Enter";  // "Yes, add samples"
  const fs::path data = home / "data/jubilora/jubilora.jld";
  std::error_code error;
  EXPECT_TRUE(test::WaitFor([&] { return fs::file_size(data, error) > 0 && !error; }))
      << "no samples from the installation in the user's data folder";
  EXPECT_EQ(test::StopProgram(pid), 0);

  EXPECT_TRUE(fs::is_regular_file(home / "config/jubilora/jubilora.ini"));
  for (const char* folder : {"config/jubilora", "data/jubilora"})
    EXPECT_EQ(fs::status(home / folder).permissions() & fs::perms::all, fs::perms::owner_all) << folder;
  EXPECT_EQ(Files(prefix), installed) << "the program wrote into its installation";
  // The first run switched the log-on start on, naming the installed program and its icon.
  const fs::path entry = home / "config/autostart/Jubilora.desktop";
  EXPECT_EQ(Complaints("/usr/bin/desktop-file-validate", {}, entry), "");
  EXPECT_NE(test::ReadBytes(entry).find(program.string()), std::string::npos);
}

}  // namespace
}  // namespace jubilora
