#include "processing/image_statistics.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace vemla {
namespace {

std::size_t at(int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

}  // namespace

void StatisticsAccumulator::add(const RowStatistics& row, int count) {
  if (count <= 0) return;
  maximum_ = std::max(maximum_, row.maximum);
  minimum_ = std::min(minimum_, row.minimum);
  sum_ += row.sum;
  count_ += count;
}

void StatisticsAccumulator::merge(const StatisticsAccumulator& other) {
  if (other.count_ == 0) return;
  maximum_ = std::max(maximum_, other.maximum_);
  minimum_ = std::min(minimum_, other.minimum_);
  sum_ += other.sum_;
  count_ += other.count_;
}

ImageStatistics StatisticsAccumulator::finish(const Rect& rectangle) const {
  ImageStatistics statistics;
  statistics.rectangle = rectangle;
  if (count_ == 0) return statistics;
  statistics.maximum = maximum_;
  statistics.minimum = minimum_;
  statistics.sum = static_cast<std::int64_t>(sum_);
  statistics.mean = static_cast<int>(statistics.sum / count_);
  return statistics;
}

ImageStatistics imageStatistics(const std::uint8_t* image, int width, int height,
                                const Rect& rectangle, const ParallelFor& parallel) {
  const int left = std::max(rectangle.left, 0), right = std::min(rectangle.right, width - 1);
  const int top = std::max(rectangle.top, 0), bottom = std::min(rectangle.bottom, height - 1);
  StatisticsAccumulator total;
  if (left <= right && top <= bottom) {
    const ImageKernels& kernels = imageKernels();
    const int count = right - left + 1;
    const int rows = bottom - top + 1;
    // Row ranges may run on other threads, each with its own accumulator; the integer sums
    // merge to the same result in any order.
    std::mutex merging;
    parallel(rows, at(rows, count), [&](int begin, int end) {
      StatisticsAccumulator accumulator;
      for (int y = top + begin; y < top + end; ++y) {
        accumulator.add(kernels.statistics(image + at(y, width) + left, count), count);
      }
      const std::lock_guard lock(merging);
      total.merge(accumulator);
    });
  }
  return total.finish(rectangle);
}

void blankOutside(std::uint8_t* image, int width, int height, const Rect& rectangle,
                  std::uint8_t fill) {
  const int left = std::clamp(rectangle.left, 0, width),
            right = std::clamp(rectangle.right, -1, width - 1);
  const int top = std::clamp(rectangle.top, 0, height),
            bottom = std::clamp(rectangle.bottom, -1, height - 1);
  if (left > right || top > bottom) {
    std::memset(image, fill, at(height, width));
    return;
  }
  std::memset(image, fill, at(top, width));
  std::memset(image + at(bottom + 1, width), fill, at(height - 1 - bottom, width));
  for (int y = top; y <= bottom; ++y) {
    std::uint8_t* row = image + at(y, width);
    std::memset(row, fill, static_cast<std::size_t>(left));
    std::memset(row + right + 1, fill, static_cast<std::size_t>(width - 1 - right));
  }
}

std::optional<PixelPosition> findValue(const std::uint8_t* image, int width, int height,
                                       const Rect& rectangle, int x, int y, int value) {
  if (width <= 0 || height <= 0 || value < 0 || value > 255) return std::nullopt;
  const int left = std::max(rectangle.left, 0), right = std::min(rectangle.right, width - 1);
  const int top = std::max(rectangle.top, 0), bottom = std::min(rectangle.bottom, height - 1);
  if (left > right || top > bottom) return std::nullopt;
  const int startX = std::clamp(x, 0, width - 1), startY = std::clamp(y, 0, height - 1);
  // Searches columns from..to of a row, limited to the rectangle.
  const auto search = [&](int row, int from, int to) -> std::optional<PixelPosition> {
    if (row < top || row > bottom) return std::nullopt;
    from = std::max(from, left);
    to = std::min(to, right);
    if (from > to) return std::nullopt;
    const std::uint8_t* begin = image + at(row, width) + from;
    const void* found = std::memchr(begin, value, static_cast<std::size_t>(to - from + 1));
    if (found == nullptr) return std::nullopt;
    return PixelPosition{from + static_cast<int>(static_cast<const std::uint8_t*>(found) - begin),
                         row};
  };
  if (auto found = search(startY, startX + 1, width - 1)) return found;
  for (int step = 1; step < height; ++step) {
    if (auto found = search((startY + step) % height, 0, width - 1)) return found;
  }
  return search(startY, 0, startX);
}

}  // namespace vemla
