#pragma once
// The image scope: a 256 x 256 magnifier of the neighbourhood of one pixel, with the pixel's
// coordinates, the 7 x 7 grey values around it and the magnification written in a small
// 5 x 9 font. The raster is top-down, one palette index per pixel; the palette dims the
// picture to at most grey 191 and keeps entries 254 (orange) and 255 (white) for the marks.
#include <cstdint>
#include <string_view>
#include <vector>

#include "processing/colour_tables.h"

namespace vemla {

inline constexpr int kScopeSize = 256;
inline constexpr int kScopeMaxMagnification = 64;
inline constexpr std::uint8_t kScopeOrange = 254;
inline constexpr std::uint8_t kScopeWhite = 255;
inline constexpr std::uint8_t kScopeBrightestGrey = 253;

// Which pane the scope looks at.
enum class ScopeSource : int { Picture1 = 0, Picture2 = 1, Image1 = 2, Image2 = 3 };

struct ScopeRequest {
  const std::uint8_t* pixels = nullptr;  // top-down, width bytes per row
  int width = 0, height = 0;
  int x = 0, y = 0;       // the pointed pixel, inside the picture
  int magnification = 8;  // 1..64
  bool interpolate = false;
  int zoomMode = 1;  // kZoomLinear or kZoomCubic
};

// Work memory kept between paintings so that a mouse move allocates nothing.
struct ScopeWork {
  std::vector<std::uint8_t> neighbourhood;
  std::vector<std::int32_t> rows;
  std::vector<std::uint8_t> line;
};

// Entry g is grey g*192/256, 254 orange (255, 128, 0), 255 white.
const ColourTable& scopePalette();

// Paints the scope of `request` into `raster` (kScopeSize * kScopeSize bytes). The
// neighbourhood is columns x-128 .. x+127 and rows y-128 .. y+127, 0 outside the picture,
// magnified by s around (128, 128) as the panes magnify (taps beyond either end of the
// neighbourhood repeat its first or last column and row); values above 253 become 253. Then
// the dashed frame at 128 +- 3s (clamped to the raster) and the texts are drawn. A request
// without pixels or with the pixel outside the picture leaves an all-black raster.
void paintScope(const ScopeRequest& request, std::uint8_t* raster, ScopeWork& work);

// Writes `text` (UTF-8) with the scope font, its first character's top-left at (left, top);
// every character, the blank included, advances 6 pixels, a blank draws nothing, and
// characters without a glyph of their own use the "other" glyph. Clipped to the raster.
void drawScopeText(std::uint8_t* raster, int left, int top, std::string_view text,
                   std::uint8_t colour);

struct ScopePoint {
  int x = 0, y = 0;
  bool operator==(const ScopePoint&) const = default;
};

// The scope window's top-left corner. Fixed ("固定型", position 0): picture 1 on the top half
// of image pane 1, picture 2 on its bottom half, image 1 on image pane 2's left edge 128 down,
// image 2 on image pane 1 256 right and 128 down. Following ("追従型"): the mouse position,
// 256 to its left for image 2 (whose pane lies on the right).
ScopePoint scopePlacement(ScopeSource source, int scopePosition, ScopePoint mouse,
                          ScopePoint imagePane1, ScopePoint imagePane2);

}  // namespace vemla
