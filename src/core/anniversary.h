#pragma once
// One anniversary: the fixed 72-byte record shared by every file of records.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jubilora {

inline constexpr std::size_t RecordSize = 72;
inline constexpr std::size_t MaxDescriptionLength = 50;

// Kind values.
inline constexpr std::uint8_t KindBirthday = 1;
inline constexpr std::uint8_t KindNameDay = 2;
inline constexpr std::uint8_t KindWedding = 3;
inline constexpr std::uint8_t KindDeath = 4;
inline constexpr std::uint8_t KindHoliday = 5;
inline constexpr std::uint8_t KindOtherWithYears = 6;
inline constexpr std::uint8_t KindOtherNoYears = 7;

// Importance 255 marks a sample record; ReminderDays 255 means "use the default period".
inline constexpr std::uint8_t SampleImportance = 255;
inline constexpr std::uint8_t DefaultReminder = 255;

struct TAnniversary {
  std::uint8_t Kind = 0;
  std::array<std::uint8_t, 7> Padding1{};
  double Date = 0.0;  // days since 1899-12-30
  // Kept raw so that a damaged length byte is written back as it was read.
  std::uint8_t DescriptionLength = 0;
  std::array<char, MaxDescriptionLength> DescriptionChars{};
  std::uint8_t Importance = 0;
  std::uint8_t ReminderDays = 0;
  std::array<std::uint8_t, 3> Padding2{};

  // The Windows-1252 text; a length byte above 50 reads as 50.
  std::string Description() const;
  // Keeps the first 50 characters; bytes past the new length are left as they were.
  void SetDescription(std::string_view text);
};

using TAnniversaryList = std::vector<TAnniversary>;

// Explicit little-endian codec; every byte, padding included, round-trips.
void EncodeRecord(const TAnniversary& record, std::uint8_t* out);
TAnniversary DecodeRecord(const std::uint8_t* in);

bool SameBytes(const TAnniversary& a, const TAnniversary& b);

}  // namespace jubilora
