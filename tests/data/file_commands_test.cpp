#include "data/file_commands.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/command_fixture.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Entries;
using test::ExpectLastQuestion;
using test::ExpectOneError;
using test::Files;
using test::Names;
using FileCommandsTest = test::FileCommandsFixture;

const std::string BackupCaption = "Backup Your Data";

TEST(BackupNames, EveryFieldIsPaddedWithZerosAndNothingIsCut) {
  EXPECT_EQ(GetBackupFileName({987, 3, 7, 9, 5, 3}), "0987-03-07@09-05-03 Jubilora Backup.jld");
  EXPECT_EQ(PadWithZeros(12345, 4), "12345");
  EXPECT_EQ(FolderWithSeparator("/home/ann/backups/x.jld"), "/home/ann/backups/");
  EXPECT_EQ(FolderWithSeparator("x.jld"), "");
}

// --- Backup -------------------------------------------------------------------------------

TEST_F(FileCommandsTest, BackupEndsOnTheEmptyListNoticeAnyAnswerButProceedOrACancelledDialog) {
  Store({});
  Script({1});
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ExpectLastQuestion(ui, 1, BackupCaption, IconKind::Warning);

  Store({anna});
  for (const int answer : {2, 0, -1}) {
    Script({answer}, {dir / "last" / "copy.jld"});
    BackupCommand(anniversaries, paths, cfg, ui, Clock());
    ExpectLastQuestion(ui, 1, BackupCaption, IconKind::Question);
    EXPECT_TRUE(ui.saveDialogs.empty()) << answer;
  }
  EXPECT_EQ(clockReadings, 0);

  Script({1}, {std::nullopt});
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  // Started in the last second of a year: the name never mixes in the next year.
  test::ExpectDialog(ui.saveDialogs[0], {BackupCaption, "Jubilora Data (*.jld)", "jld", lastPath,
                                         "2025-12-31@23-59-59 Jubilora Backup.jld", 1});
  EXPECT_EQ(clockReadings, 1);
  EXPECT_TRUE(Entries(dir / "last").empty());
  EXPECT_EQ(cfg.LastPath, lastPath);
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FileCommandsTest, BackupIsTheDataFileByteForByteAndRemembersItsFolder) {
  // Odd padding: the file is copied, not re-encoded.
  TAnniversary odd = ben;
  odd.Padding1.fill(0xAB);
  odd.Padding2 = {1, 2, 3};
  Store({anna, odd, eve});
  const fs::path chosen = OtherFile("mine.jld", std::string(1000, 'x'));  // replaced whole
  Script({1}, {chosen});
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(chosen), test::ReadBytes(paths.data));
  EXPECT_EQ(cfg.LastPath, (dir / "other").string() + "/");
  EXPECT_EQ(Entries(dir / "other"), Files{"mine.jld"});
  EXPECT_EQ(ui.redraws, 0);

  // Restoring it right away gives the same list.
  const TAnniversaryList before = anniversaries;
  Script({1, 1}, {chosen});
  RestoreCommand(anniversaries, paths, cfg, ui);
  test::ExpectSameRecords(anniversaries, before);
}

TEST_F(FileCommandsTest, BackupThatCannotCopyIsReportedAndKeepsLastPath) {
  // Loaded from the automatic backup, nothing saved since: there is no data file to copy.
  test::WriteBytes(paths.backup, EncodeRecords({anna}));
  ASSERT_FALSE(LoadData(paths, anniversaries).has_value());
  Script({1}, {dir / "other" / "mine.jld"});
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  ExpectOneError(ui, {paths.data.string(), "No such file or directory"});
  EXPECT_TRUE(Entries(dir / "other").empty());
  EXPECT_EQ(cfg.LastPath, lastPath);

  // Onto the data file itself, which a plain copy would first empty, or the automatic
  // backup, which the next save would rotate away.
  Store({anna, eve});
  Store({anna, eve});
  const State before = Now();
  for (const fs::path& own : {paths.data, paths.backup}) {
    Script({1}, {own});
    BackupCommand(anniversaries, paths, cfg, ui, Clock());
    ExpectOneError(ui, {own.string(), "one of Jubilora's own files"});
    ExpectNothingChanged(before);
  }
}

// --- Restore ------------------------------------------------------------------------------

TEST_F(FileCommandsTest, RestoreEndsOnCancelACancelledDialogOrAnyAnswerButYesToOverwriting) {
  Store({anna});
  const State before = Now();
  for (const int answer : {3, 0, -1}) {
    SCOPED_TRACE(answer);
    Script({answer});
    RestoreCommand(anniversaries, paths, cfg, ui);
    ExpectLastQuestion(ui, 1, "Restore Your Data", IconKind::Question);
    EXPECT_TRUE(ui.openDialogs.empty());
  }

  // Own backup: in LastPath on the data entry; automatic backup: on its file and entry.
  const std::vector<std::pair<int, FileDialogOptions>> dialogs = {
      {1, {"", test::RestSyncFilter, "jld", lastPath, "", 1}},
      {2, {"", test::RestSyncFilter, "jlb", "", paths.backup.string(), 2}}};
  for (const auto& [answer, expected] : dialogs) {
    SCOPED_TRACE(answer);
    Script({answer}, {std::nullopt});
    RestoreCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(ui.openDialogs.size(), 1u);
    test::ExpectDialog(ui.openDialogs[0], expected);
    EXPECT_EQ(ui.questions.size(), 1u);
    ExpectNothingChanged(before);
  }

  // Over records it asks first, and any answer but yes changes nothing.
  const fs::path chosen = OtherFile("backup.jld", EncodeRecords({ben}));
  for (const int answer : {2, 0, -1}) {
    Script({1, answer}, {chosen});
    RestoreCommand(anniversaries, paths, cfg, ui);
    ExpectLastQuestion(ui, 2, "Please Confirm Overwrite", IconKind::Question);
    ExpectNothingChanged(before);
  }
}

TEST_F(FileCommandsTest, RestoreReplacesTheDataFileReloadsAndLeavesTheAutoBackupAlone) {
  struct Case {
    int answer;
    std::string file;  // in "other"; none for the automatic backup
    std::string bytes;
    Names expected;
    std::string lastPathAfter;
  };
  const std::string other = (dir / "other").string() + "/";
  const std::vector<Case> cases = {
      {1, "backup.jld", EncodeRecords({eve, ben}), {"Ben & Carla", "Christmas Eve"}, other},  // not in date order
      {1, "empty.jld", "", {}, other},
      {2, "", "", {"Anna"}, lastPath},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    cfg.LastPath = lastPath;
    Store({anna});
    Store({anna, eve});  // a second save: the automatic backup now holds {anna}
    const std::string autoBackup = test::ReadBytes(paths.backup);
    const fs::path chosen = c.file.empty() ? paths.backup : OtherFile(c.file, c.bytes);
    const std::string restored = test::ReadBytes(chosen);

    Script({c.answer, 1}, {chosen});
    RestoreCommand(anniversaries, paths, cfg, ui);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(test::ReadBytes(paths.data), restored);
    EXPECT_EQ(test::ReadBytes(paths.backup), autoBackup);
    EXPECT_EQ(test::ReadBytes(chosen), restored);
    EXPECT_EQ(Descriptions(anniversaries), c.expected);
    EXPECT_EQ(ui.redraws, 1);
    // What follows the data file follows a restore too.
    ASSERT_EQ(ui.saved.size(), 1u);
    EXPECT_EQ(Descriptions(ui.saved[0]), c.expected);
    EXPECT_EQ(cfg.LastPath, c.lastPathAfter);
  }
  EXPECT_EQ(Entries(dir.path()), (Files{"jubilora.jld", "jubilora.jlb", "last", "other"}));
}

TEST_F(FileCommandsTest, RestoreIntoAnEmptyListAsksNoConfirmationAndCreatesAMissingDataFolder) {
  // The per-user layout before the first save.
  const DataPaths fresh{dir / "data" / "jubilora" / "jubilora.jld", dir / "data" / "jubilora" / "jubilora.jlb"};
  const fs::path chosen = OtherFile("backup.jld", EncodeRecords({ben}));
  Script({1, 2}, {chosen});
  RestoreCommand(anniversaries, fresh, cfg, ui);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(fresh.data), test::ReadBytes(chosen));
  EXPECT_EQ(Descriptions(anniversaries), Names{"Ben & Carla"});
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(FileCommandsTest, RestoreThatCannotCopyChangesNothing) {
  Store({anna});
  Store({anna, eve});
  const State before = Now();
  // The data file by its own name and by a second hard link; a folder opens but cannot be read.
  const fs::path link = dir / "other" / "same.jld";
  fs::create_hard_link(paths.data, link);
  const std::vector<std::pair<fs::path, std::string>> cases = {
      {paths.data, "the file being copied"}, {link, "the file being copied"}, {dir / "last", "Is a directory"}};
  for (const auto& [chosen, words] : cases) {
    SCOPED_TRACE(chosen);
    Script({1, 1}, {chosen});
    RestoreCommand(anniversaries, paths, cfg, ui);
    ExpectOneError(ui, {words});
    ExpectNothingChanged(before);
  }
}

}  // namespace
}  // namespace jubilora
