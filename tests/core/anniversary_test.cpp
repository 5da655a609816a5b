#include "core/anniversary.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
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

Bytes WithDateBits(Bytes bytes, std::uint64_t bits) {
  for (std::size_t i = 0; i < 8; ++i) bytes[8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  return bytes;
}

TEST(AnniversaryLayout, FieldsSitAtTheirByteOffsets) {
  TAnniversary record;
  record.Kind = KindWedding;
  record.Padding1 = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17};
  record.Date = 45688.0;  // 2025-01-31
  record.SetDescription("Anna");
  record.Importance = 4;
  record.ReminderDays = 30;
  record.Padding2 = {0xA1, 0xA2, 0xA3};

  const Bytes bytes = Encode(record);
  EXPECT_EQ(bytes[0], 3);
  for (std::size_t i = 1; i < 8; ++i) EXPECT_EQ(bytes[i], 0x10 + i) << i;
  // 45688.0 as a little-endian IEEE double.
  const std::array<std::uint8_t, 8> date = {0x00, 0x00, 0x00, 0x00, 0x00, 0x4F, 0xE6, 0x40};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(bytes[8 + i], date[i]) << i;
  EXPECT_EQ(bytes[16], 4);
  EXPECT_EQ(bytes[17], 'A');
  EXPECT_EQ(bytes[18], 'n');
  EXPECT_EQ(bytes[19], 'n');
  EXPECT_EQ(bytes[20], 'a');
  for (std::size_t i = 21; i < 67; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(bytes[67], 4);
  EXPECT_EQ(bytes[68], 30);
  EXPECT_EQ(bytes[69], 0xA1);
  EXPECT_EQ(bytes[70], 0xA2);
  EXPECT_EQ(bytes[71], 0xA3);
}

TEST(AnniversaryLayout, DecodingReadsEachFieldFromItsOffset) {
  Bytes bytes{};
  bytes[0] = KindHoliday;
  // 1.0 is 0x3FF0000000000000.
  bytes[14] = 0xF0;
  bytes[15] = 0x3F;
  bytes[16] = 3;
  bytes[17] = 'x';
  bytes[18] = '\x95';
  bytes[19] = 'z';
  bytes[20] = 'Q';  // past the length
  bytes[66] = 'E';
  bytes[67] = SampleImportance;
  bytes[68] = DefaultReminder;

  const TAnniversary record = DecodeRecord(bytes.data());
  EXPECT_EQ(record.Kind, KindHoliday);
  EXPECT_EQ(record.Date, 1.0);
  EXPECT_EQ(record.DescriptionLength, 3);
  EXPECT_EQ(record.Description(), "x\x95z");
  EXPECT_EQ(record.DescriptionChars[49], 'E');
  EXPECT_EQ(record.Importance, SampleImportance);
  EXPECT_EQ(record.ReminderDays, DefaultReminder);
}

TEST(AnniversaryRoundTrip, EveryByteSurvivesIncludingPaddingAndUnusedCharacters) {
  for (std::uint8_t seed = 0; seed < 16; ++seed) {
    Bytes bytes = Garbage(seed);
    bytes[16] = static_cast<std::uint8_t>(seed % 8);  // a short description leaves garbage behind it
    const TAnniversary record = DecodeRecord(bytes.data());
    EXPECT_EQ(Encode(record), bytes) << int{seed};
    EXPECT_TRUE(SameBytes(record, DecodeRecord(bytes.data())));
  }
}

TEST(AnniversaryRoundTrip, NaNDatesKeepTheirExactBits) {
  const std::uint64_t patterns[] = {
      0x7FF8000000000000u,  // quiet NaN
      0xFFF8000000000001u,  // negative quiet NaN with payload
      0x7FF0000000000001u,  // signalling NaN
      0x7FF4000000000123u,  // signalling NaN with payload
      0x7FF0000000000000u,  // infinity
      0x0000000000000001u,  // smallest subnormal
      0x8000000000000000u,  // negative zero
  };
  for (const std::uint64_t bits : patterns) {
    const Bytes bytes = WithDateBits(Garbage(7), bits);
    const TAnniversary record = DecodeRecord(bytes.data());
    EXPECT_EQ(std::bit_cast<std::uint64_t>(record.Date), bits) << std::hex << bits;
    EXPECT_EQ(Encode(record), bytes) << std::hex << bits;
  }
  const TAnniversary nan = DecodeRecord(WithDateBits(Bytes{}, 0x7FF0000000000001u).data());
  EXPECT_TRUE(std::isnan(nan.Date));
}

TEST(AnniversaryRoundTrip, SameBytesNoticesPaddingAndUnusedCharacters) {
  const Bytes bytes = Garbage(3);
  const TAnniversary original = DecodeRecord(bytes.data());

  TAnniversary padding = original;
  padding.Padding2[2] ^= 1;
  EXPECT_FALSE(SameBytes(original, padding));

  TAnniversary unused = original;
  unused.DescriptionLength = 0;
  unused.DescriptionChars[49] ^= 1;
  TAnniversary emptied = original;
  emptied.DescriptionLength = 0;
  EXPECT_FALSE(SameBytes(emptied, unused));
  EXPECT_EQ(emptied.Description(), unused.Description());
}

TEST(AnniversaryDescription, DamagedLengthReadsAsFiftyAndIsWrittenBackUnchanged) {
  for (const std::uint8_t length : {std::uint8_t{51}, std::uint8_t{200}, std::uint8_t{255}}) {
    Bytes bytes = Garbage(length);
    bytes[16] = length;
    const TAnniversary record = DecodeRecord(bytes.data());
    EXPECT_EQ(record.Description(), std::string(reinterpret_cast<const char*>(bytes.data() + 17), 50));
    EXPECT_EQ(Encode(record)[16], length);
    EXPECT_EQ(Encode(record), bytes);
  }
}

TEST(AnniversaryDescription, FiftyCharactersAreKeptAndTheFiftyFirstIsNot) {
  const std::string fifty(50, 'a');
  TAnniversary record;
  record.SetDescription(fifty);
  EXPECT_EQ(record.DescriptionLength, 50);
  EXPECT_EQ(record.Description(), fifty);

  std::string fiftyOne = std::string(49, 'b') + "cd";
  record.SetDescription(fiftyOne);
  EXPECT_EQ(record.DescriptionLength, 50);
  EXPECT_EQ(record.Description(), std::string(49, 'b') + "c");
  // The 51st character goes nowhere: the field after the text is untouched.
  EXPECT_EQ(Encode(record)[67], 0);
}

TEST(AnniversaryDescription, ShorterTextLeavesTheBytesBehindItAlone) {
  TAnniversary record;
  record.SetDescription("abcdef");
  record.SetDescription("xy");
  EXPECT_EQ(record.Description(), "xy");
  EXPECT_EQ(record.DescriptionLength, 2);
  const Bytes bytes = Encode(record);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 17), 6), "xycdef");

  record.SetDescription("");
  EXPECT_EQ(record.Description(), "");
  EXPECT_EQ(record.DescriptionLength, 0);
}

TEST(AnniversaryDescription, AnyByteIsPartOfTheText) {
  const std::string text("a\0b\x95\xFF", 5);
  TAnniversary record;
  record.SetDescription(text);
  EXPECT_EQ(record.Description(), text);
  const TAnniversary back = DecodeRecord(Encode(record).data());
  EXPECT_EQ(back.Description(), text);
}

}  // namespace
}  // namespace jubilora
