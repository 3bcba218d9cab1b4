#include "processing/compared_pixels.h"

#include <algorithm>

namespace vemla {

bool clipToPicture(const Rect& rect, int width, int height, Rect& clipped) {
  clipped = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width - 1),
             std::min(rect.bottom, height - 1)};
  return clipped.left <= clipped.right && clipped.top <= clipped.bottom;
}

std::vector<std::uint8_t> comparedPixels(int width, int height, std::span<const Rect> ignored,
                                         const std::uint8_t* mask) {
  if (width <= 0 || height <= 0) return {};
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> compared(size, 1);
  bool leftOut = false;
  if (mask != nullptr) {
    for (std::size_t i = 0; i < size; ++i) {
      compared[i] = mask[i] != 0 ? 1 : 0;
      leftOut = leftOut || mask[i] == 0;
    }
  }
  for (const Rect& rect : ignored) {
    Rect box;
    if (!clipToPicture(rect, width, height, box)) continue;
    leftOut = true;
    for (int y = box.top; y <= box.bottom; ++y) {
      std::uint8_t* row = compared.data() + static_cast<std::size_t>(y) * width;
      std::fill(row + box.left, row + box.right + 1, std::uint8_t{0});
    }
  }
  if (!leftOut) compared.clear();
  return compared;
}

}  // namespace vemla
