#pragma once
// The ASCII side of the plain-text formats the program reads (sample source, vCard): their
// keywords, numbers and blanks are ASCII whatever the text around them.

#include <optional>
#include <string>
#include <string_view>

namespace jubilora {

char AsciiUpper(char c);
char AsciiLower(char c);
// Only "a" to "z" change; every other byte stays as it is.
std::string UpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// The value of a hexadecimal digit in either letter case; -1 for any other byte.
int HexDigit(char c);

// The value of 1 to 9 plain decimal digits (no sign, no blanks); nothing otherwise.
std::optional<int> DecimalDigits(std::string_view digits);

}  // namespace jubilora
