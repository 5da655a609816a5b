#pragma once
// Windows-1252 <-> UTF-8, for the boundaries where text leaves or enters the program.

#include <optional>
#include <string>
#include <string_view>

namespace jubilora {

std::string Cp1252ToUtf8(std::string_view text);
// Nothing when a character has no Windows-1252 byte (or the UTF-8 is malformed).
std::optional<std::string> Utf8ToCp1252(std::string_view text);
// The Windows-1252 byte of a Unicode code point, if there is one.
std::optional<char> Cp1252FromCodePoint(char32_t cp);

bool IsValidUtf8(std::string_view text);
// Windows-1252 for any text from outside, never refused: a letter the code page lacks
// becomes its nearest letter (Ł → L, ǅ → Dz), an accent written as a combining mark joins
// its letter where the code page has the pair (e + U+0301 → é) and is dropped otherwise;
// line breaks and tabs become blanks; other controls, other scripts and malformed bytes "?".
std::string Utf8ToCp1252Nearest(std::string_view text);

}  // namespace jubilora
