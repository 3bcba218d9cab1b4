#pragma once
// What a comparison reads off a difference image inside its valid rectangle: the largest and
// the mean deviation, how many pixels deviate by more than a threshold, and the connected
// regions those pixels form. The deviation of a pixel is its distance from the image kind's
// zero point (0 for the plain and area differences, 128 for the offset difference), so that
// one threshold means the same for every kind.
#include <cstdint>
#include <vector>

#include "processing/image_statistics.h"
#include "processing/rect.h"

namespace vemla {

struct DifferenceSummary {
  int maximum = 0;          // the largest deviation
  double mean = 0;          // the mean deviation
  std::int64_t over = 0;    // pixels whose deviation exceeds the threshold
  std::int64_t pixels = 0;  // compared pixels of the valid rectangle inside the image
  double area = 0;          // over / pixels (0 when the rectangle holds no pixel)
  PixelPosition largest{};  // the first pixel, row by row, with the largest deviation
};

// The rectangle is clipped to the image; an empty one gives an all-zero summary. `compared`
// (null: every pixel) holds width x height flags, 0 for a pixel left out: such a pixel counts
// nowhere, and `pixels` counts only the compared ones (the largest deviation of 0 is then at
// the first compared pixel).
DifferenceSummary summariseDifference(const std::uint8_t* image, int width, int height,
                                      const Rect& valid, int zeroPoint, int threshold,
                                      const std::uint8_t* compared = nullptr);

struct DifferenceRegion {
  Rect box{};               // inclusive bounding box
  std::int64_t pixels = 0;  // pixels of the region above the threshold
};

// The 8-connected regions of pixels above the threshold inside the valid rectangle, the
// largest first (ties: top-most, then left-most), at most `maxRegions` of them; `total` gets
// the number of regions found. Pixels left out by `compared` (as above) belong to no region.
std::vector<DifferenceRegion> differenceRegions(const std::uint8_t* image, int width, int height,
                                                const Rect& valid, int zeroPoint, int threshold,
                                                std::size_t maxRegions, std::size_t& total,
                                                const std::uint8_t* compared = nullptr);

}  // namespace vemla
