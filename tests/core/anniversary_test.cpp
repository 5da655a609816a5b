#include "core/anniversary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <iterator>
#include <string>

namespace jubilora {
namespace {

using Bytes = std::array<std::uint8_t, RecordSize>;

Bytes Encode(const TAnniversary& record) {
  Bytes bytes{};
  EncodeRecord(record, bytes.data());
  return bytes;
}

// Deterministic garbage: every byte differs from its neighbours and from zero.
Bytes Garbage(std::uint8_t seed) {
  Bytes bytes{};
  std::uint32_t state = 0x9E3779B9u ^ seed;
  for (auto& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>((state >> 24) | 1u);
  }
  return bytes;
}

std::string TextAt(const Bytes& bytes, std::size_t length) {
  return std::string(reinterpret_cast<const char*>(bytes.data() + 17), length);
}

TEST(AnniversaryLayout, FieldsSitAtTheirByteOffsetsBothWays) {
  Bytes expected{};
  expected[0] = KindWedding;
  for (std::uint8_t i = 1; i < 8; ++i) expected[i] = static_cast<std::uint8_t>(0x10 + i);
  // 45688.0 (2025-01-31) as a little-endian IEEE double.
  const std::array<std::uint8_t, 8> date = {0x00, 0x00, 0x00, 0x00, 0x00, 0x4F, 0xE6, 0x40};
  std::copy(date.begin(), date.end(), expected.begin() + 8);
  expected[16] = 4;
  for (std::size_t i = 0; i < 4; ++i) expected[17 + i] = static_cast<std::uint8_t>("Anna"[i]);
  expected[66] = 'E';  // the last character, past the length
  const std::array<std::uint8_t, 5> tail = {4, 30, 0xA1, 0xA2, 0xA3};
  std::copy(tail.begin(), tail.end(), expected.begin() + 67);

  TAnniversary record;
  record.Kind = KindWedding;
  record.Padding1 = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17};
  record.Date = 45688.0;
  record.SetDescription("Anna");
  record.DescriptionChars[49] = 'E';
  record.Importance = 4;
  record.ReminderDays = 30;
  record.Padding2 = {0xA1, 0xA2, 0xA3};
  EXPECT_EQ(Encode(record), expected);

  const TAnniversary decoded = DecodeRecord(expected.data());
  EXPECT_TRUE(SameBytes(decoded, record));
  EXPECT_EQ(decoded.Description(), "Anna");
}

TEST(AnniversaryRoundTrip, EveryByteAndEveryDateBitPatternSurvives) {
  const std::uint64_t patterns[] = {
      0x7FF8000000000000u,  // quiet NaN
      0xFFF8000000000001u,  // negative quiet NaN with payload
      0x7FF4000000000123u,  // signalling NaN with payload
      0x7FF0000000000000u,  // infinity
      0x0000000000000001u,  // smallest subnormal
      0x8000000000000000u,  // negative zero
  };
  for (std::uint8_t seed = 0; seed < 12; ++seed) {
    Bytes bytes = Garbage(seed);
    bytes[16] = static_cast<std::uint8_t>(seed % 8);  // a short description leaves garbage behind it
    const std::uint64_t bits = seed < std::size(patterns) ? patterns[seed] : 0x40E64F0000000000u;
    for (std::size_t i = 0; i < 8; ++i) bytes[8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    const TAnniversary record = DecodeRecord(bytes.data());
    EXPECT_EQ(Encode(record), bytes) << int{seed};
    EXPECT_EQ(std::bit_cast<std::uint64_t>(record.Date), bits) << int{seed};
  }
}

TEST(AnniversaryRoundTrip, SameBytesNoticesPaddingAndUnusedCharacters) {
  const TAnniversary original = DecodeRecord(Garbage(3).data());
  TAnniversary padding = original;
  padding.Padding2[2] ^= 1;
  EXPECT_FALSE(SameBytes(original, padding));

  TAnniversary emptied = original;
  emptied.DescriptionLength = 0;
  TAnniversary unused = emptied;
  unused.DescriptionChars[49] ^= 1;
  EXPECT_FALSE(SameBytes(emptied, unused));
}

TEST(AnniversaryDescription, DamagedLengthReadsAsFiftyAndIsWrittenBackUnchanged) {
  for (const std::uint8_t length : {std::uint8_t{51}, std::uint8_t{255}}) {
    Bytes bytes = Garbage(length);
    bytes[16] = length;
    const TAnniversary record = DecodeRecord(bytes.data());
    EXPECT_EQ(record.Description(), TextAt(bytes, 50));
    EXPECT_EQ(Encode(record), bytes);
  }
}

TEST(AnniversaryDescription, SetKeepsFiftyCharactersAndLeavesTheBytesBehindAlone) {
  TAnniversary record;
  record.SetDescription(std::string(49, 'b') + "cd");
  EXPECT_EQ(record.Description(), std::string(49, 'b') + "c");
  EXPECT_EQ(Encode(record)[67], 0);  // the 51st character goes nowhere

  record.SetDescription("xy");
  EXPECT_EQ(record.DescriptionLength, 2);
  EXPECT_EQ(TextAt(Encode(record), 4), "xybb");

  const std::string anyBytes("a\0b\x95\xFF", 5);
  record.SetDescription(anyBytes);
  EXPECT_EQ(DecodeRecord(Encode(record).data()).Description(), anyBytes);
}

}  // namespace
}  // namespace jubilora
