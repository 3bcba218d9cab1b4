#include "workbench/commands/window_layout.h"

#include <gtest/gtest.h>

#include <climits>

#include "workbench/commands/command_ids.h"

namespace vemla {
namespace {

using persist::WindowRectangle;

TEST(WindowLayout, ScrollRangesOfSmallScreens) {
  // 1272 - 1024 = 248, 1020 - 768 = 252.
  EXPECT_EQ(baseScrollRange(1024, 768), (LayoutOffset{248, 252}));
  EXPECT_EQ(baseScrollRange(1280, 1024), (LayoutOffset{0, 0}));
  EXPECT_EQ(baseScrollRange(1272, 1000), (LayoutOffset{0, 20}));
  EXPECT_EQ(baseScrollRange(1920, 800), (LayoutOffset{0, 220}));
}

TEST(WindowLayout, BaseWindowOnlyOnScreensNotLargerThanTheLayout) {
  EXPECT_TRUE(usesBaseWindow(1024, 768, false));
  EXPECT_FALSE(usesBaseWindow(1280, 1024, false));  // the layout fits exactly
  EXPECT_TRUE(usesBaseWindow(1280, 1000, false));
  EXPECT_FALSE(usesBaseWindow(1024, 768, true));  // LockDisplayPosition
  EXPECT_FALSE(usesBaseWindow(1281, 768, false));
  EXPECT_FALSE(usesBaseWindow(1024, 1025, false));
}

TEST(WindowLayout, ElementsMoveUpInTheBaseWindowAndByTheOffset) {
  const LayoutElement* image2 = findLayoutElement("Image2");
  ASSERT_NE(image2, nullptr);
  EXPECT_EQ(placeElement(*image2, false, {}), (PlacedRect{754, 52, 516, 516}));
  EXPECT_EQ(placeElement(*image2, true, {}), (PlacedRect{754, 22, 516, 516}));
  EXPECT_EQ(placeElement(*image2, true, {248, 252}), (PlacedRect{506, -230, 516, 516}));
  const LayoutElement* strip = findLayoutElement("ツール機能選択");
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(placeElement(*strip, false, {}), (PlacedRect{754, 890, 517, 24}));
  EXPECT_EQ(findLayoutElement("Port3"), nullptr);
}

TEST(WindowLayout, ElementsStayInsideTheLayout) {
  for (const LayoutElement& element : kLayoutElements) {
    EXPECT_GE(element.x, 0) << element.name;
    EXPECT_GE(element.y - kBaseWindowLift, 0) << element.name;  // also inside the base window
    EXPECT_LE(element.x + element.width, kLayoutWidth) << element.name;
    EXPECT_LE(element.y + element.height, kLayoutHeight) << element.name;
  }
}

TEST(WindowLayout, CornerButtonsSetTheOffset) {
  const LayoutOffset range{248, 252};
  EXPECT_EQ(layoutOffsetOfCommand(kLayoutTopLeft, range), (LayoutOffset{0, 0}));
  EXPECT_EQ(layoutOffsetOfCommand(kLayoutTopRight, range), (LayoutOffset{248, 0}));
  EXPECT_EQ(layoutOffsetOfCommand(kLayoutBottomLeft, range), (LayoutOffset{0, 252}));
  EXPECT_EQ(layoutOffsetOfCommand(kLayoutBottomRight, range), (LayoutOffset{248, 252}));
  EXPECT_EQ(layoutOffsetOfCommand(kSwap, range), std::nullopt);
  EXPECT_EQ(clampLayoutOffset({-5, 300}, range), (LayoutOffset{0, 252}));
  EXPECT_EQ(clampLayoutOffset({100, 7}, range), (LayoutOffset{100, 7}));
  EXPECT_EQ(clampLayoutOffset({100, 7}, {0, 0}), (LayoutOffset{0, 0}));
}

TEST(WindowRectangle, RestoredOnLargeScreensWithMinimumSizeAndPositionOnScreen) {
  // 1920 x 1080: x may be 0 .. 1856, y 0 .. 1016.
  EXPECT_EQ(restoredWindowRect({100, 50, 1400, 1050}, 1920, 1080),
            (WindowRectangle{100, 50, 1400, 1050}));
  EXPECT_EQ(restoredWindowRect({1856, 1016, 800, 600}, 1920, 1080),
            (WindowRectangle{1856, 1016, 1280, 1024}));
  EXPECT_EQ(restoredWindowRect({1857, 1017, 1280, 1024}, 1920, 1080),
            (WindowRectangle{0, 0, 1280, 1024}));
  EXPECT_EQ(restoredWindowRect({-1, 10, 1280, 1024}, 1920, 1080),
            (WindowRectangle{0, 10, 1280, 1024}));
}

TEST(WindowRectangle, HostileSavedValuesStayUsable) {
  EXPECT_EQ(restoredWindowRect({INT_MAX, INT_MIN, INT_MAX, INT_MIN}, 1920, 1080),
            (WindowRectangle{0, 0, 1920, 1024}));
  EXPECT_EQ(restoredWindowRect({0, 0, -7, 0}, 1920, 1200), (WindowRectangle{0, 0, 1280, 1024}));
}

TEST(WindowRectangle, SmallScreensAlwaysUseTheFixedRectangle) {
  EXPECT_EQ(restoredWindowRect({100, 50, 1400, 1050}, 1024, 768),
            (WindowRectangle{0, 0, 1280, 1024}));
  EXPECT_EQ(savedWindowRect({100, 50, 1400, 1050}, 1280, 1024),
            (WindowRectangle{0, 0, 1280, 1024}));
}

TEST(WindowRectangle, SavedOnLargeScreensOnlyWithLeftAndTopNotNegative) {
  EXPECT_EQ(savedWindowRect({0, 5, 1300, 1100}, 1920, 1080), (WindowRectangle{0, 5, 1300, 1100}));
  EXPECT_EQ(savedWindowRect({-8, 5, 1300, 1100}, 1920, 1080), std::nullopt);
  EXPECT_EQ(savedWindowRect({8, -1, 1300, 1100}, 1920, 1080), std::nullopt);
}

}  // namespace
}  // namespace vemla
