#include "workbench/view/statistics_readout.h"

#include <gtest/gtest.h>

#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr int kWidth = 12, kHeight = 10;

// Picture 1 is 10 everywhere except 200 at (3, 2) and (7, 5) and 5 at (1, 1); Picture 2 is
// 40 everywhere. Image 1 shows Picture 1 and Image 2 Picture 2 (the first kinds).
class StatisticsReadout : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WorkbenchFixture::SetUp());
    picture1.assign(kWidth * kHeight, 10);
    picture2.assign(kWidth * kHeight, 40);
    picture1[2 * kWidth + 3] = 200;
    picture1[5 * kWidth + 7] = 200;
    picture1[1 * kWidth + 1] = 5;
    openPictures(kWidth, kHeight);
    setMagnification(bench, 2);
  }
  std::pair<int, int> cursor() const { return {bench.view.centreX, bench.view.centreY}; }
};

TEST_F(StatisticsReadout, ShowsMaximumMinimumTruncatedMeanAndSum) {
  // 117 pixels of 10 plus 200 + 200 + 5: sum 1575, mean 1575 / 120 = 13.125 -> 13.
  EXPECT_EQ(statisticsTexts(bench, ImageSlot::First), (StatisticsTexts{"200", "5", "13", "1575"}));
  EXPECT_EQ(statisticsTexts(bench, ImageSlot::Second), (StatisticsTexts{"40", "40", "40", "4800"}));
}

TEST_F(StatisticsReadout, MaxVisitsEveryPositionOfTheMaximumInTurn) {
  setCursorPosition(bench, 0, 0);
  bench.view.fineX = bench.view.fineY = 0;
  EXPECT_TRUE(moveCursorToExtreme(bench, ImageSlot::First, Extreme::Maximum));
  EXPECT_EQ(cursor(), (std::pair{3, 2}));
  EXPECT_EQ(bench.view.fineX, 1);  // m / 2 at x2
  EXPECT_TRUE(moveCursorToExtreme(bench, ImageSlot::First, Extreme::Maximum));
  EXPECT_EQ(cursor(), (std::pair{7, 5}));
  EXPECT_TRUE(
      moveCursorToExtreme(bench, ImageSlot::First, Extreme::Maximum));  // wraps past the last row
  EXPECT_EQ(cursor(), (std::pair{3, 2}));
  EXPECT_TRUE(moveCursorToExtreme(bench, ImageSlot::First, Extreme::Minimum));
  EXPECT_EQ(cursor(), (std::pair{1, 1}));
}

TEST_F(StatisticsReadout, MinimumOnlyAtTheCursorLeavesTheCursorThere) {
  setCursorPosition(bench, 1, 1);
  EXPECT_TRUE(moveCursorToExtreme(bench, ImageSlot::First, Extreme::Minimum));
  EXPECT_EQ(cursor(), (std::pair{1, 1}));
  // Image 2 is 40 everywhere: the next pixel after the cursor.
  EXPECT_TRUE(moveCursorToExtreme(bench, ImageSlot::Second, Extreme::Maximum));
  EXPECT_EQ(cursor(), (std::pair{2, 1}));
}

TEST_F(StatisticsReadout, ValueMissingFromTheImageLeavesTheCursorAlone) {
  setCursorPosition(bench, 4, 4);
  bench.images.statistics[0].maximum = 250;
  EXPECT_FALSE(moveCursorToExtreme(bench, ImageSlot::First, Extreme::Maximum));
  EXPECT_EQ(cursor(), (std::pair{4, 4}));
}

TEST_F(StatisticsReadout, ValueUnderTheCursorIsReadFromTheImage) {
  setCursorPosition(bench, 7, 5);
  EXPECT_EQ(valueUnderCursor(bench, ImageSlot::First), 200);
  EXPECT_EQ(valueUnderCursor(bench, ImageSlot::Second), 40);
}

TEST(StatisticsReadoutWithoutPictures, ShowsNothingAndSearchesNothing) {
  Workbench bench;
  EXPECT_EQ(statisticsTexts(bench, ImageSlot::First), StatisticsTexts{});
  EXPECT_FALSE(moveCursorToExtreme(bench, ImageSlot::First, Extreme::Maximum));
  EXPECT_FALSE(valueUnderCursor(bench, ImageSlot::Second));
}

}  // namespace
}  // namespace vemla
