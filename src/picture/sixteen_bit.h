#pragma once
// How a 16-bit grey picture becomes the 8-bit picture the workbench compares. One rule holds
// for both pictures of a pair, so that their differences keep their meaning.
#include <cstdint>

namespace vemla {

enum class SixteenBitRule : std::uint8_t {
  Significant = 0,  // the significant bits the file declares, scaled to 0-255 (the default)
  Window = 1,       // the fixed window lower..upper scaled to 0-255, clamped outside it
  TopByte = 2,      // the upper 8 bits of each sample
};

struct SixteenBitConversion {
  SixteenBitRule rule = SixteenBitRule::Significant;
  std::uint16_t lower = 0;      // Window only
  std::uint16_t upper = 65535;  // Window only; lower < upper
  bool operator==(const SixteenBitConversion&) const = default;
};

}  // namespace vemla
