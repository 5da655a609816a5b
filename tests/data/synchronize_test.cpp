// Synchronize: merging another file of records into the list.

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "data/command_fixture.h"
#include "data/file_commands.h"

namespace jubilora {
namespace {

using SynchronizeTest = test::FileCommandsFixture;

// The records as 72-byte blocks in byte order, so that lists compare whatever their order.
std::vector<std::string> Blocks(const TAnniversaryList& list) {
  std::vector<std::string> blocks;
  for (const auto& record : list) blocks.push_back(EncodeRecords({record}));
  std::sort(blocks.begin(), blocks.end());
  return blocks;
}

TEST_F(SynchronizeTest, AnyAnswerButProceedOrACancelledDialogChangesNothing) {
  Store({anna});
  const State before = Now();
  for (const int answer : {2, 0, -1}) {
    Script({answer});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    test::ExpectLastQuestion(ui, 1, "Synchronize Data", IconKind::Information);
    EXPECT_TRUE(ui.openDialogs.empty()) << answer;
  }
  Script({1}, {std::nullopt});
  SynchronizeCommand(anniversaries, paths, cfg, ui);
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  test::ExpectDialog(ui.openDialogs[0], {"", test::RestSyncFilter, "jld", lastPath, "", 1});
  ExpectNothingChanged(before);
}

TEST_F(SynchronizeTest, MergesDropsDuplicatesWhereverTheyStandSavesAndRedraws) {
  const TAnniversary sample = test::Record(KindNameDay, 1980, 3, 19, "Joseph", SampleImportance, 3);
  // Differs from Anna only in letter case: it ties with her in the date order, so the sort
  // may leave it between Anna and her copy.
  TAnniversary shouting = anna;
  shouting.SetDescription("ANNA");
  const std::vector<std::tuple<TAnniversaryList, TAnniversaryList, TAnniversaryList>> cases = {
      {{eve, anna}, {ben, sample, anna}, {sample, anna, ben, eve}},  // a sample stays a sample
      {{anna, eve, anna}, {}, {anna, eve}},  // an empty file still cleans what the data held
      {{anna, ben, eve}, {anna, ben, eve}, {anna, ben, eve}},
      {{anna, shouting}, {anna}, {anna, shouting}},
  };
  for (const auto& [stored, source, expected] : cases) {
    Store(stored);
    const std::string before = test::ReadBytes(paths.data);
    const auto chosen = OtherFile("laptop.jld", EncodeRecords(source));
    Script({1}, {chosen});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(Blocks(anniversaries), Blocks(expected));
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
    EXPECT_EQ(test::ReadBytes(paths.backup), before);
    EXPECT_EQ(test::ReadBytes(chosen), EncodeRecords(source));
    EXPECT_EQ(ui.redraws, 1);
    EXPECT_EQ(cfg.LastPath, lastPath);
  }
}

// Duplicates are equal in the five fields only, and the first of them is kept.
TEST(Duplicates, AreEqualInTheFiveFieldsOnly) {
  const TAnniversary anna = test::Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  const TAnniversary ben = test::Record(KindWedding, 2001, 6, 15, "Ben", 3, 7);
  TAnniversary same = anna;
  same.Padding1.fill(9);
  same.Padding2.fill(9);
  same.DescriptionChars[10] = 'z';  // beyond the length
  TAnniversaryList list{anna, ben, same, ben, anna};
  RemoveDuplicates(list);
  test::ExpectSameRecords(list, {anna, ben});

  const std::vector<std::function<void(TAnniversary&)>> changes = {
      [](TAnniversary& r) { r.Date = DayFromCivil(1991, 5, 1); }, [](TAnniversary& r) { r.SetDescription("Anna "); },
      [](TAnniversary& r) { r.Kind = KindNameDay; },               [](TAnniversary& r) { r.Importance = 5; },
      [](TAnniversary& r) { r.ReminderDays = DefaultReminder; },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    TAnniversary other = anna;
    changes[i](other);
    TAnniversaryList pair{anna, other};
    RemoveDuplicates(pair);
    EXPECT_EQ(pair.size(), 2u) << i;
  }
}

}  // namespace
}  // namespace jubilora
