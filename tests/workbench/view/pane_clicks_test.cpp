#include "workbench/view/pane_clicks.h"

#include <gtest/gtest.h>

#include "workbench/view/pane_fixture.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

const ViewSettings kX1{1, false, false, kZoomCubic};
const ViewSettings kX8{8, false, false, kZoomCubic};

TEST(ImagePaneCell, MagnifiedClickGivesTheCellAndTheFinePosition) {
  // 640 x 480 at x8 around (320, 240): OX = 64, OY = -16, window (224, 224). View (100, 50) is
  // cell (12, 6) of the window: picture (64 + 224 + 12, -16 + 224 + 6) = (300, 214), and lies
  // at (100 mod 8, 50 mod 8) = (4, 2) inside it.
  const ViewPlacement placement{64, -16, 224, 224};
  EXPECT_EQ(imagePaneCell(640, 480, kX8, placement, 100, 50), (PaneCell{300, 214, 4, 2, false}));
  EXPECT_EQ(imagePaneCell(640, 480, kX8, placement, 511, 511),
            (PaneCell{64 + 224 + 63, -16 + 224 + 63, 7, 7, false}));
}

TEST(ImagePaneCell, ClicksBesideThePictureAreIgnored) {
  // 300 x 200 at x1: the picture sits at (106, 156) of the view.
  const ViewPlacement placement{-106, -156, 0, 0};
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, 105, 200).has_value());
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, 200, 356).has_value());
  EXPECT_EQ(imagePaneCell(300, 200, kX1, placement, 106, 355), (PaneCell{0, 199, 0, 0, false}));
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, 512, 200).has_value());
  EXPECT_FALSE(imagePaneCell(300, 200, kX1, placement, -1, 200).has_value());
}

TEST(ImagePaneCell, ReducedDisplayGoesThroughTheInverseReduction) {
  // 2048 x 1024 reduced: 512 x 256 at top 128. View (256, 192) -> (256 * 4, 64 * 4) with the
  // fine position 0; the fill bands above and below are not the picture.
  const ViewSettings reduced{1, true, false, kZoomCubic};
  EXPECT_EQ(imagePaneCell(2048, 1024, reduced, {}, 256, 192), (PaneCell{1024, 256, 0, 0, true}));
  EXPECT_EQ(imagePaneCell(2048, 1024, reduced, {}, 511, 383), (PaneCell{2044, 1020, 0, 0, true}));
  EXPECT_FALSE(imagePaneCell(2048, 1024, reduced, {}, 10, 127).has_value());
  EXPECT_FALSE(imagePaneCell(2048, 1024, reduced, {}, 10, 384).has_value());
}

using PaneClicks = PanePictures;

TEST_F(PaneClicks, PlainClickMovesOnlyTheCrossShiftClickRecentres) {
  open(640, 480);
  setMagnification(bench, 8);
  ASSERT_EQ(bench.view.placement, (ViewPlacement{64, -16, 224, 224}));
  ASSERT_TRUE(clickImagePane(bench, 100, 50, false));
  EXPECT_EQ(bench.view.centreX, 300);
  EXPECT_EQ(bench.view.centreY, 214);
  EXPECT_EQ(bench.view.fineX, 4);
  EXPECT_EQ(bench.view.fineY, 2);
  EXPECT_EQ(bench.view.placement, (ViewPlacement{64, -16, 224, 224}));
  EXPECT_EQ(cursorViewPointOf(bench), (ViewPoint{100, 50}));
  // With centring: origin 300 - 256 = 44, window row 230 - 32 = 198; the fine position stays.
  ASSERT_TRUE(clickImagePane(bench, 100, 50, true));
  EXPECT_EQ(bench.view.placement, (ViewPlacement{44, -16, 224, 198}));
  EXPECT_EQ(bench.view.fineX, 4);
}

TEST_F(PaneClicks, ClickInTheFillAroundASmallPictureChangesNothing) {
  open(300, 200);
  const int x = bench.view.centreX, y = bench.view.centreY;
  EXPECT_FALSE(clickImagePane(bench, 20, 20, true));
  EXPECT_EQ(bench.view.centreX, x);
  EXPECT_EQ(bench.view.centreY, y);
}

}  // namespace
}  // namespace vemla
