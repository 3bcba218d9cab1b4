#pragma once
#include <array>
#include <cstdint>

namespace vemla {

// 256 entries of (blue, green, red, 0).
using Palette = std::array<std::uint8_t, 1024>;

// Entry i = (i, i, i, 0).
Palette greyRamp();

}  // namespace vemla
