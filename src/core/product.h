#pragma once
// The program's name and version, as every window and message shows them, and the id its
// launcher, icons and metainfo are named after. The build supplies them.

#include "core/build_info.h"

namespace jubilora {

inline constexpr const char* ProductName = build::Name;
inline constexpr const char* ProductVersion = build::Version;
inline constexpr const char* ApplicationId = build::ApplicationId;
inline constexpr const char* Copyright = build::Copyright;

}  // namespace jubilora
