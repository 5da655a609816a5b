#pragma once
// Colours and icon opacity that tell how close a day is.

#include <cstdint>

#include "core/calendar.h"
#include "core/ports.h"
#include "core/settings.h"

namespace jubilora {

// Opaque 0xFFRRGGBB for an entry listed on `day`.
std::uint32_t GetTextColor(DayNumber day, DayNumber today, const TCfg& cfg, const SystemColors& system);

// Master opacity (128..255) of the kind icon of an entry listed on `day`.
int IconOpacity(DayNumber day, DayNumber today, std::uint8_t daysBefore);

}  // namespace jubilora
