#include "data/contact_import.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

ContactEvent Event(std::string name, ContactDateKind kind, std::optional<int> year, int month, int day,
                   std::string label = {}) {
  return {std::move(name), kind, month, day, year, std::move(label), 1};
}

constexpr auto Birthday = ContactDateKind::Birthday;
constexpr auto Wedding = ContactDateKind::Anniversary;
constexpr auto Other = ContactDateKind::Other;

TEST(ImportCandidates, KindDateAndDescriptionOfEachEvent) {
  const std::string x49(49, 'x');
  // "kind year-month-day description", the year "----" where the kind hides it.
  const std::vector<std::pair<ContactEvent, std::string>> cases = {
      {Event("Anna Smith", Birthday, 1990, 5, 14), "1 1990-05-14 Anna Smith"},
      {Event("Bo", Wedding, 2004, 7, 10), "3 2004-07-10 Bo"},
      {Event("Eli", Other, 2019, 3, 1, "First flat"), "6 2019-03-01 Eli: First flat"},
      // Without a year no age can be right; 29 February stays a day.
      {Event("Anna Smith", Birthday, {}, 2, 29), "7 ----02-29 Anna Smith: birthday"},
      {Event("Eli", Other, {}, 8, 20), "7 ----08-20 Eli: anniversary"},
      {Event(x49 + " \u0141ukasz", Birthday, 1990, 1, 2), "1 1990-01-02 " + x49 + " (cut)"},
      {Event(x49 + "\u0141", Birthday, 1990, 1, 3), "1 1990-01-03 " + x49 + "L"},
  };
  std::vector<ContactEvent> events;
  for (const auto& c : cases) events.push_back(c.first);
  const std::vector<ImportCandidate> candidates = CandidatesFromEvents(events, 4, 14);
  ASSERT_EQ(candidates.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const TAnniversary& r = candidates[i].record;
    const CivilDate d = *DecodeDate(r.Date);
    char text[48];
    std::snprintf(text, sizeof text, "%d %s%02d-%02d ", r.Kind,
                  r.Kind == KindOtherNoYears ? "----" : (std::to_string(d.year) + "-").c_str(), d.month, d.day);
    EXPECT_EQ(text + r.Description() + (candidates[i].cut ? " (cut)" : ""), cases[i].second);
    EXPECT_TRUE(r.Importance == 4 && r.ReminderDays == 14);
  }
}

TEST(ImportCandidates, AlreadyListedByKindDayAndDescriptionComparedAsTheOrderingsDo) {
  const TAnniversaryList list = {test::Record(KindBirthday, 1985, 5, 14, "ANNA SMITH"),
                                 test::Record(KindWedding, 2004, 7, 10, "\xC1nna")};
  const std::vector<ContactEvent> events = {
      Event("anna smith", Birthday, 1990, 5, 14),  // another year, another case: listed
      Event("Anna Smith", Wedding, 1990, 5, 14),   // another kind
      Event("Anna Smith", Birthday, 1990, 5, 15),  // another day
      Event("\u00E1nna", Wedding, 2004, 7, 10),    // accents are not folded
      Event("Bo", Birthday, 1990, 1, 1),
      Event("Bo", Birthday, 1991, 1, 1),  // the same as the one before it
  };
  EXPECT_EQ(AlreadyListed(CandidatesFromEvents(events, 3, DefaultReminder), list),
            (std::vector<bool>{true, false, false, false, false, true}));
}

}  // namespace
}  // namespace jubilora
