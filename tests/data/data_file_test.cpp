#include "data/data_file.h"

#include <random>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data/command_fixture.h"
#include "support/hostile_files.h"
#include "support/privileges.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Entries;
using test::Files;
using test::Names;

const std::string NotSaved = "Your changes are not saved.";
const std::string CannotRemoveBackup =
    "Jubilora could not remove existing autobackup file.\r\n\r\n" + NotSaved;
const std::string CannotMoveDataFile =
    "Jubilora could not autobackup your current data file.\r\n\r\n" + NotSaved;
const std::string CannotCreateDataFile = "Jubilora could not create a new data file.\r\n\r\n" + NotSaved;

// The 72-byte blocks of a file, in any order.
std::multiset<std::string> Blocks(const std::string& bytes) {
  std::multiset<std::string> blocks;
  for (std::size_t at = 0; at + RecordSize <= bytes.size(); at += RecordSize) {
    blocks.insert(bytes.substr(at, RecordSize));
  }
  return blocks;
}

class DataFileTest : public ::testing::Test {
 protected:
  // Saves as an unprivileged user; 0 when the save failed with `message` and nothing else.
  int SaveFailsAsNobody(const DataPaths& target, const std::string& message) {
    return test::RunAsNobody([&] {
      test::FakeUi own;
      TAnniversaryList list{ben};
      if (!SaveData(list, target, own)) return 1;
      return own.questions.size() == 1 && own.questions[0].message == message ? 0 : 2;
    });
  }

  test::TempDir dir;
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  test::FakeUi ui;
  TAnniversary anna = test::Record(KindBirthday, 1990, 5, 3, "Anna");
  TAnniversary ben = test::Record(KindWedding, 2001, 8, 20, "Ben & Carla", 5, 14);
  TAnniversary eve = test::Record(KindHoliday, 1900, 12, 24, "Christmas Eve", 0, 0);
};

// --- Loading ---------------------------------------------------------------------------

TEST_F(DataFileTest, LoadReadsTheDataFileElseTheBackupInPlaceAndSortsByDate) {
  struct Case {
    const char* name;
    std::optional<std::string> data;
    std::optional<std::string> backup;
    Names expected;
  };
  const std::vector<Case> cases = {
      {"first run", std::nullopt, std::nullopt, {}},
      // Month and day decide, the year does not: Christmas Eve of 1900 comes last.
      {"date order", EncodeRecords({eve, ben, anna}), std::nullopt, {"Anna", "Ben & Carla", "Christmas Eve"}},
      {"data file wins", EncodeRecords({anna}), EncodeRecords({ben, eve}), {"Anna"}},
      {"backup alone", std::nullopt, EncodeRecords({eve, anna}), {"Anna", "Christmas Eve"}},
      {"empty data file", "", EncodeRecords({ben}), {}},
      {"150 bytes", EncodeRecords({eve, anna}) + "\x01\x02\x03\x04\x05\x06", std::nullopt, {"Anna", "Christmas Eve"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(paths.data);
    fs::remove(paths.backup);
    if (c.data) test::WriteBytes(paths.data, *c.data);
    if (c.backup) test::WriteBytes(paths.backup, *c.backup);
    const test::Disk before = test::Contents(dir.path());
    TAnniversaryList list{ben, eve};  // whatever was held is replaced
    EXPECT_EQ(LoadData(paths, list), std::nullopt);
    EXPECT_EQ(Descriptions(list), c.expected);
    EXPECT_EQ(test::Contents(dir.path()), before);  // loading creates, moves and changes no file
  }
}

TEST_F(DataFileTest, DataFileOrBackupThatIsNoRegularFileIsRefusedAndTheListKept) {
  const test::HangGuard guard;
  for (const auto& hostile : test::HostileFiles()) {
    for (const fs::path* file : {&paths.data, &paths.backup}) {
      SCOPED_TRACE(hostile.name + " as " + file->filename().string());
      hostile.make(*file);
      TAnniversaryList list{anna, eve};
      const auto error = LoadData(paths, list);
      ASSERT_TRUE(error.has_value());
      EXPECT_EQ(error->file, *file);
      EXPECT_NE(error->Describe().find(hostile.reason), std::string::npos) << error->Describe();
      EXPECT_EQ(Descriptions(list), (Names{"Anna", "Christmas Eve"}));
      fs::remove(*file);
    }
  }
}

// --- Saving ----------------------------------------------------------------------------

TEST_F(DataFileTest, SavesSortTheListAndRotateTheDataFileIntoTheBackup) {
  // Only the backup on disk, as after loading from it: the new data file is put in place
  // and the backup, still the data before this save, stays. A crash's leftover goes.
  test::WriteBytes(paths.backup, EncodeRecords({eve}));
  test::WriteBytes(dir / ".jubilora.jld.AbC123", "left by a crash");
  TAnniversaryList list{eve, ben, anna};
  EXPECT_EQ(SaveData(list, paths, ui), std::nullopt);
  EXPECT_EQ(Descriptions(list), (Names{"Anna", "Ben & Carla", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords({anna, ben, eve}));
  EXPECT_EQ(test::ReadBytes(paths.backup), EncodeRecords({eve}));
  EXPECT_EQ(Entries(dir.path()), (Files{"jubilora.jld", "jubilora.jlb"}));

  // The save after it turns the previous data file into the backup.
  EXPECT_EQ(SaveData(list, paths, ui), std::nullopt);
  EXPECT_EQ(test::ReadBytes(paths.backup), test::ReadBytes(paths.data));
  EXPECT_EQ(Entries(dir.path()), (Files{"jubilora.jld", "jubilora.jlb"}));

  // An empty list is a data file of 0 bytes, rotated as usual.
  const std::string previous = test::ReadBytes(paths.data);
  list.clear();
  EXPECT_EQ(SaveData(list, paths, ui), std::nullopt);
  EXPECT_EQ(test::ReadBytes(paths.data), "");
  EXPECT_EQ(test::ReadBytes(paths.backup), previous);
  EXPECT_TRUE(ui.questions.empty());
  // Each save is told with the list it wrote.
  ASSERT_EQ(ui.saved.size(), 3u);
  EXPECT_EQ(Descriptions(ui.saved[0]), (Names{"Anna", "Ben & Carla", "Christmas Eve"}));
  EXPECT_TRUE(ui.saved[2].empty());
}

TEST_F(DataFileTest, SaveCreatesAPrivateFolderAndKeepsTheFilesPermissions) {
  const DataPaths nested{dir / "share" / "jubilora" / "jubilora.jld", dir / "share" / "jubilora" / "jubilora.jlb"};
  TAnniversaryList list{anna};
  ASSERT_EQ(SaveData(list, nested, ui), std::nullopt);
  ASSERT_EQ(chmod(nested.data.c_str(), 0604), 0);
  ASSERT_EQ(SaveData(list, nested, ui), std::nullopt);
  const std::vector<std::pair<fs::path, unsigned>> modes = {
      {nested.data, 0604u}, {dir / "share", 0700u}, {nested.data.parent_path(), 0700u}};
  for (const auto& [file, mode] : modes) {
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, mode) << file;
  }
}

// Any bytes, as another program or a damaged disk may leave them: paddings, bytes past the
// description's length, lengths over 50, NaN dates and unknown kinds all come back unchanged.
TEST_F(DataFileTest, RecordsRoundTripByteForByte) {
  std::mt19937 random(3);
  std::string raw(40 * RecordSize, '\0');
  for (char& byte : raw) byte = static_cast<char>(random());
  test::WriteBytes(paths.data, raw);

  TAnniversaryList list;
  ASSERT_EQ(LoadData(paths, list), std::nullopt);
  ASSERT_EQ(SaveData(list, paths, ui), std::nullopt);
  EXPECT_EQ(test::ReadBytes(paths.backup), raw);
  EXPECT_EQ(Blocks(test::ReadBytes(paths.data)), Blocks(raw));
}

// --- Saving when the file system refuses: each step, and what is left on disk ---------------

TEST_F(DataFileTest, AFailingStepEndsTheSaveWithItsMessageAndLeavesTheDiskAsItWas) {
  // Each case gets a folder of its own; the save runs as a user who may not do the step.
  struct Case {
    const char* name;
    std::function<DataPaths(const fs::path&)> setUp;
    const std::string& message;
    bool needsRoot = false;
  };
  const auto files = [this](const fs::path& folder, bool backup) {
    test::WriteBytes(folder / "jubilora.jld", EncodeRecords({anna}));
    if (backup) test::WriteBytes(folder / "jubilora.jlb", EncodeRecords({eve}));
    return DataPaths{folder / "jubilora.jld", folder / "jubilora.jlb"};
  };
  const std::vector<Case> cases = {
      {"backup is a folder with files in it",
       [&](const fs::path& folder) {
         fs::create_directories(folder / "jubilora.jlb");
         test::WriteBytes(folder / "jubilora.jlb" / "keep.txt", "not ours");
         return files(folder, false);
       },
       CannotRemoveBackup},
      {"backup in a read-only folder",
       [&](const fs::path& folder) {
         fs::create_directories(folder / "locked");
         chmod((folder / "locked").c_str(), 0555);
         DataPaths split = files(folder, false);
         split.backup = folder / "locked" / "jubilora.jlb";
         return split;
       },
       CannotMoveDataFile},
      {"read-only data folder",
       [&](const fs::path& folder) {
         DataPaths locked = files(folder, true);
         chmod(folder.c_str(), 0555);
         return locked;
       },
       CannotCreateDataFile},
      {"data folder that cannot be made",
       [&](const fs::path& folder) {
         test::WriteBytes(folder / "plain", "a file");
         return DataPaths{folder / "plain" / "jubilora.jld", folder / "plain" / "jubilora.jlb"};
       },
       CannotCreateDataFile},
      // A shared sticky folder (like /tmp) with another user's files: the saving user may
      // create files there but neither delete nor move the other user's.
      {"another user's backup in a sticky folder",
       [&](const fs::path& folder) {
         chmod(folder.c_str(), 01777);
         return files(folder, true);
       },
       CannotRemoveBackup, true},
      {"another user's data file in a sticky folder",
       [&](const fs::path& folder) {
         chmod(folder.c_str(), 01777);
         return files(folder, false);
       },
       CannotMoveDataFile, true},
  };
  test::GiveToNobody(dir.path());
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsRoot && !test::RunningAsRoot()) continue;
    const fs::path folder = dir / std::to_string(++number);
    fs::create_directories(folder);
    if (!c.needsRoot) test::GiveToNobody(folder);
    const DataPaths target = c.setUp(folder);
    const test::Disk before = test::Contents(dir.path());
    EXPECT_EQ(SaveFailsAsNobody(target, c.message), 0);
    EXPECT_EQ(test::Contents(dir.path()), before);  // no temporary file either
  }

  // The user's changes stay in the list, in date order, for the next save.
  test::WriteBytes(paths.data, "");
  fs::create_directories(paths.backup / "inside");
  TAnniversaryList list{eve, ben};
  EXPECT_TRUE(SaveData(list, paths, ui).has_value());
  test::ExpectLastQuestion(ui, 1, "File I/O Error", IconKind::Error, CannotRemoveBackup);
  EXPECT_TRUE(ui.saved.empty());
  EXPECT_EQ(Descriptions(list), (Names{"Ben & Carla", "Christmas Eve"}));
}

// --- Deleting --------------------------------------------------------------------------

TEST_F(DataFileTest, DeletingMovesTheLaterRecordsForwardOrTellsThereIsNothingToDelete) {
  const std::vector<std::pair<int, Names>> cases = {
      {0, {"Anna", "Ben & Carla"}},
      {2, {"Christmas Eve", "Anna"}},
      {3, {"Christmas Eve", "Anna", "Ben & Carla"}},
      {-1, {"Christmas Eve", "Anna", "Ben & Carla"}},
  };
  for (const auto& [index, expected] : cases) {
    SCOPED_TRACE(index);
    TAnniversaryList list{eve, anna, ben};
    DeleteRecord(list, index, ui);
    EXPECT_EQ(Descriptions(list), expected);
  }
  EXPECT_TRUE(ui.questions.empty());
  // From an empty list there is nothing to delete, and the user is told so.
  TAnniversaryList list;
  DeleteRecord(list, 0, ui);
  test::ExpectLastQuestion(ui, 1, "Delete What?", IconKind::Warning);
}

}  // namespace
}  // namespace jubilora
