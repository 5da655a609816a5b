#pragma once
// What the fuzz targets share: a check. The ports the logic needs are the tests' own fakes.

#include "support/records.h"

namespace jubilora::fuzz {

// A broken property is a finding like a crash.
inline void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace jubilora::fuzz
