#include "data/program_paths.h"

#include <map>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

EnvLookup Env(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const std::string& name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

TEST(ProgramPaths, BesideAProgramThatIsNotInstalled) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  fs::create_directories(dir / "share");  // no share/jubilora: not an installation
  for (const fs::path& folder : {dir.path(), dir / "bin"}) {
    const auto paths = DerivePaths(folder / "jubilora", Env({{"HOME", "/home/anna"}, {"XDG_DATA_HOME", "/d"}}));
    EXPECT_EQ(paths.data, folder / "jubilora.jld");
    EXPECT_EQ(paths.backup, folder / "jubilora.jlb");
    EXPECT_EQ(paths.settings, folder / "jubilora.ini");
    EXPECT_EQ(paths.samples, folder / "jubilora.spl");
    EXPECT_EQ(paths.help, folder / "help" / "index.html");
  }
  // The last extension is replaced, whatever the program is called.
  EXPECT_EQ(DerivePaths(dir / "jubilora.v3.bin", Env({})).data, dir / "jubilora.v3.jld");
}

TEST(ProgramPaths, InstalledTheWritableFilesFollowTheXdgRulesWithOneHomeFallback) {
  test::TempDir dir;
  const fs::path share = dir / "share" / "jubilora";
  fs::create_directories(dir / "bin");
  fs::create_directories(share);
  struct Case {
    std::map<std::string, std::string> env;
    fs::path data, settings;  // folders; empty: beside the program
  };
  const Case cases[] = {
      {{{"HOME", "/home/anna"}, {"XDG_DATA_HOME", "/srv/data"}, {"XDG_CONFIG_HOME", "/srv/config"}},
       "/srv/data/jubilora",
       "/srv/config/jubilora"},
      {{{"HOME", "/home/anna"}}, "/home/anna/.local/share/jubilora", "/home/anna/.config/jubilora"},
      // Empty and relative values are ignored, as the rules ask.
      {{{"HOME", "/home/anna"}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "relative/config"}},
       "/home/anna/.local/share/jubilora",
       "/home/anna/.config/jubilora"},
      {{{"HOME", "relative"}, {"XDG_CONFIG_HOME", "/srv/config"}}, "", "/srv/config/jubilora"},
      {{}, "", ""},
  };
  for (const Case& c : cases) {
    const auto paths = DerivePaths(dir / "bin" / "jubilora", Env(c.env));
    const fs::path data = c.data.empty() ? dir / "bin" : c.data;
    EXPECT_EQ(paths.data, data / "jubilora.jld");
    EXPECT_EQ(paths.backup, data / "jubilora.jlb");
    EXPECT_EQ(paths.settings, (c.settings.empty() ? dir / "bin" : c.settings) / "jubilora.ini");
    EXPECT_EQ(paths.samples, share / "jubilora.spl");
    EXPECT_EQ(paths.help, share / "help" / "index.html");
  }
}

}  // namespace
}  // namespace jubilora
