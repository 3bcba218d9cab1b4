#include "workbench/view/display_marks.h"

#include <gtest/gtest.h>

#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

class DisplayMarks : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WorkbenchFixture::SetUp());
    openPictures(12, 10, everywhere(7), everywhere(7));
    setMagnification(bench, 4);
  }
};

TEST_F(DisplayMarks, StoredMarkBringsTheCursorBackCentredInItsCell) {
  setCursorPosition(bench, 5, 4);
  const int told = listener.panes;
  storeDisplayMark(bench, 2);
  EXPECT_EQ(listener.panes, told + 1);
  EXPECT_EQ(bench.images.marks[2], (DisplayMark{1, 5, 4}));
  EXPECT_EQ(displayMarkTexts(bench, 2), (std::array<std::string, 2>{"5", "4"}));

  bench.view.fineX = 0;
  bench.view.fineY = 3;
  setCursorPosition(bench, 0, 0);
  const int before = listener.panes;
  EXPECT_TRUE(restoreDisplayMark(bench, 2));
  EXPECT_EQ(bench.view.centreX, 5);
  EXPECT_EQ(bench.view.centreY, 4);
  EXPECT_EQ(bench.view.fineX, 2);  // m / 2 at x4
  EXPECT_EQ(bench.view.fineY, 2);
  EXPECT_EQ(listener.panes, before + 1);
}

TEST_F(DisplayMarks, EmptyMarksShowNothingAndDoNotMoveTheCursor) {
  setCursorPosition(bench, 3, 3);
  EXPECT_EQ(displayMarkTexts(bench, 0), (std::array<std::string, 2>{}));
  const int before = listener.panes;
  EXPECT_FALSE(restoreDisplayMark(bench, 0));
  EXPECT_EQ(bench.view.centreX, 3);
  EXPECT_EQ(listener.panes, before);

  // Indices outside 0..3 touch nothing.
  storeDisplayMark(bench, 4);
  storeDisplayMark(bench, -1);
  EXPECT_EQ(bench.images.marks, (std::array<DisplayMark, 4>{}));
  EXPECT_EQ(listener.panes, before);
  EXPECT_FALSE(restoreDisplayMark(bench, 4));
  EXPECT_EQ(displayMarkTexts(bench, -1), (std::array<std::string, 2>{}));
}

TEST_F(DisplayMarks, MarkFromAnotherPictureIsClampedIntoThisOne) {
  bench.images.marks[1] = {1, 5000, -7};  // e.g. restored from the settings file
  EXPECT_TRUE(restoreDisplayMark(bench, 1));
  EXPECT_EQ(bench.view.centreX, 11);
  EXPECT_EQ(bench.view.centreY, 0);
  // The mark itself keeps what it holds.
  EXPECT_EQ(displayMarkTexts(bench, 1), (std::array<std::string, 2>{"5000", "-7"}));
}

TEST_F(DisplayMarks, ClearingEmptiesAllFour) {
  for (int index = 0; index < 4; ++index) storeDisplayMark(bench, index);
  clearDisplayMarks(bench);
  for (int index = 0; index < 4; ++index) {
    EXPECT_EQ(bench.images.marks[static_cast<std::size_t>(index)].valid, 0);
  }
}

TEST(DisplayMarksWithoutPictures, RestoringDoesNothing) {
  Workbench bench;
  bench.images.marks[0] = {1, 2, 3};
  EXPECT_FALSE(restoreDisplayMark(bench, 0));
  EXPECT_EQ(bench.view.centreX, 0);
}

}  // namespace
}  // namespace vemla
