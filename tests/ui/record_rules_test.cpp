#include "ui/record_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/records.h"

namespace jubilora {
namespace {

// Whatever kind or importance a record holds opens in controls that store it back unchanged;
// kinds past 7 open as 7, and a zero kind or the samples' importance opens with nothing chosen.
TEST(RecordRules, StoredKindsAndImportancesOpenInControlsThatStoreThemBack) {
  for (std::uint8_t kind = 1; kind <= 7; ++kind) {
    const KindChoice choice = KindChoiceOf(kind);
    EXPECT_EQ(StoredKind(choice.position, !choice.clearElapsedYears && KindRule(choice.position).ticked), kind);
  }
  EXPECT_EQ(KindChoiceOf(200), (KindChoice{OtherKindPosition, true}));
  EXPECT_EQ(KindChoiceOf(0).position, NoPosition);
  // Only "Other Anniversaries" listens to the box, and only there may it be changed.
  for (int position = 0; position < KindPositionCount; ++position) {
    EXPECT_EQ(StoredKind(position, true) != StoredKind(position, false), position == OtherKindPosition);
    EXPECT_EQ(KindRule(position).enabled, position == OtherKindPosition);
  }
  for (std::uint8_t importance = 0; importance <= 5; ++importance)
    EXPECT_EQ(StoredImportance(ImportancePositionOf(importance)), importance);
  EXPECT_EQ(ImportancePositionOf(5), 0) << "the most important stands first";
  EXPECT_EQ(ImportancePositionOf(SampleImportance), NoPosition);
}

TEST(RecordRules, DatesOpenWithinTheCalendarsRangeAndTheLabelAddsTheYearOnlyWhenShown) {
  const DayNumber fallback = DayFromCivil(2025, 1, 1);
  const DayNumber day = DayFromCivil(1975, 1, 31);
  EXPECT_EQ(EditorDay(day + 0.75, fallback), day);
  EXPECT_EQ(EditorDay(1e300, fallback), LastEditorDay());
  EXPECT_EQ(EditorDay(-std::numeric_limits<double>::infinity(), fallback), FirstEditorDay());
  EXPECT_EQ(EditorDay(std::nan(""), fallback), fallback);
  for (std::uint8_t format = 0; format <= 8; ++format)
    EXPECT_EQ(DateLabelText(format, day, true), DateLabelText(format, day, false) + ", 1975");
}

// Adding appends a zero-filled record; editing writes the five fields of its record and nothing
// else, the description cut to fifty characters.
TEST(RecordRules, CommitWritesTheFiveFieldsOfOneRecord) {
  const EditorInput input{.description = "Anna", .date = DayFromCivil(1990, 5, 2), .kindPosition = 0,
                          .elapsedYears = true, .importancePosition = 1, .useDefaultReminder = false,
                          .reminderDays = 14};
  TAnniversaryList list{test::Record(KindHoliday, 2000, 12, 25, "Christmas"),
                        test::Record(KindNameDay, 2000, 7, 26, "Eva", SampleImportance, 3)};
  list[1].Padding2 = {1, 2, 3};
  const TAnniversaryList before = list;
  EXPECT_EQ(CommitInput(input, list, true, 0), 2);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(SameBytes(list[2], test::Record(KindBirthday, 1990, 5, 2, "Anna", 4, 14)));

  EditorInput edit = input;
  edit.description = std::string(50, 'x') + "yz";
  edit.useDefaultReminder = true;
  EXPECT_EQ(CommitInput(edit, list, false, 1), 1);
  TAnniversary expected = test::Record(KindBirthday, 1990, 5, 2, std::string(50, 'x'), 4, DefaultReminder);
  expected.Padding2 = {1, 2, 3};
  EXPECT_TRUE(SameBytes(list[1], expected));
  EXPECT_TRUE(SameBytes(list[0], before[0]));
}

}  // namespace
}  // namespace jubilora
