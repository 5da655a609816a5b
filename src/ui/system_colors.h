#pragma once
// The system colour table, by Windows colour index, from the application's palette.
// Needs a QGuiApplication.

#include <cstdint>

#include "core/ports.h"

namespace jubilora {

class QtSystemColors : public SystemColors {
 public:
  // 0x00BBGGRR; an index the table does not know gives the window text colour.
  std::uint32_t ColorOf(int index) const override;
};

}  // namespace jubilora
