// The vCard reader and the records it leads to, on any bytes: dates that are days, lines that
// exist, a bounded list of problems, and records a data file can hold.

#include <algorithm>
#include <string_view>

#include "data/contact_import.h"
#include "data/vcard.h"
#include "fuzz/fuzz_support.h"

using namespace jubilora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const VCardContents contents = ReadVCards(input);
  const int lines = static_cast<int>(std::count(input.begin(), input.end(), '\n')) + 1;
  fuzz::Require(contents.cards >= 0 && contents.problems.size() <= MaxVCardProblems + 1);
  for (const VCardProblem& problem : contents.problems)
    fuzz::Require(problem.line >= 1 && problem.line <= lines && !problem.reason.empty());
  for (const ContactEvent& event : contents.events) {
    fuzz::Require(event.line >= 1 && event.line <= lines && !event.name.empty());
    fuzz::Require(IsValidCivil(event.year.value_or(YearlessYear), event.month, event.day));
  }

  // Every event is a day, so every one becomes a record.
  const std::vector<ImportCandidate> candidates = CandidatesFromEvents(contents.events, 3, DefaultReminder);
  fuzz::Require(candidates.size() == contents.events.size());
  for (const ImportCandidate& candidate : candidates) {
    const TAnniversary& record = candidate.record;
    fuzz::Require(record.Kind == KindBirthday || record.Kind == KindWedding || record.Kind == KindOtherWithYears ||
                  record.Kind == KindOtherNoYears);
    fuzz::Require(record.DescriptionLength <= MaxDescriptionLength && DecodeDate(record.Date).has_value());
    fuzz::Require(record.Importance == 3 && record.ReminderDays == DefaultReminder);
  }
  // Against an empty list only repeats within the file are listed; the first never is.
  const TAnniversaryList none;
  const std::vector<bool> listed = AlreadyListed(candidates, none);
  fuzz::Require(listed.size() == candidates.size() && (candidates.empty() || !listed.front()));
  return 0;
}
