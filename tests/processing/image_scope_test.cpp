#include "processing/image_scope.h"

#include <gtest/gtest.h>

#include <vector>

#include "processing/view_rendering.h"

namespace vemla {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Scope {
  Bytes picture;
  int width, height;
  Bytes raster = Bytes(static_cast<std::size_t>(kScopeSize) * kScopeSize, 77);
  int at(int x, int y) const { return raster[static_cast<std::size_t>(y) * kScopeSize + x]; }
  int source(int x, int y) const { return picture[static_cast<std::size_t>(y) * width + x]; }
  void paint(int x, int y, int s, bool interpolate = false) {
    ScopeRequest request{picture.data(), width, height, x, y, s, interpolate, kZoomLinear};
    ScopeWork work;
    paintScope(request, raster.data(), work);
  }
};

Scope patterned(int width, int height) {
  Scope scope{Bytes(static_cast<std::size_t>(width) * height), width, height};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      scope.picture[static_cast<std::size_t>(y) * width + x] =
          static_cast<std::uint8_t>((7 * x + 13 * y) % 200);
  return scope;
}

// At s = 8 the window starts at neighbourhood column 112, so raster column u shows picture
// column x - 16 + u div 8. Points (20, 240) and (250, 240) lie clear of frame and texts.
TEST(ImageScope, TopLeftPixelShowsZerosAboveAndLeftAndDotsInItsOuterCells) {
  Scope scope = patterned(300, 200);
  scope.paint(0, 0, 8);
  EXPECT_EQ(scope.at(20, 240), 0);                      // left of the picture
  EXPECT_EQ(scope.at(250, 70), 0);                      // above it
  EXPECT_EQ(scope.at(250, 240), scope.source(15, 14));  // inside
  // Cell (i, j) = (-3, -3) at (40, 56) holds "  ‥": the third character's two-by-two dot at
  // glyph columns 2..3, rows 7..8, white; its blanks draw nothing.
  EXPECT_EQ(scope.at(54, 63), kScopeWhite);
  EXPECT_EQ(scope.at(55, 64), kScopeWhite);
  EXPECT_EQ(scope.at(41, 57), 0);
  // The centre row's outside cell (0, -3) at (40, 128) is orange.
  EXPECT_EQ(scope.at(54, 135), kScopeOrange);
  // "(  0,  0)" at (104, 32): '(' has its top dot in column 3; the first '0' starts at 122
  // with ".###." on its top row and "#...#" on its fifth.
  EXPECT_EQ(scope.at(107, 32), kScopeWhite);
  EXPECT_EQ(scope.at(104, 32), 0);
  EXPECT_EQ(scope.at(122, 32), 0);
  EXPECT_EQ(scope.at(123, 32), kScopeWhite);
  EXPECT_EQ(scope.at(122, 36), kScopeWhite);
  EXPECT_EQ(scope.at(124, 36), 0);
}

TEST(ImageScope, BottomRightPixelShowsZerosBeyondThePicture) {
  Scope scope = patterned(300, 200);
  scope.paint(299, 199, 8);
  EXPECT_EQ(scope.at(250, 240), 0);
  EXPECT_EQ(scope.at(20, 20), scope.source(299 - 16 + 2, 199 - 16 + 2));
  // Cell (3, 3) at (184, 200) is outside: its dot is white.
  EXPECT_EQ(scope.at(198, 207), kScopeWhite);
}

TEST(ImageScope, BrightestValuesAreShownAs253AndTheFrameClampsAtHighMagnification) {
  Scope scope{Bytes(512 * 512, 255), 512, 512};
  scope.paint(256, 256, 64);
  EXPECT_EQ(scope.at(250, 240), kScopeBrightestGrey);
  // 128 +- 192 reaches past both edges: the frame runs along the raster's border, dashes of
  // four.
  EXPECT_EQ(scope.at(0, 0), kScopeWhite);
  EXPECT_EQ(scope.at(4, 0), 0);
  EXPECT_EQ(scope.at(255, 8), kScopeWhite);
  EXPECT_EQ(scope.at(0, 5), 0);
  // A flat picture stays flat under interpolation, even where the taps run out.
  Scope flat{Bytes(512 * 512, 100), 512, 512};
  for (const int s : {2, 3, 64}) {
    flat.paint(256, 256, s, true);
    EXPECT_EQ(flat.at(250, 240), 100) << s;
    EXPECT_EQ(flat.at(20, 240), 100) << s;
  }
}

TEST(ImageScope, PaletteDimsGreyAndKeepsTheMarks) {
  const ColourTable& palette = scopePalette();
  EXPECT_EQ(palette[128], (Rgb{96, 96, 96}));
  EXPECT_EQ(palette[253], (Rgb{189, 189, 189}));
  EXPECT_EQ(palette[kScopeOrange], (Rgb{255, 128, 0}));
  EXPECT_EQ(palette[kScopeWhite], (Rgb{255, 255, 255}));
}

TEST(ImageScope, PlacementFixedAndFollowing) {
  const ScopePoint mouse{700, 300}, pane1{10, 20}, pane2{530, 20};
  const struct {
    ScopeSource source;
    ScopePoint fixed, following;
  } cases[] = {
      {ScopeSource::Picture1, {10, 20}, {700, 300}},
      {ScopeSource::Picture2, {10, 276}, {700, 300}},
      {ScopeSource::Image1, {530, 148}, {700, 300}},
      {ScopeSource::Image2, {266, 148}, {444, 300}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scopePlacement(c.source, 0, mouse, pane1, pane2), c.fixed);
    EXPECT_EQ(scopePlacement(c.source, 1, mouse, pane1, pane2), c.following);
  }
}

}  // namespace
}  // namespace vemla
