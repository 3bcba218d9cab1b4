#include "workbench/tools/tool_frame.h"

#include <gtest/gtest.h>

#include "support/workbench_fixture.h"
#include "workbench/commands/command_state.h"
#include "workbench/tools/gradation_tool.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::Tool;

// A 40 x 30 pair: picture 1 holds x + y, picture 2 the constant 200; the images show them.
class ToolFrame : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    openPictures(
        40, 30, [](int x, int y) { return x + y; }, everywhere(200));
  }
  const tools::GradationGrid& grid() const { return *bench.tools.gradation.grid; }
};

TEST_F(ToolFrame, ChoosingTheActiveToolAgainChangesNothing) {
  ASSERT_TRUE(selectTool(bench, Tool::Gradation));
  EXPECT_EQ(toolTitleSuffix(bench), "（階調値）");
  EXPECT_EQ(situationOf(bench).activeTool, kToolGradation);
  const int panes = listener.panes;
  EXPECT_FALSE(selectTool(bench, Tool::Gradation));
  EXPECT_EQ(listener.panes, panes);
  ASSERT_TRUE(selectTool(bench, Tool::Measurement));
  EXPECT_EQ(toolTitleSuffix(bench), "（測定）");
  EXPECT_FALSE(bench.tools.gradation.grid);
}

TEST(ToolFrameWithoutPictures, RefusesEveryTool) {
  Workbench bench;
  EXPECT_FALSE(selectTool(bench, Tool::Gradation));
  EXPECT_EQ(toolTitleSuffix(bench), "");
}

TEST_F(ToolFrame, LeavingTheGradationToolEndsPairDisplay) {
  selectTool(bench, Tool::Gradation);
  setCursorPosition(bench, 10, 12);
  tools::GradationWord settings = gradationSettings(bench);
  settings.pair = true;
  setGradationSettings(bench, settings);
  EXPECT_EQ(toolTitleSuffix(bench), "（階調値）イメージ２");
  EXPECT_EQ(grid().cells[8][8].text, " 200");  // the tool window shows image 2 …
  EXPECT_EQ(bench.tools.gradation.pairGrid->cells[8][8].text, "  22");  // … the pair window 1
  selectTool(bench, Tool::Profile);
  EXPECT_FALSE(gradationSettings(bench).pair);
  EXPECT_EQ(toolTitleSuffix(bench), "（ﾌﾟﾛﾌｧｲﾙ）");
}

// The block follows the cursor; "最大" marks the same cells until the content changes.
TEST_F(ToolFrame, HighlightLastsUntilTheCursorMoves) {
  selectTool(bench, Tool::Gradation);
  setCursorPosition(bench, 10, 12);
  EXPECT_EQ(grid().firstColumn, 2);
  EXPECT_EQ(grid().firstRow, 4);
  EXPECT_EQ(grid().max, 18 + 20);
  highlightGradationExtreme(bench, true);
  highlightGradationExtreme(bench, true);
  EXPECT_TRUE(bench.tools.gradation.highlightMax);
  EXPECT_EQ(grid().max, 38);
  setCursorPosition(bench, 11, 12);
  EXPECT_FALSE(bench.tools.gradation.highlightMax);
  EXPECT_EQ(grid().max, 39);
}

TEST_F(ToolFrame, GridClickMovesTheCursorOnlyInsideThePicture) {
  selectTool(bench, Tool::Gradation);
  setCursorPosition(bench, 2, 2);  // the block starts at (-6, -6)
  EXPECT_FALSE(clickGradationCell(bench, {0, 0}));
  EXPECT_EQ(bench.view.centreX, 2);
  EXPECT_TRUE(clickGradationCell(bench, {16, 9}));
  EXPECT_EQ(bench.view.centreX, 10);
  EXPECT_EQ(bench.view.centreY, 3);
  EXPECT_EQ(grid().firstColumn, 2);
}

TEST_F(ToolFrame, OperatorAndHexSettingsChangeTheContent) {
  selectTool(bench, Tool::Gradation);
  setCursorPosition(bench, 5, 5);
  setGradationOperator(bench, 1, {{0, 0, 0, -1, 0, 1, 0, 0, 0}, false});
  setGradationSettings(bench, {.mode = 1, .hex = true});
  EXPECT_EQ(grid().cells[8][8].text, "  02");  // (6 + 5) - (4 + 5)
  EXPECT_EQ(gradationOperator(bench, 1).coefficients[5], 1);
  EXPECT_FALSE(gradationOperator(bench, 1).absolute);
}

TEST_F(ToolFrame, PaneInputGoesToTheMeasurementLineOnly) {
  selectTool(bench, Tool::Gradation);
  EXPECT_FALSE(toolPaneClick(bench, 3, 4));
  EXPECT_FALSE(toolPaneMove(bench, 5, 6));
  selectTool(bench, Tool::Measurement);
  EXPECT_TRUE(toolPaneClick(bench, 3, 4));
  EXPECT_TRUE(toolPaneMove(bench, 5, 6));
  EXPECT_EQ(bench.tools.measureLine.end(), (ViewPoint{5, 6}));
  EXPECT_TRUE(toolPaneMove(bench, 700, -3));  // dragged beyond the pane
  EXPECT_EQ(bench.tools.measureLine.end(), (ViewPoint{511, 0}));
  selectTool(bench, Tool::Gradation);
  EXPECT_EQ(bench.tools.measureLine.state(), tools::LineEntry::State::None);
}

}  // namespace
}  // namespace vemla
