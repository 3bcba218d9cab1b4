#include "processing/cursor_model.h"

#include <gtest/gtest.h>

namespace vemla {
namespace {

using D = CursorDirection;

TEST(CursorModel, PlacingClampsIntoThePictureAndCentresTheFinePosition) {
  EXPECT_EQ(placedCursor(-4, 900, 640, 480, 8), (Cursor{0, 479, 4, 4}));
  EXPECT_EQ(placedCursor(10, 20, 640, 480, 3), (Cursor{10, 20, 1, 1}));
}

TEST(CursorModel, CoarseStepsStopAtTheEdgeAndOnlyThePadCentresTheFinePosition) {
  const Cursor start{0, 5, 1, 6};
  EXPECT_EQ(coarseStep(start, D::Left, 10, 10, 8, false), start);  // would leave the picture
  EXPECT_EQ(coarseStep(start, D::Right, 10, 10, 8, false), (Cursor{1, 5, 1, 6}));
  EXPECT_EQ(coarseStep(start, D::Right, 10, 10, 8, true), (Cursor{1, 5, 4, 4}));
  EXPECT_EQ(coarseStep(Cursor{3, 9, 0, 0}, D::Down, 10, 10, 1, false), (Cursor{3, 9, 0, 0}));
  EXPECT_EQ(coarseStep(Cursor{3, 9, 0, 0}, D::Up, 10, 10, 1, false), (Cursor{3, 8, 0, 0}));
}

TEST(CursorModel, FineStepsWrapIntoTheNextPixel) {
  EXPECT_EQ(fineStep(Cursor{5, 5, 0, 0}, D::Left, 10, 10, 4), (Cursor{4, 5, 3, 0}));
  EXPECT_EQ(fineStep(Cursor{5, 5, 3, 0}, D::Right, 10, 10, 4), (Cursor{6, 5, 0, 0}));
  EXPECT_EQ(fineStep(Cursor{5, 5, 1, 2}, D::Down, 10, 10, 4), (Cursor{5, 5, 1, 3}));
  EXPECT_EQ(fineStep(Cursor{5, 5, 1, 3}, D::Down, 10, 10, 4), (Cursor{5, 6, 1, 0}));
  // At x1 a fine step is a pixel step.
  EXPECT_EQ(fineStep(Cursor{5, 5, 0, 0}, D::Up, 10, 10, 1), (Cursor{5, 4, 0, 0}));
}

TEST(CursorModel, FineStepsStopAtThePictureEdge) {
  EXPECT_EQ(fineStep(Cursor{0, 0, 0, 0}, D::Left, 10, 10, 4), (Cursor{0, 0, 0, 0}));
  EXPECT_EQ(fineStep(Cursor{0, 0, 0, 0}, D::Up, 10, 10, 4), (Cursor{0, 0, 0, 0}));
  EXPECT_EQ(fineStep(Cursor{9, 9, 3, 3}, D::Right, 10, 10, 4), (Cursor{9, 9, 3, 3}));
  EXPECT_EQ(fineStep(Cursor{9, 9, 2, 3}, D::Down, 10, 10, 4), (Cursor{9, 9, 2, 3}));
  EXPECT_EQ(fineStep(Cursor{9, 9, 2, 3}, D::Right, 10, 10, 4), (Cursor{9, 9, 3, 3}));
}

}  // namespace
}  // namespace vemla
