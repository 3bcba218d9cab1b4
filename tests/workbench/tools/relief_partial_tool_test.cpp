// The 3D tool and the partial comparison on the workbench: what they take from the panes,
// when they draw, and what choosing another tool closes.
#include <gtest/gtest.h>

#include "support/workbench_fixture.h"
#include "workbench/tools/partial_tool.h"
#include "workbench/tools/relief_tool.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::Tool;

// A 512 x 512 pair at x1: picture 1 flat 200, picture 2 flat 100.
class ToolsOnPanes : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    openPictures(512, 512, everywhere(200), everywhere(100));
  }
};

TEST_F(ToolsOnPanes, ReliefStartsFromTheToolOptionsAndItsWholeDisplayClosesWithTheTool) {
  bench.options.View3DAngleX = 30;
  EXPECT_FALSE(currentReliefValues(bench).has_value());
  ASSERT_TRUE(selectTool(bench, Tool::View3D));
  EXPECT_EQ(reliefSettings(bench).angleX, 30);
  EXPECT_EQ(bench.tools.relief.raster.size(), 336u * 286u);
  EXPECT_EQ(currentReliefValues(bench), (std::array<int, 5>{30, 20, 128, 8, 8}));

  tools::ReliefSettings settings = reliefSettings(bench);
  settings.angleX = 400;  // limited
  setReliefSettings(bench, settings);
  EXPECT_EQ(reliefSettings(bench).angleX, 359);
  resetReliefView(bench);
  EXPECT_EQ(reliefSettings(bench).angleX, 30);

  // The block follows the cursor, kept inside the view.
  setCursorPosition(bench, 10, 500);
  EXPECT_EQ(bench.tools.relief.origin, (ViewPoint{0, 256}));

  ReliefSwitches switches = reliefSwitches(bench);
  switches.whole = true;
  setReliefSwitches(bench, switches);
  EXPECT_EQ(bench.tools.relief.wholeRaster.size(), 756u * 756u);
  EXPECT_EQ(reliefWholeTitle(bench), "(ｲﾒｰｼﾞ)  (X,Y)=(10,500) 1倍 Ｘ角度:30 Ｚ角度:20 輝度:128");
  ASSERT_TRUE(selectTool(bench, Tool::Profile));
  EXPECT_FALSE(reliefSwitches(bench).whole);
}

TEST_F(ToolsOnPanes, PartialTakesFromTheShownImageAndShiftsOnlyAfterTaking) {
  ASSERT_TRUE(selectTool(bench, Tool::PartialComparison));
  EXPECT_FALSE(toolFollowsCursor(bench));
  EXPECT_FALSE(pressPartialShift(bench, tools::ShiftButton::Left));  // nothing taken
  setPartialTaking(bench, true, true);
  EXPECT_TRUE(toolFollowsCursor(bench));
  setPartialTaking(bench, true, false);

  PartialSettings settings = partialSettings(bench);
  settings.secondImage = true;  // "⇔": take from image 2
  setPartialSettings(bench, settings);
  setPartialTaking(bench, false, true);
  EXPECT_FALSE(pressPartialShift(bench, tools::ShiftButton::Left));  // while taking
  setPartialTaking(bench, false, false);

  const tools::PartialDifference& difference = bench.tools.partial.comparison.difference;
  EXPECT_EQ(difference.max, 100);
  EXPECT_EQ(difference.min, 100);
  EXPECT_TRUE(pressPartialShift(bench, tools::ShiftButton::Left));
  EXPECT_EQ(partialShiftText(bench, false), "←0+1/16");
  EXPECT_EQ(partialShiftText(bench, true), "(y) 0+0");
  EXPECT_EQ(difference.margins, (tools::Margins{3, 3, 3, 3}));
  EXPECT_NE(partialShiftHelp(bench).find("（現在 : 1/16 ）"), std::string::npos);

  // A click in the difference part selects it; between the parts selects nothing.
  EXPECT_TRUE(clickPartial(bench, 338 + 5, 7));
  EXPECT_EQ(bench.tools.partial.clickedPart, 2);
  EXPECT_EQ(bench.tools.partial.clicked, (ViewPoint{5, 7}));
  EXPECT_FALSE(clickPartial(bench, 168, 7));
}

}  // namespace
}  // namespace vemla
