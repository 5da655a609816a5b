#pragma once
// The record editor's rules, kept apart from its widgets: which kind list position means
// which stored Kind, what a kind does to "Show elapsed years", the importance positions,
// the date limits, the date label, the completeness check and the writing of a record.

#include <cstdint>
#include <string>

#include "core/anniversary.h"
#include "core/calendar.h"

namespace jubilora {

inline constexpr int NoPosition = -1;
inline constexpr int KindPositionCount = 6;
inline constexpr int OtherKindPosition = 5;  // "Other Anniversaries"
inline constexpr int ImportancePositionCount = 6;
inline constexpr int MaxReminderField = 90;

// The calendar and the year field cannot go past these.
inline constexpr int FirstEditorYear = 1601;
inline constexpr int LastEditorYear = 2199;
DayNumber FirstEditorDay();
DayNumber LastEditorDay();

struct ElapsedYearsBox {
  bool ticked = false;
  bool enabled = false;
  friend bool operator==(const ElapsedYearsBox&, const ElapsedYearsBox&) = default;
};

// What the selected kind position (NoPosition for none) does to "Show elapsed years".
ElapsedYearsBox KindRule(int kindPosition);

// How a stored Kind is shown: its list position, and whether "Show elapsed years" is
// cleared after the kind rule (kind 7 and above).
struct KindChoice {
  int position = NoPosition;
  bool clearElapsedYears = false;
  friend bool operator==(const KindChoice&, const KindChoice&) = default;
};
KindChoice KindChoiceOf(std::uint8_t kind);
std::uint8_t StoredKind(int kindPosition, bool elapsedYears);

// Importance 5 stands at the top of the list; values outside 0..5 (the sample marker)
// have no position.
int ImportancePositionOf(std::uint8_t importance);
std::uint8_t StoredImportance(int importancePosition);

// Formats 3 to 7 write the day before the month, and so do the editor's date fields.
bool DayFirst(std::uint8_t dateFormat);

// The day the editor opens a stored date on: its whole day, held within the calendar's
// range; a date with no calendar day at all opens on `fallback`.
DayNumber EditorDay(double storedDate, DayNumber fallback);

// "January 31st, 1975" with elapsed years shown, "January 31st" without (format 2).
std::string DateLabelText(std::uint8_t dateFormat, DayNumber day, bool elapsedYears);

enum class MissingItem { None, Description, Kind, Importance };
// The first item the user still has to fill in; spaces count as a description.
MissingItem FirstMissing(const std::string& description, int kindPosition, int importancePosition);

// Everything the editor's controls hold when the user accepts.
struct EditorInput {
  std::string description;  // Windows-1252
  DayNumber date = 0;
  int kindPosition = NoPosition;
  bool elapsedYears = false;
  int importancePosition = NoPosition;
  bool useDefaultReminder = true;
  int reminderDays = 0;
};

// Writes complete input into the list: into a new zero-filled record at the end when
// adding, else into the record at editedIndex. Returns the index written.
int CommitInput(const EditorInput& input, TAnniversaryList& anniversaries, bool adding,
                int editedIndex);

}  // namespace jubilora
