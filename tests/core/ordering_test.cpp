#include "core/ordering.h"

#include <gtest/gtest.h>

#include <array>
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

// A record told apart from its twins only by a tag in its padding.
TAnniversary Tagged(TAnniversary record, std::uint8_t tag) {
  record.Padding1[0] = tag;
  return record;
}

std::vector<int> YearsOf(const TAnniversaryList& list) {
  std::vector<int> years;
  for (const auto& r : list) years.push_back(DecodeDate(r.Date)->year);
  return years;
}

std::vector<std::string> DescriptionsOf(const TAnniversaryList& list) {
  std::vector<std::string> texts;
  for (const auto& r : list) texts.push_back(r.Description());
  return texts;
}

// ---------------------------------------------------------------------------------------
// The comparisons

TEST(OrderingCompareDate, IgnoresTheYearAndComparesMonthBeforeDay) {
  const auto march5of1990 = Record(KindBirthday, 1990, 3, 5, "A");
  const auto march5of1970 = Record(KindBirthday, 1970, 3, 5, "B");
  const auto april1 = Record(KindBirthday, 1800, 4, 1, "C");
  const auto march30 = Record(KindBirthday, 2100, 3, 30, "D");
  EXPECT_EQ(CompareDate(march5of1990, march5of1970), 0);
  EXPECT_EQ(CompareDate(march5of1970, march5of1990), 0);
  EXPECT_EQ(CompareDate(april1, march30), 1);
  EXPECT_EQ(CompareDate(march30, april1), -1);
  EXPECT_EQ(CompareDate(march30, march5of1970), 1);
  EXPECT_EQ(CompareDate(march5of1970, march30), -1);
}

TEST(OrderingCompareDate, DateWithoutCalendarDaySortsBeforeTheFirstOfJanuary) {
  auto nan = Record(KindBirthday, 2000, 1, 1, "N");
  nan.Date = std::numeric_limits<double>::quiet_NaN();
  auto infinite = nan;
  infinite.Date = std::numeric_limits<double>::infinity();
  auto farFuture = nan;
  farFuture.Date = 1e9;  // after year 9999
  auto beforeYearOne = nan;
  beforeYearOne.Date = -700000.0;
  const auto january1 = Record(KindBirthday, 2000, 1, 1, "J");
  for (const auto& undated : {nan, infinite, farFuture, beforeYearOne}) {
    EXPECT_EQ(CompareDate(undated, january1), -1);
    EXPECT_EQ(CompareDate(january1, undated), 1);
    EXPECT_EQ(CompareDate(undated, nan), 0);
  }
}

TEST(OrderingCompareDate, FractionIsDroppedTowardsZero) {
  auto lateMarch5 = Record(KindBirthday, 1990, 3, 5, "A");
  lateMarch5.Date += 0.9;
  EXPECT_EQ(CompareDate(lateMarch5, Record(KindBirthday, 1970, 3, 5, "B")), 0);
  EXPECT_EQ(CompareDate(lateMarch5, Record(KindBirthday, 1970, 3, 6, "B")), -1);
  // -1.5 is 29 December 1899 (towards zero), not 28 December (downwards).
  auto negative = lateMarch5;
  negative.Date = -1.5;
  EXPECT_EQ(CompareDate(negative, Record(KindBirthday, 1950, 12, 29, "C")), 0);
}

TEST(OrderingCompareBytes, ImportanceAndKindAreUnsignedBytes) {
  const auto sample = Record(KindBirthday, 2000, 1, 1, "S", SampleImportance);
  const auto extreme = Record(KindBirthday, 2000, 1, 1, "E", 5);
  EXPECT_EQ(ComparePriority(sample, extreme), 1);
  EXPECT_EQ(ComparePriority(extreme, sample), -1);
  EXPECT_EQ(ComparePriority(extreme, extreme), 0);
  const auto oddKind = Record(200, 2000, 1, 1, "K");
  EXPECT_EQ(CompareType(oddKind, extreme), 1);
  EXPECT_EQ(CompareType(extreme, oddKind), -1);
  EXPECT_EQ(CompareType(Record(KindHoliday, 1, 1, 1, "x"), Record(KindHoliday, 9, 9, 9, "y")), 0);
}

TEST(OrderingCompareDescription, UpperCasesOnlyAsciiLettersAndComparesUnsignedBytes) {
  const auto lower = Record(KindBirthday, 2000, 1, 1, "anna");
  const auto upper = Record(KindBirthday, 2000, 1, 1, "ANNA");
  const auto annabel = Record(KindBirthday, 2000, 1, 1, "Annabel");
  const auto eAcute = Record(KindBirthday, 2000, 1, 1, "\xC9va");        // "Éva"
  const auto eAcuteLower = Record(KindBirthday, 2000, 1, 1, "\xE9va");   // "éva"
  const auto zed = Record(KindBirthday, 2000, 1, 1, "zed");
  const auto empty = Record(KindBirthday, 2000, 1, 1, "");
  EXPECT_EQ(CompareDescription(lower, upper), 0);
  EXPECT_EQ(CompareDescription(upper, lower), 0);
  EXPECT_EQ(CompareDescription(upper, annabel), -1);
  EXPECT_EQ(CompareDescription(annabel, lower), 1);
  EXPECT_EQ(CompareDescription(eAcute, zed), 1);
  EXPECT_EQ(CompareDescription(zed, eAcute), -1);
  // Accented letters keep their case: "é" (0xE9) is above "É" (0xC9).
  EXPECT_EQ(CompareDescription(eAcuteLower, eAcute), 1);
  EXPECT_EQ(CompareDescription(empty, lower), -1);
  EXPECT_EQ(CompareDescription(empty, empty), 0);
  // Punctuation between the cases is not touched: "[" (0x5B) is above "Z" but below "a".
  EXPECT_EQ(CompareDescription(Record(KindBirthday, 2000, 1, 1, "["), Record(KindBirthday, 2000, 1, 1, "z")), 1);
}

TEST(OrderingCompareReminder, DefaultPeriodIsBelowEveryExplicitPeriod) {
  const auto byDefault = Record(KindBirthday, 2000, 1, 1, "D", 3, DefaultReminder);
  const auto none = Record(KindBirthday, 2000, 1, 1, "0", 3, 0);
  const auto month = Record(KindBirthday, 2000, 1, 1, "30", 3, 30);
  const auto longest = Record(KindBirthday, 2000, 1, 1, "254", 3, 254);
  EXPECT_EQ(CompareReminder(byDefault, none), -1);
  EXPECT_EQ(CompareReminder(none, byDefault), 1);
  EXPECT_EQ(CompareReminder(byDefault, longest), -1);
  EXPECT_EQ(CompareReminder(byDefault, byDefault), 0);
  EXPECT_EQ(CompareReminder(month, none), 1);
  EXPECT_EQ(CompareReminder(none, month), -1);
  EXPECT_EQ(CompareReminder(longest, month), 1);
}

// ---------------------------------------------------------------------------------------
// The orderings' chains

TEST(OrderingSortByDate, CalendarDayFirstWhateverTheYear) {
  TAnniversaryList list = {Record(KindBirthday, 1950, 12, 31, "Dec"), Record(KindBirthday, 2020, 1, 1, "Jan"),
                           Record(KindBirthday, 1900, 6, 15, "Jun")};
  SortByDate(list, -1);
  EXPECT_EQ(DescriptionsOf(list), (std::vector<std::string>{"Jan", "Jun", "Dec"}));
}

TEST(OrderingSortByDate, SameDayFollowsImportanceKindDescriptionAndReminder) {
  TAnniversaryList list = {
      Record(KindHoliday, 1990, 3, 5, "kind5", 3),
      Record(KindBirthday, 1970, 3, 5, "low", 1),
      Record(KindBirthday, 1990, 3, 5, "sample", SampleImportance),
      Record(KindBirthday, 1980, 3, 5, "extreme", 5),
      Record(KindBirthday, 1990, 3, 5, "zz", 3, 30),
      Record(KindBirthday, 1990, 3, 5, "b", 3, DefaultReminder),
      Record(KindBirthday, 1990, 3, 5, "b", 3, 60),
      Record(KindBirthday, 1990, 3, 5, "b", 3, 0),
      Record(KindBirthday, 1990, 3, 4, "earlier", 0),
  };
  SortByDate(list, -1);
  std::vector<std::string> reminders;
  for (const auto& r : list) reminders.push_back(r.Description() + "/" + std::to_string(r.ReminderDays));
  EXPECT_EQ(reminders, (std::vector<std::string>{"earlier/255", "sample/255", "extreme/255", "b/60", "b/0", "b/255",
                                                 "zz/30", "kind5/255", "low/255"}));
}

TEST(OrderingSortByPriority, HigherImportanceFirstThenDate) {
  TAnniversaryList list = {Record(KindBirthday, 2000, 1, 2, "five-b", 5), Record(KindBirthday, 2000, 1, 1, "zero", 0),
                           Record(KindBirthday, 2000, 1, 9, "sample", SampleImportance),
                           Record(KindBirthday, 1999, 1, 1, "five-a", 5)};
  SortByPriority(list, -1);
  EXPECT_EQ(DescriptionsOf(list), (std::vector<std::string>{"sample", "five-a", "five-b", "zero"}));
}

TEST(OrderingSortByDescription, DescriptionFirstThenDateImportanceKind) {
  TAnniversaryList list = {
      Record(KindBirthday, 2000, 2, 1, "anna", 3), Record(KindBirthday, 2000, 1, 1, "Annabel", 3),
      Record(KindBirthday, 2000, 1, 1, "\xC9va", 3), Record(KindBirthday, 2000, 3, 1, "ANNA", 5),
      Record(KindBirthday, 2000, 2, 1, "Anna", 4),   Record(KindNameDay, 2000, 2, 1, "ANNA", 4),
  };
  SortByDescription(list, -1);
  std::vector<std::string> got;
  for (const auto& r : list) got.push_back(r.Description() + std::to_string(r.Importance) + std::to_string(r.Kind));
  EXPECT_EQ(got, (std::vector<std::string>{"Anna41", "ANNA42", "anna31", "ANNA51", "Annabel31", "\xC9va31"}));
}

TEST(OrderingSortByType, LowerKindFirstThenDate) {
  TAnniversaryList list = {Record(KindHoliday, 2000, 1, 1, "h"), Record(0, 2000, 5, 5, "zero"),
                           Record(KindBirthday, 2000, 7, 1, "b-jul"), Record(KindBirthday, 2000, 2, 1, "b-feb")};
  SortByType(list, -1);
  EXPECT_EQ(DescriptionsOf(list), (std::vector<std::string>{"zero", "b-feb", "b-jul", "h"}));
}

TEST(OrderingSortByReminder, ExplicitPeriodsLongestFirstDefaultLast) {
  TAnniversaryList list = {Record(KindBirthday, 2000, 1, 1, "d1", 3, DefaultReminder),
                           Record(KindBirthday, 2000, 1, 1, "0", 3, 0),
                           Record(KindBirthday, 2000, 1, 1, "90", 3, 90),
                           Record(KindBirthday, 2000, 1, 1, "30", 3, 30),
                           Record(KindBirthday, 1999, 1, 1, "d0", 3, DefaultReminder)};
  SortByReminder(list, -1);
  EXPECT_EQ(DescriptionsOf(list), (std::vector<std::string>{"90", "30", "0", "d0", "d1"}));
}

TEST(OrderingSortBy, DispatchesByTheTableEditorsListPosition) {
  const TAnniversaryList original = {Record(KindHoliday, 2000, 1, 2, "a", 1, 30),
                                     Record(KindBirthday, 2000, 1, 3, "c", 2, 20),
                                     Record(KindNameDay, 2000, 1, 1, "b", 0, 10)};
  const std::array<std::pair<SortOrder, std::string>, 5> expected = {{
      {SortOrder::Date, "bac"},
      {SortOrder::Type, "cba"},
      {SortOrder::Description, "abc"},
      {SortOrder::Priority, "cab"},
      {SortOrder::Reminder, "acb"},
  }};
  EXPECT_EQ(static_cast<int>(SortOrder::Date), 0);
  EXPECT_EQ(static_cast<int>(SortOrder::Type), 1);
  EXPECT_EQ(static_cast<int>(SortOrder::Description), 2);
  EXPECT_EQ(static_cast<int>(SortOrder::Priority), 3);
  EXPECT_EQ(static_cast<int>(SortOrder::Reminder), 4);
  for (const auto& [order, letters] : expected) {
    TAnniversaryList list = original;
    SortBy(order, list, -1);
    std::string got;
    for (const auto& r : list) got += r.Description();
    EXPECT_EQ(got, letters) << static_cast<int>(order);
  }
}

// ---------------------------------------------------------------------------------------
// The selected position

TEST(OrderingSelectedPosition, EmptyListAndNoSelectionAreReturnedUnchanged) {
  TAnniversaryList empty;
  EXPECT_EQ(SortByDate(empty, 0), 0);
  EXPECT_EQ(SortByDate(empty, 7), 7);
  EXPECT_EQ(SortByDate(empty, -1), -1);
  EXPECT_TRUE(empty.empty());

  TAnniversaryList list = {Record(KindBirthday, 2000, 5, 1, "b"), Record(KindBirthday, 2000, 1, 1, "a")};
  EXPECT_EQ(SortByDate(list, -1), -1);
  EXPECT_EQ(DescriptionsOf(list), (std::vector<std::string>{"a", "b"}));
  TAnniversaryList again = {Record(KindBirthday, 2000, 5, 1, "b"), Record(KindBirthday, 2000, 1, 1, "a")};
  EXPECT_EQ(SortByReminder(again, 2), 2);  // past the end: names no record
}

TEST(OrderingSelectedPosition, FollowsTheSelectedRecordWhenItMoves) {
  TAnniversaryList list = {Record(KindBirthday, 2000, 9, 1, "sep"), Record(KindBirthday, 2000, 1, 1, "jan"),
                           Record(KindBirthday, 2000, 5, 1, "may"), Record(KindBirthday, 2000, 3, 1, "mar")};
  const TAnniversaryList original = list;
  for (int selected = 0; selected < 4; ++selected) {
    list = original;
    const int position = SortByDate(list, selected);
    ASSERT_GE(position, 0);
    ASSERT_LT(position, 4);
    EXPECT_TRUE(SameBytes(list[static_cast<std::size_t>(position)], original[static_cast<std::size_t>(selected)]))
        << selected;
  }
}

TEST(OrderingSelectedPosition, UnchangedWhenOnlyOtherRecordsMove) {
  // The second last-of-the-year twin is never exchanged: only the first twin and the
  // January record change places.
  const auto december = Record(KindBirthday, 1990, 12, 31, "Dec");
  auto twin = december;
  twin.Date = DayFromCivil(1980, 12, 31);
  const TAnniversaryList original = {december, Record(KindBirthday, 2000, 1, 1, "Jan"), twin};
  TAnniversaryList list = original;
  EXPECT_EQ(SortByDate(list, 2), 2);
  EXPECT_EQ(DescriptionsOf(list), (std::vector<std::string>{"Jan", "Dec", "Dec"}));
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2000, 1990, 1980}));
  list = original;
  EXPECT_EQ(SortByDate(list, 1), 0);
  list = original;
  EXPECT_EQ(SortByDate(list, 0), 1);
}

// ---------------------------------------------------------------------------------------
// The arrangement of records equal under every key, worked out by hand from the loops.

TEST(OrderingTies, EarlierRecordPassesOverTwinsToTheFront) {
  // Twins (equal under all five keys) ahead of a record that comes before them:
  // pass 2 swaps it with position 0 only, so the twins end up reversed.
  const auto twin = Record(KindBirthday, 1990, 3, 5, "Anna");
  auto older = twin;
  older.Date = DayFromCivil(1970, 3, 5);
  TAnniversaryList list = {twin, older, Record(KindBirthday, 2000, 3, 4, "Bert")};
  EXPECT_EQ(SortByDate(list, 0), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2000, 1970, 1990}));
  // A second run leaves this arrangement as it is.
  EXPECT_EQ(SortByDate(list, 2), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2000, 1970, 1990}));
}

TEST(OrderingTies, SortingSortedTwinsRotatesThem) {
  // Sorted input t1 t2 t3 z: pass 0 takes z to the front and t1 to the back; the later
  // passes bring z home and leave t2 t3 t1 z. Each further run rotates the twins again.
  const auto base = Record(KindWedding, 2001, 7, 7, "Same", 2, 10);
  auto t1 = base;
  auto t2 = base;
  auto t3 = base;
  t2.Date = DayFromCivil(2002, 7, 7);
  t3.Date = DayFromCivil(2003, 7, 7);
  TAnniversaryList list = {t1, t2, t3, Record(KindWedding, 1999, 7, 8, "Later", 2, 10)};
  EXPECT_EQ(SortByDate(list, 0), 2);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2002, 2003, 2001, 1999}));
  EXPECT_EQ(SortByDate(list, 2), 1);
  EXPECT_EQ(YearsOf(list), (std::vector<int>{2003, 2001, 2002, 1999}));
}

TEST(OrderingTies, PaddingOnlyTwinsAreArrangedTheSameWay) {
  const auto base = Record(KindHoliday, 2000, 1, 1, "Day");
  TAnniversaryList list = {Tagged(base, 1), Tagged(base, 2), Record(KindHoliday, 2000, 1, 2, "Next")};
  SortByPriority(list, -1);  // importance equal: date decides, then the twins
  EXPECT_EQ(list[0].Padding1[0], 2);
  EXPECT_EQ(list[1].Padding1[0], 1);
  EXPECT_EQ(list[2].Description(), "Next");
  SortByPriority(list, -1);
  EXPECT_EQ(list[0].Padding1[0], 1);
  EXPECT_EQ(list[1].Padding1[0], 2);
}

// ---------------------------------------------------------------------------------------
// Against the exchange procedure written out plainly: every comparison on the records
// themselves, both loops in full.

using Compare = std::function<int(const TAnniversary&, const TAnniversary&)>;
struct ChainStep {
  Compare compare;
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
      if (ComesBefore(chain, list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)])) {
        std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
        for (int& s : selected) {
          if (i == s) {
            s = j;
          } else if (j == s) {
            s = i;
          }
        }
      }
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

void ExpectSameArrangement(const TAnniversaryList& got, const TAnniversaryList& expected, const std::string& what) {
  ASSERT_EQ(got.size(), expected.size()) << what;
  for (std::size_t p = 0; p < got.size(); ++p) {
    ASSERT_TRUE(SameBytes(got[p], expected[p])) << what << " differs at position " << p;
  }
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
    ExpectSameArrangement(fast, plain, label);
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
      // Again on the sorted list, which rearranges the twins once more.
      ExpectLikePlainProcedure(ordering, plain, selected, what + " again");
    }
  }
}

TEST(OrderingAgainstPlainProcedure, ReversedAndUniformLists) {
  std::mt19937 random(7);
  TAnniversaryList sorted = RandomRecords(random, 120);
  SortByDate(sorted, -1);
  for (const auto& ordering : AllOrderings()) {
    TAnniversaryList reversed(sorted.rbegin(), sorted.rend());
    ExpectLikePlainProcedure(ordering, reversed, {0, 5, 119}, std::string(ordering.name) + " reversed");
  }
  // All records equal under every key: nothing ever comes before anything.
  TAnniversaryList uniform;
  for (int i = 0; i < 50; ++i) uniform.push_back(Tagged(Record(KindBirthday, 1900 + i, 2, 2, "same"), 0));
  const TAnniversaryList before = uniform;
  EXPECT_EQ(SortByDate(uniform, 17), 17);
  ExpectSameArrangement(uniform, before, "uniform");
}

}  // namespace
}  // namespace jubilora
