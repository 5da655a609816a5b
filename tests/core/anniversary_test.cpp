#include "core/anniversary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <string>

namespace jubilora {
namespace {

using Bytes = std::array<std::uint8_t, RecordSize>;

Bytes Encode(const TAnniversary& record) {
  Bytes bytes{};
  EncodeRecord(record, bytes.data());
  return bytes;
}

// Other programs and older files read these offsets: kind, 7 padding bytes, the date as a
// little-endian double, the length, 50 characters, importance, reminder, 3 padding bytes.
TEST(AnniversaryCodec, FieldsSitAtTheirOffsets) {
  TAnniversary record;
  record.Kind = KindWedding;
  record.Padding1 = {1, 2, 3, 4, 5, 6, 7};
  record.Date = 45688.0;
  record.SetDescription("Anna");
  record.DescriptionChars[49] = 'E';
  record.Importance = 4;
  record.ReminderDays = 30;
  record.Padding2 = {0xA1, 0xA2, 0xA3};
  Bytes expected{KindWedding, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0x4F, 0xE6, 0x40, 4, 'A', 'n', 'n', 'a'};
  expected[66] = 'E';
  for (const auto& [at, byte] : {std::pair{67, 4}, {68, 30}, {69, 0xA1}, {70, 0xA2}, {71, 0xA3}}) {
    expected[at] = static_cast<std::uint8_t>(byte);
  }
  EXPECT_EQ(Encode(record), expected);
}

// Any bytes, as a damaged disk or another program may leave them: NaN payloads, garbage
// behind the text and a length byte over 50 are all written back as they were read.
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
