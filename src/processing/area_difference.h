#pragma once
// The area difference ("ｴﾘｱ差"): for every pixel whose Sx x Sy window lies inside the picture,
// the sum of the absolute differences of the two pictures over the window (method 0) or the
// absolute difference of the two window sums (method 1), divided by D and limited to 0..255.
// Window sums come from running column sums and running row sums, so the cost does not depend
// on the window size.
#include <array>
#include <cstdint>
#include <vector>

#include "processing/image_kernels.h"
#include "processing/image_statistics.h"
#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

enum AreaDifferenceMethod : int { kSumOfDifferences = 0, kDifferenceOfSums = 1 };

struct AreaDifferenceSettings {
  int sizeX = 3, sizeY = 3;        // AreaDiffRangeX, AreaDiffRangeY
  int method = kSumOfDifferences;  // AreaDiffKind
  double divisor = 9.0;            // AreaDiffDivisor
};

// The window around a pixel: columns x - left .. x + right, rows y - up .. y + down. Odd sizes
// extend equally; even sizes one more to the right and downwards.
struct AreaWindow {
  int left = 0, right = 0, up = 0, down = 0;
  bool operator==(const AreaWindow&) const = default;
};
// Sizes below 1 count as 1 and sizes above `maxSize` (2 MaxPicture - 1, so that every window
// sum fits in 64 bits) as `maxSize`: a window wider than the picture has no pixel anyway.
AreaWindow areaWindow(int sizeX, int sizeY, int maxSizeX, int maxSizeY);

// The pixels that get a value: x in right..W-1-right, y in down..H-1-down (empty when the
// window does not fit).
Rect areaComputingRange(const AreaWindow& window, int width, int height);

// The conversion of a window value v: with D neither 0 nor 1, (v / D + 0.5) in extended
// precision truncated toward zero, else v, then limited to 0..255 (not-a-number gives 0).
std::uint8_t areaValue(std::uint64_t v, double divisor);

// areaValue for one divisor, without floating point per pixel: the smallest v of each result
// 1..255 is found once, and a table (or those thresholds) maps every v.
class AreaValueMap {
 public:
  explicit AreaValueMap(double divisor);
  std::uint8_t operator()(std::uint64_t v) const {
    if (v < table_.size()) return table_[static_cast<std::size_t>(v)];
    if (v >= thresholds_[255]) return 255;
    return fromThresholds(v);
  }
  // out[i] = (*this)(values[i]) for values >= 0.
  void mapRow(const std::int64_t* values, int count, std::uint8_t* out) const;
  // The table covers v below this; at and above it the value is looked up by thresholds.
  std::size_t tableSize() const { return table_.size(); }
  // The smallest v giving k (the largest 64-bit value when none does).
  std::uint64_t threshold(int k) const { return thresholds_[static_cast<std::size_t>(k)]; }

 private:
  std::uint8_t fromThresholds(std::uint64_t v) const;
  std::array<std::uint64_t, 256> thresholds_{};  // thresholds_[k]: the smallest v giving k
  double inverse_ = 0;
  std::vector<std::uint8_t> table_;
};

// Writes the area difference of the two shifted pictures into `image` (0 outside the computing
// range) and returns the computing range. Rows may be shared out by `parallel`; the image is
// the same. When `statistics` is given, it receives the image's statistics over
// `statisticsRectangle` (as imageStatistics gives them), taken from each row while it is still
// in the cache when the rectangle lies inside the computing range.
Rect areaDifference(const std::uint8_t* picture1, const std::uint8_t* picture2, int width,
                    int height, const AreaWindow& window, int method, double divisor,
                    std::uint8_t* image, const ImageKernels& kernels = imageKernels(),
                    const ParallelFor& parallel = {}, const Rect& statisticsRectangle = {},
                    ImageStatistics* statistics = nullptr);

}  // namespace vemla
