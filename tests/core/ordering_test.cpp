#include "core/ordering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

TAnniversary Dated(TAnniversary record, double date) {
  record.Date = date;
  return record;
}

std::vector<int> YearsOf(const TAnniversaryList& list) {
  std::vector<int> years;
  for (const auto& r : list) years.push_back(DecodeDate(r.Date)->year);
  return years;
}

std::string DescriptionsOf(const TAnniversaryList& list, const char* separator = ",") {
  std::string texts;
  for (const auto& r : list) texts += (texts.empty() ? "" : separator) + r.Description();
  return texts;
}

// The comparisons, each case checked both ways round

TEST(OrderingCompare, EachKeyComparesAsDescribed) {
  using Compare = int (*)(const TAnniversary&, const TAnniversary&);
  const auto on = [](const std::string& text) { return Record(KindBirthday, 2000, 1, 1, text); };
  const auto withReminder = [](std::uint8_t days) { return Record(KindBirthday, 2000, 1, 1, "r", 3, days); };
  const auto march5 = Record(KindBirthday, 1990, 3, 5, "A");
  const auto january1 = Record(KindBirthday, 2000, 1, 1, "J");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    Compare compare;
    TAnniversary a, b;
    int expected;
  };
  const std::vector<Case> cases = {
      {"year ignored", CompareDate, march5, Record(KindBirthday, 1970, 3, 5, "B"), 0},
      {"month before day", CompareDate, Record(KindBirthday, 1800, 4, 1, "C"), Record(KindBirthday, 2100, 3, 30, "D"),
       1},
      {"day within month", CompareDate, Record(KindBirthday, 2100, 3, 30, "D"), march5, 1},
      // Dates without a calendar day sort before 1 January.
      {"NaN", CompareDate, Dated(january1, nan), january1, -1},
      {"infinity", CompareDate, Dated(january1, std::numeric_limits<double>::infinity()), january1, -1},
      {"after 9999", CompareDate, Dated(january1, 1e9), january1, -1},
      {"before year one", CompareDate, Dated(january1, -700000.0), january1, -1},
      {"undated twins", CompareDate, Dated(january1, 1e9), Dated(january1, nan), 0},
      {"fraction dropped", CompareDate, Dated(march5, march5.Date + 0.9), Record(KindBirthday, 1970, 3, 6, "B"), -1},
      // -1.5 is 29 December 1899 (towards zero), not 28 December (downwards).
      {"towards zero", CompareDate, Dated(march5, -1.5), Record(KindBirthday, 1950, 12, 29, "C"), 0},
      {"sample importance is a byte", ComparePriority, Record(KindBirthday, 2000, 1, 1, "S", SampleImportance),
       Record(KindBirthday, 2000, 1, 1, "E", 5), 1},
      {"kind is a byte", CompareType, Record(200, 2000, 1, 1, "K"), Record(KindHoliday, 2000, 1, 1, "E"), 1},
      {"ASCII case ignored", CompareDescription, on("anna"), on("ANNA"), 0},
      {"prefix first", CompareDescription, on("ANNA"), on("Annabel"), -1},
      {"accent above ASCII", CompareDescription, on("\xC9va"), on("zed"), 1},
      // Accented letters keep their case: "é" (0xE9) is above "É" (0xC9).
      {"accent keeps case", CompareDescription, on("\xE9va"), on("\xC9va"), 1},
      {"empty first", CompareDescription, on(""), on("anna"), -1},
      // "[" (0x5B) lies between the cases and is left alone.
      {"punctuation untouched", CompareDescription, on("["), on("z"), 1},
      {"default below none", CompareReminder, withReminder(DefaultReminder), withReminder(0), -1},
      {"default below longest", CompareReminder, withReminder(DefaultReminder), withReminder(254), -1},
      {"longer above", CompareReminder, withReminder(30), withReminder(0), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.compare(c.a, c.b), c.expected);
    EXPECT_EQ(c.compare(c.b, c.a), -c.expected);
  }
}

// The orderings' chains

TEST(OrderingSortByDate, SameDayFollowsImportanceKindDescriptionAndReminder) {
  TAnniversaryList list = {
      Record(KindHoliday, 1990, 3, 5, "kind5", 3),       Record(KindBirthday, 1970, 3, 5, "low", 1),
      Record(KindBirthday, 1990, 3, 5, "sample", SampleImportance),
      Record(KindBirthday, 1980, 3, 5, "extreme", 5),    Record(KindBirthday, 1990, 3, 5, "zz", 3, 30),
      Record(KindBirthday, 1990, 3, 5, "b", 3, DefaultReminder),
      Record(KindBirthday, 1990, 3, 5, "b", 3, 60),      Record(KindBirthday, 1990, 3, 5, "b", 3, 0),
      Record(KindBirthday, 1990, 3, 4, "earlier", 0),
  };
  SortByDate(list, -1);
  std::string got;
  for (const auto& r : list) got += r.Description() + "/" + std::to_string(r.ReminderDays) + " ";
  EXPECT_EQ(got, "earlier/255 sample/255 extreme/255 b/60 b/0 b/255 zz/30 kind5/255 low/255 ");
}

TEST(OrderingSortBy, DispatchesByTheTableEditorsListPosition) {
  const TAnniversaryList original = {Record(KindHoliday, 2000, 1, 2, "a", 1, 30),
                                     Record(KindBirthday, 2000, 1, 3, "c", 2, 20),
                                     Record(KindNameDay, 2000, 1, 1, "b", 0, 10)};
  // The list position is stored in the settings, so the numbers matter.
  const std::vector<std::pair<int, std::string>> expected = {
      {0, "bac"}, {1, "cba"}, {2, "abc"}, {3, "cab"}, {4, "acb"}};
  for (const auto& [position, letters] : expected) {
    TAnniversaryList list = original;
    SortBy(static_cast<SortOrder>(position), list, -1);
    EXPECT_EQ(DescriptionsOf(list, ""), letters) << position;
  }
}

// The selected position and the arrangement of twins, worked out by hand from the loops

TEST(OrderingSelectedPosition, EmptyListAndNoSelectionAreReturnedUnchanged) {
  TAnniversaryList empty;
  EXPECT_EQ(SortByDate(empty, 7), 7);
  EXPECT_EQ(SortByDate(empty, -1), -1);
  TAnniversaryList list = {Record(KindBirthday, 2000, 5, 1, "b"), Record(KindBirthday, 2000, 1, 1, "a")};
  EXPECT_EQ(SortByDate(list, -1), -1);
  EXPECT_EQ(DescriptionsOf(list), "a,b");
  EXPECT_EQ(SortByReminder(list, 2), 2);  // past the end: names no record
}

TEST(OrderingSelectedPosition, UnchangedWhenOnlyOtherRecordsMove) {
  // The second last-of-the-year twin is never exchanged: only the first twin and the
  // January record change places.
  const auto december = Record(KindBirthday, 1990, 12, 31, "Dec");
  const TAnniversaryList original = {december, Record(KindBirthday, 2000, 1, 1, "Jan"),
                                     Dated(december, DayFromCivil(1980, 12, 31))};
  TAnniversaryList list = original;
  EXPECT_EQ(SortByDate(list, 2), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2000, 1990, 1980}));
  list = original;
  EXPECT_EQ(SortByDate(list, 1), 0);
  list = original;
  EXPECT_EQ(SortByDate(list, 0), 1);
}

TEST(OrderingTies, EarlierRecordPassesOverTwinsToTheFront) {
  // Twins (equal under all five keys) ahead of a record that comes before them:
  // pass 2 swaps it with position 0 only, so the twins end up reversed.
  const auto twin = Record(KindBirthday, 1990, 3, 5, "Anna");
  TAnniversaryList list = {twin, Dated(twin, DayFromCivil(1970, 3, 5)), Record(KindBirthday, 2000, 3, 4, "Bert")};
  EXPECT_EQ(SortByDate(list, 0), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2000, 1970, 1990}));
  // A second run leaves this arrangement as it is.
  EXPECT_EQ(SortByDate(list, 2), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2000, 1970, 1990}));
}

TEST(OrderingTies, SortingSortedTwinsRotatesThem) {
  // Sorted input t1 t2 t3 z: pass 0 takes z to the front and t1 to the back; the later
  // passes bring z home and leave t2 t3 t1 z. Each further run rotates the twins again.
  const auto t1 = Record(KindWedding, 2001, 7, 7, "Same", 2, 10);
  TAnniversaryList list = {t1, Dated(t1, DayFromCivil(2002, 7, 7)), Dated(t1, DayFromCivil(2003, 7, 7)),
                           Record(KindWedding, 1999, 7, 8, "Later", 2, 10)};
  EXPECT_EQ(SortByDate(list, 0), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2002, 2003, 2001, 1999}));
  EXPECT_EQ(SortByDate(list, 2), 1);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2003, 2001, 2002, 1999}));
}

TEST(OrderingTies, PaddingOnlyTwinsAreArrangedTheSameWay) {
  auto first = Record(KindHoliday, 2000, 1, 1, "Day");
  auto second = first;
  first.Padding1[0] = 1;
  second.Padding1[0] = 2;
  TAnniversaryList list = {first, second, Record(KindHoliday, 2000, 1, 2, "Next")};
  SortByPriority(list, -1);  // importance equal: date decides, then the twins
  EXPECT_EQ(list[0].Padding1[0], 2);
  EXPECT_EQ(list[1].Padding1[0], 1);
  EXPECT_EQ(list[2].Description(), "Next");
  SortByPriority(list, -1);
  EXPECT_EQ(list[0].Padding1[0], 1);
}

// Against the exchange procedure written out plainly: every comparison on the records
// themselves, both loops in full.

struct ChainStep {
  std::function<int(const TAnniversary&, const TAnniversary&)> compare;
  int before;  // the result that puts x before y
};

bool ComesBefore(const std::vector<ChainStep>& chain, const TAnniversary& x, const TAnniversary& y) {
  for (const auto& step : chain) {
    const int result = step.compare(x, y);
    if (result != 0) return result == step.before;
  }
  return false;
}

// Follows several selected positions at once, each by the procedure's own rule.
void ReferenceSort(TAnniversaryList& list, std::vector<int>& selected, const std::vector<ChainStep>& chain) {
  const int n = static_cast<int>(list.size());
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      auto& x = list[static_cast<std::size_t>(i)];
      auto& y = list[static_cast<std::size_t>(j)];
      if (!ComesBefore(chain, x, y)) continue;
      std::swap(x, y);
      for (int& s : selected) s = (i == s) ? j : (j == s) ? i : s;
    }
  }
}

struct NamedOrdering {
  const char* name;
  int (*sort)(TAnniversaryList&, int);
  std::vector<ChainStep> chain;
};

std::vector<NamedOrdering> AllOrderings() {
  const ChainStep date{CompareDate, -1};
  const ChainStep importance{ComparePriority, 1};
  const ChainStep kind{CompareType, -1};
  const ChainStep description{CompareDescription, -1};
  const ChainStep reminder{CompareReminder, 1};
  return {
      {"date", SortByDate, {date, importance, kind, description, reminder}},
      {"priority", SortByPriority, {importance, date, kind, description, reminder}},
      {"description", SortByDescription, {description, date, importance, kind, reminder}},
      {"type", SortByType, {kind, date, importance, description, reminder}},
      {"reminder", SortByReminder, {reminder, date, importance, kind, description}},
  };
}

// Few distinct values per field, so that ties on every key are common; the year and a
// padding tag tell the twins apart.
TAnniversaryList RandomRecords(std::mt19937& random, int count) {
  const std::vector<std::string> descriptions = {"anna", "ANNA", "Anna", "Annabel", "\xC9va", "eva", "", "Z[", "z"};
  const std::vector<std::uint8_t> importances = {0, 3, 3, 5, SampleImportance};
  const std::vector<std::uint8_t> kinds = {0, 1, 1, 2, 7, 9};
  const std::vector<std::uint8_t> reminders = {0, 30, 90, DefaultReminder, DefaultReminder};
  auto pick = [&](const auto& values) { return values[random() % values.size()]; };
  TAnniversaryList list;
  for (int i = 0; i < count; ++i) {
    TAnniversary r = Record(pick(kinds), 1900 + static_cast<int>(random() % 200), 1 + static_cast<int>(random() % 3),
                            1 + static_cast<int>(random() % 2), pick(descriptions), pick(importances), pick(reminders));
    if (random() % 25 == 0) r.Date = std::numeric_limits<double>::quiet_NaN();
    if (random() % 25 == 0) r.Date += 0.75;
    r.Padding2[0] = static_cast<std::uint8_t>(i);
    r.Padding2[1] = static_cast<std::uint8_t>(i >> 8);
    list.push_back(r);
  }
  return list;
}

// Sorts copies with the ordering under test, once per selected position, and checks the
// arrangement and each returned position against the plain procedure.
void ExpectLikePlainProcedure(const NamedOrdering& ordering, TAnniversaryList& plain, const std::vector<int>& selected,
                              const std::string& what) {
  const TAnniversaryList input = plain;
  std::vector<int> expected = selected;
  ReferenceSort(plain, expected, ordering.chain);
  for (std::size_t k = 0; k < selected.size(); ++k) {
    TAnniversaryList fast = input;
    const std::string label = what + " selected=" + std::to_string(selected[k]);
    EXPECT_EQ(ordering.sort(fast, selected[k]), expected[k]) << label;
    ASSERT_EQ(fast.size(), plain.size()) << label;
    for (std::size_t p = 0; p < plain.size(); ++p) ASSERT_TRUE(SameBytes(fast[p], plain[p])) << label << " at " << p;
  }
}

TEST(OrderingAgainstPlainProcedure, RandomListsWithManyTiesForEveryOrdering) {
  std::mt19937 random(20250131);
  for (int round = 0; round < 3; ++round) {
    const int count = 150 + 100 * round;
    const TAnniversaryList original = RandomRecords(random, count);
    std::vector<int> selected = {-1, count};
    for (int k = 0; k < 12; ++k) selected.push_back(k * (count - 1) / 11);
    for (const auto& ordering : AllOrderings()) {
      const std::string what = std::string(ordering.name) + " n=" + std::to_string(count);
      TAnniversaryList plain = original;
      ExpectLikePlainProcedure(ordering, plain, selected, what);
      // Again on the sorted list, which rearranges the twins once more, then reversed.
      ExpectLikePlainProcedure(ordering, plain, selected, what + " again");
      std::reverse(plain.begin(), plain.end());
      ExpectLikePlainProcedure(ordering, plain, selected, what + " reversed");
    }
  }
}

}  // namespace
}  // namespace jubilora
