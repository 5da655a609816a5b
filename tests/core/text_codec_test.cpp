#include "core/text_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace jubilora {
namespace {

TEST(TextCodec, EveryByteHasItsOwnCharacterAndComesBack) {
  std::string all;
  std::set<std::string> seen;
  for (int b = 0; b < 256; ++b) {
    all += static_cast<char>(b);
    seen.insert(Cp1252ToUtf8(std::string(1, static_cast<char>(b))));
  }
  EXPECT_EQ(seen.size(), 256u);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  // The euro sign, a bullet, and an undefined byte that keeps the C1 control of its number.
  EXPECT_EQ(Cp1252ToUtf8("\x80\x95\x81"), "\u20AC\u2022\xC2\x81");
  EXPECT_EQ(Cp1252FromCodePoint(0x0081), '\x81');
  for (char32_t cp : {0x0080, 0x0095, 0x0100, 0xFFFD, 0x1F600}) {
    EXPECT_FALSE(Cp1252FromCodePoint(cp).has_value()) << static_cast<int>(cp);
  }
}

TEST(TextCodec, CharactersOutsideWindows1252AndMalformedUtf8AreRefusedNotReplaced) {
  for (const char* unmapped : {"abc\u0100", "ok \U0001F382 ok", "\u0080"}) {  // U+0080: not the euro's byte
    EXPECT_TRUE(IsValidUtf8(unmapped));
    EXPECT_FALSE(Utf8ToCp1252(unmapped).has_value()) << unmapped;
  }
  const std::vector<std::string> malformed = {
      "a\xBF",             // stray continuation byte
      "\xE2\x82",          // truncated sequence
      "\xC3\x28",          // lead byte followed by a non-continuation
      "\xC0\xAF",          // overlong "/"
      "\xE0\x80\xAF",      // overlong three-byte form
      "\xED\xA0\x80",      // a lone surrogate half
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "caf\xE9",           // Windows-1252 text passed as UTF-8
  };
  for (const auto& text : malformed) {
    EXPECT_FALSE(IsValidUtf8(text)) << testing::PrintToString(text);
    EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << testing::PrintToString(text);
  }
}

bool PrintableCp1252(unsigned char byte) {
  const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
  return byte >= 0x20 && byte != 0x7F && !undefined;
}

// Random mixes of ASCII (controls too), every two-byte character, longer ones and malformed
// bytes all become printable Windows-1252; what the code page prints stays as it is.
TEST(NearestLetters, EveryOutputIsPrintableWindows1252AndWhatFitsStays) {
  const std::vector<std::string> longer = {"\u2003", "\u200B", "\u2022", "\u4E2D", "\U0001F600", "\xC3", "\xFF"};
  std::mt19937 random(11);
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int i = 0; i < 8; ++i) {
      const unsigned cp = 0x80 + random() % 0x780;
      switch (random() % 3) {
        case 0: text += static_cast<char>(random() % 0x80); break;
        case 1: text += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))}; break;
        default: text += longer[random() % longer.size()];
      }
    }
    for (const char c : Utf8ToCp1252Nearest(text)) EXPECT_TRUE(PrintableCp1252(static_cast<unsigned char>(c))) << text;
  }
  std::string printable;
  for (int b = 0x20; b < 0x100; ++b) {
    if (PrintableCp1252(static_cast<unsigned char>(b))) printable += static_cast<char>(b);
  }
  EXPECT_EQ(Utf8ToCp1252Nearest(Cp1252ToUtf8(printable)), printable);
}

TEST(NearestLetters, WhereTheRuleIsNotObvious) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\u0141\u00F3d\u017A \u0150z \u0218", "L\xF3" "dz Oz S"},  // Łódź Őz Ș: letters the code page lacks
      {"\u0132ssel \u01C4emal", "IJssel DZemal"},                 // one letter, two in Windows-1252
      {"\u01FC \u01D8", "\xC6 \xFC"},                              // closer letters the code page has
      {"Zoe\u0308 g\u0301 e\u0301\u0301", "Zo\xEB g \xE9"},          // decomposed accents join or go
      {"\u0391\u0399 a\tb\u200Bc", "?? a bc"},                     // other scripts, blanks, invisibles
  };
  for (const auto& [utf8, cp1252] : cases) EXPECT_EQ(Utf8ToCp1252Nearest(utf8), cp1252) << utf8;
}

}  // namespace
}  // namespace jubilora
