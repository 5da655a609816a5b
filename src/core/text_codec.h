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

}  // namespace jubilora
