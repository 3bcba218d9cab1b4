#include "picture/true_colour.h"

#include <optional>

#include "picture/bitmap.h"
#include "picture/quantize.h"

namespace vemla {

bool trueColourTo8Bit(int trueColourMode, bool askRatio, RgbRatio ratios, UserPort& user,
                      std::string_view ratioSuffix, const std::uint8_t* source, int bytesPerPixel,
                      int width, int height, std::uint8_t* destination, Palette& palette) {
  const std::size_t stride = static_cast<std::size_t>(width) * bytesPerPixel;
  if (trueColourMode != 1) {
    quantizeTrueColour(bytesPerPixel, source, stride, width, height, destination,
                       static_cast<std::size_t>(width), &palette);
    return true;
  }
  if (askRatio) {
    const std::optional<RgbRatio> asked = user.askRgbRatio(ratioSuffix, ratios);
    if (!asked) return false;
    ratios = *asked;
  }
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t* pixel = source + i * bytesPerPixel;
    destination[i] = greyFromBgr(pixel[0], pixel[1], pixel[2], ratios);
  }
  palette = greyRamp();
  return true;
}

}  // namespace vemla
