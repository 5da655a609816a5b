#include "core/ordering.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "core/calendar.h"

namespace jubilora {

namespace {

int Sign(int difference) { return (difference > 0) - (difference < 0); }

// Month and day as one number; a date without a calendar day sorts before 1 January.
int MonthDayOf(const TAnniversary& record) {
  const auto civil = DecodeDate(record.Date);
  return civil ? civil->month * 32 + civil->day : 0;
}

std::string UpperDescription(const TAnniversary& record) {
  std::string text = record.Description();
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Bytes compared as unsigned values, a proper prefix smaller.
int CompareBytes(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return Sign(static_cast<int>(a.size()) - static_cast<int>(b.size()));
}

// The explicit periods count upwards from the default period, which is lowest.
int ReminderRank(std::uint8_t reminderDays) { return reminderDays == DefaultReminder ? -1 : reminderDays; }

// The five keys of one record, each oriented so that a smaller value comes first.
enum class Key { Date, Importance, Kind, Description, Reminder };

using Chain = std::array<Key, 5>;

constexpr Chain DateChain{Key::Date, Key::Importance, Key::Kind, Key::Description, Key::Reminder};
constexpr Chain PriorityChain{Key::Importance, Key::Date, Key::Kind, Key::Description, Key::Reminder};
constexpr Chain DescriptionChain{Key::Description, Key::Date, Key::Importance, Key::Kind, Key::Reminder};
constexpr Chain TypeChain{Key::Kind, Key::Date, Key::Importance, Key::Description, Key::Reminder};
constexpr Chain ReminderChain{Key::Reminder, Key::Date, Key::Importance, Key::Kind, Key::Description};

// Dense ranks of the upper-cased descriptions: equal texts share a rank.
std::vector<std::uint32_t> DescriptionRanks(const TAnniversaryList& list) {
  const std::size_t n = list.size();
  std::vector<std::string> upper(n);
  for (std::size_t i = 0; i < n; ++i) upper[i] = UpperDescription(list[i]);
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return CompareBytes(upper[a], upper[b]) < 0; });
  std::vector<std::uint32_t> rank(n);
  std::uint32_t current = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && CompareBytes(upper[order[k - 1]], upper[order[k]]) != 0) ++current;
    rank[order[k]] = current;
  }
  return rank;
}

// One 64-bit key per record holding the whole chain, so that "x comes before y" is
// keyX < keyY. Date 9 bits, importance, kind and reminder 8 bits each, and the
// description rank in what is left (at most 31 bits, as the list holds at most 2^31 records).
std::vector<std::uint64_t> ChainKeys(const TAnniversaryList& list, const Chain& chain) {
  const std::size_t n = list.size();
  const std::vector<std::uint32_t> ranks = DescriptionRanks(list);
  const int rankBits = n > 1 ? std::bit_width(static_cast<std::uint64_t>(n - 1)) : 1;
  std::vector<std::uint64_t> keys(n);
  for (std::size_t i = 0; i < n; ++i) {
    const TAnniversary& r = list[i];
    std::uint64_t key = 0;
    for (Key field : chain) {
      switch (field) {
        case Key::Date:
          key = (key << 9) | static_cast<std::uint64_t>(MonthDayOf(r));
          break;
        case Key::Importance:
          key = (key << 8) | (255u - r.Importance);
          break;
        case Key::Kind:
          key = (key << 8) | r.Kind;
          break;
        case Key::Description:
          key = (key << rankBits) | ranks[i];
          break;
        case Key::Reminder:
          key = (key << 8) | static_cast<std::uint64_t>(254 - ReminderRank(r.ReminderDays));
          break;
      }
    }
    keys[i] = key;
  }
  return keys;
}

// The exchange procedure: for every i and every j, when the record at i comes before
// the record at j the two change places. It is run on (key, index) pairs and the records
// are moved once at the end.
//
// Two stretches of the loops provably never exchange anything and are skipped:
// - After the pass with i = 0 the greatest key is at 0, and each later pass i leaves the
//   greatest key at i with 0..i in order. So in pass i >= 1 nothing happens for j > i,
//   since nothing comes after the greatest key.
// - In pass i the records 0..i-1 are in order, so nothing happens while the key at j is
//   not greater than the one at i: the exchanges start at the first greater key.
// The exchanges that remain are made one by one, which keeps the arrangement of records
// with equal keys exactly as the full loops leave it.
int ExchangeSort(TAnniversaryList& list, int selected, const Chain& chain) {
  const std::size_t n = list.size();
  if (n < 2) return selected;
  std::vector<std::uint64_t> keys = ChainKeys(list, chain);
  std::vector<std::uint32_t> index(n);
  std::iota(index.begin(), index.end(), 0u);

  std::uint64_t* const k = keys.data();
  std::uint32_t* const x = index.data();

  // Pass i = 0: position 0 carries the greatest key seen so far.
  {
    std::uint64_t carryKey = k[0];
    std::uint32_t carryIndex = x[0];
    for (std::size_t j = 1; j < n; ++j) {
      const std::uint64_t otherKey = k[j];
      const std::uint32_t otherIndex = x[j];
      const bool before = carryKey < otherKey;
      k[j] = before ? carryKey : otherKey;
      x[j] = before ? carryIndex : otherIndex;
      carryKey = before ? otherKey : carryKey;
      carryIndex = before ? otherIndex : carryIndex;
    }
    k[0] = carryKey;
    x[0] = carryIndex;
  }

  for (std::size_t i = 1; i < n; ++i) {
    std::uint64_t carryKey = k[i];
    std::uint32_t carryIndex = x[i];
    const std::size_t first = static_cast<std::size_t>(std::upper_bound(k, k + i, carryKey) - k);
    if (first == i) continue;
    for (std::size_t j = first; j < i; ++j) {
      const std::uint64_t otherKey = k[j];
      const std::uint32_t otherIndex = x[j];
      const bool before = carryKey < otherKey;
      k[j] = before ? carryKey : otherKey;
      x[j] = before ? carryIndex : otherIndex;
      carryKey = before ? otherKey : carryKey;
      carryIndex = before ? otherIndex : carryIndex;
    }
    k[i] = carryKey;
    x[i] = carryIndex;
  }

  TAnniversaryList sorted;
  sorted.reserve(n);
  for (std::size_t p = 0; p < n; ++p) sorted.push_back(list[x[p]]);
  list.swap(sorted);

  // A record never changes place with itself, so following the swaps of the selected
  // position is the same as following the record that was there.
  if (selected >= 0 && static_cast<std::size_t>(selected) < n) {
    for (std::size_t p = 0; p < n; ++p) {
      if (x[p] == static_cast<std::uint32_t>(selected)) return static_cast<int>(p);
    }
  }
  return selected;
}

}  // namespace

int CompareDate(const TAnniversary& a, const TAnniversary& b) { return Sign(MonthDayOf(a) - MonthDayOf(b)); }

int ComparePriority(const TAnniversary& a, const TAnniversary& b) { return Sign(a.Importance - b.Importance); }

int CompareType(const TAnniversary& a, const TAnniversary& b) { return Sign(a.Kind - b.Kind); }

int CompareDescription(const TAnniversary& a, const TAnniversary& b) {
  return CompareBytes(UpperDescription(a), UpperDescription(b));
}

int CompareReminder(const TAnniversary& a, const TAnniversary& b) {
  return Sign(ReminderRank(a.ReminderDays) - ReminderRank(b.ReminderDays));
}

int SortByDate(TAnniversaryList& list, int selected) { return ExchangeSort(list, selected, DateChain); }
int SortByPriority(TAnniversaryList& list, int selected) { return ExchangeSort(list, selected, PriorityChain); }
int SortByDescription(TAnniversaryList& list, int selected) {
  return ExchangeSort(list, selected, DescriptionChain);
}
int SortByType(TAnniversaryList& list, int selected) { return ExchangeSort(list, selected, TypeChain); }
int SortByReminder(TAnniversaryList& list, int selected) { return ExchangeSort(list, selected, ReminderChain); }

int SortBy(SortOrder order, TAnniversaryList& list, int selected) {
  switch (order) {
    case SortOrder::Type: return SortByType(list, selected);
    case SortOrder::Description: return SortByDescription(list, selected);
    case SortOrder::Priority: return SortByPriority(list, selected);
    case SortOrder::Reminder: return SortByReminder(list, selected);
    case SortOrder::Date: break;
  }
  return SortByDate(list, selected);
}

}  // namespace jubilora
