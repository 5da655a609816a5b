#pragma once
// The dates in the user's contacts: vCard files (2.1, 3.0 and 4.0) as phones, mail
// programs and address books write them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jubilora {

enum class ContactDateKind { Birthday, Anniversary, Other };

struct ContactEvent {
  std::string name;  // UTF-8, blanks collapsed
  ContactDateKind kind = ContactDateKind::Birthday;
  int month = 0;
  int day = 0;
  std::optional<int> year;  // nothing for a date written without a year
  std::string label;        // UTF-8: the user's own word for an Apple date, else empty
  int line = 0;             // where the date stands in the file, from 1
};

struct VCardProblem {
  int line = 0;
  std::string reason;
};

struct VCardContents {
  std::vector<ContactEvent> events;
  std::vector<VCardProblem> problems;
  int cards = 0;
};

// Longer lines of a property the reader needs are reported and skipped, so that memory
// stays bounded whatever the file holds.
inline constexpr std::size_t MaxVCardLine = 64 * 1024;
// Past this many, one last problem says how many more there were.
inline constexpr std::size_t MaxVCardProblems = 100;

// Never fails: what cannot be read becomes a problem with its line number.
VCardContents ReadVCards(std::string_view bytes);

}  // namespace jubilora
