#include "workbench/tools/profile_tool.h"

#include <gtest/gtest.h>

#include "picture/file_helpers.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using tools::Tool;

// A 512 x 512 pair at x1, which fills the panes (view column u shows picture column u):
// picture 1 is flat 128, picture 2 holds half its column number; the profile tool is chosen
// with pixel sizes 2 x 3. Graph column i shows view column i + 10.
class ProfileTool : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    bench.options.PixelSizeX = 2.0;
    bench.options.PixelSizeY = 3.0;
    openPictures(512, 512, everywhere(128), [](int x, int) { return x / 2; });
    ASSERT_TRUE(selectTool(bench, Tool::Profile));
  }
  const tools::ProfileContent& content() const { return bench.tools.profileContent; }
  void setDirection(int direction) {
    tools::ProfileWord settings = profileSettings(bench);
    settings.direction = direction;
    setProfileSettings(bench, settings);
  }
};

TEST_F(ProfileTool, SamplesBothViewsAlongTheCursorRow) {
  ASSERT_EQ(content().points.size(), 492u);
  const auto& second = content().images[1]->values;
  EXPECT_EQ(second[0], 5);
  EXPECT_EQ(second[491], 250);
  EXPECT_EQ(content().images[0]->max, 128);
  EXPECT_DOUBLE_EQ(content().step, 2.0);
  setMagnification(bench, 4);
  EXPECT_DOUBLE_EQ(content().step, 0.5);
  setDirection(1);
  EXPECT_DOUBLE_EQ(content().step, 0.75);
}

TEST_F(ProfileTool, AutomaticRangeOfTheShownProfiles) {
  tools::ProfileWord settings = profileSettings(bench);
  settings.shown = 1;  // image 1 alone: flat 128
  setProfileSettings(bench, settings);
  automaticProfileRange(bench);
  EXPECT_EQ(profileSettings(bench).lower, 120);
  EXPECT_EQ(profileSettings(bench).upper, 135);
  EXPECT_EQ(profileGreyStep(bench), 1);
  // No segment in the arbitrary direction: the profile is missing, the range 0..255.
  setDirection(2);
  automaticProfileRange(bench);
  EXPECT_EQ(profileSettings(bench).lower, 0);
  EXPECT_EQ(profileSettings(bench).upper, 255);
  resetProfile(bench);
  EXPECT_EQ(profileGreyStep(bench), bench.options.ProfileGridGradation);
}

TEST_F(ProfileTool, FullAutoFollowsTheCursor) {
  tools::ProfileWord settings = profileSettings(bench);
  settings.fullAuto = true;
  settings.shown = 2;
  settings.direction = 1;  // down the cursor's column: image 2 is flat there
  setProfileSettings(bench, settings);
  setCursorPosition(bench, 80, 10);
  EXPECT_EQ(profileSettings(bench).lower, 35);
  EXPECT_EQ(profileSettings(bench).upper, 50);
}

TEST_F(ProfileTool, ReadoutMarksValuesAndDistance) {
  EXPECT_TRUE(clickProfileGraph(bench, 6 + 30, 100, false));
  EXPECT_EQ(profileReadout(bench), "1：128  2： 20  差：108");
  EXPECT_TRUE(clickProfileGraph(bench, 6 + 40, 100, true));
  EXPECT_EQ(profileReadout(bench), "距離: 20.0000");  // 10 samples of 2
  EXPECT_FALSE(clickProfileGraph(bench, 5, 100, false));
  EXPECT_FALSE(clickProfileGraph(bench, 100, 184, false));
  setDirection(0);  // unchanged: the marks stay
  EXPECT_EQ(bench.tools.profile.marks, 2);
  setDirection(2);
  EXPECT_EQ(profileReadout(bench), "");
  EXPECT_FALSE(clickProfileGraph(bench, 100, 100, false));  // no fixed segment
}

TEST_F(ProfileTool, ArbitrarySegmentFollowsThePane) {
  setDirection(2);
  EXPECT_TRUE(toolPaneClick(bench, 230, 250));
  EXPECT_TRUE(toolPaneMove(bench, 240, 250));
  EXPECT_EQ(content().points.size(), 10u);
  EXPECT_EQ(content().images[1]->values.front(), 115);
  EXPECT_TRUE(toolPaneClick(bench, 240, 250));
  EXPECT_TRUE(clickProfileGraph(bench, 8, 100, false));
  // A click that fixes the segment where it started leaves no samples.
  toolPaneClick(bench, 300, 300);
  toolPaneClick(bench, 300, 300);
  EXPECT_TRUE(content().points.empty());
  EXPECT_DOUBLE_EQ(content().step, 0.0);
}

TEST_F(ProfileTool, CsvHoldsTheSamplesAndAFailedSaveKeepsTheOldFile) {
  setDirection(2);
  toolPaneClick(bench, 230, 250);
  toolPaneClick(bench, 232, 251);
  // Two samples along x, one step = √((2 x 2)² + (1 x 3)²) / 2 = 2.5; picture 2 holds x / 2.
  EXPECT_EQ(profileCsv(bench),
            "k,u,v,distance,image1,image2\n0,230,250,0.0000,128,115\n1,231,250,2.5000,128,115\n");
  testing::TempDir folder;
  const std::string path = folder.file("profile.csv");
  ASSERT_TRUE(saveProfileCsv(bench, path, user));
  EXPECT_EQ(readWholeFile(path, 1000)->size(), profileCsv(bench).size());
  // A folder in the way: the message names it, nothing is replaced.
  EXPECT_FALSE(saveProfileCsv(bench, folder.path(), user));
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙの書き込みができません\n" + folder.path());
}

}  // namespace
}  // namespace vemla
