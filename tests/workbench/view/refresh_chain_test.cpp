#include "workbench/view/refresh_chain.h"

#include <gtest/gtest.h>

#include "options/option_table.h"
#include "processing/image_kinds.h"
#include "processing/shift.h"
#include "support/workbench_fixture.h"
#include "workbench/picture/prepare_pictures.h"

namespace vemla {
namespace {

constexpr int kWidth = 12, kHeight = 10;
constexpr std::size_t kPixels = static_cast<std::size_t>(kWidth) * kHeight;

class RefreshChain : public testing::WorkbenchFixture {
 protected:
  // Picture 1 is 10 x + y, picture 2 is 50, 51, 52 repeating along the rows.
  void open() {
    openPictures(
        kWidth, kHeight, [](int x, int y) { return 10 * x + y; },
        [](int x, int y) { return 50 + (y * kWidth + x) % 3; });
  }
  Bytes plane(int index) const {
    const std::uint8_t* start = bench.store.plane(index);
    return Bytes(start, start + kPixels);
  }
  int shownAt(ImageSlot image, int u, int v) const {
    return bench.view.panes[index(image)].shown[static_cast<std::size_t>(v) * kViewSize + u];
  }
};

TEST_F(RefreshChain, OpeningPreparesCreatesAndRendersBothImages) {
  // A manual shift set before the open shows in Image 1: the pictures were prepared.
  bench.options.ShiftInterpolation = kShiftLinear;
  bench.control.manual.target = 0;
  bench.control.manual.setting.right = 1;
  bench.control.manual.setting.wholeX = 1;
  setManualShiftEnabled(bench.control, true);
  open();
  EXPECT_EQ(listener.pictures, 1);
  const Bytes image1 = plane(kImage1);
  // Moved one pixel right: column 0 and the last row are 0, (x, y) reads picture (x - 1, y).
  EXPECT_EQ(image1[0], 0);
  EXPECT_EQ(image1[3 * kWidth + 5], picture1[3 * kWidth + 4]);
  EXPECT_EQ(image1[(kHeight - 1) * kWidth + 5], 0);
  EXPECT_EQ(plane(kImage2), picture2);  // kind 1
  EXPECT_EQ(bench.images.statistics[1].maximum, 52);
  EXPECT_EQ(bench.images.statistics[1].minimum, 50);
  // Both panes are painted: the 12 x 10 picture sits at (250, 251) of the extraction.
  ASSERT_TRUE(bench.view.panes[0].rendered());
  EXPECT_EQ(bench.view.placement, (ViewPlacement{-250, -251, 0, 0}));
  EXPECT_EQ(shownAt(ImageSlot::Second, 250, 251), picture2[0]);
  EXPECT_EQ(shownAt(ImageSlot::Second, 249, 251), 0);
  EXPECT_EQ(bench.view.panes[1].colours[0], (Rgb{0, 0, 0}));
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(RefreshChain, ThumbnailsShowTheShiftedPictures) {
  EXPECT_EQ(bench.view.thumbnails[0].pixels,
            Bytes(static_cast<std::size_t>(kPictureThumbnailWidth) * kPictureThumbnailHeight,
                  kThumbnailBackground));
  // Thumbnail column 97 of the top row shows picture column 97 * 12 / 232 = 5, row 0.
  const auto at = [this](PictureSlot picture) {
    const PictureThumbnail& thumbnail = bench.view.thumbnails[index(picture)];
    return thumbnail.pixels[static_cast<std::size_t>(thumbnail.offsetY) * kPictureThumbnailWidth +
                            thumbnail.offsetX + 97];
  };
  open();
  EXPECT_EQ(at(PictureSlot::First), 50);
  EXPECT_EQ(at(PictureSlot::Second), picture2[5]);
  bench.control.manual.target = 0;
  bench.control.manual.setting.right = 1;
  bench.control.manual.setting.wholeX = 1;
  setManualShiftEnabled(bench.control, true);
  refreshPictures(bench, user);
  const std::uint8_t shifted = bench.store.plane(kShifted1)[5];
  EXPECT_NE(shifted, 50);
  EXPECT_EQ(at(PictureSlot::First), shifted);
}

TEST_F(RefreshChain, KindRequestRecreatesOneImageAndKeepsTheView) {
  open();
  bench.view.placement.windowColumn = 3;  // a view that a drag left
  setImageKind(bench, ImageSlot::Second, kKindDifference, 0, user, progress, progress);
  EXPECT_EQ(listener.panes, 1);
  Bytes expected(kPixels);
  for (std::size_t i = 0; i < kPixels; ++i)
    expected[i] = static_cast<std::uint8_t>(std::abs(picture1[i] - picture2[i]));
  EXPECT_EQ(plane(kImage2), expected);
  EXPECT_EQ(bench.view.placement.windowColumn, 0);  // kept, then limited to x1's range
  EXPECT_EQ(imageLabelOf(bench, ImageSlot::Second), "ｲﾒｰｼﾞ2（階調差） x1");
  EXPECT_EQ(imageLabelOf(bench, ImageSlot::First), "ｲﾒｰｼﾞ1（画像１） x1");
}

TEST_F(RefreshChain, OffsetDifferenceBlanksAndSurroundsWithOneHundredTwentyEight) {
  bench.control.validRange.kind = kValidMargin;
  bench.control.validRange.margin = 2;
  bench.options.carryOver.KeepValidRangeMode = true;
  open();
  setImageKind(bench, ImageSlot::First, kKindOffsetDifference, 0, user, progress, progress);
  setBlankInvalid(bench, true, user, progress, progress);
  const Bytes image = plane(kImage1);
  EXPECT_EQ(image[0], 128);
  EXPECT_EQ(image[1 * kWidth + 5], 128);  // row 1 is outside rows 2..7
  const int inside = picture1[2 * kWidth + 2] - picture2[2 * kWidth + 2] + 128;
  EXPECT_EQ(image[2 * kWidth + 2], inside);
  EXPECT_EQ(bench.images.statistics[0].rectangle, (Rect{2, 2, 9, 7}));
  EXPECT_EQ(shownAt(ImageSlot::First, 0, 0),
            shownAt(ImageSlot::First, 0, 1));  // the fill around the picture
  EXPECT_EQ(bench.view.panes[0].view[0], 128);
}

TEST_F(RefreshChain, UnusedUserEntryKeepsTheBufferWithZeroStatistics) {
  open();
  const Bytes before = plane(kImage1);
  setImageKind(bench, ImageSlot::First, kUserProcessingKind, 3, user, progress, progress);
  EXPECT_EQ(plane(kImage1), before);
  EXPECT_EQ(bench.images.statistics[0], ImageStatistics{});
  EXPECT_TRUE(progress.events.empty());
}

TEST_F(RefreshChain, UserExpressionRunsWithProgressAndClampsItsResults) {
  UserProcessingEntry& entry = bench.userEntries.processing[2];
  entry.inUse = 1;
  entry.name = "明るさ";
  entry.form = 1;
  entry.expression = "P1(1,0)*1000";  // any pixel above 0 becomes 255
  open();
  setImageKind(bench, ImageSlot::First, kUserProcessingKind, 2, user, progress, progress);
  const Bytes image = plane(kImage1);
  EXPECT_EQ(image[0], 0);  // column 0 is outside the computing range (margin 1)
  EXPECT_EQ(image[1], 255);
  EXPECT_EQ(image[kWidth - 1], 0);
  EXPECT_EQ(bench.images.statistics[0].rectangle, (Rect{1, 0, kWidth - 2, kHeight - 1}));
  ASSERT_GE(progress.events.size(), 5u);
  EXPECT_EQ(progress.events[0], "busy");
  EXPECT_EQ(progress.events[1], "text:ｲﾒｰｼﾞ1 作成中");
  EXPECT_EQ(progress.events[2], "start:10");
  EXPECT_EQ(progress.events[3], "report:1");
  EXPECT_EQ(progress.events[progress.events.size() - 3], "report:10");
  EXPECT_EQ(progress.events[progress.events.size() - 2], "finish");
  EXPECT_EQ(progress.events.back(), "idle");
  EXPECT_EQ(imageLabelOf(bench, ImageSlot::First), "ｲﾒｰｼﾞ1（明るさ） x1");

  entry.expression = "SQRT(P1(0,0)-300)";  // not a number everywhere: 0
  setImageKind(bench, ImageSlot::First, kUserProcessingKind, 2, user, progress, progress);
  EXPECT_EQ(plane(kImage1), Bytes(kPixels, 0));
}

TEST_F(RefreshChain, FailedUserEntryTellsAndKeepsTheBuffer) {
  UserProcessingEntry& entry = bench.userEntries.processing[0];
  entry.inUse = 1;
  entry.form = 1;
  entry.expression = "P1(0,0)+";
  open();
  const Bytes before = plane(kImage2);
  bench.images.statistics[1].maximum = 99;
  NoBusyPort busy;
  bench.images.kind[1] = kUserProcessingKind;  // entry 0
  EXPECT_FALSE(createImage(bench, ImageSlot::Second, true, true, user, busy, progress));
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "ｲﾒｰｼﾞ2の作成に失敗しました");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  EXPECT_EQ(plane(kImage2), before);
  EXPECT_EQ(bench.images.statistics[1], ImageStatistics{});
  EXPECT_TRUE(bench.view.panes[1].rendered());
}

TEST_F(RefreshChain, ColourKindFollowsTheAssociationWhenColourIsOn) {
  open();
  bench.images.kind = {kKindDifference, kKindOffsetDifference};
  EXPECT_EQ(colourKindOf(bench, ImageSlot::First), kColourGrey);
  bench.view.colourDisplay = true;
  EXPECT_EQ(colourKindOf(bench, ImageSlot::First), kColourDifference);
  EXPECT_EQ(colourKindOf(bench, ImageSlot::Second), kColourOffset);
  EXPECT_EQ(paneColoursOf(bench, ImageSlot::First).intensity, 8);
  // A user colour table that is not in use shows as grey.
  bench.images.selections.kindColours[0][kKindDifference] = 20;
  EXPECT_EQ(colourKindOf(bench, ImageSlot::First), kColourGrey);
  bench.userEntries.colours[4].inUse = 1;
  bench.userEntries.colours[4].table[3 * 9] = 200;  // red of grey 9
  EXPECT_EQ(colourKindOf(bench, ImageSlot::First), 20);
  EXPECT_EQ(paneColoursOf(bench, ImageSlot::First).base[9].red, 200);
}

TEST_F(RefreshChain, GridPadMovesTheLinesAndRepaintsOnly) {
  open();
  setMagnification(bench, 2);
  bench.view.gridWidth = 4;
  setGrid(bench, true);
  const int panes = listener.panes;
  EXPECT_EQ(shownAt(ImageSlot::First, 8, 3), 255);
  EXPECT_NE(shownAt(ImageSlot::First, 7, 3), 255);
  moveGrid(bench, CursorDirection::Left);
  EXPECT_EQ(bench.view.gridOffsetX, 1);
  EXPECT_EQ(shownAt(ImageSlot::First, 7, 3), 255);
  EXPECT_EQ(listener.panes, panes + 1);
  for (int i = 0; i < 7; ++i) moveGrid(bench, CursorDirection::Left);
  EXPECT_EQ(bench.view.gridOffsetX, 0);  // wraps within 0..L m - 1
  moveGrid(bench, CursorDirection::Right);
  EXPECT_EQ(bench.view.gridOffsetX, 7);
}

TEST_F(RefreshChain, CursorMovesReRenderAroundTheCursor) {
  open();
  setMagnification(bench, 4);
  EXPECT_EQ(bench.view.fineX, 2);
  setCursorPosition(bench, 100, -5);
  EXPECT_EQ(bench.view.centreX, kWidth - 1);
  EXPECT_EQ(bench.view.centreY, 0);
  bench.view.fineMovement = true;
  moveCursor(bench, CursorDirection::Right, false);
  EXPECT_EQ(bench.view.fineX, 3);
  moveCursor(bench, CursorDirection::Right, false);
  EXPECT_EQ(bench.view.fineX, 3);  // the last pixel: the fine position stops
  bench.view.fineMovement = false;
  moveCursor(bench, CursorDirection::Left, true);
  EXPECT_EQ(bench.view.centreX, kWidth - 2);
  EXPECT_EQ(bench.view.fineX, 2);
  EXPECT_FALSE(setReducedDisplay(bench));  // the picture fits the pane
  // The cross sits in the cursor's cell: extraction column 250 + 10 and row 251 + 0, window
  // 260 - 64 and 251 - 64, fine position 2.
  EXPECT_EQ(cursorViewPointOf(bench), (ViewPoint{2 + (260 - 196) * 4, 2 + (251 - 187) * 4}));
}

TEST_F(RefreshChain, OptionEffectsRecreateOrOnlyRenderAgain) {
  open();
  setImageKind(bench, ImageSlot::Second, kKindAreaDifference, 0, user, progress, progress);
  EXPECT_TRUE(areaDifferenceShown(bench));
  // A 1 x 1 window with D = 1 is the absolute difference, and no margin.
  bench.options.AreaDiffRangeX = bench.options.AreaDiffRangeY = 1;
  bench.options.AreaDiffDivisor = 1;
  refreshAfterOptions(bench, kEffectSave | kEffectPreparePictures, user, progress, progress);
  EXPECT_EQ(plane(kImage2)[0], std::abs(picture1[0] - picture2[0]));
  EXPECT_EQ(bench.images.statistics[1].rectangle, (Rect{0, 0, kWidth - 1, kHeight - 1}));
  // A new magnification interpolation mode renders the buffer as it is.
  bench.store.plane(kImage2)[0] = 200;
  refreshAfterOptions(bench, kEffectSave | kEffectRecreateImages, user, progress, progress);
  EXPECT_EQ(plane(kImage2)[0], 200);
  EXPECT_EQ(bench.view.panes[1].view[251 * kViewSize + 250], 200);
  EXPECT_FALSE(magnifiedWithInterpolation(bench));
  setMagnification(bench, 2);
  EXPECT_TRUE(magnifiedWithInterpolation(bench));
}

}  // namespace
}  // namespace vemla
