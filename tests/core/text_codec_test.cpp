// The 72-byte record and its Windows-1252 text.

#include "core/text_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/anniversary.h"

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
  // The euro sign, and an undefined byte that keeps the C1 control of its number.
  EXPECT_EQ(Cp1252ToUtf8("\x80\x81"), "\u20AC\xC2\x81");
}

TEST(TextCodec, CharactersOutsideWindows1252AndMalformedUtf8AreRefusedNotReplaced) {
  for (const char* unmapped : {"abc\u0100", "ok \U0001F382 ok", "\u0080"}) {  // U+0080: not the euro's byte
    EXPECT_TRUE(IsValidUtf8(unmapped));
    EXPECT_FALSE(Utf8ToCp1252(unmapped).has_value()) << unmapped;
  }
  const std::vector<std::string> malformed = {
      "a\xBF",             // stray continuation byte
      "\xE2\x82",          // truncated sequence
      "\xC0\xAF",          // overlong "/"
      "\xED\xA0\x80",      // a lone surrogate half
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "caf\xE9",           // Windows-1252 text passed as UTF-8
  };
  for (const auto& text : malformed) {
    EXPECT_FALSE(IsValidUtf8(text)) << testing::PrintToString(text);
    EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << testing::PrintToString(text);
  }
}

using Bytes = std::array<std::uint8_t, RecordSize>;

Bytes Encode(const TAnniversary& record) {
  Bytes bytes{};
  EncodeRecord(record, bytes.data());
  return bytes;
}

// Any bytes, as a damaged disk or another program may leave them: NaN payloads, garbage
// behind the text and a length byte over 50 are all written back as they were read. Other
// programs and older files read the fields at these offsets.
TEST(AnniversaryCodec, AnyBytesComeBackUnchangedAndEveryByteCounts) {
  const std::uint64_t dates[] = {0x7FF8000000000000u, 0xFFF8000000000001u, 0x7FF4000000000123u,
                                 0x7FF0000000000000u, 0x0000000000000001u, 0x8000000000000000u};
  const std::uint8_t lengths[] = {0, 3, 50, 51, 255};
  std::mt19937 random(1);
  for (int round = 0; round < 30; ++round) {
    Bytes bytes;
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    bytes[16] = lengths[round % std::size(lengths)];
    const std::uint64_t bits = dates[round % std::size(dates)];
    for (std::size_t i = 0; i < 8; ++i) bytes[8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));

    const TAnniversary record = DecodeRecord(bytes.data());
    EXPECT_EQ(Encode(record), bytes) << round;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(record.Date), bits) << round;
    EXPECT_EQ(record.Description(), std::string(bytes.begin() + 17, bytes.begin() + 17 + std::min(bytes[16], std::uint8_t{50})));
    EXPECT_TRUE(record.Kind == bytes[0] && record.Importance == bytes[67] && record.ReminderDays == bytes[68]);
    for (std::size_t at = 0; at < RecordSize; ++at) {
      Bytes other = bytes;
      other[at] ^= 0x10;
      EXPECT_FALSE(SameBytes(record, DecodeRecord(other.data()))) << "byte " << at;
    }
  }
}

TEST(AnniversaryCodec, SetDescriptionKeepsFiftyCharactersAndTheBytesBehind) {
  TAnniversary record;
  record.SetDescription(std::string(49, 'b') + "cd");
  EXPECT_EQ(record.Description(), std::string(49, 'b') + "c");
  EXPECT_EQ(Encode(record)[67], 0);  // the 51st character goes nowhere
  record.SetDescription(std::string("x\0\x95", 3));
  EXPECT_EQ(record.Description(), std::string("x\0\x95", 3));
  EXPECT_EQ(std::string(record.DescriptionChars.data(), 4), std::string("x\0\x95" "b", 4));
}

}  // namespace
}  // namespace jubilora
