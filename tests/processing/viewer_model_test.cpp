#include "processing/viewer_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemla {
namespace {

constexpr ViewerSize kScreen{1280, 1024};
constexpr ViewerSize kLargest{16384, 16384};

TEST(ViewerModel, OpeningZoomAndWindowOnA1280By1024Screen) {
  // A x B = 1216 x 960; the window is at least two thirds of each: 810 x 640.
  const struct {
    int width, height, zoom;
    ViewerSize window;
  } cases[] = {
      {100, 80, 4, {810, 640}},      {300, 200, 2, {810, 640}},     {1000, 900, 1, {1032, 932}},
      {4000, 3000, -4, {1216, 960}}, {5000, 3000, -8, {1216, 960}}, {1300, 900, -2, {1216, 960}},
      {1, 1, 64, {810, 640}},
  };
  for (const auto& c : cases) {
    const auto opening = viewerOpening(c.width, c.height, kScreen, kLargest);
    ASSERT_TRUE(opening) << c.width;
    EXPECT_EQ(opening->zoom, c.zoom) << c.width;
    EXPECT_EQ(opening->window, c.window) << c.width;
    EXPECT_EQ(opening->centreX, c.width / 2);
    EXPECT_EQ(opening->windowX, (1280 - c.window.width) / 2);
  }
  // Never larger than the largest picture allowed.
  EXPECT_EQ(viewerOpening(4000, 3000, kScreen, {1024, 768})->window, (ViewerSize{1024, 768}));
}

TEST(ViewerModel, RefusesEmptyPicturesAndScreensWithoutRoom) {
  EXPECT_FALSE(viewerOpening(0, 10, kScreen, kLargest));
  EXPECT_FALSE(viewerOpening(10, -1, kScreen, kLargest));
  EXPECT_FALSE(viewerOpening(10, 10, {64, 500}, kLargest));
  EXPECT_FALSE(viewerOpening(std::int64_t{1} << 40, 10, kScreen, kLargest));
  EXPECT_EQ(viewerOpening(std::int64_t{1} << 30, 10, kScreen, kLargest)->zoom, -8);
}

TEST(ViewerModel, ZoomStepsRunFromOneEighthTo64AndStop) {
  std::vector<int> out{1};
  while (out.size() < 6) out.push_back(zoomOut(out.back()));
  EXPECT_EQ(out, (std::vector<int>{1, -2, -4, -8, -8, -8}));
  int zoom = -8;
  std::vector<int> in;
  for (int i = 0; i < 70; ++i) in.push_back(zoom = zoomIn(zoom));
  EXPECT_EQ((std::vector<int>(in.begin(), in.begin() + 4)), (std::vector<int>{-4, -2, 1, 2}));
  EXPECT_EQ(in.back(), 64);
  EXPECT_EQ(zoomOut(64), 63);
  EXPECT_EQ(zoomText(4), "4");
  EXPECT_EQ(zoomText(-4), "1/4");
}

TEST(ViewerModel, FirstVisibleColumnForMagnificationAndReduction) {
  EXPECT_EQ(firstVisible(50, 100, 3), 50 - 16);  // (100 div 2) div 3 = 16
  EXPECT_EQ(firstVisible(50, 100, 1), 0);
  // At 1/4 the centre 50 is first rounded down to 48: 48 - 50 * 4.
  EXPECT_EQ(firstVisible(50, 100, -4), 48 - 200);
  EXPECT_EQ(firstVisible(51, 100, -4), 48 - 200);
  // A click picks the pixel under it, clamped into the picture.
  EXPECT_EQ(clickedCentre(99, 50, 100, 3, 1000), 34 + 33);
  EXPECT_EQ(clickedCentre(0, 0, 100, 3, 1000), 0);
  EXPECT_EQ(clickedCentre(99, 990, 100, -4, 1000), 999);
}

TEST(ViewerModel, PaintsNearestSamplesWithBlackAround) {
  // 3 x 2 grey picture through a palette that tells the values apart.
  const std::vector<std::uint8_t> grey{0, 1, 2, 3, 4, 5};
  ViewerPicture picture{grey.data(), 3, 2, 1, {}};
  for (int i = 0; i < 256; ++i) picture.palette[static_cast<std::size_t>(i)] = 0x010101u * i;
  std::vector<std::uint32_t> client(8 * 6, 7);
  // z = 2, centre (1, 1): first column 1 - 2 = -1, first row 1 - 1 = 0.
  paintViewer(picture, 2, 1, 1, 8, 6, client.data(), 8);
  const auto px = [&](int u, int v) { return client[static_cast<std::size_t>(v) * 8 + u]; };
  EXPECT_EQ(px(0, 0), 0xFF000000u);
  EXPECT_EQ(px(2, 0), 0xFF000000u);  // value 0
  EXPECT_EQ(px(5, 1), 0xFF010101u);
  EXPECT_EQ(px(7, 3), 0xFF050505u);
  EXPECT_EQ(px(3, 4), 0xFF000000u);  // below the picture
  // 1/2 on a 3-byte picture: every second pixel, blue first in the file.
  const std::vector<std::uint8_t> colour{1, 2, 3, 9, 9, 9, 4, 5, 6};
  ViewerPicture bgr{colour.data(), 3, 1, 3, {}};
  std::vector<std::uint32_t> small(4, 7);
  paintViewer(bgr, -2, 0, 0, 4, 1, small.data(), 4);  // first column 0 - 2 * 2 = -4
  EXPECT_EQ(small,
            (std::vector<std::uint32_t>{0xFF000000u, 0xFF000000u, 0xFF030201u, 0xFF060504u}));
}

// A client area large enough to be painted in bands shows, at every pixel, the sample the
// column and row rules name.
TEST(ViewerModel, LargeClientAreasAgreeWithTheSamplingRules) {
  std::vector<std::uint8_t> grey(50 * 40);
  for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<std::uint8_t>(i % 256);
  ViewerPicture picture{grey.data(), 50, 40, 1, {}};
  for (std::uint32_t i = 0; i < 256; ++i) picture.palette[i] = i;
  constexpr int kWidth = 1500, kHeight = 1100;
  std::vector<std::uint32_t> client(static_cast<std::size_t>(kWidth) * kHeight);
  for (const int zoom : {3, 64, -2}) {
    paintViewer(picture, zoom, 20, 17, kWidth, kHeight, client.data(), kWidth);
    int wrong = 0;
    for (int v = 0; v < kHeight; ++v) {
      const std::int64_t y = pictureAt(v, 17, kHeight, zoom);
      for (int u = 0; u < kWidth; ++u) {
        const std::int64_t x = pictureAt(u, 20, kWidth, zoom);
        const bool inside = x >= 0 && x < 50 && y >= 0 && y < 40;
        const std::uint32_t expected =
            0xFF000000u | (inside ? grey[static_cast<std::size_t>(y * 50 + x)] : 0u);
        wrong += client[static_cast<std::size_t>(v) * kWidth + u] != expected;
      }
    }
    EXPECT_EQ(wrong, 0) << zoom;
  }
}

TEST(ViewerModel, TitleAndGradationTable) {
  EXPECT_EQ(viewerTitle(4, false, false),
            "Ｖｉｅｗ（4倍） ﾏｳｽｸﾘｯｸ(左:拡大 右:縮小)Ctrl+ﾏｳｽ右ｸﾘｯｸ:拡張機能  ｷｰ押下:消去  ");
  EXPECT_EQ(viewerTitle(-8, true, true),
            "Ｖｉｅｗ（1/8倍） ﾏｳｽﾎｲｰﾙ回転(拡大/縮小)ﾏｳｽ右ｸﾘｯｸ:拡張機能  ｷｰ押下:"
            "ESC=終了、その他=続行(VemLA立ち上げ)  ");
  const std::vector<std::uint8_t> grey{10, 20, 30, 40};
  const ViewerPicture picture{grey.data(), 2, 2, 1, {}};
  const GradationTable table = gradationTable(picture, 1, 0);
  EXPECT_EQ(table.title, "Ｖｉｅｗ（階調値） (x,y)=(  1,  0)");
  EXPECT_EQ(table.columnHeaders[0], -9);
  EXPECT_EQ(table.values[10][10], 20);
  EXPECT_EQ(table.values[11][9], 30);
  EXPECT_FALSE(table.values[9][10]);
  EXPECT_FALSE(table.values[10][11]);
  EXPECT_EQ(gradationTable(picture, 1005, 2).columnHeaders[10], 5);
  EXPECT_EQ(gradationCellText(std::uint8_t{7}), "  7");
}

}  // namespace
}  // namespace vemla
