#include "workbench/view/comparison_view.h"

#include <gtest/gtest.h>

#include "processing/image_kinds.h"
#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/statistics_readout.h"

namespace vemla {
namespace {

// Counts the flips and divider moves that need only a repaint.
class FlipListener : public WorkbenchListener {
 public:
  int flips = 0;
  void picturesChanged() override {}
  void viewFlipped(ImageSlot) override { ++flips; }
};

class ComparisonView : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    bench.addListener(&flips);
    // A 40 x 30 pair whose pictures differ everywhere (Picture 1 dark, Picture 2 light).
    openPictures(40, 30, everywhere(20), [](int x, int) { return 200 + x; });
  }
  void TearDown() override {
    bench.removeListener(&flips);
    WorkbenchFixture::TearDown();
  }
  void mode(ImageSlot image, ComparisonMode m) {
    setComparisonMode(bench, image, m, user, progress, progress);
  }
  // The pane's view value at the picture's centre (x1, the picture centred in the pane).
  static int centreOf(const PaneRaster& raster) { return raster.view[256 * 512 + 256]; }

  FlipListener flips;
};

TEST_F(ComparisonView, BlinkKeepsBothRenderingsFlipsWithoutRenderingAndGivesTheKindBack) {
  setImageKind(bench, ImageSlot::Second, kKindDifference, 0, user, progress, progress);
  mode(ImageSlot::Second, ComparisonMode::Blink);
  const PaneComparison& blink = bench.view.comparison[1];
  EXPECT_EQ(bench.images.kind[1], kKindPicture1);
  EXPECT_EQ(centreOf(bench.view.panes[1]), 20);
  EXPECT_EQ(centreOf(blink.raster2), 200 + 20);
  EXPECT_NE(imageLabelOf(bench, ImageSlot::Second).find("（画像１）"), std::string::npos);

  const PaneRaster before1 = bench.view.panes[1], before2 = blink.raster2;
  const int panes = listener.panes;
  ASSERT_TRUE(flipBlink(bench, ImageSlot::Second));
  EXPECT_TRUE(blink.second);
  EXPECT_EQ(flips.flips, 1);
  EXPECT_EQ(listener.panes, panes);  // a flip renders nothing
  EXPECT_EQ(bench.view.panes[1].shown, before1.shown);
  EXPECT_EQ(blink.raster2.shown, before2.shown);
  // Label, statistics and the value under the cursor follow the picture shown.
  EXPECT_NE(imageLabelOf(bench, ImageSlot::Second).find("（画像２）"), std::string::npos);
  EXPECT_EQ(statisticsTexts(bench, ImageSlot::Second).maximum, "239");
  EXPECT_EQ(valueUnderCursor(bench, ImageSlot::Second), 200 + bench.view.centreX);
  ASSERT_TRUE(flipBlink(bench, ImageSlot::Second));
  EXPECT_EQ(statisticsTexts(bench, ImageSlot::Second).maximum, "20");

  // A magnification and a cursor step render both pictures again in the new placement.
  setMagnification(bench, 4);
  moveCursor(bench, CursorDirection::Left, false);
  const ViewPoint cursor = cursorViewPointOf(bench);
  EXPECT_EQ(blink.raster2.view[static_cast<std::size_t>(cursor.y * 512 + cursor.x)],
            200 + bench.view.centreX);

  mode(ImageSlot::Second, ComparisonMode::Off);
  EXPECT_EQ(bench.images.kind[1], kKindDifference);
  EXPECT_TRUE(blink.picture2.empty());
  EXPECT_TRUE(blink.raster2.view.empty());
  EXPECT_FALSE(flipBlink(bench, ImageSlot::Second));
}

TEST_F(ComparisonView, AnotherKindEndsTheViewAndTheFilesKeepTheGivenBackKind) {
  setImageKind(bench, ImageSlot::First, kKindAverage, 0, user, progress, progress);
  mode(ImageSlot::First, ComparisonMode::Swipe);
  EXPECT_EQ(storedKindOf(bench, ImageSlot::First), kKindAverage);
  EXPECT_EQ(imageLabelOf(bench, ImageSlot::First).find("平均"), std::string::npos);
  // Swipe to blink keeps the renderings; a kind chosen ends the view with that kind.
  mode(ImageSlot::First, ComparisonMode::Blink);
  EXPECT_FALSE(bench.view.comparison[0].raster2.view.empty());
  setImageKind(bench, ImageSlot::First, kKindOffsetDifference, 0, user, progress, progress);
  EXPECT_FALSE(bench.view.comparison[0].on());
  EXPECT_EQ(storedKindOf(bench, ImageSlot::First), kKindOffsetDifference);
}

TEST_F(ComparisonView, SwipeDividerStaysInsideThePane) {
  EXPECT_FALSE(moveSwipeDivider(bench, ImageSlot::First, 100));  // not swiping
  mode(ImageSlot::First, ComparisonMode::Swipe);
  struct Case {
    int asked, kept;
  };
  for (const Case c : {Case{100, 100}, Case{-5, 1}, Case{0, 1}, Case{512, 511}, Case{9999, 511}}) {
    moveSwipeDivider(bench, ImageSlot::First, c.asked);
    EXPECT_EQ(bench.view.comparison[0].divider, c.kept) << c.asked;
  }
  const PaneComparison& swipe = bench.view.comparison[0];
  // The divider is kept while the view is off.
  mode(ImageSlot::First, ComparisonMode::Off);
  mode(ImageSlot::First, ComparisonMode::Swipe);
  EXPECT_EQ(swipe.divider, 511);
}

TEST_F(ComparisonView, BlinkRateIsLimitedToHalfToTenFlipsASecond) {
  EXPECT_EQ(blinkIntervalMs(bench), 500);  // 2 a second
  struct Case {
    int tenths, kept, interval;
  };
  for (const Case c : {Case{1, 5, 2000}, Case{5, 5, 2000}, Case{100, 100, 100}, Case{250, 100, 100},
                       Case{30, 30, 333}}) {
    setBlinkRate(bench, c.tenths);
    EXPECT_EQ(bench.view.blinkTenths, c.kept) << c.tenths;
    EXPECT_EQ(blinkIntervalMs(bench), c.interval) << c.tenths;
  }
}

}  // namespace
}  // namespace vemla
