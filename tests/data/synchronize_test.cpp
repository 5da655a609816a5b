// Synchronize: merging another file of records into the list.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/ordering.h"
#include "data/command_fixture.h"
#include "data/file_commands.h"
#include "data/read_fault.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Names;
using SynchronizeTest = test::FileCommandsFixture;

TEST_F(SynchronizeTest, EndsOnAnyAnswerButProceedOrWhenTheDialogIsCancelled) {
  Store({anna});
  const State before = Now();
  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    Script({answer});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    test::ExpectLastQuestion(ui, 1, "Synchronize Data",
                             "Please select a backup file to synchronize\r\nyour data with.\r\n\r\n"
                             "Please note that data from the file you\r\nselect will be added to your current "
                             "data\r\nfile. Selected file will remain the same.",
                             {"&Proceed", "&Cancel"}, IconKind::Information);
    EXPECT_TRUE(ui.openDialogs.empty());
  }

  Script({1}, {std::nullopt});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  test::ExpectDialog(ui.openDialogs[0], {"", test::RestSyncFilter, "jld", lastPath, "", 1});
  ExpectNothingChanged(before);
}

TEST_F(SynchronizeTest, MergesSortsSavesAndRedrawsButKeepsLastPath) {
  Store({eve, anna});
  const TAnniversary sample = test::Record(KindNameDay, 1980, 3, 19, "Joseph", SampleImportance, 3);
  const std::string source = EncodeRecords({ben, sample, anna});
  const fs::path chosen = OtherFile("laptop.jld", source);
  const std::string before = test::ReadBytes(paths.data);

  Script({1}, {chosen});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Joseph", "Anna", "Ben & Carla", "Christmas Eve"}));
  EXPECT_EQ(anniversaries[0].Importance, SampleImportance);
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(test::ReadBytes(paths.backup), before);
  EXPECT_EQ(test::ReadBytes(chosen), source);
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_EQ(cfg.LastPath, lastPath);
}

TEST_F(SynchronizeTest, WithAnEmptyFileStillCleansSavesAndRedraws) {
  // Duplicates the data already held are merged too.
  Store({anna, eve, anna});
  const std::string before = test::ReadBytes(paths.data);
  Script({1}, {OtherFile("empty.jld", "")});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(test::ReadBytes(paths.backup), before);
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(SynchronizeTest, WithACopyOfTheDataChangesNoRecord) {
  Store({anna, ben, eve});
  const TAnniversaryList before = anniversaries;
  Script({1}, {OtherFile("copy.jld", test::ReadBytes(paths.data))});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  test::ExpectSameRecords(anniversaries, before);
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
    const fs::path chosen = OtherFile("anna.jld", EncodeRecords({anna}));

    // The situation this is about: after the sort the two Annas are not neighbours.
    TAnniversaryList sorted = anniversaries;
    sorted.push_back(anna);
    SortByDate(sorted, -1);
    ASSERT_FALSE(SameAnniversary(sorted[0], sorted[1]) || SameAnniversary(sorted[1], sorted[2]));

    Script({1}, {chosen});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(anniversaries.size(), 2u);
    EXPECT_EQ(SameAnniversary(anniversaries[0], anna) + SameAnniversary(anniversaries[1], anna), 1);
    EXPECT_EQ(SameAnniversary(anniversaries[0], tied) + SameAnniversary(anniversaries[1], tied), 1);
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  }
}

TEST_F(SynchronizeTest, WithAFileWhoseLastReadFailsChangesNothing) {
  Store({anna});
  Store({anna, eve});
  const State before = Now();
  // Large enough to need several reads; the last one fails.
  const std::size_t size = 2000 * RecordSize;
  const fs::path chosen = OtherFile("failing.jld", EncodeRecords(TAnniversaryList(2000, ben)));

  const test::ReadFault fault(chosen, size - RecordSize);
  Script({1}, {chosen});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(fault.Failures(), 1);
  EXPECT_EQ(fault.BytesDelivered(), size - RecordSize);
  test::ExpectOneError(ui, {chosen.string(), "Input/output error"});
  ExpectNothingChanged(before);
}

// --- Duplicates -----------------------------------------------------------------------------

// Both ways of telling duplicates apart must agree: the comparison and the removal.
TEST(Duplicates, AreEqualInTheFiveFieldsOnlyAndTheFirstOfThemIsKept) {
  const TAnniversary anna = test::Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  const TAnniversary ben = test::Record(KindWedding, 2001, 6, 15, "Ben", 3, 7);
  TAnniversary same = anna;
  same.Padding1.fill(9);
  same.Padding2.fill(9);
  same.DescriptionChars[10] = 'z';  // beyond the length
  EXPECT_TRUE(SameAnniversary(anna, same));
  TAnniversaryList list{anna, ben, same, ben, anna};
  RemoveDuplicates(list);
  test::ExpectSameRecords(list, {anna, ben});  // the first Anna, not the copy with other padding

  const std::vector<std::function<void(TAnniversary&)>> changes = {
      [](TAnniversary& r) { r.Date = DayFromCivil(1991, 5, 1); },
      [](TAnniversary& r) { r.SetDescription("anna"); },
      [](TAnniversary& r) { r.SetDescription("Anna "); },
      [](TAnniversary& r) { r.Kind = KindNameDay; },
      [](TAnniversary& r) { r.Importance = SampleImportance; },
      [](TAnniversary& r) { r.ReminderDays = DefaultReminder; },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(i);
    TAnniversary other = anna;
    changes[i](other);
    EXPECT_FALSE(SameAnniversary(anna, other));
    TAnniversaryList pair{anna, other};
    RemoveDuplicates(pair);
    EXPECT_EQ(pair.size(), 2u);
  }
}

}  // namespace
}  // namespace jubilora
