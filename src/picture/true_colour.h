#pragma once
// True-colour pixels to one byte per pixel, as a true-colour bitmap is opened as a picture.
#include <cstdint>
#include <string_view>

#include "picture/palette.h"
#include "ports/ports.h"

namespace vemla {

// `source` holds `height` rows of `width` pixels of 3 or 4 bytes (blue, green, red[, unused]),
// top-down. Mode 0 (TrueColourOpenMode) quantizes to the 216-colour cube (palette: the
// quantizer's); mode 1 converts to grey with `ratios` (palette: the grey ramp), asking for them
// first with `ratioSuffix` when `askRatio` (AskRatioPerFile) is on. `destination` may be
// `source`. False when that dialog was cancelled (nothing written).
bool trueColourTo8Bit(int trueColourMode, bool askRatio, RgbRatio ratios, UserPort& user,
                      std::string_view ratioSuffix, const std::uint8_t* source, int bytesPerPixel,
                      int width, int height, std::uint8_t* destination, Palette& palette);

}  // namespace vemla
