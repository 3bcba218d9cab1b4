#pragma once
// The one little-endian codec of every stored and transmitted format: bitmap headers, archives,
// settings files, the export wire format and the cursor hand-over file. Each function reads or
// writes exactly its width at `at`; the caller has checked that the bytes are there. Signed
// values are stored in two's complement.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace vemla::little_endian {

template <typename Unsigned>
constexpr Unsigned getUnsigned(const std::uint8_t* at) {
  Unsigned value = 0;
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    value = static_cast<Unsigned>(value | static_cast<Unsigned>(at[i]) << (8 * i));
  }
  return value;
}

template <typename Unsigned>
constexpr void putUnsigned(std::uint8_t* at, Unsigned value) {
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
    at[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

constexpr std::uint16_t getU16(const std::uint8_t* at) {
  return getUnsigned<std::uint16_t>(at);
}
constexpr std::uint32_t getU32(const std::uint8_t* at) {
  return getUnsigned<std::uint32_t>(at);
}
constexpr std::int32_t getI32(const std::uint8_t* at) {
  return static_cast<std::int32_t>(getU32(at));
}
constexpr double getF64(const std::uint8_t* at) {
  return std::bit_cast<double>(getUnsigned<std::uint64_t>(at));
}

constexpr void putU16(std::uint8_t* at, std::uint16_t value) {
  putUnsigned(at, value);
}
constexpr void putU32(std::uint8_t* at, std::uint32_t value) {
  putUnsigned(at, value);
}
constexpr void putI32(std::uint8_t* at, std::int32_t value) {
  putU32(at, static_cast<std::uint32_t>(value));
}
constexpr void putF64(std::uint8_t* at, double value) {
  putUnsigned(at, std::bit_cast<std::uint64_t>(value));
}

}  // namespace vemla::little_endian
