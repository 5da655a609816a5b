#include "core/exchange_order.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <numeric>
#include <utility>

// Why the two loops can be replaced.
//
// Pass i = 0 carries the greatest key to position 0 in one sweep: position 0 takes each key
// greater than the one it holds and leaves that one behind in its place.
//
// From then on positions 0..i-1 are in key order with the greatest key among them, and
// pass i changes nothing past position i. Within 0..i-1 the record x from position i first
// meets a greater key at the upper bound u of its own key. There it is left, and it carries
// away the first record of that run of equal keys; the rest of the run is not greater than
// the carried record, so the carried record is left at the next greater key, where it
// carries away that run's first record, and so on; the first record of the last run ends at
// position i. So pass i inserts x after every key not greater than its own, and every run
// of a greater key turns by one: its first record moves to its end.
//
// The records are therefore gathered in runs, one per distinct key, in key order. A run
// changes only when a record of its own key joins it (at its end) or when one of a smaller
// key arrives (it turns by one). Seen as a ring, a run is a cyclic sequence with a marked
// start: turning moves the mark one record on, joining inserts just before the mark. The
// turns a run owes are counted lazily by a Fenwick tree over the distinct keys, so a run
// only settles them when a record joins it; the places in its ring are then worked out
// backwards with a Fenwick tree over its free slots. Every step costs O(log n).

namespace jubilora {

namespace {

// Counts per slot with prefix sums, and the search for the slot holding the k-th count.
// It works on tree[1..size] of storage that the caller holds, so that many small trees
// can share one array.
class Fenwick {
 public:
  Fenwick(std::int32_t* tree, std::size_t size) : tree_(tree), size_(size) {}

  // Every slot holds one.
  void FillOnes() {
    for (std::size_t p = 1; p <= size_; ++p) tree_[p] = 1;
    for (std::size_t p = 1; p <= size_; ++p) {
      if (const std::size_t parent = p + LowBit(p); parent <= size_) tree_[parent] += tree_[p];
    }
  }

  void Add(std::size_t slot, std::int32_t amount) {
    for (std::size_t p = slot + 1; p <= size_; p += LowBit(p)) tree_[p] += amount;
  }

  // Sum of slots 0..slot-1.
  std::int32_t Prefix(std::size_t slot) const {
    std::int32_t sum = 0;
    for (std::size_t p = slot; p > 0; p -= LowBit(p)) sum += tree_[p];
    return sum;
  }

  // The slot where the prefix sum first exceeds k (no count may be negative).
  std::size_t Find(std::int32_t k) const {
    std::size_t p = 0;
    for (std::size_t step = std::bit_floor(size_); step > 0; step >>= 1) {
      if (p + step <= size_ && tree_[p + step] <= k) {
        p += step;
        k -= tree_[p];
      }
    }
    return p;
  }

 private:
  static std::size_t LowBit(std::size_t p) { return p & (~p + 1); }

  std::int32_t* tree_;
  std::size_t size_;
};

// Pass i = 0, in place on the keys and the indices that travel with them.
void CarryGreatestToFront(std::vector<std::uint64_t>& keys, std::vector<std::uint32_t>& order) {
  for (std::size_t j = 1; j < keys.size(); ++j) {
    if (keys[0] < keys[j]) {
      std::swap(keys[0], keys[j]);
      std::swap(order[0], order[j]);
    }
  }
}

// A run seen as a ring: where it begins in the final arrangement, its size so far, where
// its start stands among its slots, and how many records of smaller keys had arrived when
// its turns were last settled.
struct Ring {
  std::size_t first = 0;
  std::size_t size = 0;
  std::size_t start = 0;
  std::int32_t settled = 0;
};

}  // namespace

std::vector<std::uint32_t> ExchangeOrder(std::vector<std::uint64_t> keys) {
  const std::size_t n = keys.size();
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  if (n < 2) return order;
  CarryGreatestToFront(keys, order);

  // One ring per distinct key, in key order; run[p] names the ring of the record at p.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byKey(n);
  for (std::size_t p = 0; p < n; ++p) byKey[p] = {keys[p], static_cast<std::uint32_t>(p)};
  std::sort(byKey.begin(), byKey.end());
  std::vector<std::uint32_t> run(n);
  std::vector<Ring> rings;
  for (std::size_t q = 0; q < n; ++q) {
    if (q == 0 || byKey[q].first != byKey[q - 1].first) rings.push_back({q, 0, 0, 0});
    run[byKey[q].second] = static_cast<std::uint32_t>(rings.size() - 1);
  }

  // Pass p inserts the record at p (pass 0 is the first record joining an empty list).
  std::vector<std::uint32_t> insertedAt(n);  // index among its ring's slots when it joined
  std::vector<std::int32_t> arrivedTree(rings.size() + 1, 0);
  Fenwick arrived(arrivedTree.data(), rings.size());
  for (std::size_t p = 0; p < n; ++p) {
    Ring& ring = rings[run[p]];
    const std::int32_t smaller = arrived.Prefix(run[p]);
    if (ring.size > 0) {
      ring.start = (ring.start + static_cast<std::size_t>(smaller - ring.settled)) % ring.size;
      insertedAt[p] = static_cast<std::uint32_t>(ring.start);
      ++ring.start;  // the start record moves up past the one inserted before it
    }
    ++ring.size;
    ring.settled = smaller;
    arrived.Add(run[p], 1);
  }
  for (std::size_t r = 0; r < rings.size(); ++r) {
    Ring& ring = rings[r];
    ring.start = (ring.start + static_cast<std::size_t>(arrived.Prefix(r) - ring.settled)) % ring.size;
  }

  // Backwards, each record takes the free slot of its ring that has as many free slots
  // before it as its insertion index: the records inserted later hold the others. Ring r
  // keeps its tree of free slots at first + r in one shared array.
  std::vector<std::int32_t> freeTrees(n + rings.size());
  for (std::size_t r = 0; r < rings.size(); ++r) Fenwick(&freeTrees[rings[r].first + r], rings[r].size).FillOnes();
  std::vector<std::uint32_t> arranged(n);
  for (std::size_t p = n; p-- > 0;) {
    const Ring& ring = rings[run[p]];
    Fenwick freeSlots(&freeTrees[ring.first + run[p]], ring.size);
    const std::size_t slot = freeSlots.Find(static_cast<std::int32_t>(insertedAt[p]));
    freeSlots.Add(slot, -1);
    arranged[ring.first + (slot + ring.size - ring.start) % ring.size] = order[p];
  }
  return arranged;
}

}  // namespace jubilora
