#include "picture/sixteen_bit.h"

#include <algorithm>

namespace vemla {
namespace {

// value in 0..range (clamped) scaled to 0..255, rounded to nearest.
std::uint8_t scaled(std::uint32_t value, std::uint32_t range) {
  value = std::min(value, range);
  return static_cast<std::uint8_t>((value * 255u + range / 2) / range);
}

std::string rangeNote(unsigned lower, unsigned upper) {
  return "[16→8 " + std::to_string(lower) + "–" + std::to_string(upper) + "]";
}

}  // namespace

SixteenBitMap::SixteenBitMap(const SixteenBitConversion& conversion, std::uint16_t maxValue,
                             int shift) {
  shift = std::clamp(shift, 0, 15);
  switch (conversion.rule) {
    case SixteenBitRule::Window: {
      const std::uint32_t lower = conversion.lower;
      // A window that is empty or reversed is taken as one value wide.
      const std::uint32_t upper = std::max<std::uint32_t>(conversion.upper, lower + 1);
      for (std::uint32_t sample = 0; sample < table_.size(); ++sample) {
        table_[sample] = sample <= lower ? 0 : scaled(sample - lower, upper - lower);
      }
      note_ = rangeNote(lower, upper);
      break;
    }
    case SixteenBitRule::TopByte:
      for (std::uint32_t sample = 0; sample < table_.size(); ++sample) {
        table_[sample] = static_cast<std::uint8_t>(sample >> 8);
      }
      note_ = rangeNote(0, 65535);
      break;
    case SixteenBitRule::Significant:
    default: {
      const std::uint32_t range = std::max<std::uint32_t>(maxValue, 1);
      for (std::uint32_t sample = 0; sample < table_.size(); ++sample) {
        table_[sample] = scaled(sample >> shift, range);
      }
      note_ = rangeNote(0, range);
      break;
    }
  }
}

}  // namespace vemla
