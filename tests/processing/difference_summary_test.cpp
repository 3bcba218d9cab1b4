#include "processing/difference_summary.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace vemla {
namespace {

// 6 x 4, offset difference around 128: deviations 5 at (1,1), 3 at (2,2) (touching it
// diagonally), 2 at (5,0) and 9 at (0,3), which lies outside the rectangle 1..5 x 0..3.
std::vector<std::uint8_t> offsetImage() {
  std::vector<std::uint8_t> image(24, 128);
  image[1 * 6 + 1] = 123;
  image[2 * 6 + 2] = 131;
  image[0 * 6 + 5] = 130;
  image[3 * 6 + 0] = 137;
  return image;
}

TEST(DifferenceSummary, DeviationsFromTheZeroPointInsideTheClippedRectangle) {
  const auto image = offsetImage();
  // The rectangle reaches past the image on the right and bottom: clipped to 1..5 x 0..3.
  const DifferenceSummary s = summariseDifference(image.data(), 6, 4, {1, 0, 9, 9}, 128, 2);
  EXPECT_EQ(s.maximum, 5);
  EXPECT_EQ(s.largest, (PixelPosition{1, 1}));
  EXPECT_EQ(s.pixels, 20);
  EXPECT_EQ(s.over, 2);  // 5 and 3; the 2 is not above the threshold
  EXPECT_DOUBLE_EQ(s.mean, 10.0 / 20);
  EXPECT_DOUBLE_EQ(s.area, 0.1);
  EXPECT_EQ(summariseDifference(image.data(), 6, 4, {4, 2, 3, 2}, 128, 0).pixels, 0);
}

// The largest deviation is placed where it first occurs row by row, also when it comes again
// later in the row, in a later row, or on both sides of the zero point.
TEST(DifferenceSummary, TheLargestDeviationIsPlacedWhereItFirstOccurs) {
  const struct {
    std::vector<std::pair<int, int>> at;  // pixel index and value, the rest 128
    PixelPosition largest;
  } cases[] = {
      {{{10, 120}, {8, 136}, {12, 136}}, {2, 1}},
      {{{13, 136}, {19, 120}, {9, 129}}, {1, 2}},
      {{{4, 127}, {5, 129}}, {4, 0}},
      {{}, {1, 0}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> image(24, 128);
    for (const auto& [index, value] : c.at)
      image[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value);
    EXPECT_EQ(summariseDifference(image.data(), 6, 4, {1, 0, 5, 3}, 128, 0).largest, c.largest);
  }
}

TEST(DifferenceSummary, RegionsAreEightConnectedLargestFirstAndCapped) {
  const auto image = offsetImage();
  std::size_t total = 0;
  const auto regions = differenceRegions(image.data(), 6, 4, {0, 0, 5, 3}, 128, 1, 8, total);
  ASSERT_EQ(total, 3u);
  ASSERT_EQ(regions.size(), 3u);
  EXPECT_EQ(regions[0].box, (Rect{1, 1, 2, 2}));
  EXPECT_EQ(regions[0].pixels, 2);
  EXPECT_EQ(regions[1].box, (Rect{5, 0, 5, 0}));  // same size as (0,3), found first
  EXPECT_EQ(regions[2].box, (Rect{0, 3, 0, 3}));
  EXPECT_EQ(differenceRegions(image.data(), 6, 4, {0, 0, 5, 3}, 128, 1, 1, total).size(), 1u);
  EXPECT_EQ(total, 3u);
}

}  // namespace
}  // namespace vemla
