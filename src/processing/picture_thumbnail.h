#pragma once
// The thumbnails of the picture panes: the whole shifted picture, reduced (or enlarged) with the
// nearest sample into the 232 x 232 square in the middle of a 232 x 244 raster, with the
// outline of the part the image panes show and the way a click on it maps back to the picture.
#include <cstdint>
#include <optional>
#include <vector>

#include "processing/view_rendering.h"

namespace vemla {

inline constexpr int kPictureThumbnailWidth = 232;
inline constexpr int kPictureThumbnailHeight = 244;
inline constexpr int kThumbnailSquare = 232;   // the picture's square: columns 0..231
inline constexpr int kThumbnailSquareTop = 6;  // and rows 6..237
inline constexpr std::uint8_t kThumbnailBackground = 128;

struct PictureThumbnail {
  // 232 x 244 grey values, top-down; drawn through the picture's palette.
  std::vector<std::uint8_t> pixels;
  int offsetX = 0, offsetY = 0;  // ox, oy: where the picture starts in the raster
  int width = 0, height = 0;     // tw, th: its displayed size; 0 x 0 without a picture
  bool hasPicture() const { return width > 0 && height > 0; }
};

// Builds the thumbnail of a width x height picture (top-down, `width` bytes a row). The longer
// side becomes 232 and the other keeps the aspect (integer division, at least 1), centred in the
// square; thumbnail row i shows picture row i H / th and column j picture column j W / tw. The
// rest of the raster is 128. A null picture or a size below 1 gives the empty raster (all 128).
void buildPictureThumbnail(const std::uint8_t* picture, int width, int height,
                           PictureThumbnail& thumbnail);

struct ThumbnailOutline {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ThumbnailOutline&) const = default;
};

// The rectangle over the part of the picture the image panes show: left = ox + tw (OX + c) / W,
// top = oy + th (OY + d) / H, width = tw 512 / W / m, height = th 512 / H / m (integer
// arithmetic truncating towards zero; both 1 when both come out 0). None in the reduced
// display, at x1 of a 512 x 512 picture (the view is exactly the picture), or without a
// thumbnail.
std::optional<ThumbnailOutline> thumbnailOutline(const PictureThumbnail& thumbnail, int width,
                                                 int height, const ViewSettings& settings,
                                                 const ViewPlacement& placement);

struct PicturePoint {
  int x = 0, y = 0;
  bool operator==(const PicturePoint&) const = default;
};

// The picture point under raster point (u, v): the point is first brought into the displayed
// thumbnail, so a click in the grey border lands on the nearest picture edge; then
// X = (u - ox) W / tw, Y = (v - oy) H / th. None without a thumbnail.
std::optional<PicturePoint> thumbnailPicturePoint(const PictureThumbnail& thumbnail, int width,
                                                  int height, int u, int v);

}  // namespace vemla
