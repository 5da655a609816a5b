#include "data/contact_import.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

#include "core/calendar.h"
#include "core/ordering.h"
#include "core/text_codec.h"

namespace jubilora {

namespace {

constexpr char LabelSeparator[] = ": ";
constexpr char BirthdayWord[] = "birthday";
constexpr char WeddingWord[] = "wedding anniversary";
constexpr char AnniversaryWord[] = "anniversary";

// With a year, birthdays and weddings are said by their kind; without one (kind 7) the
// description has to say what the day is.
std::string DescriptionOf(const ContactEvent& event) {
  std::string word;
  if (event.kind == ContactDateKind::Other) {
    word = event.label.empty() && !event.year ? AnniversaryWord : event.label;
  } else if (!event.year) {
    word = event.kind == ContactDateKind::Birthday ? BirthdayWord : WeddingWord;
  }
  return word.empty() ? event.name : event.name + LabelSeparator + word;
}

std::uint8_t KindOf(const ContactEvent& event) {
  if (!event.year) return KindOtherNoYears;
  switch (event.kind) {
    case ContactDateKind::Birthday: return KindBirthday;
    case ContactDateKind::Anniversary: return KindWedding;
    case ContactDateKind::Other: break;
  }
  return KindOtherWithYears;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Kind, month, day and description as one text; nothing for a date without a calendar day,
// which matches nothing.
std::optional<std::string> IdentityOf(const TAnniversary& record) {
  const auto civil = DecodeDate(record.Date);
  if (!civil) return std::nullopt;
  std::string key{static_cast<char>(record.Kind), static_cast<char>(civil->month), static_cast<char>(civil->day)};
  return key + UpperDescription(record);
}

}  // namespace

// An event that is no day (the reader never gives one) is left out rather than stored wrong.
std::vector<ImportCandidate> CandidatesFromEvents(const std::vector<ContactEvent>& events,
                                                  std::uint8_t importance, std::uint8_t reminderDays) {
  std::vector<ImportCandidate> candidates;
  candidates.reserve(events.size());
  for (const ContactEvent& event : events) {
    if (!IsValidCivil(event.year.value_or(YearlessYear), event.month, event.day)) continue;
    ImportCandidate candidate;
    TAnniversary& record = candidate.record;
    record.Kind = KindOf(event);
    record.Date = DayFromCivil(event.year.value_or(YearlessYear), event.month, event.day);
    std::string description = TrimRight(Utf8ToCp1252Nearest(DescriptionOf(event)));
    candidate.cut = description.size() > MaxDescriptionLength;
    if (candidate.cut) description = TrimRight(description.substr(0, MaxDescriptionLength));
    record.SetDescription(description);
    record.Importance = importance;
    record.ReminderDays = reminderDays;
    candidates.push_back(candidate);
  }
  return candidates;
}

std::vector<bool> AlreadyListed(const std::vector<ImportCandidate>& candidates, const TAnniversaryList& list) {
  std::unordered_set<std::string> known;
  for (const TAnniversary& record : list) {
    if (auto key = IdentityOf(record)) known.insert(std::move(*key));
  }
  std::vector<bool> listed;
  listed.reserve(candidates.size());
  for (const ImportCandidate& candidate : candidates) {
    auto key = IdentityOf(candidate.record);
    listed.push_back(key && !known.insert(std::move(*key)).second);
  }
  return listed;
}

}  // namespace jubilora
