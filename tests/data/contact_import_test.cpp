#include "data/contact_import.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "core/text_codec.h"
#include "support/records.h"

namespace jubilora {
namespace {

bool PrintableCp1252(unsigned char byte) {
  const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
  return byte >= 0x20 && byte != 0x7F && !undefined;
}

TEST(NearestLetters, EveryOutputIsPrintableWindows1252AndWhatFitsStaysAsItIs) {
  // Random mixes of ASCII (controls too), every two-byte character (Latin-1, Latin Extended,
  // combining marks, Greek, Cyrillic, ...), longer ones and malformed bytes.
  const std::vector<std::string> longer = {"\u2003", "\u200B", "\u2022", "\u4E2D", "\U0001F600", "\xC3", "\xFF"};
  std::mt19937 random(11);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int i = 0; i < 8; ++i) {
      const unsigned cp = 0x80 + random() % 0x780;
      switch (random() % 3) {
        case 0: text += static_cast<char>(random() % 0x80); break;
        case 1: text += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))}; break;
        default: text += longer[random() % longer.size()];
      }
    }
    for (const char c : Utf8ToCp1252Nearest(text)) EXPECT_TRUE(PrintableCp1252(static_cast<unsigned char>(c))) << text;
  }
  std::string printable;
  for (int b = 0x20; b < 0x100; ++b) {
    if (PrintableCp1252(static_cast<unsigned char>(b))) printable += static_cast<char>(b);
  }
  EXPECT_EQ(Utf8ToCp1252Nearest(Cp1252ToUtf8(printable)), printable);
}

TEST(NearestLetters, WhereTheRuleIsNotObvious) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\u0141\u00F3d\u017A \u0150z \u0218", "L\xF3" "dz Oz S"},  // Łódź Őz Ș: letters the code page lacks
      {"\u0132ssel \u01C4emal", "IJssel DZemal"},                 // one letter, two in Windows-1252
      {"\u01FC \u01D8", "\xC6 \xFC"},                              // closer letters the code page has
      {"Zoe\u0308 g\u0301 e\u0301\u0301", "Zo\xEB g \xE9"},          // decomposed accents join or go
      {"\u0391\u0399 a\tb\u200Bc", "?? a bc"},                     // other scripts, blanks, invisibles
  };
  for (const auto& [utf8, cp1252] : cases) EXPECT_EQ(Utf8ToCp1252Nearest(utf8), cp1252) << utf8;
}

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
      {Event("Eli", Other, 2019, 3, 2), "6 2019-03-02 Eli"},
      // Without a year no age can be right; 29 February stays a day.
      {Event("Anna Smith", Birthday, {}, 2, 29), "7 ----02-29 Anna Smith: birthday"},
      {Event("Bo", Wedding, {}, 6, 12), "7 ----06-12 Bo: wedding anniversary"},
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
