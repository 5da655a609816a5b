#include "core/text_codec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace jubilora {
namespace {

TEST(TextCodecRoundTrip, EveryByteHasItsOwnCharacterAndComesBack) {
  std::string all;
  std::set<std::string> seen;
  for (int b = 0; b < 256; ++b) {
    all += static_cast<char>(b);
    seen.insert(Cp1252ToUtf8(std::string(1, static_cast<char>(b))));
  }
  EXPECT_EQ(seen.size(), 256u);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextCodecMapping, HighBytesBecomeTheirUnicodeCharactersAndBack) {
  const std::string cp1252 = "Zo\xEB \x95 35th \x85\x8A\x99\x9F\xA0\xFF \x80";
  const std::string utf8 = "Zo\u00EB \u2022 35th \u2026\u0160\u2122\u0178\u00A0\u00FF \u20AC";
  EXPECT_EQ(Cp1252ToUtf8(cp1252), utf8);
  EXPECT_EQ(Utf8ToCp1252(utf8), cp1252);
  // Undefined bytes keep the C1 control of the same number.
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
  EXPECT_EQ(Utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Utf8ToCp1252(""), std::string());
}

TEST(TextCodecMapping, CodePointsToBytes) {
  EXPECT_EQ(Cp1252FromCodePoint(0x2022), '\x95');
  EXPECT_EQ(Cp1252FromCodePoint(0x20AC), '\x80');
  EXPECT_EQ(Cp1252FromCodePoint(0x0081), '\x81');
  // C1 controls whose numbers Windows-1252 gives to other characters have no byte.
  for (char32_t cp : {0x0080, 0x0095, 0x0100, 0xFFFD, 0x1F600}) {
    EXPECT_FALSE(Cp1252FromCodePoint(cp).has_value()) << static_cast<int>(cp);
  }
}

TEST(TextCodecRefusal, CharactersOutsideWindows1252AndMalformedUtf8AreRefusedNotReplaced) {
  const std::vector<std::string> refused = {
      "abc\u0100",          // A with macron at the end of a text
      "ok \U0001F382 ok",   // an emoji inside a text
      "\u0080",             // the C1 control whose byte is the euro sign
      "\uFFFD",
      "a\xBF",              // stray continuation byte
      "\xE2\x82",           // truncated sequence
      "\xC3\x28",           // lead byte followed by a non-continuation
      "\xC0\xAF",           // overlong "/"
      "\xE0\x80\xAF",       // overlong three-byte form
      "\xED\xA0\x80",       // surrogate half
      "\xF4\x90\x80\x80",   // above U+10FFFF
      "\xFF",
      "caf\xE9",            // Windows-1252 text passed as UTF-8
  };
  for (const auto& text : refused) EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << testing::PrintToString(text);
}

}  // namespace
}  // namespace jubilora
