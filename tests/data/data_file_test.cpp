#include "data/data_file.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/fake_ui.h"
#include "support/privileges.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

const std::string NotSaved = "Your changes are not saved.";
const std::string CannotRemoveBackup =
    "Jubilora could not remove existing autobackup file.\r\n\r\n" + NotSaved;
const std::string CannotMoveDataFile =
    "Jubilora could not autobackup your current data file.\r\n\r\n" + NotSaved;
const std::string CannotCreateDataFile = "Jubilora could not create a new data file.\r\n\r\n" + NotSaved;

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// A record written byte by byte, independent of the codec under test.
std::string RawRecord(std::uint8_t kind, std::uint64_t dateBits, std::uint8_t length, char fill,
                      std::uint8_t importance, std::uint8_t reminder, char padding) {
  std::string raw(RecordSize, padding);
  raw[0] = static_cast<char>(kind);
  for (int i = 0; i < 8; ++i) raw[8 + i] = static_cast<char>(dateBits >> (8 * i));
  raw[16] = static_cast<char>(length);
  for (int i = 0; i < 50; ++i) raw[17 + i] = static_cast<char>(fill + i % 26);
  raw[67] = static_cast<char>(importance);
  raw[68] = static_cast<char>(reminder);
  return raw;
}

std::uint64_t BitsOf(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// The 72-byte blocks of a file, in any order.
std::multiset<std::string> Blocks(const std::string& bytes) {
  std::multiset<std::string> blocks;
  for (std::size_t at = 0; at + RecordSize <= bytes.size(); at += RecordSize) {
    blocks.insert(bytes.substr(at, RecordSize));
  }
  return blocks;
}

std::vector<std::string> Descriptions(const TAnniversaryList& list) {
  std::vector<std::string> texts;
  for (const auto& record : list) texts.push_back(record.Description());
  return texts;
}

class DataFileTest : public ::testing::Test {
 protected:
  void ExpectSaveMessage(const std::string& message) const {
    ASSERT_EQ(ui.questions.size(), 1u);
    const auto& asked = ui.questions.front();
    EXPECT_EQ(asked.caption, "File I/O Error");
    EXPECT_EQ(asked.message, message);
    EXPECT_EQ(asked.buttons, std::vector<std::string>{"&OK"});
    EXPECT_EQ(asked.icon, IconKind::Error);
    EXPECT_TRUE(asked.canCancel);
  }

  test::TempDir dir;
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  test::FakeUi ui;
  TAnniversary anna = test::Record(KindBirthday, 1990, 5, 3, "Anna");
  TAnniversary ben = test::Record(KindWedding, 2001, 8, 20, "Ben & Carla", 5, 14);
  TAnniversary eve = test::Record(KindHoliday, 1900, 12, 24, "Christmas Eve", 0, 0);
};

// --- Loading ---------------------------------------------------------------------------

TEST_F(DataFileTest, FirstRunWithoutFilesGivesAnEmptyListAndCreatesNothing) {
  TAnniversaryList list{anna};
  EXPECT_EQ(LoadData(paths, list), std::nullopt);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST_F(DataFileTest, LoadsInDateOrder) {
  // Month and day decide, the year does not: Christmas Eve of 1900 comes last.
  test::WriteBytes(paths.data, EncodeRecords({eve, ben, anna}));
  TAnniversaryList list;
  EXPECT_EQ(LoadData(paths, list), std::nullopt);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Anna", "Ben & Carla", "Christmas Eve"}));
}

TEST_F(DataFileTest, DataFileWinsOverBackup) {
  test::WriteBytes(paths.data, EncodeRecords({anna}));
  test::WriteBytes(paths.backup, EncodeRecords({ben, eve}));
  TAnniversaryList list;
  EXPECT_EQ(LoadData(paths, list), std::nullopt);
  EXPECT_EQ(Descriptions(list), std::vector<std::string>{"Anna"});
}

TEST_F(DataFileTest, BackupAloneIsReadInPlaceThenRotatedAwayBySaves) {
  const std::string backupBytes = EncodeRecords({eve, anna});
  test::WriteBytes(paths.backup, backupBytes);
  TAnniversaryList list;
  EXPECT_EQ(LoadData(paths, list), std::nullopt);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Anna", "Christmas Eve"}));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"jubilora.jlb"});
  EXPECT_EQ(test::ReadBytes(paths.backup), backupBytes);

  // First save: the backup goes, there is no data file to move, the new data file appears.
  list.push_back(ben);
  EXPECT_TRUE(SaveData(list, paths, ui));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"jubilora.jld"});
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords({anna, ben, eve}));

  // Second save: the previous data file becomes the backup.
  EXPECT_TRUE(SaveData(list, paths, ui));
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"jubilora.jld", "jubilora.jlb"}));
  EXPECT_EQ(test::ReadBytes(paths.backup), test::ReadBytes(paths.data));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(DataFileTest, EmptyDataFileEmptiesAFilledList) {
  test::WriteBytes(paths.data, "");
  test::WriteBytes(paths.backup, EncodeRecords({ben}));
  TAnniversaryList list{anna, eve};
  EXPECT_EQ(LoadData(paths, list), std::nullopt);
  EXPECT_TRUE(list.empty());
}

TEST_F(DataFileTest, TrailingFragmentIsIgnored) {
  const std::string two = EncodeRecords({anna, eve});
  test::WriteBytes(paths.data, two + "\x01\x02\x03\x04\x05\x06");
  ASSERT_EQ(fs::file_size(paths.data), 150u);
  TAnniversaryList list;
  EXPECT_EQ(LoadData(paths, list), std::nullopt);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(EncodeRecords(list), two);
}

TEST_F(DataFileTest, UnreadableDataFileIsReportedAndTheListKept) {
  fs::create_directories(paths.data);  // a folder where the data file should be
  test::WriteBytes(paths.backup, EncodeRecords({ben}));
  TAnniversaryList list{anna, eve};
  const auto error = LoadData(paths, list);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->file, paths.data);
  EXPECT_EQ(error->reason, "Is a directory");
  const std::string text = error->Describe();
  EXPECT_NE(text.find(paths.data.string()), std::string::npos) << text;
  EXPECT_NE(text.find("Is a directory"), std::string::npos) << text;
  EXPECT_NE(text.back(), '.');
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Anna", "Christmas Eve"}));
}

TEST_F(DataFileTest, DataFileWithoutReadPermissionIsReported) {
  test::GiveToNobody(dir.path());
  test::WriteBytes(paths.data, EncodeRecords({ben}));
  ASSERT_EQ(chmod(paths.data.c_str(), 0), 0);
  const int result = test::RunAsNobody([&] {
    TAnniversaryList list{anna};
    const auto error = LoadData(paths, list);
    if (!error) return 1;
    if (error->reason != "Permission denied" || error->file != paths.data) return 2;
    if (list.size() != 1 || list[0].Description() != "Anna") return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
}

TEST_F(DataFileTest, ReadRecordFileOfAMissingFileLeavesRecordsUntouched) {
  TAnniversaryList records{anna};
  const auto error = ReadRecordFile(dir / "nowhere.jld", records);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->reason, "No such file or directory");
  EXPECT_EQ(records.size(), 1u);
}

// --- Saving ----------------------------------------------------------------------------

TEST_F(DataFileTest, SaveSortsTheListAndWritesItInThatOrder) {
  TAnniversaryList list{eve, ben, anna};
  EXPECT_TRUE(SaveData(list, paths, ui));
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Anna", "Ben & Carla", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(list));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"jubilora.jld"});
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(DataFileTest, SavingAnEmptyListWritesZeroBytesAndRotates) {
  const std::string old = EncodeRecords({anna});
  test::WriteBytes(paths.data, old);
  TAnniversaryList list;
  EXPECT_TRUE(SaveData(list, paths, ui));
  EXPECT_EQ(fs::file_size(paths.data), 0u);
  EXPECT_EQ(test::ReadBytes(paths.backup), old);
}

TEST_F(DataFileTest, TwoSavesInARowLeaveDataAndBackupEqual) {
  test::WriteBytes(paths.backup, "stale");
  TAnniversaryList list{anna, ben};
  EXPECT_TRUE(SaveData(list, paths, ui));
  EXPECT_TRUE(SaveData(list, paths, ui));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords({anna, ben}));
  EXPECT_EQ(test::ReadBytes(paths.backup), test::ReadBytes(paths.data));
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"jubilora.jld", "jubilora.jlb"}));
}

TEST_F(DataFileTest, SaveCreatesAMissingFolderAndKeepsTheFilesPermissions) {
  const DataPaths nested{dir / "share" / "jubilora" / "jubilora.jld", dir / "share" / "jubilora" / "jubilora.jlb"};
  TAnniversaryList list{anna};
  ASSERT_TRUE(SaveData(list, nested, ui));
  ASSERT_EQ(chmod(nested.data.c_str(), 0600), 0);
  ASSERT_TRUE(SaveData(list, nested, ui));
  struct stat info {};
  ASSERT_EQ(stat(nested.data.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(DataFileTest, RecordsRoundTripByteForByte) {
  const std::string raw =
      // Garbage in both paddings and past the description's length.
      RawRecord(KindBirthday, BitsOf(33000.0), 4, 'a', 3, DefaultReminder, '\x5A') +
      // A length byte far beyond 50, a sample record with the default reminder.
      RawRecord(KindHoliday, BitsOf(45000.0), 200, 'K', SampleImportance, DefaultReminder, '\xEE') +
      // A date that is not a number, with a payload, and an unknown kind.
      RawRecord(9, 0x7FF80000DEADBEEFull, 50, 'q', 255, 90, '\x01') +
      // Exactly fifty characters.
      RawRecord(KindOtherNoYears, BitsOf(-700.0), 50, 'A', 0, 0, '\0');
  test::WriteBytes(paths.data, raw);

  TAnniversaryList list;
  ASSERT_EQ(LoadData(paths, list), std::nullopt);
  ASSERT_EQ(list.size(), 4u);
  ASSERT_TRUE(SaveData(list, paths, ui));
  EXPECT_EQ(test::ReadBytes(paths.backup), raw);
  EXPECT_EQ(Blocks(test::ReadBytes(paths.data)), Blocks(raw));

  TAnniversaryList reloaded;
  ASSERT_EQ(LoadData(paths, reloaded), std::nullopt);
  EXPECT_EQ(EncodeRecords(reloaded), test::ReadBytes(paths.data));
}

TEST_F(DataFileTest, FiftyCharacterDescriptionSurvivesAndAFiftyFirstIsNeverStored) {
  TAnniversary longOne = anna;
  longOne.SetDescription(std::string(50, 'x') + "Y");
  TAnniversaryList list{longOne};
  ASSERT_TRUE(SaveData(list, paths, ui));
  TAnniversaryList reloaded;
  ASSERT_EQ(LoadData(paths, reloaded), std::nullopt);
  ASSERT_EQ(reloaded.size(), 1u);
  EXPECT_EQ(reloaded[0].Description(), std::string(50, 'x'));
  EXPECT_EQ(fs::file_size(paths.data), RecordSize);
}

// --- Saving when the file system refuses --------------------------------------------------

TEST_F(DataFileTest, BackupThatCannotBeDeletedStopsTheSaveBeforeAnythingChanges) {
  const std::string old = EncodeRecords({anna});
  test::WriteBytes(paths.data, old);
  fs::create_directories(paths.backup);
  test::WriteBytes(paths.backup / "keep.txt", "not ours");

  TAnniversaryList list{eve, ben};
  EXPECT_FALSE(SaveData(list, paths, ui));
  ExpectSaveMessage(CannotRemoveBackup);
  EXPECT_EQ(test::ReadBytes(paths.data), old);
  EXPECT_EQ(test::ReadBytes(paths.backup / "keep.txt"), "not ours");
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"jubilora.jld", "jubilora.jlb"}));
  // The user's changes stay in the list, in date order, for the next save.
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Ben & Carla", "Christmas Eve"}));
}

TEST_F(DataFileTest, ReadOnlyFolderCannotTakeANewDataFile) {
  test::GiveToNobody(dir.path());
  const fs::path folder = dir / "locked";
  const DataPaths locked{folder / "jubilora.jld", folder / "jubilora.jlb"};
  fs::create_directories(folder);
  const std::string old = EncodeRecords({anna});
  const std::string older = EncodeRecords({eve});
  test::WriteBytes(locked.data, old);
  test::WriteBytes(locked.backup, older);
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);

  const int result = test::RunAsNobody([&] {
    TAnniversaryList list{ben};
    if (SaveData(list, locked, ui)) return 1;
    if (ui.questions.size() != 1) return 2;
    if (ui.questions[0].message != CannotCreateDataFile) return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(locked.data), old);
  EXPECT_EQ(test::ReadBytes(locked.backup), older);
  EXPECT_EQ(Entries(folder), (std::set<std::string>{"jubilora.jld", "jubilora.jlb"}));
}

TEST_F(DataFileTest, FolderThatIsAFileCannotTakeANewDataFile) {
  test::WriteBytes(dir / "plain", "a file");
  const DataPaths inside{dir / "plain" / "jubilora.jld", dir / "plain" / "jubilora.jlb"};
  TAnniversaryList list{anna};
  EXPECT_FALSE(SaveData(list, inside, ui));
  ExpectSaveMessage(CannotCreateDataFile);
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"plain"});
}

TEST_F(DataFileTest, DataFileThatCannotBeMovedKeepsTheOldData) {
  // Backup in a folder the saving user may not write to: the move is refused.
  test::GiveToNobody(dir.path());
  const fs::path dataFolder = dir / "data";
  const fs::path lockedFolder = dir / "locked";
  fs::create_directories(dataFolder);
  fs::create_directories(lockedFolder);
  test::GiveToNobody(dataFolder);
  ASSERT_EQ(chmod(lockedFolder.c_str(), 0555), 0);
  const DataPaths split{dataFolder / "jubilora.jld", lockedFolder / "jubilora.jlb"};
  const std::string old = EncodeRecords({anna});
  test::WriteBytes(split.data, old);

  const int result = test::RunAsNobody([&] {
    TAnniversaryList list{ben};
    if (SaveData(list, split, ui)) return 1;
    if (ui.questions.size() != 1) return 2;
    if (ui.questions[0].message != CannotMoveDataFile) return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(split.data), old);
  EXPECT_EQ(Entries(dataFolder), std::set<std::string>{"jubilora.jld"});
  EXPECT_TRUE(Entries(lockedFolder).empty());
}

// A shared sticky folder (like /tmp) with files owned by someone else: the saving user can
// create files there but may neither move nor delete the other user's.
class StickyFolderTest : public DataFileTest {
 protected:
  void SetUp() override {
    if (!test::RunningAsRoot()) GTEST_SKIP() << "needs root to own the files of another user";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    fs::create_directories(folder);
    ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
    test::WriteBytes(shared.data, old);
  }
  fs::path folder = dir / "shared";
  DataPaths shared{folder / "jubilora.jld", folder / "jubilora.jlb"};
  std::string old = EncodeRecords({anna});
};

TEST_F(StickyFolderTest, DataFileOfAnotherUserCannotBecomeTheBackup) {
  const int result = test::RunAsNobody([&] {
    TAnniversaryList list{ben};
    if (SaveData(list, shared, ui)) return 1;
    if (ui.questions.size() != 1) return 2;
    if (ui.questions[0].message != CannotMoveDataFile) return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(shared.data), old);
  EXPECT_EQ(Entries(folder), std::set<std::string>{"jubilora.jld"});
}

TEST_F(StickyFolderTest, BackupOfAnotherUserCannotBeDeleted) {
  const std::string older = EncodeRecords({eve});
  test::WriteBytes(shared.backup, older);
  const int result = test::RunAsNobody([&] {
    TAnniversaryList list{ben};
    if (SaveData(list, shared, ui)) return 1;
    if (ui.questions.size() != 1) return 2;
    if (ui.questions[0].message != CannotRemoveBackup) return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(shared.data), old);
  EXPECT_EQ(test::ReadBytes(shared.backup), older);
  EXPECT_EQ(Entries(folder), (std::set<std::string>{"jubilora.jld", "jubilora.jlb"}));
}

// --- Deleting --------------------------------------------------------------------------

TEST_F(DataFileTest, DeletingTheFirstRecordMovesTheOthersForwardInOrder) {
  TAnniversaryList list{eve, anna, ben};
  DeleteRecord(list, 0, ui);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Anna", "Ben & Carla"}));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(DataFileTest, DeletingTheLastRecordOnlyShrinksTheList) {
  TAnniversaryList list{eve, anna, ben};
  DeleteRecord(list, 2, ui);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Christmas Eve", "Anna"}));
}

TEST_F(DataFileTest, DeletingFromAnEmptyListTellsTheUser) {
  TAnniversaryList list;
  DeleteRecord(list, 0, ui);
  EXPECT_TRUE(list.empty());
  ASSERT_EQ(ui.questions.size(), 1u);
  const auto& asked = ui.questions.front();
  EXPECT_EQ(asked.caption, "Delete What?");
  EXPECT_EQ(asked.message,
            "There are no anniversaries records\r\nthat can be deleted.\r\n\r\nPlease enter some data first.");
  EXPECT_EQ(asked.buttons, std::vector<std::string>{"&OK"});
  EXPECT_EQ(asked.icon, IconKind::Warning);
  EXPECT_TRUE(asked.canCancel);
}

TEST_F(DataFileTest, DeletingAnIndexOutsideTheListDoesNothing) {
  TAnniversaryList list{eve, anna};
  DeleteRecord(list, 2, ui);
  DeleteRecord(list, -1, ui);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Christmas Eve", "Anna"}));
  EXPECT_TRUE(ui.questions.empty());
}

}  // namespace
}  // namespace jubilora
