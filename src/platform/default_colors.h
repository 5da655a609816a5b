#pragma once
// The system colour table of the text modes. They have no display to ask, so the "System"
// preset gets the colours of Qt's own palette, exactly as the window gets them on the offscreen
// platform; --print=tsv prints the same colours wherever it runs.

#include <cstdint>

#include "core/ports.h"

namespace jubilora {

class DefaultSystemColors : public SystemColors {
 public:
  // 0x00BBGGRR; an index the table does not know gives the window text colour.
  std::uint32_t ColorOf(int index) const override;
};

}  // namespace jubilora
