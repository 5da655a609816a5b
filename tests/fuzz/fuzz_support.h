#pragma once
// What the fuzz targets share: a check and a way to cut one input into several. The ports
// the logic needs are the tests' own fakes.

#include <string_view>
#include <vector>

#include "support/records.h"

namespace jubilora::fuzz {

// A broken property is a finding like a crash.
inline void Require(bool holds) {
  if (!holds) __builtin_trap();
}

// The parts of an input separated by `separator`, at most `count` (the last takes the rest).
inline std::vector<std::string_view> Split(std::string_view input, char separator, std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const auto at = input.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + 1);
  }
  parts.push_back(input);
  return parts;
}

}  // namespace jubilora::fuzz
