#include "processing/image_statistics.h"

#include <algorithm>
#include <cstring>

namespace vemla {

ImageStatistics imageStatistics(const std::uint8_t* image, int width, int height,
                                const Rect& rectangle) {
  ImageStatistics statistics;
  statistics.rectangle = rectangle;
  const int left = std::max(rectangle.left, 0), right = std::min(rectangle.right, width - 1);
  const int top = std::max(rectangle.top, 0), bottom = std::min(rectangle.bottom, height - 1);
  if (left > right || top > bottom) return statistics;
  int maximum = 0, minimum = 255;
  std::int64_t sum = 0;
  for (int y = top; y <= bottom; ++y) {
    const std::uint8_t* row = image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    std::uint32_t rowSum = 0;
    for (int x = left; x <= right; ++x) {
      maximum = std::max<int>(maximum, row[x]);
      minimum = std::min<int>(minimum, row[x]);
      rowSum += row[x];
    }
    sum += rowSum;
  }
  const std::int64_t count = static_cast<std::int64_t>(right - left + 1) * (bottom - top + 1);
  statistics.maximum = maximum;
  statistics.minimum = minimum;
  statistics.sum = sum;
  statistics.mean = static_cast<int>(sum / count);
  return statistics;
}

void blankOutside(std::uint8_t* image, int width, int height, const Rect& rectangle,
                  std::uint8_t fill) {
  const int left = std::clamp(rectangle.left, 0, width),
            right = std::clamp(rectangle.right, -1, width - 1);
  const int top = std::clamp(rectangle.top, 0, height),
            bottom = std::clamp(rectangle.bottom, -1, height - 1);
  const std::size_t stride = static_cast<std::size_t>(width);
  if (left > right || top > bottom) {
    std::memset(image, fill, stride * static_cast<std::size_t>(height));
    return;
  }
  std::memset(image, fill, stride * static_cast<std::size_t>(top));
  std::memset(image + stride * static_cast<std::size_t>(bottom + 1), fill,
              stride * static_cast<std::size_t>(height - 1 - bottom));
  for (int y = top; y <= bottom; ++y) {
    std::uint8_t* row = image + stride * static_cast<std::size_t>(y);
    std::memset(row, fill, static_cast<std::size_t>(left));
    std::memset(row + right + 1, fill, static_cast<std::size_t>(width - 1 - right));
  }
}

}  // namespace vemla
