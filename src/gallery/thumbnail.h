#pragma once
// Slot thumbnails: 256 x 256 bytes, shown through the slot's palette.
#include <cstddef>
#include <cstdint>
#include <span>

#include "picture/palette.h"

namespace vemla {

inline constexpr int kThumbnailSide = 256;
inline constexpr std::size_t kThumbnailBytes = 256 * 256;

// Fills `thumbnail` (65536 bytes) with 0, then the picture scaled to fit with its aspect ratio
// kept and centred: an area 256 wide and height * 256 / width rows high when width >= height,
// else width * 256 / height wide and 256 high; margins are half the free width and height.
// Nearest-neighbour sampling: area row i takes source row i * height / rows, column j source
// column j * width / columns. A true-colour picture (3 or 4 bytes per pixel) is reduced to the
// quantizer's 256 colours as a whole picture would be, and `palette` becomes the quantizer's
// palette; a grey picture's bytes are taken as they are and `palette` is not touched.
void buildThumbnail(std::span<const std::uint8_t> pixels, int width, int height, int bytesPerPixel,
                    std::span<std::uint8_t> thumbnail, Palette& palette);

}  // namespace vemla
