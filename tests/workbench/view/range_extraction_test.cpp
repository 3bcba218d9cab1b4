#include "workbench/view/range_extraction.h"

#include <gtest/gtest.h>

#include "processing/colour_tables.h"
#include "support/workbench_fixture.h"

namespace vemla {
namespace {

using Bounds = std::pair<int, int>;

Bounds bounds(const Workbench& bench, ImageSlot image) {
  const auto& range = bench.view.range[index(image)];
  return {range.lower, range.upper};
}

TEST(RangeExtraction, BoundsStayInRangeAndNeverCross) {
  Workbench bench;
  setRangeBound(bench, ImageSlot::First, RangeBound::Upper, 100);
  setRangeBound(bench, ImageSlot::First, RangeBound::Lower,
                150);  // pushed past the upper bound: stops there
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{100, 100}));
  setRangeBound(bench, ImageSlot::First, RangeBound::Lower, 50);
  setRangeBound(bench, ImageSlot::First, RangeBound::Upper, 20);
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{50, 50}));
  setRangeBound(bench, ImageSlot::First, RangeBound::Upper, 300);
  setRangeBound(bench, ImageSlot::First, RangeBound::Lower, -5);
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{0, 255}));
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{0, 255}));  // unlinked: image 2 untouched

  // Bounds restored out of order are put in order before the change.
  bench.view.range[1] = {200, 100};
  setRangeBound(bench, ImageSlot::Second, RangeBound::Lower, 150);
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{150, 200}));
}

TEST(RangeExtraction, LinkedImagesShareEveryChange) {
  Workbench bench;
  bench.view.range[1] = {30, 90};
  setRangeLinked(bench, true);  // neither extraction on: image 1's bounds go to image 2
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{0, 255}));
  setRangeBound(bench, ImageSlot::First, RangeBound::Upper, 200);
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{0, 200}));
  setRangeBound(bench, ImageSlot::Second, RangeBound::Lower, 60);
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{60, 200}));

  setRangeLinked(bench, false);
  setRangeBound(bench, ImageSlot::First, RangeBound::Lower, 10);
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{60, 200}));
}

TEST(RangeExtraction, LinkTakesImageTwosBoundsOnlyWhenOnlyItsExtractionIsOn) {
  Workbench bench;
  bench.view.range = {{{10, 20}, {30, 40}}};
  bench.view.rangeExtraction = {false, true};
  setRangeLinked(bench, true);
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{30, 40}));

  bench.view.rangeLinked = false;
  bench.view.range = {{{10, 20}, {30, 40}}};
  bench.view.rangeExtraction = {true, true};
  setRangeLinked(bench, true);
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{10, 20}));
}

TEST(RangeExtraction, ArrowsCopyAndClearResets) {
  Workbench bench;
  bench.view.range = {{{10, 20}, {30, 40}}};
  copyRange(bench, ImageSlot::First);  // "←"
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{30, 40}));
  bench.view.range[0] = {5, 6};
  copyRange(bench, ImageSlot::Second);  // "→"
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{5, 6}));
  clearRanges(bench);
  EXPECT_EQ(bounds(bench, ImageSlot::First), (Bounds{0, 255}));
  EXPECT_EQ(bounds(bench, ImageSlot::Second), (Bounds{0, 255}));
}

TEST(RangeExtraction, HeldSpinStepsByOneTenTimesThenByTen) {
  RangeSpinSteps steps;
  int value = 0;
  for (int press = 0; press < 12; ++press) value += steps.next();
  EXPECT_EQ(value, 30);  // 10 x 1, then 2 x 10
  steps.release();
  EXPECT_EQ(steps.next(), 1);
}

using RangeExtractionRepaint = testing::WorkbenchFixture;

TEST_F(RangeExtractionRepaint, SwitchRepaintsThePaneWithTheExtractionColour) {
  openPictures(8, 8, everywhere(100), everywhere(100));
  bench.options.RangeExtractionColour1 = 0x00FF0000;  // blue, as 0x00BBGGRR
  setRangeBound(bench, ImageSlot::First, RangeBound::Lower, 100);
  setRangeBound(bench, ImageSlot::First, RangeBound::Upper, 100);
  // Grey at intensity 1: n(g) = 255 (sigma(0.01 (g - 128)) - sigma(-1.28)) / (sigma(1.28) -
  // sigma(-1.28)) + 0.5 truncated; sigma(-0.28) = 0.43046, sigma(-1.28) = 0.21755, so
  // n(100) = 255 * 0.21291 / 0.56490 + 0.5 = 96.6 -> 96, and n(101) = 97.
  EXPECT_EQ(bench.view.panes[0].colours[100], (Rgb{96, 96, 96}));
  setRangeExtraction(bench, ImageSlot::First, true);
  EXPECT_EQ(bench.view.panes[0].colours[100], (Rgb{0, 0, 255}));
  EXPECT_EQ(bench.view.panes[0].colours[101], (Rgb{97, 97, 97}));
  EXPECT_EQ(bench.view.panes[1].colours[100], (Rgb{96, 96, 96}));
}

}  // namespace
}  // namespace vemla
