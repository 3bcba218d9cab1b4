#pragma once
// The user simple image processing entries and the user colour entries: 16 of each, edited by
// their editors, chosen as image kinds and colour kinds by the image control, and stored in
// the user information file.
#include <array>
#include <cstdint>
#include <string>

namespace vemla {

inline constexpr int kUserEntryCount = 16;

struct UserProcessingEntry {
  std::int32_t inUse = 0;                // 1 = defined
  std::string name;                      // at most 35 CP932 bytes
  std::int32_t form = 0;                 // 0 filter, 1 expression
  std::int32_t filterPicture = 0;        // 0 picture 1, 1 picture 2
  std::array<std::string, 81> elements;  // the 9 x 9 filter cells row by row, 15 bytes each
  std::int32_t correction = 0;           // 1 = divide by the divisor
  std::string divisor;                   // at most 15 bytes
  std::string expression;                // at most 515 bytes
  bool operator==(const UserProcessingEntry&) const = default;
};

struct UserColourEntry {
  std::int32_t inUse = 0;
  std::string name;                       // at most 35 CP932 bytes
  std::array<std::uint8_t, 768> table{};  // red, green, blue for grey 0 .. 255
  bool operator==(const UserColourEntry&) const = default;
};

struct UserEntries {
  std::array<UserProcessingEntry, kUserEntryCount> processing;
  std::array<UserColourEntry, kUserEntryCount> colours;
  bool operator==(const UserEntries&) const = default;
};

}  // namespace vemla
