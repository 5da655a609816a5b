#pragma once
// The records a contacts import offers: one per date found in the user's contacts.

#include <cstdint>
#include <vector>

#include "core/anniversary.h"
#include "data/vcard.h"

namespace jubilora {

// A date without a year is stored in a leap year, so that 29 February stays a day; 2000
// also lies inside every range the editors and the export accept. Its kind hides the year.
inline constexpr int YearlessYear = 2000;

struct ImportCandidate {
  TAnniversary record;
  bool cut = false;  // the description was longer than a record holds
};

// Birthdays, wedding anniversaries and other dates become kinds 1, 3 and 6 with the name
// as the description (an other date's label after it); a date without a year becomes kind
// 7, its description saying what it is ("Anna Smith: birthday"). Descriptions are turned
// into Windows-1252 by nearest letters.
std::vector<ImportCandidate> CandidatesFromEvents(const std::vector<ContactEvent>& events,
                                                  std::uint8_t importance, std::uint8_t reminderDays);

// For each candidate, whether the list (or an earlier candidate) already holds it: the same
// kind on the same month and day with the same description, compared as the orderings do.
std::vector<bool> AlreadyListed(const std::vector<ImportCandidate>& candidates, const TAnniversaryList& list);

}  // namespace jubilora
