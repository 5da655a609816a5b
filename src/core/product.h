#pragma once
// The program's name and version, as every window and message shows them.

namespace jubilora {

inline constexpr const char* ProductName = "Jubilora";
inline constexpr const char* ProductVersion = "3.22";

}  // namespace jubilora
