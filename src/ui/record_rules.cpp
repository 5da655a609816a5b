#include "ui/record_rules.h"

#include <algorithm>
#include <cmath>

#include "core/naming.h"

namespace jubilora {

DayNumber FirstEditorDay() { return DayFromCivil(FirstEditorYear, 1, 1); }
DayNumber LastEditorDay() { return DayFromCivil(LastEditorYear, 12, 31); }

ElapsedYearsBox KindRule(int kindPosition) {
  switch (kindPosition) {
    case 1:  // Name Day
    case 4:  // Holiday
      return {false, false};
    case OtherKindPosition:
      return {true, true};
    default:  // none, Birthday, Wedding Anniversary, Death Anniversary
      return {true, false};
  }
}

KindChoice KindChoiceOf(std::uint8_t kind) {
  if (kind >= KindOtherNoYears) return {OtherKindPosition, true};
  return {static_cast<int>(kind) - 1, false};
}

std::uint8_t StoredKind(int kindPosition, bool elapsedYears) {
  if (kindPosition == OtherKindPosition && !elapsedYears) return KindOtherNoYears;
  return static_cast<std::uint8_t>(kindPosition + 1);
}

int ImportancePositionOf(std::uint8_t importance) {
  if (importance >= ImportancePositionCount) return NoPosition;
  return ImportancePositionCount - 1 - importance;
}

std::uint8_t StoredImportance(int importancePosition) {
  return static_cast<std::uint8_t>(ImportancePositionCount - 1 - importancePosition);
}

bool DayFirst(std::uint8_t dateFormat) { return dateFormat >= 3 && dateFormat <= 7; }

DayNumber EditorDay(double storedDate, DayNumber fallback) {
  if (std::isnan(storedDate)) return fallback;
  if (const auto whole = WholeDay(storedDate)) {
    return std::clamp(*whole, FirstEditorDay(), LastEditorDay());
  }
  // Far beyond the calendar's years either way.
  return storedDate < 0 ? FirstEditorDay() : LastEditorDay();
}

std::string DateLabelText(std::uint8_t dateFormat, DayNumber day, bool elapsedYears) {
  std::string text = DateText(dateFormat, day);
  if (elapsedYears) text += ", " + std::to_string(CivilFromDay(day).year);
  return text;
}

MissingItem FirstMissing(const std::string& description, int kindPosition, int importancePosition) {
  if (description.empty()) return MissingItem::Description;
  if (kindPosition == NoPosition) return MissingItem::Kind;
  if (importancePosition == NoPosition) return MissingItem::Importance;
  return MissingItem::None;
}

namespace {

void WriteRecord(const EditorInput& input, TAnniversary& record) {
  record.SetDescription(input.description);
  record.Date = static_cast<double>(input.date);
  record.Kind = StoredKind(input.kindPosition, input.elapsedYears);
  record.Importance = StoredImportance(input.importancePosition);
  record.ReminderDays = input.useDefaultReminder
                            ? DefaultReminder
                            : static_cast<std::uint8_t>(std::clamp(input.reminderDays, 0, MaxReminderField));
}

}  // namespace

int CommitInput(const EditorInput& input, TAnniversaryList& anniversaries, bool adding,
                int editedIndex) {
  if (adding) {
    anniversaries.emplace_back();
    editedIndex = static_cast<int>(anniversaries.size()) - 1;
  }
  WriteRecord(input, anniversaries.at(static_cast<std::size_t>(editedIndex)));
  return editedIndex;
}

}  // namespace jubilora
