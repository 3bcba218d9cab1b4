#include "processing/picture_thumbnail.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture whose values never reach 128, so that the thumbnail's border is told apart.
Bytes rampPicture(int width, int height) {
  Bytes picture(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint8_t>((x + 3 * y) % 128);
    }
  }
  return picture;
}

int at(const PictureThumbnail& thumbnail, int u, int v) {
  return thumbnail.pixels[static_cast<std::size_t>(v) * kPictureThumbnailWidth + u];
}
int pictureAt(int x, int y) {
  return (x + 3 * y) % 128;
}

TEST(PictureThumbnail, WidePictureIsReducedIntoTheMiddleOfTheSquare) {
  // 640 x 480: 232 wide, 480 * 232 / 640 = 174 high, top = 6 + (232 - 174) / 2 = 35.
  const Bytes picture = rampPicture(640, 480);
  PictureThumbnail thumbnail;
  buildPictureThumbnail(picture.data(), 640, 480, thumbnail);
  ASSERT_EQ(thumbnail.pixels.size(), 232u * 244u);
  EXPECT_EQ(thumbnail.offsetX, 0);
  EXPECT_EQ(thumbnail.offsetY, 35);
  EXPECT_EQ(thumbnail.width, 232);
  EXPECT_EQ(thumbnail.height, 174);
  // Row i shows picture row i * 480 / 174, column j column j * 640 / 232 (nearest sample).
  EXPECT_EQ(at(thumbnail, 0, 35), pictureAt(0, 0));
  EXPECT_EQ(at(thumbnail, 1, 36), pictureAt(2, 2));         // 640/232 = 2.76, 480/174 = 2.76
  EXPECT_EQ(at(thumbnail, 100, 100), pictureAt(275, 179));  // 64000/232, 65*480/174
  EXPECT_EQ(at(thumbnail, 231, 208), pictureAt(637, 477));
  // Above and below the picture: 128 up to the raster's edges.
  EXPECT_EQ(at(thumbnail, 0, 34), 128);
  EXPECT_EQ(at(thumbnail, 231, 209), 128);
  EXPECT_EQ(at(thumbnail, 10, 0), 128);
  EXPECT_EQ(at(thumbnail, 10, 243), 128);
}

TEST(PictureThumbnail, SmallPicturesAreEnlargedWithTheSameRule) {
  // 16 x 8: 232 wide, 8 * 232 / 16 = 116 high, top = 6 + 58 = 64. Thumbnail column 14 still
  // shows column 0 (14 * 16 / 232 = 0.97), column 15 column 1; likewise rows 14 and 15.
  const Bytes picture = rampPicture(16, 8);
  PictureThumbnail thumbnail;
  buildPictureThumbnail(picture.data(), 16, 8, thumbnail);
  EXPECT_EQ(thumbnail.offsetX, 0);
  EXPECT_EQ(thumbnail.offsetY, 64);
  EXPECT_EQ(thumbnail.width, 232);
  EXPECT_EQ(thumbnail.height, 116);
  EXPECT_EQ(at(thumbnail, 14, 64), pictureAt(0, 0));
  EXPECT_EQ(at(thumbnail, 15, 64), pictureAt(1, 0));
  EXPECT_EQ(at(thumbnail, 0, 64 + 14), pictureAt(0, 0));
  EXPECT_EQ(at(thumbnail, 0, 64 + 15), pictureAt(0, 1));
  EXPECT_EQ(at(thumbnail, 231, 64 + 115), pictureAt(15, 7));
  EXPECT_EQ(at(thumbnail, 0, 63), 128);
  EXPECT_EQ(at(thumbnail, 0, 180), 128);
}

TEST(PictureThumbnail, TallPictureIsCentredAcross) {
  // 8 x 16: 116 wide at left (232 - 116) / 2 = 58, the whole square high from row 6.
  const Bytes picture = rampPicture(8, 16);
  PictureThumbnail thumbnail;
  buildPictureThumbnail(picture.data(), 8, 16, thumbnail);
  EXPECT_EQ(thumbnail.offsetX, 58);
  EXPECT_EQ(thumbnail.offsetY, 6);
  EXPECT_EQ(thumbnail.width, 116);
  EXPECT_EQ(thumbnail.height, 232);
  EXPECT_EQ(at(thumbnail, 57, 100), 128);
  EXPECT_EQ(at(thumbnail, 58, 6), pictureAt(0, 0));
  EXPECT_EQ(at(thumbnail, 173, 237), pictureAt(7, 15));
  EXPECT_EQ(at(thumbnail, 174, 100), 128);
  EXPECT_EQ(at(thumbnail, 100, 5), 128);
  EXPECT_EQ(at(thumbnail, 100, 238), 128);
}

TEST(PictureThumbnail, VeryFlatPictureKeepsOneRow) {
  // 4096 x 8 comes out 8 * 232 / 4096 = 0 rows high: at least one row is shown.
  const Bytes picture(4096 * 8, 7);
  PictureThumbnail thumbnail;
  buildPictureThumbnail(picture.data(), 4096, 8, thumbnail);
  EXPECT_EQ(thumbnail.height, 1);
  EXPECT_EQ(thumbnail.offsetY, 6 + 115);
  EXPECT_EQ(at(thumbnail, 0, 121), 7);
  EXPECT_EQ(at(thumbnail, 0, 122), 128);
}

TEST(PictureThumbnail, WithoutPictureTheRasterIsAllBackground) {
  PictureThumbnail thumbnail;
  buildPictureThumbnail(nullptr, 640, 480, thumbnail);
  EXPECT_FALSE(thumbnail.hasPicture());
  ASSERT_EQ(thumbnail.pixels.size(), 232u * 244u);
  EXPECT_EQ(at(thumbnail, 100, 100), 128);
  EXPECT_FALSE(thumbnailOutline(thumbnail, 640, 480, {}, {}).has_value());
  EXPECT_FALSE(thumbnailPicturePoint(thumbnail, 640, 480, 100, 100).has_value());
}

class ThumbnailGeometry : public ::testing::Test {
 protected:
  PictureThumbnail thumbnailOf(int width, int height) {
    const Bytes picture(static_cast<std::size_t>(width) * height, 0);
    PictureThumbnail thumbnail;
    buildPictureThumbnail(picture.data(), width, height, thumbnail);
    return thumbnail;
  }
};

TEST_F(ThumbnailGeometry, OutlineAtX1FollowsTheExtraction) {
  // 640 x 480 with the cursor at (320, 240): OX = 64, OY = -(512 - 480) / 2 = -16, c = d = 0.
  // left = 232 * 64 / 640 = 23, top = 35 + 174 * -16 / 480 = 35 - 5 (towards zero) = 30,
  // width = 232 * 512 / 640 = 185, height = 174 * 512 / 480 = 185.
  const PictureThumbnail thumbnail = thumbnailOf(640, 480);
  const ViewSettings x1{1, false, false, kZoomCubic};
  const ViewPlacement placement{64, -16, 0, 0};
  EXPECT_EQ(thumbnailOutline(thumbnail, 640, 480, x1, placement),
            (ThumbnailOutline{23, 30, 185, 185}));
}

TEST_F(ThumbnailGeometry, OutlineOfTheMagnifiedWindow) {
  // x8: the window starts at c = d = 224 (64 cells visible around the cursor's 256).
  // left = 232 * (64 + 224) / 640 = 104, top = 35 + 174 * (224 - 16) / 480 = 35 + 75 = 110,
  // width = 185 / 8 = 23, height = 185 / 8 = 23.
  const PictureThumbnail thumbnail = thumbnailOf(640, 480);
  const ViewSettings x8{8, false, false, kZoomCubic};
  EXPECT_EQ(thumbnailOutline(thumbnail, 640, 480, x8, ViewPlacement{64, -16, 224, 224}),
            (ThumbnailOutline{104, 110, 23, 23}));
}

TEST_F(ThumbnailGeometry, OutlineThatComesOutEmptyIsOnePixel) {
  // 4096 x 4096 at x64: 232 * 512 / 4096 = 29, / 64 = 0 in both directions -> 1 x 1.
  // left = 232 * (1792 + 252) / 4096 = 115.
  const PictureThumbnail thumbnail = thumbnailOf(4096, 4096);
  const ViewSettings x64{64, false, false, kZoomCubic};
  EXPECT_EQ(thumbnailOutline(thumbnail, 4096, 4096, x64, ViewPlacement{1792, 1792, 252, 252}),
            (ThumbnailOutline{115, 6 + 115, 1, 1}));
}

TEST_F(ThumbnailGeometry, NoOutlineWhereTheViewIsTheWholePicture) {
  const PictureThumbnail square = thumbnailOf(512, 512);
  const ViewSettings x1{1, false, false, kZoomCubic};
  EXPECT_FALSE(thumbnailOutline(square, 512, 512, x1, {}).has_value());
  // The same picture at x2 has one: half the thumbnail.
  const ViewSettings x2{2, false, false, kZoomCubic};
  EXPECT_EQ(thumbnailOutline(square, 512, 512, x2, ViewPlacement{0, 0, 128, 128}),
            (ThumbnailOutline{58, 6 + 58, 116, 116}));
  // The reduced display of a 2048 x 1024 picture shows it whole: no outline.
  const PictureThumbnail wide = thumbnailOf(2048, 1024);
  const ViewSettings reduced{1, true, false, kZoomCubic};
  EXPECT_FALSE(thumbnailOutline(wide, 2048, 1024, reduced, {}).has_value());
}

TEST_F(ThumbnailGeometry, ClickMapsToThePictureAndBorderClicksToTheNearestEdge) {
  // 640 x 480: ox 0, oy 35, 232 x 174.
  const PictureThumbnail thumbnail = thumbnailOf(640, 480);
  // Inside: (116, 122) -> X = 116 * 640 / 232 = 320, Y = 87 * 480 / 174 = 240.
  EXPECT_EQ(thumbnailPicturePoint(thumbnail, 640, 480, 116, 122), (PicturePoint{320, 240}));
  // In the grey band above the picture: row 35 -> Y = 0; X = 10 * 640 / 232 = 27.
  EXPECT_EQ(thumbnailPicturePoint(thumbnail, 640, 480, 10, 3), (PicturePoint{27, 0}));
  // Below it and beyond the raster: the last displayed row and column,
  // X = 231 * 640 / 232 = 637, Y = 173 * 480 / 174 = 477.
  EXPECT_EQ(thumbnailPicturePoint(thumbnail, 640, 480, 300, 243), (PicturePoint{637, 477}));
  EXPECT_EQ(thumbnailPicturePoint(thumbnail, 640, 480, -5, -5), (PicturePoint{0, 0}));
  // A tall picture: a click left of it goes to column 0.
  const PictureThumbnail tall = thumbnailOf(8, 16);
  EXPECT_EQ(thumbnailPicturePoint(tall, 8, 16, 3, 6 + 116), (PicturePoint{0, 8}));
}

}  // namespace
}  // namespace vemla
