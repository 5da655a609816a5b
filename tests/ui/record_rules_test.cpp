#include "ui/record_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "support/records.h"

namespace jubilora {
namespace {

TEST(RecordKindRules, KindRuleTableAndStoredKinds) {
  // none, Birthday, Name Day, Wedding, Death, Holiday, Other
  const ElapsedYearsBox expected[] = {{true, false}, {true, false},  {false, false}, {true, false},
                                      {true, false}, {false, false}, {true, true}};
  for (int position = NoPosition; position < KindPositionCount; ++position) {
    EXPECT_EQ(KindRule(position), expected[position + 1]) << "position " << position;
  }
  // "Other Anniversaries" without elapsed years is kind 7; no other kind listens to the box.
  EXPECT_EQ(StoredKind(OtherKindPosition, false), KindOtherNoYears);
  for (int position = 0; position < OtherKindPosition; ++position) {
    EXPECT_EQ(StoredKind(position, true), StoredKind(position, false)) << position;
  }
  // Kinds past 7 open as kind 7; a zero kind opens with nothing selected.
  EXPECT_EQ(KindChoiceOf(200), (KindChoice{OtherKindPosition, true}));
  EXPECT_EQ(KindChoiceOf(0), (KindChoice{NoPosition, false}));
  for (std::uint8_t kind = 1; kind <= 7; ++kind) {
    const KindChoice choice = KindChoiceOf(kind);
    const bool elapsed = choice.clearElapsedYears ? false : KindRule(choice.position).ticked;
    EXPECT_EQ(StoredKind(choice.position, elapsed), kind) << "kind " << int{kind};
  }
}

TEST(RecordImportanceRules, MostImportantStandsFirstAndSamplesHaveNoPosition) {
  EXPECT_EQ(ImportancePositionOf(5), 0);
  EXPECT_EQ(ImportancePositionOf(SampleImportance), NoPosition);
  for (std::uint8_t importance = 0; importance <= 5; ++importance) {
    EXPECT_EQ(StoredImportance(ImportancePositionOf(importance)), importance);
  }
}

TEST(RecordDateRules, StoredDatesOpenWithinTheCalendarsRange) {
  const DayNumber fallback = DayFromCivil(2025, 1, 1);
  const DayNumber day = DayFromCivil(1975, 1, 31);
  EXPECT_EQ(EditorDay(day + 0.75, fallback), day);
  EXPECT_EQ(EditorDay(1e300, fallback), DayFromCivil(2199, 12, 31));
  EXPECT_EQ(EditorDay(-std::numeric_limits<double>::infinity(), fallback), DayFromCivil(1601, 1, 1));
  EXPECT_EQ(EditorDay(std::nan(""), fallback), fallback);
}

TEST(RecordDateRules, DateLabelAddsTheYearOnlyWithElapsedYears) {
  const DayNumber day = DayFromCivil(1975, 1, 31);
  EXPECT_EQ(DateLabelText(2, day, true), "January 31st, 1975");
  EXPECT_EQ(DateLabelText(2, day, false), "January 31st");
  EXPECT_EQ(DateLabelText(3, day, true), "31-JAN, 1975");
}

TEST(RecordCompleteness, FirstMissingItemInScreenOrder) {
  EXPECT_EQ(FirstMissing("", 0, 0), MissingItem::Description);
  EXPECT_EQ(FirstMissing("Anna", NoPosition, NoPosition), MissingItem::Kind);
  EXPECT_EQ(FirstMissing("Anna", 2, NoPosition), MissingItem::Importance);
  EXPECT_EQ(FirstMissing(" ", 2, 0), MissingItem::None);
}

EditorInput CompleteInput() {
  return {.description = "Anna", .date = DayFromCivil(1990, 5, 2), .kindPosition = 0, .elapsedYears = true,
          .importancePosition = 1, .useDefaultReminder = false, .reminderDays = 14};
}

TEST(RecordCommit, AddingAppendsOneZeroFilledRecord) {
  TAnniversaryList list{test::Record(KindHoliday, 2000, 12, 25, "Christmas")};
  EXPECT_EQ(CommitInput(CompleteInput(), list, true, 0), 1);
  ASSERT_EQ(list.size(), 2u);
  // Every byte besides the five fields stays zero.
  EXPECT_TRUE(SameBytes(list[1], test::Record(KindBirthday, 1990, 5, 2, "Anna", 4, 14)));
  EXPECT_EQ(list[0].Description(), "Christmas");
}

TEST(RecordCommit, EditingOverwritesOnlyTheEditedRecordCutToFiftyCharacters) {
  TAnniversaryList list{test::Record(KindHoliday, 2000, 12, 25, "Christmas"),
                        test::Record(KindNameDay, 2000, 7, 26, "Anna", SampleImportance, 3)};
  list[1].Padding2 = {1, 2, 3};
  EditorInput input = CompleteInput();
  input.description = std::string(50, 'x') + "yz";
  input.useDefaultReminder = true;
  EXPECT_EQ(CommitInput(input, list, false, 1), 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Description(), std::string(50, 'x'));
  EXPECT_EQ(list[1].Importance, 4);
  EXPECT_EQ(list[1].ReminderDays, DefaultReminder);
  EXPECT_EQ(list[1].Padding2, (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(list[0].Kind, KindHoliday);
}

}  // namespace
}  // namespace jubilora
