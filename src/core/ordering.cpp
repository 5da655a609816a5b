#include "core/ordering.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/ascii.h"
#include "core/calendar.h"
#include "core/exchange_order.h"

namespace jubilora {

std::string UpperDescription(const TAnniversary& record) { return UpperAscii(record.Description()); }

namespace {

// Month and day as one number; a date without a calendar day sorts before 1 January.
int MonthDayOf(const TAnniversary& record) {
  const auto civil = DecodeDate(record.Date);
  return civil ? civil->month * 32 + civil->day : 0;
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

// An upper-cased description's first 16 bytes as two big-endian numbers, so that most
// comparisons never reach the text itself.
struct TextHead {
  std::uint64_t bytes[2] = {0, 0};
  std::uint32_t size = 0;
  std::uint32_t index = 0;
};

// Dense ranks of the upper-cased descriptions: equal texts share a rank.
std::vector<std::uint32_t> DescriptionRanks(const TAnniversaryList& list) {
  const std::size_t n = list.size();
  std::vector<std::string> texts(n);
  std::vector<TextHead> heads(n);
  for (std::size_t i = 0; i < n; ++i) {
    texts[i] = UpperDescription(list[i]);
    TextHead& head = heads[i];
    for (std::size_t k = 0; k < 16; ++k) {
      const auto byte = k < texts[i].size() ? static_cast<unsigned char>(texts[i][k]) : 0u;
      head.bytes[k / 8] = (head.bytes[k / 8] << 8) | byte;
    }
    head.size = static_cast<std::uint32_t>(texts[i].size());
    head.index = static_cast<std::uint32_t>(i);
  }
  // Bytes as unsigned values, a proper prefix smaller. Equal heads of texts no longer than
  // the head differ only in their zero padding, so the shorter is a prefix of the longer.
  const auto before = [&texts](const TextHead& a, const TextHead& b) {
    if (a.bytes[0] != b.bytes[0]) return a.bytes[0] < b.bytes[0];
    if (a.bytes[1] != b.bytes[1]) return a.bytes[1] < b.bytes[1];
    if (a.size <= 16 && b.size <= 16) return a.size < b.size;
    return texts[a.index] < texts[b.index];  // std::string compares bytes as unsigned values
  };
  std::sort(heads.begin(), heads.end(), before);
  std::vector<std::uint32_t> rank(n);
  std::uint32_t current = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && before(heads[k - 1], heads[k])) ++current;
    rank[heads[k].index] = current;
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

// How two records compare on one field, oriented as in ChainKeys: negative when a comes first.
// Their month-days are given, since working them out is the costly part.
int CompareField(Key field, const TAnniversary& a, int monthDayA, const TAnniversary& b, int monthDayB) {
  switch (field) {
    case Key::Date: return monthDayA - monthDayB;
    case Key::Importance: return b.Importance - a.Importance;
    case Key::Kind: return a.Kind - b.Kind;
    case Key::Description: return UpperDescription(a).compare(UpperDescription(b));
    case Key::Reminder: return ReminderRank(b.ReminderDays) - ReminderRank(a.ReminderDays);
  }
  return 0;
}

// For a list already in order, ties allowed (as after every load and before every report): one
// key per record counting the distinct records before it, which orders the records exactly as
// ChainKeys does, at the cost of one pass over neighbours. Nothing when the list is not in order.
std::optional<std::vector<std::uint64_t>> KeysInOrder(const TAnniversaryList& list, const Chain& chain) {
  std::vector<std::uint64_t> keys(list.size());
  int previousDay = MonthDayOf(list.front());
  for (std::size_t i = 1; i < list.size(); ++i) {
    const int day = MonthDayOf(list[i]);
    int order = 0;
    for (Key field : chain) {
      order = CompareField(field, list[i - 1], previousDay, list[i], day);
      if (order != 0) break;
    }
    if (order > 0) return std::nullopt;
    keys[i] = keys[i - 1] + (order < 0 ? 1 : 0);
    previousDay = day;
  }
  return keys;
}

// The keys are computed once, the arrangement comes from the closed form of the exchange
// procedure, and the records are moved once at the end.
int ExchangeSort(TAnniversaryList& list, int selected, const Chain& chain) {
  const std::size_t n = list.size();
  if (n < 2) return selected;
  std::optional<std::vector<std::uint64_t>> keys = KeysInOrder(list, chain);
  // Without ties the exchange procedure leaves a list in order as it is.
  if (keys && keys->back() == n - 1) return selected;
  const std::vector<std::uint32_t> arranged = ExchangeOrder(keys ? std::move(*keys) : ChainKeys(list, chain));

  TAnniversaryList sorted;
  sorted.reserve(n);
  for (const std::uint32_t from : arranged) sorted.push_back(list[from]);
  list.swap(sorted);

  // A record never changes place with itself, so following the swaps of the selected
  // position is the same as following the record that was there.
  if (selected >= 0 && static_cast<std::size_t>(selected) < n) {
    const auto at = std::find(arranged.begin(), arranged.end(), static_cast<std::uint32_t>(selected));
    return static_cast<int>(at - arranged.begin());
  }
  return selected;
}

}  // namespace

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
