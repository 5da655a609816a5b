#include "ui/record_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/records.h"

namespace jubilora {
namespace {

TEST(RecordKindRules, EachKindPositionSetsTheElapsedYearsBox) {
  // none, Birthday, Name Day, Wedding, Death, Holiday, Other
  const ElapsedYearsBox expected[] = {{true, false},  {true, false}, {false, false}, {true, false},
                                      {true, false},  {false, false}, {true, true}};
  for (int position = NoPosition; position < KindPositionCount; ++position) {
    EXPECT_EQ(KindRule(position), expected[position + 1]) << "position " << position;
  }
}

TEST(RecordKindRules, OtherWithoutElapsedYearsIsStoredAsKindSeven) {
  EXPECT_EQ(StoredKind(OtherKindPosition, false), KindOtherNoYears);
  EXPECT_EQ(StoredKind(OtherKindPosition, true), KindOtherWithYears);
  // For every other kind the box says nothing about the stored value.
  EXPECT_EQ(StoredKind(0, true), KindBirthday);
  EXPECT_EQ(StoredKind(1, false), KindNameDay);
  EXPECT_EQ(StoredKind(4, false), KindHoliday);
  EXPECT_EQ(StoredKind(3, true), KindDeath);
}

TEST(RecordKindRules, StoredKindsOpenOnTheirPositions) {
  EXPECT_EQ(KindChoiceOf(KindBirthday), (KindChoice{0, false}));
  EXPECT_EQ(KindChoiceOf(KindHoliday), (KindChoice{4, false}));
  EXPECT_EQ(KindChoiceOf(KindOtherWithYears), (KindChoice{OtherKindPosition, false}));
  EXPECT_EQ(KindChoiceOf(KindOtherNoYears), (KindChoice{OtherKindPosition, true}));
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
  EXPECT_EQ(ImportancePositionOf(0), 5);
  EXPECT_EQ(ImportancePositionOf(3), 2);
  EXPECT_EQ(ImportancePositionOf(SampleImportance), NoPosition);
  EXPECT_EQ(ImportancePositionOf(6), NoPosition);
  for (std::uint8_t importance = 0; importance <= 5; ++importance) {
    EXPECT_EQ(StoredImportance(ImportancePositionOf(importance)), importance);
  }
}

TEST(RecordDateRules, DayFirstFormatsAreThreeToSeven) {
  for (int format = 0; format < 256; ++format) {
    EXPECT_EQ(DayFirst(static_cast<std::uint8_t>(format)), format >= 3 && format <= 7) << format;
  }
}

TEST(RecordDateRules, DayLimitFollowsMonthAndLeapYears) {
  EXPECT_EQ(DayLimit(2025, 4), 30);
  EXPECT_EQ(DayLimit(2025, 1), 31);
  EXPECT_EQ(DayLimit(2024, 2), 29);
  EXPECT_EQ(DayLimit(2023, 2), 28);
  EXPECT_EQ(DayLimit(1900, 2), 28);
  EXPECT_EQ(DayLimit(2000, 2), 29);
  EXPECT_EQ(DayLimit(1700, 2), 28);
}

TEST(RecordDateRules, StoredDatesOpenWithinTheCalendarsRange) {
  const DayNumber fallback = DayFromCivil(2025, 1, 1);
  EXPECT_EQ(EditorDay(DayFromCivil(1975, 1, 31), fallback), DayFromCivil(1975, 1, 31));
  EXPECT_EQ(EditorDay(DayFromCivil(1975, 1, 31) + 0.75, fallback), DayFromCivil(1975, 1, 31));
  EXPECT_EQ(EditorDay(DayFromCivil(1500, 6, 1), fallback), DayFromCivil(1601, 1, 1));
  EXPECT_EQ(EditorDay(DayFromCivil(2500, 6, 1), fallback), DayFromCivil(2199, 12, 31));
  EXPECT_EQ(EditorDay(1e300, fallback), DayFromCivil(2199, 12, 31));
  EXPECT_EQ(EditorDay(-std::numeric_limits<double>::infinity(), fallback), DayFromCivil(1601, 1, 1));
  EXPECT_EQ(EditorDay(std::nan(""), fallback), fallback);
}

TEST(RecordDateRules, DateLabelAddsTheYearOnlyWithElapsedYears) {
  const DayNumber day = DayFromCivil(1975, 1, 31);
  EXPECT_EQ(DateLabelText(2, day, true), "January 31st, 1975");
  EXPECT_EQ(DateLabelText(2, day, false), "January 31st");
  EXPECT_EQ(DateLabelText(3, day, true), "31-JAN, 1975");
  EXPECT_EQ(DateLabelText(9, day, false), "JAN-31");
}

TEST(RecordCompleteness, FirstMissingItemInScreenOrder) {
  EXPECT_EQ(FirstMissing("", NoPosition, NoPosition), MissingItem::Description);
  EXPECT_EQ(FirstMissing("", 0, 0), MissingItem::Description);
  EXPECT_EQ(FirstMissing("Anna", NoPosition, NoPosition), MissingItem::Kind);
  EXPECT_EQ(FirstMissing("Anna", 2, NoPosition), MissingItem::Importance);
  EXPECT_EQ(FirstMissing(" ", 2, 0), MissingItem::None);
}

EditorInput CompleteInput() {
  EditorInput input;
  input.description = "Anna";
  input.date = DayFromCivil(1990, 5, 2);
  input.kindPosition = 0;
  input.elapsedYears = true;
  input.importancePosition = 1;
  input.useDefaultReminder = false;
  input.reminderDays = 14;
  return input;
}

TEST(RecordCommit, AddingAppendsOneZeroFilledRecord) {
  TAnniversaryList list{test::Record(KindHoliday, 2000, 12, 25, "Christmas")};
  const int index = CommitInput(CompleteInput(), list, true, 0);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(index, 1);
  const TAnniversary& r = list[1];
  EXPECT_EQ(r.Kind, KindBirthday);
  EXPECT_EQ(r.Date, DayFromCivil(1990, 5, 2));
  EXPECT_EQ(r.Description(), "Anna");
  EXPECT_EQ(r.Importance, 4);
  EXPECT_EQ(r.ReminderDays, 14);
  TAnniversary zero;
  zero.Kind = r.Kind;
  zero.Date = r.Date;
  zero.SetDescription("Anna");
  zero.Importance = r.Importance;
  zero.ReminderDays = r.ReminderDays;
  EXPECT_TRUE(SameBytes(r, zero));
  EXPECT_EQ(list[0].Description(), "Christmas");
}

TEST(RecordCommit, EditingOverwritesOnlyTheEditedRecord) {
  TAnniversaryList list{test::Record(KindHoliday, 2000, 12, 25, "Christmas"),
                        test::Record(KindNameDay, 2000, 7, 26, "Anna", SampleImportance, 3)};
  list[1].Padding2 = {1, 2, 3};
  EditorInput input = CompleteInput();
  input.kindPosition = OtherKindPosition;
  input.elapsedYears = false;
  input.useDefaultReminder = true;
  input.reminderDays = 40;
  EXPECT_EQ(CommitInput(input, list, false, 1), 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Kind, KindOtherNoYears);
  EXPECT_EQ(list[1].Importance, 4);
  EXPECT_EQ(list[1].ReminderDays, DefaultReminder);
  EXPECT_EQ(list[1].Padding2, (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(list[0].Kind, KindHoliday);
}

TEST(RecordCommit, DescriptionKeepsItsFirstFiftyCharacters) {
  TAnniversaryList list;
  EditorInput input = CompleteInput();
  input.description = std::string(50, 'x') + "yz";
  CommitInput(input, list, true, -1);
  EXPECT_EQ(list.at(0).Description(), std::string(50, 'x'));
}

}  // namespace
}  // namespace jubilora
