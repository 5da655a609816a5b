#pragma once
// The arrangement left by the program's exchange procedure, reached in O(n log n).

#include <cstdint>
#include <vector>

namespace jubilora {

// The procedure, on keys k: for every i and then every j (both from 0 to n-1), positions i
// and j change places when k[i] < k[j]. Returns, for each position after it, the index in
// `keys` of the key that ends there. Equal keys end in exactly the arrangement the two
// loops leave them in. Fewer than 2^31 keys.
std::vector<std::uint32_t> ExchangeOrder(std::vector<std::uint64_t> keys);

}  // namespace jubilora
