#pragma once
// The PNG writer: 8-bit grey (no palette or a grey ramp), 8-bit palette (all 256 entries of
// any other palette) or 8-bit RGB (3 or 4 bytes per pixel, the fourth byte dropped).
#include <cstdint>
#include <string>

#include "picture/palette.h"

namespace vemla {

// Rows top-down, width * bytesPerPixel bytes each without padding. Written through a
// FileReplacement (the target is replaced only when everything was written). 0 on success,
// -1 on failure.
int writePngPicture(const std::string& path, int width, int height, int bytesPerPixel,
                    const std::uint8_t* pixels, const Palette* palette);

}  // namespace vemla
