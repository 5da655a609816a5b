// Synchronize: merging another file of records into the list.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/ordering.h"
#include "data/command_fixture.h"
#include "data/file_commands.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using SynchronizeTest = test::FileCommandsFixture;

TEST_F(SynchronizeTest, EndsOnAnyAnswerButProceedOrWhenTheDialogIsCancelled) {
  Store({anna});
  const State before = Now();
  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    Script({answer});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    test::ExpectLastQuestion(ui, 1, "Synchronize Data", IconKind::Information);
    EXPECT_TRUE(ui.openDialogs.empty());
  }

  Script({1}, {std::nullopt});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  test::ExpectDialog(ui.openDialogs[0], {"", test::RestSyncFilter, "jld", lastPath, "", 1});
  ExpectNothingChanged(before);
}

TEST_F(SynchronizeTest, MergesDropsDuplicatesSortsSavesAndRedrawsButKeepsLastPath) {
  const TAnniversary sample = test::Record(KindNameDay, 1980, 3, 19, "Joseph", SampleImportance, 3);
  struct Case {
    TAnniversaryList stored;
    std::string source;
    TAnniversaryList expected;
  };
  const std::vector<Case> cases = {
      // A sample stays a sample.
      {{eve, anna}, EncodeRecords({ben, sample, anna}), {sample, anna, ben, eve}},
      // An empty file still cleans the duplicates the data held, saves and redraws.
      {{anna, eve, anna}, "", {anna, eve}},
      {{anna, ben, eve}, EncodeRecords({anna, ben, eve}), {anna, ben, eve}},
  };
  for (const Case& c : cases) {
    Store(c.stored);
    const std::string before = test::ReadBytes(paths.data);
    const fs::path chosen = OtherFile("laptop.jld", c.source);
    Script({1}, {chosen});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    EXPECT_TRUE(ui.errors.empty());
    test::ExpectSameRecords(anniversaries, c.expected);
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
    EXPECT_EQ(test::ReadBytes(paths.backup), before);
    EXPECT_EQ(test::ReadBytes(chosen), c.source);
    EXPECT_EQ(ui.redraws, 1);
    EXPECT_EQ(cfg.LastPath, lastPath);
  }
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
