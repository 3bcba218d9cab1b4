#pragma once
#include <QImage>

#include "picture/palette.h"

namespace vemla {

// An indexed 8-bit image of W x H top-down pixels with the 256-entry palette, ready to draw
// without smoothing.
QImage pictureImage(const std::uint8_t* pixels, int width, int height, const Palette& palette);

}  // namespace vemla
