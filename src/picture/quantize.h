#pragma once
// Reduction of 24/32-bit pictures to the fixed 216-colour cube with 8 x 8 ordered dithering.
#include <cstddef>
#include <cstdint>

#include "picture/palette.h"

namespace vemla {

// The fixed palette: entries 0..215 the 6x6x6 cube (36*b + 6*g + r -> 51*b, 51*g, 51*r),
// entries 216..255 grey.
Palette quantizePalette();

// Quantizes `height` rows of `width` pixels (3 or 4 bytes each: blue, green, red[, ignored]).
// Source row i lies at source + i * sourceStride and is the picture's row i counted from the
// top; the dither matrix row for it is (height - 1 - i) mod 8, because the matrix is counted
// on bottom-up bitmap rows. Output row i goes to destination + i * destinationStride.
// Works in place when destination == source and destinationStride <= sourceStride.
void quantizeTrueColour(int bytesPerPixel, const std::uint8_t* source, std::size_t sourceStride,
                        int width, int height, std::uint8_t* destination,
                        std::size_t destinationStride, Palette* palette);

// Straightforward per-pixel form of the same rule (division and modulo by 51), kept as the
// reference the table-driven kernel is tested against.
void quantizeTrueColourReference(int bytesPerPixel, const std::uint8_t* source,
                                 std::size_t sourceStride, int width, int height,
                                 std::uint8_t* destination, std::size_t destinationStride);

}  // namespace vemla
