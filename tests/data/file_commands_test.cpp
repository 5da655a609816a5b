#include "data/file_commands.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/command_fixture.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Entries;
using test::ExpectQuestion;
using test::RestSyncFilter;
using FileCommandsTest = test::FileCommandsFixture;

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

}  // namespace
}  // namespace jubilora
