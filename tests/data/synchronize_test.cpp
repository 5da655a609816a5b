// Synchronize: merging another file of records into the list.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/ordering.h"
#include "data/command_fixture.h"
#include "data/file_commands.h"
#include "data/read_fault.h"
#include "support/privileges.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::ExpectQuestion;
using test::RestSyncFilter;
using SynchronizeTest = test::FileCommandsFixture;

const std::string SynchronizeCaption = "Synchronize Data";
const std::string SynchronizeQuestion =
    "Please select a backup file to synchronize\r\nyour data with.\r\n\r\n"
    "Please note that data from the file you\r\nselect will be added to your current data\r\n"
    "file. Selected file will remain the same.";

TEST_F(SynchronizeTest, EndsOnAnyAnswerButProceed) {
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

TEST_F(SynchronizeTest, DialogIsPreparedAndCancellingItChangesNothing) {
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

TEST_F(SynchronizeTest, MergesSortsSavesAndRedrawsButKeepsLastPath) {
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

TEST_F(SynchronizeTest, WithAnEmptyFileStillCleansSavesAndRedraws) {
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

TEST_F(SynchronizeTest, WithACopyOfTheDataChangesNoRecord) {
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

TEST_F(SynchronizeTest, MergesDuplicatesThatATiedRecordKeepsApart) {
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

TEST_F(SynchronizeTest, WithAFileWhoseLastReadFailsChangesNothing) {
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

TEST_F(SynchronizeTest, WithAFileItMayNotReadChangesNothing) {
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
