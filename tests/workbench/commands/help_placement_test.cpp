#include "workbench/commands/help_placement.h"

#include <gtest/gtest.h>

namespace vemla {
namespace {

TEST(HelpLines, SplitsAtNewlinesAndKeepsAtMostThirtyTwo) {
  EXPECT_EQ(helpLines("一行目\n二行目"), (std::vector<std::string>{"一行目", "二行目"}));
  EXPECT_EQ(helpLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(helpLines("").empty());

  std::string forty;
  for (int line = 0; line < 40; ++line) forty += "line" + std::to_string(line) + "\n";
  const auto lines = helpLines(forty);
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines.front(), "line0");
  EXPECT_EQ(lines.back(), "line31");
}

TEST(HelpLines, CutsLongTextsAtAWholeCharacter) {
  // 683 three-byte characters are 2049 bytes: the cut at 2048 would split the last one.
  std::string text;
  for (int i = 0; i < 683; ++i) text += "あ";
  const auto lines = helpLines(text);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 2046u);  // 682 whole characters
}

TEST(HelpPlacement, StartsAtTheAnchorsLeftEdgeAndMiddle) {
  const HelpBox owner{0, 0, 1280, 1024};
  EXPECT_EQ(placeHelpBeside({100, 200, 180, 220}, owner, 300, 50, 0), (HelpPoint{100, 210}));
  EXPECT_EQ(placeHelpBeside({100, 200, 180, 220}, owner, 300, 50, 24), (HelpPoint{100, 186}));
  EXPECT_EQ(placeHelpBeside({100, 200, 180, 220}, owner, 300, 50, -40), (HelpPoint{100, 250}));
}

TEST(HelpPlacement, NearTheLowerRightCornerStaysThirtyTwoPixelsInside) {
  const HelpBox owner{10, 20, 1290, 1044};
  // Anchor middle y = 1010: 1010 + 100 passes 1044 - 32, so y = 1012 - 100 = 912;
  // x = 1200: 1200 + 200 passes 1290 - 32, so x = 1258 - 200 = 1058.
  EXPECT_EQ(placeHelpBeside({1200, 1000, 1280, 1020}, owner, 200, 100, 0), (HelpPoint{1058, 912}));
}

}  // namespace
}  // namespace vemla
