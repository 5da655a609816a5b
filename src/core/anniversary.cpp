#include "core/anniversary.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace jubilora {

namespace {
constexpr std::size_t KindOffset = 0;
constexpr std::size_t Padding1Offset = 1;
constexpr std::size_t DateOffset = 8;
constexpr std::size_t LengthOffset = 16;
constexpr std::size_t CharsOffset = 17;
constexpr std::size_t ImportanceOffset = 67;
constexpr std::size_t ReminderOffset = 68;
constexpr std::size_t Padding2Offset = 69;
}  // namespace

std::string TAnniversary::Description() const {
  const std::size_t length = std::min<std::size_t>(DescriptionLength, MaxDescriptionLength);
  return std::string(DescriptionChars.data(), length);
}

void TAnniversary::SetDescription(std::string_view text) {
  const std::size_t length = std::min(text.size(), MaxDescriptionLength);
  std::copy_n(text.data(), length, DescriptionChars.data());
  DescriptionLength = static_cast<std::uint8_t>(length);
}

void EncodeRecord(const TAnniversary& record, std::uint8_t* out) {
  out[KindOffset] = record.Kind;
  std::memcpy(out + Padding1Offset, record.Padding1.data(), record.Padding1.size());
  const auto bits = std::bit_cast<std::uint64_t>(record.Date);
  for (std::size_t i = 0; i < 8; ++i) out[DateOffset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  out[LengthOffset] = record.DescriptionLength;
  std::memcpy(out + CharsOffset, record.DescriptionChars.data(), MaxDescriptionLength);
  out[ImportanceOffset] = record.Importance;
  out[ReminderOffset] = record.ReminderDays;
  std::memcpy(out + Padding2Offset, record.Padding2.data(), record.Padding2.size());
}

TAnniversary DecodeRecord(const std::uint8_t* in) {
  TAnniversary record;
  record.Kind = in[KindOffset];
  std::memcpy(record.Padding1.data(), in + Padding1Offset, record.Padding1.size());
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i) bits |= std::uint64_t{in[DateOffset + i]} << (8 * i);
  record.Date = std::bit_cast<double>(bits);
  record.DescriptionLength = in[LengthOffset];
  std::memcpy(record.DescriptionChars.data(), in + CharsOffset, MaxDescriptionLength);
  record.Importance = in[ImportanceOffset];
  record.ReminderDays = in[ReminderOffset];
  std::memcpy(record.Padding2.data(), in + Padding2Offset, record.Padding2.size());
  return record;
}

bool SameBytes(const TAnniversary& a, const TAnniversary& b) {
  std::uint8_t x[RecordSize];
  std::uint8_t y[RecordSize];
  EncodeRecord(a, x);
  EncodeRecord(b, y);
  return std::memcmp(x, y, RecordSize) == 0;
}

}  // namespace jubilora
