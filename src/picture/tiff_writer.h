#pragma once
// The TIFF writer: one page, Deflate-compressed strips; 8-bit grey (min-is-black, for no
// palette or a grey ramp), 8-bit palette (a colour map of all 256 entries) or 8-bit RGB (3 or 4
// bytes per pixel, the fourth byte dropped). Grey and RGB rows use the horizontal predictor.
#include <cstdint>
#include <string>

#include "picture/palette.h"

namespace vemla {

// Rows top-down, width * bytesPerPixel bytes each without padding. The file is built in memory
// and written through a FileReplacement (the target is replaced only when everything was
// written). 0 on success, -1 on failure; libtiff's messages are never printed.
int writeTiffPicture(const std::string& path, int width, int height, int bytesPerPixel,
                     const std::uint8_t* pixels, const Palette* palette);

}  // namespace vemla
