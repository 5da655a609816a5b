// The data file: loading, saving through the backup rotation, deleting, and where it lives.

#include "data/data_file.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <gtest/gtest.h>

#include "data/command_fixture.h"
#include "data/program_paths.h"
#include "support/privileges.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Names;

using DataFileTest = test::FileCommandsFixture;

TEST_F(DataFileTest, LoadReadsTheDataFileElseTheBackupSortsByDateAndWritesNothing) {
  struct Case {
    std::optional<std::string> data, backup;
    Names expected;
  };
  const std::vector<Case> cases = {
      {std::nullopt, std::nullopt, {}},
      // The year plays no part.
      {EncodeRecords({eve, ben, anna}), std::nullopt, {"Anna", "Ben & Carla", "Christmas Eve"}},
      {EncodeRecords({anna}), EncodeRecords({ben, eve}), {"Anna"}},
      {std::nullopt, EncodeRecords({eve, anna}), {"Anna", "Christmas Eve"}},
      {"", EncodeRecords({ben}), {}},  // an empty data file is an empty list
      {EncodeRecords({eve, anna}) + "\x01\x02\x03", std::nullopt, {"Anna", "Christmas Eve"}},  // a fragment is ignored
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    fs::remove(paths.data);
    fs::remove(paths.backup);
    if (cases[i].data) test::WriteBytes(paths.data, *cases[i].data);
    if (cases[i].backup) test::WriteBytes(paths.backup, *cases[i].backup);
    const test::Disk before = test::Contents(dir.path());
    TAnniversaryList list{ben, eve};  // whatever was held is replaced
    EXPECT_EQ(LoadData(paths, list), std::nullopt) << i;
    EXPECT_EQ(Descriptions(list), cases[i].expected) << i;
    EXPECT_EQ(test::Contents(dir.path()), before) << i;
  }
}

TEST_F(DataFileTest, SavesMakeTheFoldersSortAndRotateTheDataFileIntoTheBackup) {
  const DataPaths nested{dir / "a" / "b" / "jubilora.jld", dir / "a" / "b" / "jubilora.jlb"};
  TAnniversaryList list{eve, ben, anna};
  ASSERT_EQ(SaveData(list, nested, ui), std::nullopt);
  EXPECT_EQ(Descriptions(list), (Names{"Anna", "Ben & Carla", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(nested.data), EncodeRecords({anna, ben, eve}));
  EXPECT_FALSE(fs::exists(nested.backup));

  // The previous data file becomes the backup; a crash's leftover goes, nothing else does.
  test::WriteBytes(dir / "a" / "b" / ".jubilora.jld.AbC123", "left by a crash");
  for (const char* other : {".jubilora.jlb.AbC123", ".jubilora.jld.AbC12", "jubilora.jld.AbC123"})
    test::WriteBytes(dir / "a" / "b" / other, "not ours");
  const std::string previous = test::ReadBytes(nested.data);
  list.clear();
  ASSERT_EQ(SaveData(list, nested, ui), std::nullopt);
  EXPECT_EQ(test::ReadBytes(nested.data), "");
  EXPECT_EQ(test::ReadBytes(nested.backup), previous);
  EXPECT_FALSE(fs::exists(dir / "a" / "b" / ".jubilora.jld.AbC123"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "a" / "b"), {}), 5);
  EXPECT_TRUE(ui.questions.empty());
  // Each save is told with the list it wrote.
  ASSERT_EQ(ui.saved.size(), 2u);
  EXPECT_EQ(EncodeRecords(ui.saved[0]), EncodeRecords({anna, ben, eve}));
}

// Each step of the rotation refused by the file system: the save ends with that step's
// message, and the disk is left as it was, without a temporary file.
TEST_F(DataFileTest, AFailingStepEndsTheSaveWithItsMessageAndLeavesTheDiskAsItWas) {
  const std::string removeBackup = "could not remove existing autobackup file";
  const std::string moveDataFile = "could not autobackup your current data file";
  const std::string createDataFile = "could not create a new data file";
  const auto files = [this](const fs::path& folder, bool backup) {
    test::WriteBytes(folder / "jubilora.jld", EncodeRecords({anna}));
    if (backup) test::WriteBytes(folder / "jubilora.jlb", EncodeRecords({eve}));
    return DataPaths{folder / "jubilora.jld", folder / "jubilora.jlb"};
  };
  const auto locked = [](const fs::path& folder, mode_t mode) { chmod(folder.c_str(), mode); };
  struct Case {
    const std::string& words;
    std::function<DataPaths(const fs::path&)> setUp;
  };
  const std::vector<Case> cases = {
      {removeBackup,
       [&](const fs::path& folder) {
         fs::create_directories(folder / "jubilora.jlb" / "inside");
         return files(folder, false);
       }},
      {moveDataFile,
       [&](const fs::path& folder) {
         fs::create_directories(folder / "locked");
         locked(folder / "locked", 0555);
         return DataPaths{files(folder, false).data, folder / "locked" / "jubilora.jlb"};
       }},
      {createDataFile, [&](const fs::path& folder) { const auto p = files(folder, true); locked(folder, 0555); return p; }},
      {createDataFile,
       [&](const fs::path& folder) {
         test::WriteBytes(folder / "plain", "a file");
         return DataPaths{folder / "plain" / "jubilora.jld", folder / "plain" / "jubilora.jlb"};
       }},
  };
  test::GiveToNobody(dir.path());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const fs::path folder = dir / std::to_string(i);
    fs::create_directories(folder);
    test::GiveToNobody(folder);
    const DataPaths target = c.setUp(folder);
    const test::Disk before = test::Contents(dir.path());
    const int status = test::RunAsNobody([&] {
      test::FakeUi own;
      TAnniversaryList list{ben, anna};
      const bool failed = SaveData(list, target, own).has_value();
      // The user's changes stay in the list, in date order, for the next save.
      const bool kept = Descriptions(list) == Names{"Anna", "Ben & Carla"};
      return failed && kept && own.saved.empty() && own.questions.size() == 1 &&
                     own.questions[0].message.find(c.words) != std::string::npos
                 ? 0
                 : 1;
    });
    EXPECT_EQ(status, 0) << i << ": " << c.words;
    EXPECT_EQ(test::Contents(dir.path()), before) << i;
  }
}

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
      {dir / "bin" / "jubilora", all, "/srv/data/jubilora", "/srv/config/jubilora", share},
      // Empty and relative values are ignored, as the rules ask.
      {dir / "bin" / "jubilora", {{"HOME", "/home/anna"}, {"XDG_DATA_HOME", ""}, {"XDG_CONFIG_HOME", "relative"}},
       "/home/anna/.local/share/jubilora", "/home/anna/.config/jubilora", share},
      {dir / "bin" / "jubilora", {}, dir / "bin", dir / "bin", share},
  };
  for (const Case& c : cases) {
    const auto paths = DerivePaths(c.program, [&c](const std::string& name) -> std::optional<std::string> {
      const auto found = c.env.find(name);
      return found == c.env.end() ? std::nullopt : std::optional(found->second);
    });
    EXPECT_EQ(paths.data, c.data / "jubilora.jld") << c.program;
    EXPECT_EQ(paths.settings, c.settings / "jubilora.ini") << c.program;
    EXPECT_EQ(paths.samples, c.readOnly / "jubilora.spl") << c.program;
    EXPECT_EQ(paths.help, c.readOnly / "help" / "index.html") << c.program;
  }
  // The last extension is replaced, whatever the program is called.
  EXPECT_EQ(DerivePaths(dir / "jubilora.v3.bin", ProcessEnvironment).data, dir / "jubilora.v3.jld");
}

}  // namespace
}  // namespace jubilora
