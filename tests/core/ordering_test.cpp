#include "core/ordering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

using test::Record;

// The reference: the exchange procedure as the program describes it, both loops in full,
// on keys worked out here. Fields, smaller first: date, importance, kind, description,
// reminder.
using Fields = std::array<int, 5>;

std::vector<Fields> FieldsOf(const TAnniversaryList& list) {
  const auto upper = [](std::string s) {
    for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return s;
  };
  std::map<std::string, int> textRank;  // std::string orders bytes as unsigned values
  for (const auto& r : list) textRank[upper(r.Description())] = 0;
  int rank = 0;
  for (auto& entry : textRank) entry.second = rank++;
  std::vector<Fields> fields;
  for (const auto& r : list) {
    const auto civil = DecodeDate(r.Date);
    fields.push_back({civil ? civil->month * 100 + civil->day : 0, -r.Importance, r.Kind,
                      textRank[upper(r.Description())], r.ReminderDays == DefaultReminder ? 1 : -r.ReminderDays});
  }
  return fields;
}

// Returns which input record ends at each position, and moves the followed positions as
// the procedure's own rule does.
std::vector<int> PlainExchange(const TAnniversaryList& list, const std::array<int, 5>& chain,
                               std::vector<int>& followed) {
  const std::vector<Fields> fields = FieldsOf(list);
  const int n = static_cast<int>(list.size());
  std::vector<Fields> keys;
  for (const auto& f : fields) keys.push_back({f[chain[0]], f[chain[1]], f[chain[2]], f[chain[3]], f[chain[4]]});
  std::vector<int> at(list.size());
  std::iota(at.begin(), at.end(), 0);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      if (!(keys[i] < keys[j])) continue;
      std::swap(keys[i], keys[j]);
      std::swap(at[i], at[j]);
      for (int& s : followed) s = (i == s) ? j : (j == s) ? i : s;
    }
  }
  return at;
}

TAnniversary Tagged(TAnniversary r, const std::array<std::uint8_t, 3>& tag) {
  r.Padding2 = tag;
  return r;
}

// Few values per field, so that ties on every key are common, or many; the padding
// carries the record's number, which tells records equal under every key apart.
TAnniversaryList RandomRecords(std::mt19937& random, int count, bool few) {
  // Long texts share their first 8 or 16 bytes; "eva" is a prefix of "eva\0".
  const std::vector<std::string> texts = {
      "anna", "ANNA", "Annabel-Marie Schmidt", "annabel-marie schmid", "Annabel-Marie Schulz", "Annabel-Jo",
      "Annabel-Ann", "eva", {"eva\0", 4}, "\xC9va", "\xE9va", "", "Z[", "z", "[", "\xE9"};
  const std::vector<std::uint8_t> importances = {0, 3, 3, 5, SampleImportance};
  const std::vector<std::uint8_t> kinds = {0, 1, 1, 2, 7, 200};
  const std::vector<std::uint8_t> reminders = {0, 30, 90, 254, DefaultReminder, DefaultReminder};
  const std::vector<double> odd = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                   1e9, -1.5, 0.75};
  auto pick = [&](const auto& values) { return values[random() % (few ? values.size() / 2 + 1 : values.size())]; };
  TAnniversaryList list;
  for (int i = 0; i < count; ++i) {
    const int month = few ? 1 + static_cast<int>(random() % 2) * 11 : 1 + static_cast<int>(random() % 12);
    const int day = 1 + static_cast<int>(random() % (few ? 2 : 31));
    const std::string text = few ? pick(texts) : pick(texts) + std::to_string(random() % 100);
    TAnniversary r = Record(pick(kinds), 1900 + static_cast<int>(random() % 200), month, day, text,
                            pick(importances), pick(reminders));
    if (random() % 20 == 0) r.Date = pick(odd) + (random() % 2 ? r.Date : 0);
    list.push_back(Tagged(r, {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0}));
  }
  return list;
}

// The field chain of each ordering, by its place in the table editor's "Sort by" list:
// date, kind, description, importance, reminder first.
const std::array<int, 5> Chains[] = {{0, 1, 2, 3, 4}, {2, 0, 1, 3, 4}, {3, 0, 1, 2, 4}, {1, 0, 2, 3, 4}, {4, 0, 1, 2, 3}};

// Sorts `input` once per followed position; each sort must leave the reference's
// arrangement byte for byte and return the position it reaches. Returns the arrangement.
TAnniversaryList ExpectLikePlainExchange(int order, const TAnniversaryList& input, const std::string& what) {
  const int n = static_cast<int>(input.size());
  const std::vector<int> follow = {-1, 0, n / 2, n - 1, n, 1000000};
  std::vector<int> expected = follow;
  const std::vector<int> at = PlainExchange(input, Chains[order], expected);
  TAnniversaryList arranged;
  for (int from : at) arranged.push_back(input[static_cast<std::size_t>(from)]);
  for (std::size_t k = 0; k < follow.size(); ++k) {
    TAnniversaryList list = input;
    const std::string label = what + " following " + std::to_string(follow[k]);
    EXPECT_EQ(SortBy(static_cast<SortOrder>(order), list, follow[k]), expected[k]) << label;
    const auto differ = std::mismatch(list.begin(), list.end(), arranged.begin(), SameBytes).first - list.begin();
    EXPECT_EQ(differ, n) << label << ": the first position that differs";
  }
  return arranged;
}

TEST(Ordering, LeavesExactlyWhatThePlainExchangeLeaves) {
  std::mt19937 random(20250131);
  for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 9, 12, 20, 50, 300, 2000}) {
    for (const std::string shape : {"few values", "many values", "all equal"}) {
      TAnniversaryList base = RandomRecords(random, n, shape != "many values");
      if (shape == "all equal") {
        for (auto& r : base) r = Tagged(base[0], r.Padding2);
      }
      for (int order = 0; order < 5; ++order) {
        const std::string what = shape + " n=" + std::to_string(n) + " order " + std::to_string(order);
        // A second sort of a sorted list turns its ties once more.
        TAnniversaryList sorted = ExpectLikePlainExchange(order, base, what);
        sorted = ExpectLikePlainExchange(order, sorted, what + " sorted");
        std::reverse(sorted.begin(), sorted.end());
        ExpectLikePlainExchange(order, sorted, what + " reversed");
      }
    }
  }
}

}  // namespace
}  // namespace jubilora
