#include "data/program_paths.h"

#include <map>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

// Beside a program that is not installed; installed (in <prefix>/bin with
// <prefix>/share/jubilora), the writable files follow the XDG rules with one HOME fallback
// and the read-only ones come from the share folder.
TEST(ProgramPaths, BesideTheProgramOrInTheUsersFoldersWhenInstalled) {
  test::TempDir dir;
  fs::create_directories(dir / "plain" / "bin");
  fs::create_directories(dir / "plain" / "share");  // no share/jubilora: not an installation
  fs::create_directories(dir / "bin");
  fs::create_directories(dir / "share" / "jubilora");
  const fs::path share = dir / "share" / "jubilora";
  using Env = std::map<std::string, std::string>;
  struct Case {
    fs::path program;
    Env env;
    fs::path data, settings, readOnly;
  };
  const Env all = {{"HOME", "/home/anna"}, {"XDG_DATA_HOME", "/srv/data"}, {"XDG_CONFIG_HOME", "/srv/config"}};
  const std::vector<Case> cases = {
      {dir / "plain" / "bin" / "jubilora", all, dir / "plain" / "bin", dir / "plain" / "bin", dir / "plain" / "bin"},
      {dir / "jubilora", all, dir.path(), dir.path(), dir.path()},
      {dir / "bin" / "jubilora", all, "/srv/data/jubilora", "/srv/config/jubilora", share},
      {dir / "bin" / "jubilora", {{"HOME", "/home/anna"}}, "/home/anna/.local/share/jubilora", "/home/anna/.config/jubilora", share},
      // Empty and relative values are ignored, as the rules ask.
      {dir / "bin" / "jubilora", {{"HOME", "/home/anna"}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "relative"}},
       "/home/anna/.local/share/jubilora", "/home/anna/.config/jubilora", share},
      {dir / "bin" / "jubilora", {{"HOME", "relative"}, {"XDG_CONFIG_HOME", "/srv/config"}}, dir / "bin", "/srv/config/jubilora", share},
      {dir / "bin" / "jubilora", {}, dir / "bin", dir / "bin", share},
  };
  for (const Case& c : cases) {
    const auto paths = DerivePaths(c.program, [&c](const std::string& name) -> std::optional<std::string> {
      const auto found = c.env.find(name);
      return found == c.env.end() ? std::nullopt : std::optional(found->second);
    });
    EXPECT_EQ(paths.data, c.data / "jubilora.jld") << c.program;
    EXPECT_EQ(paths.backup, c.data / "jubilora.jlb") << c.program;
    EXPECT_EQ(paths.settings, c.settings / "jubilora.ini") << c.program;
    EXPECT_EQ(paths.samples, c.readOnly / "jubilora.spl") << c.program;
    EXPECT_EQ(paths.help, c.readOnly / "help" / "index.html") << c.program;
  }
  // The last extension is replaced, whatever the program is called.
  EXPECT_EQ(DerivePaths(dir / "jubilora.v3.bin", ProcessEnvironment).data, dir / "jubilora.v3.jld");
}

}  // namespace
}  // namespace jubilora
