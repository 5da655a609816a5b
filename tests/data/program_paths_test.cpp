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

TEST(ProgramPathsBesideProgram, ExtensionIsAddedOrTheLastOneReplaced) {
  test::TempDir dir;
  const auto paths = DerivePaths(dir / "jubilora", Env({{"HOME", "/home/anna"}}));
  EXPECT_EQ(paths.program, dir / "jubilora");
  EXPECT_EQ(paths.data, dir / "jubilora.jld");
  EXPECT_EQ(paths.backup, dir / "jubilora.jlb");
  EXPECT_EQ(paths.settings, dir / "jubilora.ini");
  EXPECT_EQ(paths.samples, dir / "jubilora.spl");
  EXPECT_EQ(paths.help, dir / "jubilora.chm");
  EXPECT_EQ(paths.Data().backup, paths.backup);
  EXPECT_EQ(DerivePaths(dir / "Jubilora.exe", Env({})).data, dir / "Jubilora.jld");
  EXPECT_EQ(DerivePaths(dir / "jubilora.v3.bin", Env({})).help, dir / "jubilora.v3.chm");
}

TEST(ProgramPathsBesideProgram, BinFolderWithoutSharedFilesIsNotAnInstallation) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  fs::create_directories(dir / "share");  // no share/jubilora
  const auto paths = DerivePaths(dir / "bin" / "jubilora", Env({{"XDG_DATA_HOME", "/home/anna/data"}}));
  EXPECT_EQ(paths.data, dir / "bin" / "jubilora.jld");
  EXPECT_EQ(paths.samples, dir / "bin" / "jubilora.spl");
}

class InstalledProgramPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "bin");
    fs::create_directories(share);
  }
  test::TempDir dir;
  fs::path share = dir / "share" / "jubilora";
  fs::path program = dir / "bin" / "jubilora";
};

TEST_F(InstalledProgramPaths, WritableFilesGoToTheXdgFolders) {
  const auto paths = DerivePaths(program, Env({{"HOME", "/home/anna"},
                                               {"XDG_DATA_HOME", "/srv/anna/data"},
                                               {"XDG_CONFIG_HOME", "/srv/anna/config"}}));
  EXPECT_EQ(paths.data, fs::path("/srv/anna/data/jubilora/jubilora.jld"));
  EXPECT_EQ(paths.backup, fs::path("/srv/anna/data/jubilora/jubilora.jlb"));
  EXPECT_EQ(paths.settings, fs::path("/srv/anna/config/jubilora/jubilora.ini"));
  EXPECT_EQ(paths.samples, share / "jubilora.spl");
  EXPECT_EQ(paths.help, share / "jubilora.chm");
}

TEST_F(InstalledProgramPaths, WithoutUsableXdgVariablesTheHomeDefaultsApply) {
  // Empty and relative values count as unset.
  const EnvLookup unusable =
      Env({{"HOME", "/home/anna"}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "relative/config"}});
  for (const auto& env : {Env({{"HOME", "/home/anna"}}), unusable}) {
    const auto paths = DerivePaths(program, env);
    EXPECT_EQ(paths.data, fs::path("/home/anna/.local/share/jubilora/jubilora.jld"));
    EXPECT_EQ(paths.backup, fs::path("/home/anna/.local/share/jubilora/jubilora.jlb"));
    EXPECT_EQ(paths.settings, fs::path("/home/anna/.config/jubilora/jubilora.ini"));
    EXPECT_EQ(paths.help, share / "jubilora.chm");
  }
}

TEST_F(InstalledProgramPaths, WithNoHomeAtAllTheWritableFilesStayBesideTheProgram) {
  const auto paths = DerivePaths(program, Env({}));
  EXPECT_EQ(paths.data, dir / "bin" / "jubilora.jld");
  EXPECT_EQ(paths.settings, dir / "bin" / "jubilora.ini");
  EXPECT_EQ(paths.samples, share / "jubilora.spl");
}

}  // namespace
}  // namespace jubilora
