#include "workbench/tools/measurement_tool.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/workbench_fixture.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// A 512 x 512 pair at x1 (pane pixel = picture pixel): picture 1 black with a bar of 200 on
// columns 10..19, picture 2 white; the measurement tool is chosen.
class MeasurementTool : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    openPictures(
        512, 512, [](int x, int) { return x >= 10 && x < 20 ? 200 : 0; }, everywhere(255));
    ASSERT_TRUE(selectTool(bench, tools::Tool::Measurement));
  }
  void set(tools::MeasureSettings settings) { setMeasureSettings(bench, settings); }
  const tools::MeasureResult& result(ImageSlot image) const {
    return bench.tools.measure.results[index(image)];
  }
};

TEST_F(MeasurementTool, ManualLengthFollowsTheMouse) {
  toolPaneClick(bench, 100, 100);
  toolPaneMove(bench, 103, 104);
  EXPECT_EQ(measureText(bench, ImageSlot::First), " 5.0000 ");
  toolPaneClick(bench, 106, 108);
  EXPECT_DOUBLE_EQ(*result(ImageSlot::Second).length, 10.0);
}

TEST_F(MeasurementTool, AutomaticLengthOfTheBarAndNoneOnTheFlatImage) {
  set({.automatic = true});
  setCursorPosition(bench, 12, 300);
  toolPaneClick(bench, 12, 300);
  ASSERT_TRUE(result(ImageSlot::First).edges);
  EXPECT_EQ(*result(ImageSlot::First).edges, (tools::Edges{2550, 5100}));
  EXPECT_EQ(measureText(bench, ImageSlot::First), " 10.0039 ");
  EXPECT_FALSE(result(ImageSlot::Second).length);
  EXPECT_EQ(measureText(bench, ImageSlot::Second), "");
}

TEST_F(MeasurementTool, RectangleOnWhiteWithItsBases) {
  set({.area = true});
  toolPaneClick(bench, 30, 10);
  toolPaneMove(bench, 32, 11);
  EXPECT_EQ(measureText(bench, ImageSlot::Second), " X:2.0000 Y:1.0000 ");
  toolPaneClick(bench, 32, 11);
  EXPECT_EQ(measureText(bench, ImageSlot::Second),
            " 面積:6.0000  体積:1530  重心:(31.0000,10.5000) ");
  // Base 255 counts only with the link.
  set({.area = true, .base = tools::VolumeBase::Full});
  toolPaneClick(bench, 30, 10);
  toolPaneClick(bench, 32, 11);
  EXPECT_EQ(*result(ImageSlot::Second).volume, 1530);
  set({.area = true, .link = true, .base = tools::VolumeBase::Full});
  toolPaneClick(bench, 30, 10);
  toolPaneClick(bench, 32, 11);
  EXPECT_EQ(*result(ImageSlot::Second).volume, 0);
  // Image 1 is black there: area 6, no centroid (not a centroid at -1).
  EXPECT_FALSE(result(ImageSlot::First).centroidX);
  EXPECT_EQ(measureText(bench, ImageSlot::First),
            " 面積:6.0000  体積:1530  重心:(,) ");  // 6 x 255 - 0
  EXPECT_DOUBLE_EQ(*result(ImageSlot::First).area, 6.0);
}

TEST_F(MeasurementTool, PolygonTakesAtMost1024VerticesAndClosesOnADoubleClick) {
  set({.area = true, .polygon = true});
  for (int i = 0; i < 1030; ++i) toolPaneClick(bench, 100 + i % 300, 100 + (i / 300) * 50);
  EXPECT_EQ(bench.tools.measure.polygon.size(), 1024u);
  set({.area = true, .polygon = false});
  set({.area = true, .polygon = true});
  toolPaneClick(bench, 10, 10);
  toolPaneClick(bench, 20, 10);
  EXPECT_FALSE(toolPaneDoubleClick(bench));  // two vertices are no polygon
  toolPaneClick(bench, 20, 20);
  EXPECT_TRUE(toolPaneDoubleClick(bench));
  EXPECT_GT(*result(ImageSlot::Second).area, 0.0);
  toolPaneClick(bench, 30, 30);  // a click after a closed polygon starts a new one
  EXPECT_EQ(bench.tools.measure.polygon.size(), 1u);
}

// Image 1 is black and image 2 white in the rectangle: the centroid of image 1 is not
// measured, so its fields, its differences and 差ＸＹ stay empty; "▼" takes image 2's.
TEST_F(MeasurementTool, TableLeavesEveryDifferenceWithAnUnmeasuredValueEmpty) {
  set({.area = true});
  toolPaneClick(bench, 30, 10);
  toolPaneClick(bench, 32, 11);
  copyMeasureReference(bench, 2);
  copyMeasureReference(bench, 3);
  const MeasureTable table = measureTable(bench);
  using Row = std::array<std::string, kMeasureTableColumns>;
  EXPECT_EQ(table[2], (Row{"面積", "6.0000", "6.0000", "0.0000"}));  // not copied
  EXPECT_EQ(table[3], (Row{"体積", "0", "1530", "1530", "0", "1530", "0", "0"}));
  EXPECT_EQ(table[5], (Row{"重心", "", "", "31.0000", "10.5000", "", "", ""}));
  EXPECT_EQ(table[7], (Row{"差", "", "", "0.0000", "0.0000"}));
  const std::string text = measureTableText(table);
  EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1) + 1),
            "\tｲﾒｰｼﾞ1\tｲﾒｰｼﾞ2\t差\t基準1\t基準2\t基準差1\t基準差2\n測長\n");
}

// The table keeps the length while an area is measured and the area while a length is, and
// both when the tool is left and chosen again (whose entry states are cleared).
TEST_F(MeasurementTool, ResultsSurviveSwitchingFunctionsAndLeavingTheTool) {
  toolPaneClick(bench, 100, 100);
  toolPaneClick(bench, 106, 108);  // length 10
  set({.area = true});
  toolPaneClick(bench, 30, 10);
  toolPaneClick(bench, 32, 11);  // area 6
  const auto lengthAndArea = [&] {
    const MeasureTable table = measureTable(bench);
    return table[1][1] + " " + table[1][2] + " " + table[2][1] + " " + table[2][2];
  };
  const std::string both = "10.0000 10.0000 6.0000 6.0000";
  struct Step {
    const char* what;
    std::function<void()> run;
  };
  const Step steps[] = {
      {"area measured", [] {}},
      {"back to length", [&] { set({}); }},
      {"to area again", [&] { set({.area = true}); }},
      {"a picture refresh", [&] { refreshPictures(bench, user); }},
      {"tool left", [&] { selectTool(bench, tools::Tool::None); }},
      {"tool chosen again", [&] { selectTool(bench, tools::Tool::Measurement); }},
  };
  for (const Step& step : steps) {
    step.run();
    EXPECT_EQ(lengthAndArea(), both) << step.what;
  }
  // Nothing is entered now: no text beside a shape, though the table keeps the values.
  EXPECT_EQ(measureText(bench, ImageSlot::First), "");
}

}  // namespace
}  // namespace vemla
