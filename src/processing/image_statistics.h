#pragma once
// Statistics of a derived image over its statistics rectangle, and the blanking of everything
// outside that rectangle ("有効範囲").
#include <cstdint>

#include "processing/rect.h"

namespace vemla {

struct ImageStatistics {
  int maximum = 0, minimum = 0, mean = 0;
  // Kept in 64 bits: a 4096 x 4096 image of 255 sums to more than 2^31.
  std::int64_t sum = 0;
  Rect rectangle{};
};

// Maximum, minimum, sum and truncated mean of the pixels inside `rectangle` (clipped to the
// image); all 0 when the rectangle holds no pixel.
ImageStatistics imageStatistics(const std::uint8_t* image, int width, int height,
                                const Rect& rectangle);

// Sets every pixel outside `rectangle` to `fill`.
void blankOutside(std::uint8_t* image, int width, int height, const Rect& rectangle,
                  std::uint8_t fill);

}  // namespace vemla
