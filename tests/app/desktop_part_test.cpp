// The program and its desktop part: the text modes load nothing of the desktop, the window and
// --render are handed over with the program's own files, and a missing part is said so.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

// The libraries the dynamic loader initialised for a run, as LD_DEBUG=libs reports them.
std::vector<std::string> LoadedLibraries(const fs::path& program, const std::vector<std::string>& args) {
  const auto result = test::RunProgram(program, args, {"LD_DEBUG=libs"});
  std::vector<std::string> libraries;
  const std::regex init("calling init: (\\S+)");
  for (std::sregex_iterator it(result.err.begin(), result.err.end(), init), end; it != end; ++it)
    libraries.push_back(fs::path((*it)[1].str()).filename().string());
  return libraries;
}

TEST(DesktopPart, TextModesLoadNothingOfTheDesktopWhileRenderDoes) {
  test::TempDir dir;
  const fs::path program = test::CopyProgram(dir.path());
  test::WriteBytes(dir / "jubilora.jld", EncodeRecords({test::Record(KindBirthday, 1990, 1, 31, "Anna")}));
  const std::regex desktop("libQt6(Gui|Widgets|Svg|Network|DBus)|libfontconfig|libX11|libxcb\\.");
  const auto desktopLibraries = [&](const std::vector<std::string>& args) {
    std::string found;
    for (const std::string& library : LoadedLibraries(program, args))
      if (std::regex_search(library, desktop)) found += library + " ";
    return found;
  };
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--print"}, {"--print=tsv", "--today", "2025-01-29"}, {"--export-csv", "-"}, {"--help"}, {"--version"}}) {
    EXPECT_EQ(desktopLibraries(args), "") << args.front();
  }
  // The same look finds them where they belong.
  EXPECT_NE(desktopLibraries({"--render", (dir / "out.png").string()}).find("libQt6Gui"), std::string::npos);
}

// Laid out as installed, without the shared folder that would move the files to the user's
// folders: the data file read is the program's, beside it, not the desktop part's.
TEST(DesktopPart, IsFoundWhereTheInstallPutsItAndReadsTheProgramsFiles) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  fs::create_directories(dir / "libexec" / "jubilora");
  const fs::path program = test::CopyProgram(dir / "bin");
  fs::rename(dir / "bin" / "jubilora-desktop", dir / "libexec" / "jubilora" / "jubilora-desktop");
  fs::create_directory(dir / "bin" / "jubilora.jld");  // unreadable as a data file
  const auto result = test::RunProgram(program, {"--render", (dir / "out.png").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find((dir / "bin" / "jubilora.jld").string()), std::string::npos) << result.err;
}

TEST(DesktopPart, AMissingOneIsOneLineAndStatusOne) {
  test::TempDir dir;
  const fs::path program = test::CopyProgram(dir.path());
  fs::remove(dir / "jubilora-desktop");
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"/autorun"}, {"--render", (dir / "out.png").string()}}) {
    const auto result = test::RunProgram(program, args, {"DISPLAY=:0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find((dir / "jubilora-desktop").string() + "\""), std::string::npos) << result.err;
  }
  EXPECT_FALSE(fs::exists(dir / "out.png"));
}

}  // namespace
}  // namespace jubilora
