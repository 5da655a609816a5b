#include "core/text_codec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace jubilora {
namespace {

std::string AllBytes() {
  std::string text;
  for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
  return text;
}

TEST(TextCodecRoundTrip, EveryByteComesBackAsItself) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const auto back = Utf8ToCp1252(Cp1252ToUtf8(one));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, one) << b;
  }
  const std::string all = AllBytes();
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextCodecRoundTrip, EveryByteHasItsOwnCharacter) {
  std::set<std::string> seen;
  for (int b = 0; b < 256; ++b) seen.insert(Cp1252ToUtf8(std::string(1, static_cast<char>(b))));
  EXPECT_EQ(seen.size(), 256u);
}

TEST(TextCodecMapping, HighBytesBecomeTheirUnicodeCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("A z~"), "A z~");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Cp1252ToUtf8("\x95"), "\u2022");
  EXPECT_EQ(Cp1252ToUtf8("\x85"), "\u2026");
  EXPECT_EQ(Cp1252ToUtf8("\x8A"), "\u0160");
  EXPECT_EQ(Cp1252ToUtf8("\x99"), "\u2122");
  EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\u0178");
  EXPECT_EQ(Cp1252ToUtf8("\xA0"), "\u00A0");
  EXPECT_EQ(Cp1252ToUtf8("\xE9"), "\u00E9");
  EXPECT_EQ(Cp1252ToUtf8("\xFF"), "\u00FF");
  // Undefined bytes keep the C1 control of the same number.
  for (const char c : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
    const std::string expected = {'\xC2', c};
    EXPECT_EQ(Cp1252ToUtf8(std::string(1, c)), expected);
  }
  EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Cp1252ToUtf8(""), "");
}

TEST(TextCodecMapping, ReportLineConvertsBothWays) {
  const std::string cp1252 = "Zo\xEB \x95 35th birthday \x80";
  const std::string utf8 = "Zo\u00EB \u2022 35th birthday \u20AC";
  EXPECT_EQ(Cp1252ToUtf8(cp1252), utf8);
  EXPECT_EQ(Utf8ToCp1252(utf8), cp1252);
}

TEST(TextCodecMapping, CodePointsToBytes) {
  EXPECT_EQ(Cp1252FromCodePoint(U'A'), 'A');
  EXPECT_EQ(Cp1252FromCodePoint(0), '\0');
  EXPECT_EQ(Cp1252FromCodePoint(0x2022), '\x95');
  EXPECT_EQ(Cp1252FromCodePoint(0x20AC), '\x80');
  EXPECT_EQ(Cp1252FromCodePoint(0x0178), '\x9F');
  EXPECT_EQ(Cp1252FromCodePoint(0x00FF), '\xFF');
  EXPECT_EQ(Cp1252FromCodePoint(0x0081), '\x81');
  // C1 controls whose numbers Windows-1252 gives to other characters have no byte.
  EXPECT_FALSE(Cp1252FromCodePoint(0x0080).has_value());
  EXPECT_FALSE(Cp1252FromCodePoint(0x0095).has_value());
  EXPECT_FALSE(Cp1252FromCodePoint(0x0100).has_value());
  EXPECT_FALSE(Cp1252FromCodePoint(0xFFFD).has_value());
  EXPECT_FALSE(Cp1252FromCodePoint(0x1F600).has_value());
}

TEST(TextCodecRefusal, CharactersOutsideWindows1252AreRefusedNotReplaced) {
  const std::vector<std::string> refused = {
      "\u0100",              // A with macron
      "abc\u0100",           // at the end of a text
      "\U0001F600",          // an emoji
      "ok \U0001F382 ok",    // inside a text
      "\u0080",              // the C1 control whose byte is the euro sign
      "\uFFFD",
      "\u4E2D",
  };
  for (const auto& text : refused) EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << text;
}

TEST(TextCodecRefusal, MalformedUtf8IsRefused) {
  const std::vector<std::string> malformed = {
      "\x80",              // stray continuation byte
      "a\xBF",             // stray continuation after text
      "\xC3",              // truncated two-byte sequence
      "\xE2\x82",          // truncated three-byte sequence
      "\xF0\x9F\x98",      // truncated four-byte sequence
      "\xC3\x28",          // lead byte followed by a non-continuation
      "\xC0\xAF",          // overlong "/"
      "\xC1\xBF",          // overlong
      "\xE0\x80\xAF",      // overlong three-byte form
      "\xF0\x80\x80\xAF",  // overlong four-byte form
      "\xED\xA0\x80",      // surrogate half
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xF5\x80\x80\x80",  // invalid lead byte
      "\xFF",
      "caf\xE9",           // Windows-1252 text passed as UTF-8
  };
  for (const auto& text : malformed) EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << testing::PrintToString(text);
}

TEST(TextCodecRefusal, EmptyAndPlainTextsAreAccepted) {
  EXPECT_EQ(Utf8ToCp1252(""), std::string());
  EXPECT_EQ(Utf8ToCp1252("Anna"), "Anna");
  EXPECT_EQ(Utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Utf8ToCp1252("\u00A0\u00FF"), "\xA0\xFF");
}

}  // namespace
}  // namespace jubilora
