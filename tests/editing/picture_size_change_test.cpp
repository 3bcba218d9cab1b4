#include "workbench/editing/picture_size_change.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/workbench_fixture.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// Never 0, so that the black frame of a conversion stands out from the picture.
std::uint8_t sourceValue(int x, int y) {
  return static_cast<std::uint8_t>(1 + (x * 7 + y * 13) % 254);
}
std::uint8_t secondValue(int x, int y) {
  return static_cast<std::uint8_t>(1 + (x + y) % 200);
}

std::vector<std::uint8_t> pattern(int width, int height, std::uint8_t (*value)(int, int)) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = value(x, y);
  }
  return pixels;
}

std::uint8_t at(const std::vector<std::uint8_t>& pixels, int width, int x, int y) {
  return pixels[static_cast<std::size_t>(y) * width + x];
}

TEST(ResizePicture, ScalingKeepsTheAspectInTheMiddleOfABlackFrame) {
  // 640 x 480 into 800 x 600: the square of side 600 starts at x 100; the picture becomes
  // 600 x (480 * 600 / 640 = 450), 75 rows below the square's top.
  EXPECT_EQ(scaledPlacement(640, 480, 800, 600), (Rect{100, 75, 699, 524}));
  const auto source = pattern(640, 480, sourceValue);
  std::vector<std::uint8_t> target(800 * 600, 0xEE);
  resizePicture(source.data(), 640, 480, target.data(), 800, 600, ResizeMode::Scale);
  EXPECT_EQ(at(target, 800, 100, 75), sourceValue(0, 0));
  // Column 599 of the rectangle takes 599 * 640 / 600 = 638, row 449 takes 449 * 480 / 450 = 478.
  EXPECT_EQ(at(target, 800, 699, 524), sourceValue(638, 478));
  // Column 300 -> 320, row 225 -> 240.
  EXPECT_EQ(at(target, 800, 400, 300), sourceValue(320, 240));
  // Column 1 -> 1 (640 / 600 = 1.07), row 2 -> 2 (960 / 450 = 2.13).
  EXPECT_EQ(at(target, 800, 101, 77), sourceValue(1, 2));
  for (const auto& [x, y] :
       {std::pair{99, 300}, {700, 300}, {400, 74}, {400, 525}, {0, 0}, {799, 599}}) {
    EXPECT_EQ(at(target, 800, x, y), 0) << x << "," << y;
  }
}

TEST(ResizePicture, ScalingATallPictureUsesTheSquareSideAsItsHeight) {
  // 480 x 640 into 800 x 600: side 600 is the height, width 480 * 600 / 640 = 450, centred in
  // the square at x 100: left 100 + 75.
  EXPECT_EQ(scaledPlacement(480, 640, 800, 600), (Rect{175, 0, 624, 599}));
}

TEST(ResizePicture, KeepsAVeryFlatPictureAsOneRowInsteadOfNone) {
  // 1024 x 8 into 8 x 8 would be 8 * 8 / 1024 = 0 rows high: one row stays, in the middle.
  EXPECT_EQ(scaledPlacement(1024, 8, 8, 8), (Rect{0, 3, 7, 3}));
  const auto source = pattern(1024, 8, sourceValue);
  std::vector<std::uint8_t> target(64, 0xEE);
  resizePicture(source.data(), 1024, 8, target.data(), 8, 8, ResizeMode::Scale);
  EXPECT_EQ(at(target, 8, 0, 3), sourceValue(0, 0));
  EXPECT_EQ(at(target, 8, 5, 3), sourceValue(640, 0));
  EXPECT_EQ(at(target, 8, 5, 2), 0);
  EXPECT_EQ(at(target, 8, 5, 4), 0);
}

TEST(ResizePicture, CropOrPadKeepsTheTopLeftAndAddsBlackRows) {
  // 640 x 480 to 320 x 960: the left 320 columns, then 480 black rows at the bottom.
  const auto source = pattern(640, 480, sourceValue);
  std::vector<std::uint8_t> target(320 * 960, 0xEE);
  resizePicture(source.data(), 640, 480, target.data(), 320, 960, ResizeMode::CropOrPad);
  EXPECT_EQ(at(target, 320, 0, 0), sourceValue(0, 0));
  EXPECT_EQ(at(target, 320, 319, 0), sourceValue(319, 0));
  EXPECT_EQ(at(target, 320, 319, 479), sourceValue(319, 479));
  EXPECT_EQ(at(target, 320, 17, 200), sourceValue(17, 200));
  EXPECT_EQ(at(target, 320, 0, 480), 0);
  EXPECT_EQ(at(target, 320, 319, 959), 0);
}

class ResizePictures : public testing::WorkbenchFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WorkbenchFixture::SetUp());
    MemoryPictures pictures;
    pictures.names = {"/pictures/a.bmp", "<b>"};
    openPictures(640, 480, sourceValue, secondValue, pictures);
  }
};

TEST_F(ResizePictures, ConvertsBothPicturesAndRefreshesTheShiftedOnes) {
  ASSERT_EQ(resizePictures(bench, 800, 600, ResizeMode::Scale, user, progress, progress), 0);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.pictures.width, 800);
  EXPECT_EQ(bench.pictures.height, 600);
  EXPECT_EQ(pixel(kPicture1, 400, 300), sourceValue(320, 240));
  EXPECT_EQ(pixel(kPicture2, 400, 300), secondValue(320, 240));
  EXPECT_EQ(pixel(kPicture2, 50, 300), 0);
  // Without a shift the shifted pictures equal the converted ones.
  EXPECT_EQ(pixel(kShifted1, 400, 300), sourceValue(320, 240));
  EXPECT_EQ(pixel(kShifted2, 699, 524), secondValue(638, 478));
  // Names and palettes stay.
  EXPECT_EQ(bench.pictures.pictures[1].name, "<b>");
}

TEST_F(ResizePictures, ResetsWhatDependsOnTheSizeAsAnOpenOfANewSize) {
  bench.control.validRange.kind = kValidRectangle;
  bench.control.validRange.rectangle = {500, 100, 600, 400};
  bench.control.alignmentResult = {1, 0, 2, 3, 4, 0, true};
  bench.view.centreX = 600;
  bench.view.centreY = 400;
  bench.view.extraction = {10, 10, 20, 20};
  std::uint8_t* userResult = bench.store.plane(kUserResult);
  userResult[0] = 9;
  userResult[640 * 480 - 1] = 9;

  ASSERT_EQ(resizePictures(bench, 320, 960, ResizeMode::CropOrPad, user, progress, progress), 0);
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{0, 0, 319, 959}));
  EXPECT_EQ(bench.control.validRectangles[0], (Rect{0, 0, 319, 959}));
  EXPECT_EQ(bench.control.alignmentResult, AlignmentResult{});
  // x 600 is outside 320 columns and clamped to 319; y 400 is still inside.
  EXPECT_EQ(bench.view.centreX, 319);
  EXPECT_EQ(bench.view.centreY, 400);
  EXPECT_EQ(bench.view.extraction, (Rect{0, 0, 319, 959}));
  EXPECT_EQ(userResult[0], 0);
  EXPECT_EQ(userResult[640 * 480 - 1], 0);
  EXPECT_EQ(bench.pictures.userResultWidth, 320);
  EXPECT_EQ(bench.pictures.userResultHeight, 960);
  // 960 rows do not fit the 512-pixel pane: the picture is reduced by 960 / 512 on its longer
  // side, so the ratio is W / (320 * 512 / 960 = 170).
  EXPECT_DOUBLE_EQ(bench.view.reductionRatio, 320.0 / 170.0);
}

TEST_F(ResizePictures, SameSizeDropsTheAlignmentResultButKeepsTheValidRectangle) {
  bench.control.validRange.rectangle = {5, 6, 70, 80};
  bench.control.alignmentResult.valid = true;
  std::uint8_t* userResult = bench.store.plane(kUserResult);
  userResult[0] = 9;
  ASSERT_EQ(resizePictures(bench, 640, 480, ResizeMode::CropOrPad, user, progress, progress), 0);
  EXPECT_FALSE(bench.control.alignmentResult.valid);
  EXPECT_EQ(bench.control.validRange.rectangle, (Rect{5, 6, 70, 80}));
  EXPECT_EQ(userResult[0], 9);
  EXPECT_EQ(pixel(kPicture1, 639, 479), sourceValue(639, 479));
}

TEST_F(ResizePictures, RefusesSizesOutsideTheRangeAndKeepsThePictures) {
  EXPECT_EQ(resizePictures(bench, 7, 600, ResizeMode::Scale, user, progress, progress), -1);
  EXPECT_EQ(resizePictures(bench, 800, 1025, ResizeMode::Scale, user, progress, progress), -1);
  ASSERT_EQ(user.messages.size(), 2u);
  for (const auto& message : user.messages) {
    EXPECT_EQ(message.text, "幅／高さの指定に誤りがあります(8ｘ8～1024ｘ1024)");
    EXPECT_EQ(message.icon, Icon::Warning);
  }
  EXPECT_EQ(bench.pictures.width, 640);
  EXPECT_EQ(pixel(kPicture1, 639, 479), sourceValue(639, 479));
}

TEST_F(ResizePictures, RefusedWhileAPictureIsEdited) {
  bench.pictures.editing = true;
  EXPECT_EQ(resizePictures(bench, 800, 600, ResizeMode::Scale, user, progress, progress), -1);
  EXPECT_EQ(user.onlyMessage(), "画像の編集中はこの機能が使用できません");
  EXPECT_EQ(bench.pictures.width, 640);
}

using ResizePicturesWithoutPictures = testing::WorkbenchFixture;

TEST_F(ResizePicturesWithoutPictures, DoesNothing) {
  EXPECT_EQ(resizePictures(bench, 800, 600, ResizeMode::Scale, user, progress, progress), -1);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.pictures.width, 0);
}

}  // namespace
}  // namespace vemla
