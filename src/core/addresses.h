#pragma once
// The program's web hosts and mail boxes, as the help text, the Help menu, the man page and the
// package name them. Reserved example addresses until the program has real ones; they live here
// only.

namespace jubilora {

inline constexpr const char* VendorSiteHost = "www.example.com";
inline constexpr const char* VendorMirrorHost = "mirror.example.org";
inline constexpr const char* MakerSiteHost = "www.example.net";

inline constexpr const char* SupportAddress = "support@example.com";
inline constexpr const char* AuthorsAddress = "authors@example.com";
inline constexpr const char* BugAddress = "bugs@example.com";

}  // namespace jubilora
