#pragma once
// The interleave of "ＲＧＢ結合": three grey planes become one three-byte picture in bitmap byte
// order, pixel k = (blue[k], green[k], red[k]).
#include <cstddef>
#include <cstdint>

namespace vemla {

// `out` holds 3 x `pixels` bytes; it must not overlap the planes.
void interleaveRgbPlanes(const std::uint8_t* red, const std::uint8_t* green,
                         const std::uint8_t* blue, std::size_t pixels, std::uint8_t* out);

}  // namespace vemla
