#include "workbench/view/view_controls.h"

#include <gtest/gtest.h>

#include "support/fake_user_port.h"
#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

class ViewControls : public testing::WorkbenchFixture {
 protected:
  void open(int width, int height) { openPictures(width, height, everywhere(9), everywhere(9)); }
  bool slider(int value) { return applyMagnificationSlider(bench, value, user, false); }
  bool step(bool up) { return stepMagnification(bench, up, user, false); }
};

TEST_F(ViewControls, SliderAtZeroGivesXOneForAPictureThatFitsThePane) {
  open(400, 400);
  EXPECT_TRUE(slider(4));
  EXPECT_EQ(bench.view.magnification, 4);
  EXPECT_EQ(bench.view.fineX, 2);
  EXPECT_TRUE(slider(0));
  EXPECT_EQ(bench.view.magnification, 1);
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_EQ(magnificationSliderValue(bench), 1);
  EXPECT_EQ(magnificationFieldText(bench), "1");
  // The spin cannot go below x1 either.
  EXPECT_FALSE(step(false));
  EXPECT_EQ(bench.view.magnification, 1);
  EXPECT_FALSE(bench.view.reducedDisplay);
}

TEST_F(ViewControls, LargePictureEntersAndLeavesTheReducedDisplay) {
  open(640, 480);
  EXPECT_TRUE(slider(0));
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_EQ(magnificationSliderValue(bench), 0);
  // r = 640 / 512 = 1.25.
  EXPECT_EQ(magnificationFieldText(bench), "1/1.25");
  EXPECT_FALSE(slider(0));  // already there
  EXPECT_FALSE(step(false));

  EXPECT_TRUE(step(true));  // up from the reduced display: x1
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_EQ(bench.view.magnification, 1);
  EXPECT_TRUE(step(false));  // down from x1: reduced again
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_TRUE(slider(3));
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_EQ(magnificationFieldText(bench), "3");
  EXPECT_TRUE(user.messages.empty());  // the measurement tool was not open
}

TEST_F(ViewControls, SpinStepsByOneBetweenOneAndSixtyFour) {
  open(12, 10);
  EXPECT_TRUE(slider(7));
  EXPECT_TRUE(step(false));
  EXPECT_EQ(bench.view.magnification, 6);
  EXPECT_EQ(bench.view.fineX, 3);
  EXPECT_TRUE(step(true));
  EXPECT_EQ(bench.view.magnification, 7);
  EXPECT_TRUE(slider(64));
  EXPECT_FALSE(step(true));
  EXPECT_EQ(bench.view.magnification, 64);
  EXPECT_FALSE(slider(64));  // the same magnification renders nothing again
}

TEST_F(ViewControls, MeasurementWarningIsShownOnlyOnceEver) {
  open(640, 480);
  EXPECT_TRUE(enterReducedDisplay(bench, user, false));
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.view.reducedMeasureWarned, 0);
  step(true);

  EXPECT_TRUE(stepMagnification(bench, false, user, true));
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text,
            "縮小表示(1/n倍表示)時はツールの測定機能で「測長－手動」\n"
            "以外の機能は使用できませんので注意して下さい");
  EXPECT_EQ(user.messages[0].title, "Vemla");
  EXPECT_EQ(bench.view.reducedMeasureWarned, 1);
  step(true);
  EXPECT_TRUE(applyMagnificationSlider(bench, 0, user, true));
  EXPECT_EQ(user.messages.size(), 1u);
}

TEST_F(ViewControls, GridWidthStaysInRangeAndKeepsTheOffsetsInsideThePeriod) {
  open(12, 10);
  slider(2);
  bench.view.grid = true;
  bench.view.gridOffsetX = 15;  // within 0..10 * 2 - 1
  bench.view.gridOffsetY = 3;
  setGridWidth(bench, 4);  // period 8: 15 -> 7, 3 stays
  EXPECT_EQ(bench.view.gridWidth, 4);
  EXPECT_EQ(bench.view.gridOffsetX, 7);
  EXPECT_EQ(bench.view.gridOffsetY, 3);
  setGridWidth(bench, 0);
  EXPECT_EQ(bench.view.gridWidth, 1);
  setGridWidth(bench, 25);
  EXPECT_EQ(bench.view.gridWidth, 20);
}

TEST_F(ViewControls, SwitchesRepaintWithoutRecreatingTheImages) {
  open(12, 10);
  testing::CountingListener counter;
  bench.addListener(&counter);
  const auto statistics = bench.images.statistics;
  setCursorShown(bench, false);
  EXPECT_FALSE(bench.view.cursorShown);
  setColourBars(bench, true);
  EXPECT_TRUE(bench.view.colourBars);
  setZoomInterpolation(bench, false);
  EXPECT_FALSE(bench.view.zoomInterpolation);
  EXPECT_EQ(counter.panes, 3);
  setFineMovement(bench, true);  // changes only how the next steps move
  EXPECT_TRUE(bench.view.fineMovement);
  EXPECT_EQ(counter.panes, 3);
  EXPECT_EQ(bench.images.statistics, statistics);
  bench.removeListener(&counter);
}

TEST(ViewControlsWithoutPictures, ReducedDisplayIsNotPossible) {
  Workbench bench;
  testing::FakeUserPort user;
  EXPECT_FALSE(enterReducedDisplay(bench, user, true));
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_TRUE(user.messages.empty());
}

}  // namespace
}  // namespace vemla
