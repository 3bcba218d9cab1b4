#include "tools/measurement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace vemla::tools {
namespace {

std::vector<std::uint8_t> blankView(int value = 0) {
  return std::vector<std::uint8_t>(512 * 512, static_cast<std::uint8_t>(value));
}

TEST(ManualLength, ScalesThePixelSizesByThePane) {
  EXPECT_DOUBLE_EQ(manualLength({0, 0}, {3, 4}, 1.0, 1.0, 0.5), 2.5);
  EXPECT_DOUBLE_EQ(manualLength({10, 10}, {7, 10}, 2.0, 5.0, 1.0), 6.0);
}

// A bar of 200 on columns 10..19 of a black row: D peaks at 10 and 19 with no drop on the
// outer side, so the edges sit at 10.0 and 20.0 pixels.
TEST(EdgeSearch, BarOfTenPixelsMeasures10Point0039) {
  std::vector<std::uint8_t> row(512, 0);
  std::fill(row.begin() + 10, row.begin() + 20, 200);
  const auto edges = findEdges(row.data(), 512, 12, 50);
  ASSERT_TRUE(edges);
  EXPECT_EQ(*edges, (Edges{2550, 5100}));
  EXPECT_NEAR(edgeLength(*edges, 1.0), 10.0039, 1e-4);
  EXPECT_FALSE(findEdges(row.data(), 512, 12, 201));  // no difference reaches the level
  const std::vector<std::uint8_t> flat(512, 90);
  EXPECT_FALSE(findEdges(flat.data(), 512, 100, 1));
}

// Clicks on the last columns: the left search starts at 509 (D(509) and the drop after it read
// column 511 at most) and the right one has no room. The row is exactly 512 bytes, so a read
// beyond it shows under AddressSanitizer.
TEST(EdgeSearch, LastColumnsReadNothingBeyondTheLine) {
  const auto row = std::make_unique<std::uint8_t[]>(512);
  for (int x = 0; x < 512; ++x) row[x] = x >= 505 ? 255 : 0;
  for (int at : {509, 510, 511}) EXPECT_FALSE(findEdges(row.get(), 512, at, 10)) << at;
  EXPECT_FALSE(findEdges(row.get(), 512, 0, 10));
}

TEST(AreaSums, RectangleBasesAndMagnification) {
  const auto white = blankView(255);
  const AreaSums sums = rectangleSums(white.data(), {12, 11}, {10, 10}, 0, 255);
  EXPECT_EQ(sums.count, 6);
  EXPECT_EQ(sums.sum, 6 * 255);
  const PaneScale x1{1, 1.0, 0, 0}, x2{2, 0.5, 0, 0};
  EXPECT_EQ(areaResult(sums, VolumeBase::Full, 0, 255, x1, 1, 1).volume, 0);
  EXPECT_EQ(areaResult(sums, VolumeBase::Zero, 0, 255, x1, 1, 1).volume, 1530);
  const AreaResult halved = areaResult(sums, VolumeBase::Zero, 0, 255, x2, 1, 1);
  EXPECT_EQ(halved.volume, 383);  // 382.5 rounded up
  EXPECT_DOUBLE_EQ(halved.area, 1.5);
  EXPECT_EQ(areaResult(sums, VolumeBase::Lower, 200, 255, x1, 1, 1).volume, 6 * 55);
  EXPECT_EQ(areaResult(sums, VolumeBase::Upper, 0, 255, x1, 1, 1).volume, 0);
  // Nothing in range: area and volume 0, no centroid.
  const AreaResult none = areaResult(rectangleSums(white.data(), {0, 0}, {9, 9}, 0, 100),
                                     VolumeBase::Zero, 0, 100, x1, 1, 1);
  EXPECT_EQ(none.area, 0);
  EXPECT_EQ(none.volume, 0);
  EXPECT_FALSE(none.centroidX);
}

// Picture pixel (5, 7) alone is bright; at xm it covers pane pixels 5m .. 5m + m - 1. Its
// centroid is its picture position, moved by the pane origin, times the pixel sizes.
TEST(AreaSums, CentroidOfOnePixelAtEveryMagnification) {
  for (int m : {1, 2, 3}) {
    auto view = blankView();
    for (int v = 7 * m; v < 8 * m; ++v) {
      for (int u = 5 * m; u < 6 * m; ++u) view[v * 512 + u] = 100;
    }
    const AreaSums sums = rectangleSums(view.data(), {0, 0}, {511, 511}, 0, 255);
    const AreaResult result =
        areaResult(sums, VolumeBase::Zero, 0, 255, {m, 1.0 / m, -3, 2}, 2.0, 0.5);
    ASSERT_TRUE(result.centroidX);
    EXPECT_DOUBLE_EQ(*result.centroidX, (5 - 3) * 2.0) << m;
    EXPECT_DOUBLE_EQ(*result.centroidY, (7 + 2) * 0.5) << m;
  }
}

TEST(AreaSums, PolygonRowsIncludeTheTopAndBothEnds) {
  const auto white = blankView(1);
  const AreaSums square =
      polygonSums(white.data(), {{10, 10}, {20, 10}, {20, 20}, {10, 20}}, 0, 255);
  EXPECT_EQ(square.count, 10 * 11);  // rows 10..19, columns 10..20
  EXPECT_EQ(polygonSums(white.data(), {{10, 10}, {20, 10}}, 0, 255).count, 0);
  // Beyond the view: clipped, never read. The slanted edge crosses row y at
  // -50 + (y - 500) * 650 / 100: rows 500..507 are whole, rows 508..511 start at 2, 8, 15, 21.
  EXPECT_EQ(polygonSums(white.data(), {{-50, 500}, {600, 500}, {600, 600}}, 0, 255).count,
            8 * 512 + 510 + 504 + 497 + 491);
  EXPECT_EQ(
      polygonSums(white.data(), {{-50, 505}, {600, 505}, {600, 600}, {-50, 600}}, 0, 255).count,
      7 * 512);
}

// A five-pointed star drawn in one stroke crosses itself; the non-zero winding rule keeps its
// centre inside (the even-odd rule would leave it out).
TEST(AreaSums, SelfCrossingStarKeepsItsCentre) {
  auto view = blankView();
  view[100 * 512 + 100] = 50;
  const AreaSums star =
      polygonSums(view.data(), {{100, 20}, {147, 165}, {24, 75}, {176, 75}, {53, 165}}, 0, 255);
  EXPECT_EQ(star.sum, 50);
  EXPECT_EQ(star.sumX, 5000);
}

// Two squares drawn in one stroke share the column x = 20, whose edges run up and then down
// again: on every row the winding returns to 0 and leaves it at the same x. That pixel is
// inside once: 21 pixels on each of the rows 10..19, whatever order the crossings come in.
TEST(AreaSums, SquaresSharingAColumnCountItOnce) {
  const auto white = blankView(255);
  const std::vector<ViewPoint> twoSquares{{10, 10}, {10, 20}, {20, 20}, {20, 10},
                                          {20, 20}, {30, 20}, {30, 10}};
  EXPECT_EQ(polygonSums(white.data(), twoSquares, 0, 255).count, 10 * 21);
}

}  // namespace
}  // namespace vemla::tools
