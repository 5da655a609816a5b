// vCards as address books write them, and the records they lead to.

#include "data/vcard.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "data/contact_import.h"
#include "support/records.h"

namespace jubilora {
namespace {

// "Anna Smith B 1990-05-14 @4": name, kind, date ("----" for no year), [label], line.
std::vector<std::string> Described(const VCardContents& contents) {
  std::vector<std::string> out;
  for (const ContactEvent& e : contents.events) {
    char text[48];
    std::snprintf(text, sizeof text, " %c %s%02d-%02d", "BAO"[static_cast<int>(e.kind)],
                  e.year ? (std::to_string(*e.year) + "-").c_str() : "----", e.month, e.day);
    out.push_back(e.name + text + (e.label.empty() ? "" : " [" + e.label + "]") + " @" + std::to_string(e.line));
  }
  return out;
}

std::vector<int> ProblemLines(const VCardContents& contents) {
  std::vector<int> lines;
  for (const VCardProblem& p : contents.problems) lines.push_back(p.line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

struct CardCase {
  const char* what;
  std::string input;
  std::vector<std::string> events;
  std::vector<int> problemLines;
};

// CR LF, as most programs write it, is met in the address books further down.
const std::vector<CardCase> CardCases = {
    {"4.0 forms, the name from N",
     "BEGIN:VCARD\nVERSION:4.0\nN:Smith;Anna;Maria;Dr.;\nBDAY:19900514T103000Z\nANNIVERSARY:--0612\n"
     "X-ANNIVERSARY;VALUE=date:--06-13\nEND:VCARD\n",
     {"Anna Smith B 1990-05-14 @4", "Anna Smith A ----06-12 @5", "Anna Smith A ----06-13 @6"}, {}},
    {"2.1 quoted-printable, soft break inside a character, three character sets",
     "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=81ukasz W=C3=\r\n=B3jcik\r\n"
     "BDAY:1985-11-03\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Ren=E9e\r\n"
     "bday:--03-15\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN;charset=windows-1252;encoding=quoted-printable:=8Aime=20=80\r\n"
     "X-MS-ANNIVERSARY:20010915\r\nEND:VCARD\r\n",
     {"\u0141ukasz W\u00F3jcik B 1985-11-03 @5", "Ren\u00E9e B ----03-15 @9", "\u0160ime \u20AC A 2001-09-15 @13"},
     {}},
    {"folds, escapes, a byte-order mark and LF",
     "\xEF\xBB\xBF" "BEGIN:VCARD\nFN:Anna\\nSm\n ith\\, Jr\\; x\\\\y\nBDAY:1990-\n\t05-14\nEND:VCARD\n",
     {"Anna Smith, Jr; x\\y B 1990-05-14 @4"}, {}},
    {"Apple's groups, labels and omitted year (not a number that overflows)",
     "BEGIN:VCARD\nFN:Eli\nitem1.X-ABDATE;type=pref:2012-06-16\nitem1.X-ABLabel:_$!<Anniversary>!$_\n"
     "ITEM2.x-abdate:2019-03-01\nitem2.X-ABLabel:First flat\nBDAY;X-APPLE-OMIT-YEAR=1604;VALUE=date:1604-02-29\n"
     "X-ABDATE:2000-01-01\nitem3.X-ABDATE:2001-01-01\nitem3.X-ABLabel:_$!<HomePage>!$_\n"
     "BDAY;X-APPLE-OMIT-YEAR=99999999999:1604-02-29\nEND:VCARD\n",
     {"Eli O 2012-06-16 [anniversary] @3", "Eli O 2019-03-01 [First flat] @5", "Eli B ----02-29 @7",
      "Eli O 2000-01-01 @8", "Eli O 2001-01-01 [home page] @9", "Eli B 1604-02-29 @11"},
     {}},
    {"dates that are no days",
     "BEGIN:VCARD\nFN:X\nBDAY:1990-13-45\nBDAY:2023-02-29\nBDAY:1992-02-29\nBDAY:--0230\nBDAY:circa 1800\n"
     "BDAY:--02-29\nBDAY:1990-5-14\nEND:VCARD\n",
     {"X B 1992-02-29 @5", "X B ----02-29 @8"}, {3, 4, 6, 7, 9}},
    {"a card without END keeps its dates, one without a name loses them, text between cards",
     "BEGIN:VCARD\nFN:A\nBDAY:1990-01-01\nBEGIN:VCARD\nBDAY:1990-01-02\nTEL:123\nEND:VCARD\njunk\nmore junk\n"
     "BEGIN:VCARD\nFN:C\nBDAY:1990-01-03\n",
     {"A B 1990-01-01 @3", "C B 1990-01-03 @12"}, {1, 4, 8, 10}},
    {"10 MB lines: a needed property is reported, data never read is skipped",
     "BEGIN:VCARD\nN:Smith;Anna\nFN:" + std::string(10 << 20, 'x') + "\nNOTE:" + std::string(10 << 20, 'y') +
         "\nBDAY:1990-05-14\n" + std::string(10 << 20, 'z') + "\nEND:VCARD\n",
     {"Anna Smith B 1990-05-14 @5"}, {3, 6}},
};

TEST(ReadVCards, RealWorldCardVariants) {
  for (const CardCase& c : CardCases) {
    const VCardContents contents = ReadVCards(c.input);
    EXPECT_EQ(Described(contents), c.events) << c.what;
    EXPECT_EQ(ProblemLines(contents), c.problemLines) << c.what;
  }
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
      {Event("Eli", Other, 2019, 3, 1, "First flat"), "6 2019-03-01 Eli: First flat"},
      // Without a year no age can be right; 29 February stays a day.
      {Event("Anna Smith", Birthday, {}, 2, 29), "7 ----02-29 Anna Smith: birthday"},
      {Event(x49 + " \u0141ukasz", Birthday, 1990, 1, 2), "1 1990-01-02 " + x49 + " (cut)"},
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
      Event("\u00E1nna", Wedding, 2004, 7, 10),    // accents are not folded
      Event("Bo", Birthday, 1990, 1, 1),
      Event("Bo", Birthday, 1991, 1, 1),  // the same as the one before it
  };
  EXPECT_EQ(AlreadyListed(CandidatesFromEvents(events, 3, DefaultReminder), list),
            (std::vector<bool>{true, false, false, false, true}));
}

}  // namespace
}  // namespace jubilora
