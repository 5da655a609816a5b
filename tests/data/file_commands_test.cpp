#include "data/file_commands.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/ordering.h"
#include "data/read_fault.h"
#include "support/fake_ui.h"
#include "support/privileges.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

const std::string BackupCaption = "Backup Your Data";
const std::string NothingToBackup =
    "There is nothing to backup.\r\n\r\nPlease enter some data before performing\r\na backup operation.";
const std::string BackupQuestion =
    "Please select file path and name for a\r\nbackup copy of your anniversaries data.\r\n\r\n"
    "You may use this to secure collected data\r\nor to synchronize it with Jubilora on some\r\n"
    "other computer.";
const std::string RestoreCaption = "Restore Your Data";
const std::string RestoreQuestion =
    "Please select a backup file that contains\r\ndata you wish to restore.\r\n\r\n"
    "You may use any backup file that you created\r\nearlier, or you may try with the latest\r\n"
    "autobackup file to undo the last edit.";
const std::string ConfirmCaption = "Please Confirm Overwrite";
const std::string ConfirmQuestion =
    "Your current data file is not empty.\r\n\r\nAre you sure you wish to overwrite\r\n"
    "current data file with the backup?";
const std::string SynchronizeCaption = "Synchronize Data";
const std::string SynchronizeQuestion =
    "Please select a backup file to synchronize\r\nyour data with.\r\n\r\n"
    "Please note that data from the file you\r\nselect will be added to your current data\r\n"
    "file. Selected file will remain the same.";
const std::string RestSyncFilter = "Jubilora Data (*.jld);;Jubilora Auto Backup (*.jlb)";

using Buttons = std::vector<std::string>;

void ExpectQuestion(const test::AskedQuestion& asked, const std::string& caption, const std::string& message,
                    const Buttons& buttons, IconKind icon) {
  EXPECT_EQ(asked.caption, caption);
  EXPECT_EQ(asked.message, message);
  EXPECT_EQ(asked.buttons, buttons);
  EXPECT_EQ(asked.icon, icon);
  EXPECT_TRUE(asked.canCancel);
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::vector<std::string> Descriptions(const TAnniversaryList& list) {
  std::vector<std::string> texts;
  for (const auto& record : list) texts.push_back(record.Description());
  return texts;
}

// Runs `body` in a child process whose files may not grow beyond `limit` bytes, so that a
// write fails part-way with EFBIG. Returns the child's exit status.
int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &cap) != 0) _exit(126);
    const int result = body();
    std::fflush(nullptr);
    _exit(result & 0xFF);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cfg.LastPath = (dir / "last").string() + "/";
    fs::create_directories(dir / "last");
    fs::create_directories(dir / "other");
  }

  // The list as a start would have it: saved, then loaded back in date order.
  void Store(TAnniversaryList list) {
    ASSERT_TRUE(SaveData(list, paths, ui));
    ui = test::FakeUi{};
    anniversaries = list;
  }

  LocalDateTime FixedClock() {
    ++clockReadings;
    return {2026, 3, 7, 9, 5, 3};
  }
  ReadLocalClock Clock() {
    return [this] { return FixedClock(); };
  }

  test::TempDir dir;
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  test::FakeUi ui;
  TCfg cfg;
  TAnniversaryList anniversaries;
  int clockReadings = 0;

  TAnniversary anna = test::Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  TAnniversary ben = test::Record(KindWedding, 2001, 6, 15, "Ben & Carla", 3, DefaultReminder);
  TAnniversary eve = test::Record(KindHoliday, 1900, 12, 24, "Christmas Eve", 2, 14);
};

// --- Names ------------------------------------------------------------------------------

TEST(PadWithZeros, PutsZerosInFrontUpToTheWidthAndNeverCuts) {
  EXPECT_EQ(PadWithZeros(7, 2), "07");
  EXPECT_EQ(PadWithZeros(0, 2), "00");
  EXPECT_EQ(PadWithZeros(59, 2), "59");
  EXPECT_EQ(PadWithZeros(987, 4), "0987");
  EXPECT_EQ(PadWithZeros(12345, 4), "12345");
  EXPECT_EQ(PadWithZeros(5, 0), "5");
}

TEST(GetBackupFileName, StampsDateAndTimeWithEveryFieldPadded) {
  EXPECT_EQ(GetBackupFileName({2026, 3, 7, 9, 5, 3}), "2026-03-07@09-05-03 Jubilora Backup.jld");
  EXPECT_EQ(GetBackupFileName({987, 12, 31, 23, 59, 59}), "0987-12-31@23-59-59 Jubilora Backup.jld");
  EXPECT_EQ(GetBackupFileName({2025, 1, 1, 0, 0, 0}), "2025-01-01@00-00-00 Jubilora Backup.jld");
}

TEST(FolderWithSeparator, EndsWithOneSeparator) {
  EXPECT_EQ(FolderWithSeparator("/home/ann/backups/x.jld"), "/home/ann/backups/");
  EXPECT_EQ(FolderWithSeparator("/x.jld"), "/");
  EXPECT_EQ(FolderWithSeparator("x.jld"), "");
}

// --- Backup -------------------------------------------------------------------------------

TEST_F(FileCommandsTest, BackupOfAnEmptyListOnlyTellsThereIsNothingToBackup) {
  Store({});
  ui.answers = {1};
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ASSERT_EQ(ui.questions.size(), 1u);
  ExpectQuestion(ui.questions[0], BackupCaption, NothingToBackup, {"&OK"}, IconKind::Warning);
  EXPECT_TRUE(ui.saveDialogs.empty());
  EXPECT_TRUE(Entries(dir / "last").empty());
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
}

TEST_F(FileCommandsTest, BackupEndsOnAnyAnswerButProceed) {
  Store({anna});
  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    ui = test::FakeUi{};
    ui.answers = {answer};
    ui.files = {dir / "last" / "copy.jld"};
    BackupCommand(anniversaries, paths, cfg, ui, Clock());
    ASSERT_EQ(ui.questions.size(), 1u);
    ExpectQuestion(ui.questions[0], BackupCaption, BackupQuestion, {"&Proceed", "&Cancel"}, IconKind::Question);
    EXPECT_TRUE(ui.saveDialogs.empty());
  }
  EXPECT_TRUE(Entries(dir / "last").empty());
  EXPECT_EQ(clockReadings, 0);
}

TEST_F(FileCommandsTest, BackupDialogIsPreparedAndCancellingItWritesNothing) {
  Store({anna});
  ui.answers = {1};
  ui.files = {std::nullopt};
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  const FileDialogOptions& dialog = ui.saveDialogs[0];
  EXPECT_EQ(dialog.title, "Backup Your Data");
  EXPECT_EQ(dialog.filter, "Jubilora Data (*.jld)");
  EXPECT_EQ(dialog.filterIndex, 1);
  EXPECT_EQ(dialog.defaultSuffix, "jld");
  EXPECT_EQ(dialog.initialFolder, (dir / "last").string() + "/");
  EXPECT_EQ(dialog.initialName, "2026-03-07@09-05-03 Jubilora Backup.jld");
  EXPECT_EQ(clockReadings, 1);
  EXPECT_TRUE(Entries(dir / "last").empty());
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FileCommandsTest, BackupNameComesFromOneReadingOfTheClock) {
  Store({anna});
  // The first reading is the last second of a year; any later one is in the next year.
  int readings = 0;
  const ReadLocalClock clock = [&readings]() -> LocalDateTime {
    return ++readings == 1 ? LocalDateTime{2025, 12, 31, 23, 59, 59} : LocalDateTime{2026, 1, 1, 0, 0, 0};
  };
  ui.answers = {1};
  BackupCommand(anniversaries, paths, cfg, ui, clock);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].initialName, "2025-12-31@23-59-59 Jubilora Backup.jld");
  EXPECT_EQ(readings, 1);
}

TEST_F(FileCommandsTest, BackupIsTheDataFileByteForByteAndRemembersItsFolder) {
  // Odd padding and a damaged length byte: the file is copied, not re-encoded.
  TAnniversary odd = ben;
  odd.Padding1.fill(0xAB);
  odd.Padding2 = {1, 2, 3};
  Store({anna, odd, eve});
  const std::string data = test::ReadBytes(paths.data);
  const fs::path chosen = dir / "other" / "mine.jld";
  ui.answers = {1};
  ui.files = {chosen};
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(chosen), data);
  EXPECT_EQ(cfg.LastPath, (dir / "other").string() + "/");
  EXPECT_EQ(Entries(dir / "other"), std::set<std::string>{"mine.jld"});
  EXPECT_EQ(ui.redraws, 0);

  // Restoring it right away gives the same list.
  const TAnniversaryList before = anniversaries;
  ui = test::FakeUi{};
  ui.answers = {1, 1};
  ui.files = {chosen};
  RestoreCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(anniversaries.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(SameBytes(anniversaries[i], before[i])) << i;
}

TEST_F(FileCommandsTest, BackupReplacesAnExistingFileWhole) {
  Store({anna});
  const fs::path chosen = dir / "other" / "old.jld";
  test::WriteBytes(chosen, std::string(1000, 'x'));
  ui.answers = {1};
  ui.files = {chosen};
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  EXPECT_EQ(test::ReadBytes(chosen), test::ReadBytes(paths.data));
}

TEST_F(FileCommandsTest, BackupWithoutADataFileReportsTheFailureAndKeepsLastPath) {
  // Loaded from the automatic backup, nothing saved since: there is no data file to copy.
  test::WriteBytes(paths.backup, EncodeRecords({anna}));
  ASSERT_FALSE(LoadData(paths, anniversaries).has_value());
  ui.answers = {1};
  ui.files = {dir / "other" / "mine.jld"};
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find(paths.data.string()), std::string::npos) << ui.errors[0];
  EXPECT_NE(ui.errors[0].find("No such file or directory"), std::string::npos) << ui.errors[0];
  EXPECT_TRUE(Entries(dir / "other").empty());
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
}

TEST_F(FileCommandsTest, BackupOntoTheDataFileItselfIsRefused) {
  Store({anna, eve});
  const std::string data = test::ReadBytes(paths.data);
  ui.answers = {1};
  ui.files = {paths.data};
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find("onto itself"), std::string::npos) << ui.errors[0];
  EXPECT_EQ(test::ReadBytes(paths.data), data);
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
}

TEST_F(FileCommandsTest, BackupThatFailsPartWayLeavesTheOldFileAsItWas) {
  TAnniversaryList many(200, anna);  // 14400 bytes, more than the child may write
  Store(many);
  const fs::path chosen = dir / "other" / "old.jld";
  const std::string old(500, 'o');
  test::WriteBytes(chosen, old);
  const int result = RunWithFileSizeLimit(4096, [&] {
    ui.answers = {1};
    ui.files = {chosen};
    BackupCommand(anniversaries, paths, cfg, ui, Clock());
    if (ui.errors.size() != 1) return 1;
    if (ui.errors[0].find("File too large") == std::string::npos) return 2;
    if (cfg.LastPath != (dir / "last").string() + "/") return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(chosen), old);
  EXPECT_EQ(Entries(dir / "other"), std::set<std::string>{"old.jld"});
}

// --- Restore ------------------------------------------------------------------------------

TEST_F(FileCommandsTest, RestoreEndsOnCancelCloseBoxOrBusy) {
  Store({anna});
  for (const int answer : {3, 0, -1}) {
    SCOPED_TRACE(answer);
    ui = test::FakeUi{};
    ui.answers = {answer};
    RestoreCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(ui.questions.size(), 1u);
    ExpectQuestion(ui.questions[0], RestoreCaption, RestoreQuestion,
                   {"Use &My Backup File", "Use &Autobackup File", "&Cancel"}, IconKind::Question);
    EXPECT_TRUE(ui.openDialogs.empty());
  }
}

TEST_F(FileCommandsTest, RestoreFromOwnBackupOpensInLastPathOnTheDataEntry) {
  Store({anna});
  ui.answers = {1};
  ui.files = {std::nullopt};
  RestoreCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  const FileDialogOptions& dialog = ui.openDialogs[0];
  EXPECT_EQ(dialog.title, "");
  EXPECT_EQ(dialog.filter, RestSyncFilter);
  EXPECT_EQ(dialog.filterIndex, 1);
  EXPECT_EQ(dialog.defaultSuffix, "jld");
  EXPECT_EQ(dialog.initialFolder, (dir / "last").string() + "/");
  EXPECT_EQ(dialog.initialName, "");
  // Cancelled: nothing more is asked and nothing changes.
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.redraws, 0);
  EXPECT_EQ(Descriptions(anniversaries), std::vector<std::string>{"Anna"});
}

TEST_F(FileCommandsTest, RestoreFromAutoBackupOpensOnTheAutoBackupFile) {
  Store({anna});
  ui.answers = {2};
  ui.files = {std::nullopt};
  RestoreCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  const FileDialogOptions& dialog = ui.openDialogs[0];
  EXPECT_EQ(dialog.title, "");
  EXPECT_EQ(dialog.filter, RestSyncFilter);
  EXPECT_EQ(dialog.filterIndex, 2);
  EXPECT_EQ(dialog.defaultSuffix, "jlb");
  EXPECT_EQ(dialog.initialFolder, "");
  EXPECT_EQ(dialog.initialName, paths.backup.string());
}

TEST_F(FileCommandsTest, RestoreOverRecordsAsksFirstAndAnyAnswerButYesChangesNothing) {
  Store({anna, eve});
  const std::string data = test::ReadBytes(paths.data);
  const fs::path chosen = dir / "other" / "backup.jld";
  test::WriteBytes(chosen, EncodeRecords({ben}));
  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    ui = test::FakeUi{};
    ui.answers = {1, answer};
    ui.files = {chosen};
    RestoreCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(ui.questions.size(), 2u);
    ExpectQuestion(ui.questions[1], ConfirmCaption, ConfirmQuestion, {"&Yes, overwrite", "&No, abort restoration"},
                   IconKind::Question);
    EXPECT_EQ(test::ReadBytes(paths.data), data);
    EXPECT_EQ(Descriptions(anniversaries), (std::vector<std::string>{"Anna", "Christmas Eve"}));
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
  }
}

TEST_F(FileCommandsTest, RestoreOfOwnBackupReplacesDataReloadsAndRemembersTheFolder) {
  Store({anna});
  Store({anna, eve});  // a second save: the automatic backup now holds {anna}
  const std::string autoBackup = test::ReadBytes(paths.backup);
  const fs::path chosen = dir / "other" / "backup.jld";
  const std::string restored = EncodeRecords({eve, ben});  // not in date order on disk
  test::WriteBytes(chosen, restored);

  ui.answers = {1, 1};
  ui.files = {chosen};
  RestoreCommand(anniversaries, paths, cfg, ui);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(paths.data), restored);
  EXPECT_EQ(test::ReadBytes(paths.backup), autoBackup);
  EXPECT_EQ(Descriptions(anniversaries), (std::vector<std::string>{"Ben & Carla", "Christmas Eve"}));
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_EQ(cfg.LastPath, (dir / "other").string() + "/");
  EXPECT_EQ(test::ReadBytes(chosen), restored);
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"jubilora.jld", "jubilora.jlb", "last", "other"}));
}

TEST_F(FileCommandsTest, RestoreIntoAnEmptyListAsksNoConfirmation) {
  Store({});
  const fs::path chosen = dir / "other" / "backup.jld";
  test::WriteBytes(chosen, EncodeRecords({ben}));
  ui.answers = {1};
  ui.files = {chosen};
  RestoreCommand(anniversaries, paths, cfg, ui);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(Descriptions(anniversaries), std::vector<std::string>{"Ben & Carla"});
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(FileCommandsTest, RestoreFromTheAutoBackupLeavesItAndLastPathAsTheyWere) {
  Store({anna});
  Store({anna, eve});
  const std::string autoBackup = test::ReadBytes(paths.backup);
  ui.answers = {2, 1};
  ui.files = {paths.backup};
  RestoreCommand(anniversaries, paths, cfg, ui);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(paths.data), autoBackup);
  EXPECT_EQ(test::ReadBytes(paths.backup), autoBackup);
  EXPECT_EQ(Descriptions(anniversaries), std::vector<std::string>{"Anna"});
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(FileCommandsTest, RestoreOfAnEmptyFileEmptiesTheListAfterTheConfirmation) {
  Store({anna, eve});
  const fs::path chosen = dir / "other" / "empty.jld";
  test::WriteBytes(chosen, "");
  ui.answers = {1, 1};
  ui.files = {chosen};
  RestoreCommand(anniversaries, paths, cfg, ui);
  EXPECT_EQ(ui.questions.size(), 2u);
  EXPECT_TRUE(anniversaries.empty());
  EXPECT_EQ(test::ReadBytes(paths.data), "");
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(FileCommandsTest, RestoreOfTheDataFileOntoItselfFailsAndChangesNothing) {
  Store({anna});
  Store({anna, eve});
  const std::string data = test::ReadBytes(paths.data);
  const std::string autoBackup = test::ReadBytes(paths.backup);
  // The same file by its own name and by a second hard link to it.
  const fs::path link = dir / "other" / "same.jld";
  fs::create_hard_link(paths.data, link);
  for (const fs::path& chosen : {paths.data, link}) {
    SCOPED_TRACE(chosen);
    ui = test::FakeUi{};
    ui.answers = {1, 1};
    ui.files = {chosen};
    RestoreCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("onto itself"), std::string::npos) << ui.errors[0];
    EXPECT_EQ(test::ReadBytes(paths.data), data);
    EXPECT_EQ(test::ReadBytes(paths.backup), autoBackup);
    EXPECT_EQ(Descriptions(anniversaries), (std::vector<std::string>{"Anna", "Christmas Eve"}));
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
  }
}

TEST_F(FileCommandsTest, RestoreOfAnUnreadableFileLeavesEverythingAsItWas) {
  Store({anna});
  const std::string data = test::ReadBytes(paths.data);
  ui.answers = {1, 1};
  ui.files = {dir / "other"};  // a folder: it opens, but cannot be read
  RestoreCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find("Is a directory"), std::string::npos) << ui.errors[0];
  EXPECT_EQ(test::ReadBytes(paths.data), data);
  EXPECT_EQ(Descriptions(anniversaries), std::vector<std::string>{"Anna"});
  EXPECT_EQ(ui.redraws, 0);
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
}

TEST_F(FileCommandsTest, RestoreThatFailsPartWayLeavesTheDataFileAsItWas) {
  Store({anna});
  const std::string data = test::ReadBytes(paths.data);
  const fs::path chosen = dir / "other" / "big.jld";
  test::WriteBytes(chosen, EncodeRecords(TAnniversaryList(200, ben)));
  const int result = RunWithFileSizeLimit(4096, [&] {
    ui.answers = {1, 1};
    ui.files = {chosen};
    RestoreCommand(anniversaries, paths, cfg, ui);
    if (ui.errors.size() != 1 || ui.errors[0].find("File too large") == std::string::npos) return 1;
    if (ui.redraws != 0 || anniversaries.size() != 1) return 2;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(paths.data), data);
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"jubilora.jld", "last", "other"}));
}

TEST_F(FileCommandsTest, RestoreCreatesAMissingDataFolder) {
  // The per-user layout before the first save.
  const DataPaths fresh{dir / "data" / "jubilora" / "jubilora.jld", dir / "data" / "jubilora" / "jubilora.jlb"};
  const fs::path chosen = dir / "other" / "backup.jld";
  test::WriteBytes(chosen, EncodeRecords({ben}));
  ui.answers = {1};
  ui.files = {chosen};
  RestoreCommand(anniversaries, fresh, cfg, ui);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(fresh.data), test::ReadBytes(chosen));
  EXPECT_EQ(Descriptions(anniversaries), std::vector<std::string>{"Ben & Carla"});
}

// --- Synchronize --------------------------------------------------------------------------

TEST_F(FileCommandsTest, SynchronizeEndsOnAnyAnswerButProceed) {
  Store({anna});
  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    ui = test::FakeUi{};
    ui.answers = {answer};
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(ui.questions.size(), 1u);
    ExpectQuestion(ui.questions[0], SynchronizeCaption, SynchronizeQuestion, {"&Proceed", "&Cancel"},
                   IconKind::Information);
    EXPECT_TRUE(ui.openDialogs.empty());
  }
}

TEST_F(FileCommandsTest, SynchronizeDialogIsPreparedAndCancellingItChangesNothing) {
  Store({anna});
  const std::string data = test::ReadBytes(paths.data);
  ui.answers = {1};
  ui.files = {std::nullopt};
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  const FileDialogOptions& dialog = ui.openDialogs[0];
  EXPECT_EQ(dialog.title, "");
  EXPECT_EQ(dialog.filter, RestSyncFilter);
  EXPECT_EQ(dialog.filterIndex, 1);
  EXPECT_EQ(dialog.defaultSuffix, "jld");
  EXPECT_EQ(dialog.initialFolder, (dir / "last").string() + "/");
  EXPECT_EQ(dialog.initialName, "");
  EXPECT_EQ(test::ReadBytes(paths.data), data);
  EXPECT_FALSE(fs::exists(paths.backup));
  EXPECT_EQ(ui.redraws, 0);
}

TEST_F(FileCommandsTest, SynchronizeMergesSortsSavesAndRedrawsButKeepsLastPath) {
  Store({eve, anna});
  const fs::path chosen = dir / "other" / "laptop.jld";
  TAnniversary sample = test::Record(KindNameDay, 1980, 3, 19, "Joseph", SampleImportance, 3);
  const std::string source = EncodeRecords({ben, sample, anna});
  test::WriteBytes(chosen, source);
  const std::string before = test::ReadBytes(paths.data);

  ui.answers = {1};
  ui.files = {chosen};
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Descriptions(anniversaries), (std::vector<std::string>{"Joseph", "Anna", "Ben & Carla", "Christmas Eve"}));
  EXPECT_EQ(anniversaries[0].Importance, SampleImportance);
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(test::ReadBytes(paths.backup), before);
  EXPECT_EQ(test::ReadBytes(chosen), source);
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_EQ(cfg.LastPath, (dir / "last").string() + "/");
}

TEST_F(FileCommandsTest, SynchronizeWithAnEmptyFileStillCleansSavesAndRedraws) {
  // Duplicates the data already held are merged too.
  Store({anna, eve, anna});
  const std::string before = test::ReadBytes(paths.data);
  const fs::path chosen = dir / "other" / "empty.jld";
  test::WriteBytes(chosen, "");
  ui.answers = {1};
  ui.files = {chosen};
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  EXPECT_EQ(Descriptions(anniversaries), (std::vector<std::string>{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(test::ReadBytes(paths.backup), before);
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(FileCommandsTest, SynchronizeWithACopyOfTheDataChangesNoRecord) {
  Store({anna, ben, eve});
  const TAnniversaryList before = anniversaries;
  const fs::path chosen = dir / "other" / "copy.jld";
  fs::copy_file(paths.data, chosen);
  ui.answers = {1};
  ui.files = {chosen};
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(anniversaries.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(SameBytes(anniversaries[i], before[i])) << i;
}

TEST_F(FileCommandsTest, SynchronizeMergesDuplicatesThatATiedRecordKeepsApart) {
  // Differs from Anna only in the year, or only in letter case: it ties with her in the
  // date order, so the sort may leave it between Anna and her copy.
  TAnniversary otherYear = anna;
  otherYear.Date = DayFromCivil(1985, 5, 1);
  TAnniversary otherCase = anna;
  otherCase.SetDescription("ANNA");
  for (const TAnniversary& tied : {otherYear, otherCase}) {
    SCOPED_TRACE(tied.Description());
    Store({anna, tied});
    const fs::path chosen = dir / "other" / "anna.jld";
    test::WriteBytes(chosen, EncodeRecords({anna}));

    // The situation this is about: after the sort the two Annas are not neighbours.
    TAnniversaryList sorted = anniversaries;
    sorted.push_back(anna);
    SortByDate(sorted, -1);
    ASSERT_FALSE(SameAnniversary(sorted[0], sorted[1]) || SameAnniversary(sorted[1], sorted[2]));

    ui.answers = {1};
    ui.files = {chosen};
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(anniversaries.size(), 2u);
    const int annas = SameAnniversary(anniversaries[0], anna) + SameAnniversary(anniversaries[1], anna);
    const int tieds = SameAnniversary(anniversaries[0], tied) + SameAnniversary(anniversaries[1], tied);
    EXPECT_EQ(annas, 1);
    EXPECT_EQ(tieds, 1);
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  }
}

TEST_F(FileCommandsTest, SynchronizeWithAFileWhoseLastReadFailsChangesNothing) {
  Store({anna});
  Store({anna, eve});
  const std::string data = test::ReadBytes(paths.data);
  const std::string autoBackup = test::ReadBytes(paths.backup);
  const fs::path chosen = dir / "other" / "failing.jld";
  // Large enough to need several reads; the last one fails.
  const std::size_t size = 2000 * RecordSize;
  test::WriteBytes(chosen, EncodeRecords(TAnniversaryList(2000, ben)));

  const test::ReadFault fault(chosen, size - RecordSize);
  ui.answers = {1};
  ui.files = {chosen};
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(fault.Failures(), 1);
  EXPECT_EQ(fault.BytesDelivered(), size - RecordSize);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find(chosen.string()), std::string::npos) << ui.errors[0];
  EXPECT_NE(ui.errors[0].find("Input/output error"), std::string::npos) << ui.errors[0];
  EXPECT_EQ(Descriptions(anniversaries), (std::vector<std::string>{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), data);
  EXPECT_EQ(test::ReadBytes(paths.backup), autoBackup);
  EXPECT_EQ(ui.redraws, 0);
}

TEST_F(FileCommandsTest, SynchronizeWithAFileItMayNotReadChangesNothing) {
  test::GiveToNobody(dir.path());
  Store({anna});
  const fs::path chosen = dir / "other" / "secret.jld";
  test::WriteBytes(chosen, EncodeRecords({ben}));
  ASSERT_EQ(chmod(chosen.c_str(), 0), 0);
  const int result = test::RunAsNobody([&] {
    ui.answers = {1};
    ui.files = {chosen};
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    if (ui.errors.size() != 1 || ui.errors[0].find("Permission denied") == std::string::npos) return 1;
    if (anniversaries.size() != 1 || ui.redraws != 0) return 2;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(paths.backup));
}

// --- Duplicates -----------------------------------------------------------------------------

TEST(SameAnniversary, ComparesTheFiveFieldsOnly) {
  const TAnniversary anna = test::Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  TAnniversary same = anna;
  same.Padding1.fill(9);
  same.Padding2.fill(9);
  same.DescriptionChars[10] = 'z';  // beyond the length
  EXPECT_TRUE(SameAnniversary(anna, same));

  TAnniversary other = anna;
  other.Date = DayFromCivil(1991, 5, 1);
  EXPECT_FALSE(SameAnniversary(anna, other));
  other = anna;
  other.SetDescription("anna");
  EXPECT_FALSE(SameAnniversary(anna, other));
  other = anna;
  other.Kind = KindNameDay;
  EXPECT_FALSE(SameAnniversary(anna, other));
  other = anna;
  other.Importance = SampleImportance;
  EXPECT_FALSE(SameAnniversary(anna, other));
  other = anna;
  other.ReminderDays = DefaultReminder;
  EXPECT_FALSE(SameAnniversary(anna, other));
  other = anna;
  other.SetDescription("Anna ");
  EXPECT_FALSE(SameAnniversary(anna, other));
}

TEST(RemoveDuplicates, KeepsTheFirstOfEachGroupWhereverTheCopiesStand) {
  const TAnniversary anna = test::Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  const TAnniversary ben = test::Record(KindWedding, 2001, 6, 15, "Ben", 3, 7);
  TAnniversary annaCopy = anna;
  annaCopy.Padding2 = {7, 7, 7};
  TAnniversaryList list{anna, ben, annaCopy, ben, anna};
  RemoveDuplicates(list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(SameBytes(list[0], anna));  // the first one, not the copy with other padding
  EXPECT_TRUE(SameBytes(list[1], ben));
}

}  // namespace
}  // namespace jubilora
