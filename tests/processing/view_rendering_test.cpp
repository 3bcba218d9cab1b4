#include "processing/view_rendering.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "processing/reduced_display.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kPixels = static_cast<std::size_t>(kViewSize) * kViewSize;

struct Picture {
  Bytes pixels;
  int width, height;
  int at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Picture pattern(int width, int height) {
  Picture picture{Bytes(static_cast<std::size_t>(width) * height), width, height};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint8_t>((7 * x + 13 * y + (x * y) % 11) % 256);
  }
  return picture;
}

Bytes render(const Picture& picture, std::uint8_t fill, const ViewSettings& settings,
             const ViewPlacement& placement) {
  Bytes view(kPixels, 77);
  RenderWork work;
  renderView(picture.pixels.data(), picture.width, picture.height, fill, settings, placement,
             view.data(), work);
  return view;
}

int viewAt(const Bytes& view, int u, int v) {
  return view[static_cast<std::size_t>(v) * kViewSize + static_cast<std::size_t>(u)];
}

TEST(Extraction, SmallPictureIsCentredWithTheFillAround) {
  const Picture picture = pattern(300, 200);
  const ViewPlacement placement = centredPlacement(300, 200, 150, 100, 1);
  EXPECT_EQ(placement, (ViewPlacement{-106, -156, 0, 0}));
  const Bytes view = render(picture, 128, ViewSettings{}, placement);
  EXPECT_EQ(viewAt(view, 106, 156), picture.at(0, 0));
  EXPECT_EQ(viewAt(view, 405, 355), picture.at(299, 199));
  EXPECT_EQ(viewAt(view, 105, 156), 128);
  EXPECT_EQ(viewAt(view, 406, 200), 128);
  EXPECT_EQ(viewAt(view, 200, 356), 128);
  EXPECT_EQ(viewAt(view, 0, 0), 128);
}

TEST(Extraction, LargePictureFollowsTheCursorWithinThePicture) {
  EXPECT_EQ(extractionOrigin(1000, 600), 344);  // 600 - 256
  EXPECT_EQ(extractionOrigin(1000, 100), 0);
  EXPECT_EQ(extractionOrigin(1000, 990), 488);  // 1000 - 512
  EXPECT_EQ(extractionOrigin(512, 300), 0);
  EXPECT_EQ(extractionOrigin(511, 300), 0);  // -(1 / 2)
  EXPECT_EQ(extractionOrigin(8, 3), -252);
}

// m = 3: 170 whole cells and a partial cell of 2 view pixels on the right and at the bottom.
TEST(Magnification, PartialLastCellShowsTheNextExtractionColumn) {
  const Picture picture = pattern(600, 600);
  EXPECT_EQ(visibleCells(3), 171);
  const ViewPlacement placement = centredPlacement(600, 600, 300, 300, 3);
  // Origin 300 - 256 = 44; the cursor's extraction column 256, c = 256 - 85 = 171.
  ASSERT_EQ(placement, (ViewPlacement{44, 44, 171, 171}));
  const Bytes view = render(picture, 0, ViewSettings{3, false, false, kZoomCubic}, placement);
  for (int v = 0; v < kViewSize; v += 7) {
    for (int u = 0; u < kViewSize; ++u) {
      ASSERT_EQ(viewAt(view, u, v), picture.at(44 + 171 + u / 3, 44 + 171 + v / 3))
          << u << "," << v;
    }
  }
  EXPECT_EQ(viewAt(view, 509, 0), picture.at(215 + 169, 215));
  EXPECT_EQ(viewAt(view, 510, 511), picture.at(215 + 170, 215 + 170));
  EXPECT_EQ(viewAt(view, 511, 510), picture.at(215 + 170, 215 + 170));
}

TEST(Magnification, WindowStaysInsideTheExtraction) {
  EXPECT_EQ(windowStart(0, 8), 0);
  EXPECT_EQ(windowStart(511, 8), 448);  // 512 - 64
  EXPECT_EQ(windowStart(300, 8), 268);
  EXPECT_EQ(windowStart(300, 1), 0);
  // A kept window is brought back into range for another magnification.
  EXPECT_EQ(keptPlacement(ViewPlacement{5, 6, 400, 10}, 4), (ViewPlacement{5, 6, 384, 10}));
}

TEST(MagnificationText, MagnificationOrReducedRatio) {
  EXPECT_EQ(magnificationText(ViewSettings{8, false, true, kZoomCubic}, 300, 200), "x8");
  EXPECT_EQ(magnificationText(ViewSettings{1, true, false, kZoomCubic}, 2048, 1024), "1/4.0");
  // Reduced display is not possible for a picture that fits: x1.
  EXPECT_EQ(magnificationText(ViewSettings{1, true, false, kZoomCubic}, 512, 300), "x1");
  EXPECT_EQ(reductionText(1024, 1024), "2.0");
  EXPECT_EQ(reductionText(4000, 4000), "7.813");  // 7.8125
  EXPECT_EQ(reductionText(600, 1024), "2.0");     // w' = 300, 600 / 300
  EXPECT_EQ(reductionText(1000, 600), "1.953");   // 1.953125
}

TEST(ReducedDisplay, WidePictureIsSampledIntoACentredBand) {
  const Picture picture = pattern(2048, 1024);
  EXPECT_EQ(reducedGeometry(2048, 1024), (ReducedGeometry{0, 128, 512, 256}));
  const Bytes view = render(picture, 9, ViewSettings{1, true, false, kZoomCubic}, ViewPlacement{});
  EXPECT_EQ(viewAt(view, 0, 127), 9);
  EXPECT_EQ(viewAt(view, 0, 384), 9);
  // View row 128 + i shows picture row 4i, view column j picture column 4j.
  EXPECT_EQ(viewAt(view, 0, 128), picture.at(0, 0));
  EXPECT_EQ(viewAt(view, 3, 129), picture.at(12, 4));
  EXPECT_EQ(viewAt(view, 511, 383), picture.at(2044, 1020));
  EXPECT_DOUBLE_EQ(reductionRatio(2048, 1024), 4.0);
}

TEST(ReducedDisplay, TallPictureIsCentredHorizontally) {
  EXPECT_EQ(reducedGeometry(600, 1000), (ReducedGeometry{102, 0, 307, 512}));  // 600 * 512 / 1000
}

// ---- Interpolation against the rule written per view pixel.

std::array<int, 4> referenceWeights(int mode, int r) {
  if (mode == kZoomLinear) return {0, 1024 - 4 * r, 4 * r, 0};
  const double t = r / 256.0;
  const double w[4] = {-t * (t - 1) * (t - 2) / 6, (t + 1) * (t - 1) * (t - 2) / 2,
                       -(t + 1) * t * (t - 2) / 2, (t + 1) * t * (t - 1) / 6};
  std::array<int, 4> rounded{};
  for (int k = 0; k < 4; ++k) rounded[k] = static_cast<int>(std::floor(w[k] * 1024 + 0.5));
  return rounded;
}

int floorDivide(int a, int b) {
  return static_cast<int>(std::floor(static_cast<double>(a) / b));
}

int referenceInterpolated(const Picture& picture, int fill, const ViewPlacement& placement, int m,
                          int mode, int u, int v) {
  const auto extraction = [&](int a, int b) {
    a = std::clamp(a, 0, 511);
    b = std::clamp(b, 0, 511);
    const int x = placement.originX + a, y = placement.originY + b;
    return x >= 0 && x < picture.width && y >= 0 && y < picture.height ? picture.at(x, y) : fill;
  };
  const int tx = u - m / 2, ty = v - m / 2;
  const int jx = placement.windowColumn + floorDivide(tx, m);
  const int jy = placement.windowRow + floorDivide(ty, m);
  const auto wx = referenceWeights(mode, (tx - floorDivide(tx, m) * m) * 256 / m);
  const auto wy = referenceWeights(mode, (ty - floorDivide(ty, m) * m) * 256 / m);
  long long sum = 0;
  for (int l = 0; l < 4; ++l) {
    long long row = 0;
    for (int k = 0; k < 4; ++k) row += wx[k] * extraction(jx - 1 + k, jy - 1 + l);
    sum += wy[l] * row;
  }
  const long long value = sum >= 0 ? sum >> 20 : -((-sum + (1 << 20) - 1) >> 20);  // floor
  return static_cast<int>(std::clamp<long long>(value, 0, 255));
}

TEST(Interpolation, LinearSamplesSitAtCellCentresAndHalfwayIsTheMean) {
  // Columns alternate 10 and 31; rows are all alike.
  Picture picture{Bytes(600 * 600), 600, 600};
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 600; ++x)
      picture.pixels[static_cast<std::size_t>(y) * 600 + x] = x % 2 ? 31 : 10;
  }
  const ViewPlacement placement = centredPlacement(600, 600, 300, 300, 2);  // 44, c = 128
  ASSERT_EQ(placement, (ViewPlacement{44, 44, 128, 128}));
  const Bytes view = render(picture, 0, ViewSettings{2, false, true, kZoomLinear}, placement);
  // View column (j - c) 2 + 1 is extraction column j = picture column 44 + j.
  EXPECT_EQ(viewAt(view, 1, 5), picture.at(172, 0));  // 172 is even: 10
  EXPECT_EQ(viewAt(view, 3, 5), 31);
  EXPECT_EQ(viewAt(view, 2, 5), 20);  // (10 + 31) / 2 truncated
  EXPECT_EQ(viewAt(view, 0, 5), 20);  // half a cell before the first: columns 171 and 172
}

TEST(Interpolation, MatchesThePerPixelRuleForEveryModeMagnificationAndEdge) {
  const Picture large = pattern(700, 640);
  const Picture small = pattern(90, 70);
  struct Case {
    const Picture* picture;
    int cursorX, cursorY;
  };
  const Case cases[] = {{&large, 0, 0}, {&large, 699, 639}, {&large, 350, 320}, {&small, 45, 35}};
  for (const Case& c : cases) {
    for (const int m : {2, 3, 5, 8, 64}) {
      for (const int mode : {kZoomLinear, kZoomCubic}) {
        const ViewPlacement placement =
            centredPlacement(c.picture->width, c.picture->height, c.cursorX, c.cursorY, m);
        const Bytes view = render(*c.picture, 40, ViewSettings{m, false, true, mode}, placement);
        for (int v = 0; v < kViewSize; v += (v < 8 || v > 500) ? 1 : 13) {
          for (int u = 0; u < kViewSize; ++u) {
            ASSERT_EQ(viewAt(view, u, v),
                      referenceInterpolated(*c.picture, 40, placement, m, mode, u, v))
                << "m " << m << " mode " << mode << " view " << u << "," << v << " cursor "
                << c.cursorX << "," << c.cursorY;
          }
        }
      }
    }
  }
}

TEST(Interpolation, TapsBeyondTheLastExtractionColumnRepeatIt) {
  // A 512-wide picture viewed at its right end: the last column is 250, the rest 0. Taps past
  // column 511 read column 511 again, so the view's last column stays at 250 (linear).
  Picture picture{Bytes(512 * 512, 0), 512, 512};
  for (int y = 0; y < 512; ++y) picture.pixels[static_cast<std::size_t>(y) * 512 + 511] = 250;
  const ViewPlacement placement = centredPlacement(512, 512, 511, 256, 4);
  ASSERT_EQ(placement.windowColumn, 384);
  const Bytes view = render(picture, 0, ViewSettings{4, false, true, kZoomLinear}, placement);
  EXPECT_EQ(viewAt(view, 511, 100), 250);
  EXPECT_EQ(viewAt(view, 510, 100), 250);  // (127) 4 + 2 is column 511 itself
  EXPECT_EQ(viewAt(view, 508, 100), 125);  // two quarters before: half of 250
}

TEST(CursorViewPoint, FinePositionInsideTheMagnifiedCellAndReducedPoint) {
  const ViewPlacement placement{44, 44, 171, 171};
  // (300 - 44 - 171) 3 + 1 = 256.
  EXPECT_EQ(cursorViewPoint(600, 600, 300, 300, 1, 2, ViewSettings{3, false, false, kZoomCubic},
                            placement),
            (ViewPoint{256, 257}));
  EXPECT_EQ(
      cursorViewPoint(600, 600, 0, 599, 0, 0, ViewSettings{3, false, false, kZoomCubic}, placement),
      (ViewPoint{0, 511}));  // limited to the view
  // Reduced 2048 x 1024: (0 + 1000 * 512 / 2048, 128 + 600 * 256 / 1024).
  EXPECT_EQ(cursorViewPoint(2048, 1024, 1000, 600, 0, 0, ViewSettings{1, true, false, kZoomCubic},
                            ViewPlacement{}),
            (ViewPoint{250, 278}));
}

}  // namespace
}  // namespace vemla
