#pragma once
// Statistics of a derived image over its statistics rectangle, the blanking of everything
// outside that rectangle ("有効範囲"), and the search behind the "Max" and "Min" buttons.
#include <cstdint>
#include <optional>

#include "processing/image_kernels.h"
#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

struct ImageStatistics {
  int maximum = 0, minimum = 0, mean = 0;
  // Kept in 64 bits: 8.4 million pixels of 255 already sum to more than 2^31.
  std::int64_t sum = 0;
  Rect rectangle{};
  bool operator==(const ImageStatistics&) const = default;
};

// Adds up the statistics of an image row by row.
class StatisticsAccumulator {
 public:
  void add(const RowStatistics& row, int count);
  // Takes in what another accumulator added (rows counted on another thread).
  void merge(const StatisticsAccumulator& other);
  // Maximum, minimum, sum and the mean truncated toward zero; all 0 when nothing was added.
  ImageStatistics finish(const Rect& rectangle) const;

 private:
  int maximum_ = 0, minimum_ = 255;
  std::uint64_t sum_ = 0;
  std::int64_t count_ = 0;
};

// Maximum, minimum, sum and truncated mean of the pixels inside `rectangle` (clipped to the
// image); all 0 when the rectangle holds no pixel. The rectangle is reported as given. Rows
// may be shared out through `parallel`.
ImageStatistics imageStatistics(const std::uint8_t* image, int width, int height,
                                const Rect& rectangle, const ParallelFor& parallel = {});

// Sets every pixel outside `rectangle` to `fill` (the whole image when it is empty).
void blankOutside(std::uint8_t* image, int width, int height, const Rect& rectangle,
                  std::uint8_t fill);

struct PixelPosition {
  int x = 0, y = 0;
  bool operator==(const PixelPosition&) const = default;
};
// findValue: the next pixel inside `rectangle` that holds `value`, scanning row by row from
// the pixel after the cursor (x + 1, y), wrapping from the end of a row to the next row and from
// the last row to row 0, so the cursor pixel itself is tested last. The cursor is clamped into
// the image first. nullopt when no pixel of the rectangle holds the value.
std::optional<PixelPosition> findValue(const std::uint8_t* image, int width, int height,
                                       const Rect& rectangle, int x, int y, int value);

}  // namespace vemla
