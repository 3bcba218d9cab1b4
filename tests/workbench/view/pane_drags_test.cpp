#include "workbench/view/pane_drags.h"

#include <gtest/gtest.h>

#include "workbench/view/pane_clicks.h"
#include "workbench/view/pane_fixture.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

const ViewSettings kX1{1, false, false, kZoomCubic};
const ViewSettings kX8{8, false, false, kZoomCubic};

TEST(DragSlide, MovesBelowTheMinimumOrWithinTheCursorCellDoNotSlide) {
  const ViewPlacement placement{64, -16, 224, 224};
  const DragState drag{true, 96, 48};
  // Cursor (300, 214) is the cell of view 96..103 x 48..55.
  EXPECT_FALSE(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 99, 51, 4).has_value());
  // Seven pixels to the right, still the cursor's cell.
  EXPECT_FALSE(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 103, 48, 4).has_value());
  // Three pixels is below a minimum of 4 even onto the next cell.
  const DragState near{true, 101, 48};
  EXPECT_FALSE(slidPlacement(640, 480, kX8, placement, 300, 214, near, 104, 50, 4).has_value());
}

TEST(DragSlide, TheCursorPointComesUnderTheMouse) {
  // Mouse at (116, 50): cell 14 across. 640 > 512, so the origin moves: 300 - 14 - 224 = 62;
  // 480 < 512: the window row stays where it is, the cursor's row is already under the mouse.
  const ViewPlacement placement{64, -16, 224, 224};
  const DragState drag{true, 100, 50};
  EXPECT_EQ(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 116, 50, 4),
            (ViewPlacement{62, -16, 224, 224}));
  // Down by 40 pixels: cell row 11, window row 214 - 11 + 16 = 219.
  EXPECT_EQ(slidPlacement(640, 480, kX8, placement, 300, 214, drag, 100, 90, 4),
            (ViewPlacement{64, -16, 224, 219}));
}

TEST(DragSlide, WhenTheOriginStopsTheWindowTakesTheRest) {
  // 640 x 480 at x8 with the cursor at (40, 214): origin 0, window column 40 - 32 = 8. Dragging
  // to column 400 (cell 50) needs the view to start at picture column 40 - 50 = -10: the origin
  // cannot go below 0, so the window moves to its own limit 0 and the picture's left edge
  // shows.
  const ViewPlacement placement{0, -16, 8, 224};
  EXPECT_EQ(slidPlacement(640, 480, kX8, placement, 40, 214, {true, 260, 50}, 400, 50, 4),
            (ViewPlacement{0, -16, 0, 224}));
  // Back to the left: cell 10 needs column 30; the window is kept (0) and the origin moves.
  EXPECT_EQ(slidPlacement(640, 480, kX8, ViewPlacement{0, -16, 0, 224}, 40, 214, {true, 320, 50},
                          80, 50, 4),
            (ViewPlacement{30, -16, 0, 224}));
}

TEST(DragSlide, NeverBeyondThePictureOrTheExtraction) {
  // x1, 640 x 480, cursor (164, 84): mouse at 500 would need origin 164 - 500 < 0 -> 0; at 0 it
  // would need 164 > 128 = 640 - 512 -> 128.
  const ViewPlacement placement{64, -16, 0, 0};
  EXPECT_EQ(slidPlacement(640, 480, kX1, placement, 164, 84, {true, 100, 100}, 80, 100, 4),
            (ViewPlacement{84, -16, 0, 0}));
  EXPECT_EQ(slidPlacement(640, 480, kX1, placement, 164, 84, {true, 100, 100}, 500, 100, 4),
            (ViewPlacement{0, -16, 0, 0}));
  EXPECT_EQ(slidPlacement(640, 480, kX1, placement, 164, 84, {true, 100, 100}, 0, 100, 4),
            (ViewPlacement{128, -16, 0, 0}));
  // A small picture at x2: the window stays within 0 .. 512 - 256.
  const ViewSettings x2{2, false, false, kZoomCubic};
  EXPECT_EQ(slidPlacement(300, 200, x2, ViewPlacement{-106, -156, 128, 128}, 150, 100,
                          {true, 256, 256}, 500, 256, 4),
            (ViewPlacement{-106, -156, 6, 128}));
}

TEST(DragSlide, NothingSlidesWhileTheWholeImageIsVisible) {
  EXPECT_FALSE(viewCanSlide(300, 200, kX1));
  EXPECT_FALSE(viewCanSlide(512, 512, kX1));
  EXPECT_TRUE(viewCanSlide(513, 512, kX1));
  EXPECT_TRUE(viewCanSlide(300, 200, ViewSettings{2, false, false, kZoomCubic}));
  EXPECT_FALSE(viewCanSlide(2048, 1024, ViewSettings{1, true, false, kZoomCubic}));
  EXPECT_FALSE(slidPlacement(300, 200, kX1, ViewPlacement{-106, -156, 0, 0}, 150, 100,
                             {true, 256, 256}, 300, 300, 4)
                   .has_value());
}

using PaneDrags = PanePictures;

TEST_F(PaneDrags, DragSlidesTheViewAndFollowsTheMouse) {
  open(640, 480);
  bench.view.zoomInterpolation = false;
  setMagnification(bench, 8);
  ASSERT_TRUE(clickImagePane(bench, 100, 50, false));
  DragState drag{true, 100, 50};
  EXPECT_FALSE(slideView(bench, drag, 102, 51));
  ASSERT_TRUE(slideView(bench, drag, 116, 50));
  EXPECT_EQ(bench.view.placement, (ViewPlacement{62, -16, 224, 224}));
  EXPECT_EQ(drag.lastU, 116);
  EXPECT_EQ(cursorViewPointOf(bench), (ViewPoint{116, 50}));
  // The panes were rendered with the kept placement: view (116, 50) shows picture (300, 214).
  EXPECT_EQ(bench.view.panes[0].view[50 * 512 + 116], 40);

  bench.options.DragMovesImage = false;
  EXPECT_FALSE(slideView(bench, drag, 200, 200));
}

TEST_F(PaneDrags, WheelNotchesEnterAndLeaveTheReducedDisplay) {
  open(640, 480);
  setMagnification(bench, 2);
  ASSERT_TRUE(stepMagnification(bench, false, user, false));
  EXPECT_EQ(bench.view.magnification, 1);
  ASSERT_TRUE(stepMagnification(bench, false, user, false));
  EXPECT_TRUE(bench.view.reducedDisplay);
  EXPECT_FALSE(stepMagnification(bench, false, user, false));
  ASSERT_TRUE(stepMagnification(bench, true, user, false));
  EXPECT_FALSE(bench.view.reducedDisplay);
  EXPECT_EQ(bench.view.magnification, 1);
  ASSERT_TRUE(stepMagnification(bench, true, user, false));
  EXPECT_EQ(bench.view.magnification, 2);
  EXPECT_EQ(bench.view.fineX, 1);
}

}  // namespace
}  // namespace vemla
