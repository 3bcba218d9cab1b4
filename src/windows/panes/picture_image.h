#pragma once
#include <QImage>
#include <QPixmap>
#include <optional>

#include "picture/palette.h"
#include "processing/pane_raster.h"

namespace vemla {

// An indexed 8-bit image of W x H top-down pixels with the 256-entry palette, ready to draw
// without smoothing.
QImage pictureImage(const std::uint8_t* pixels, int width, int height, const Palette& palette);

// The painted 512 x 512 raster of an image pane with its colour table (a null image before
// the first rendering).
QImage paneImage(const PaneRaster& pane);

// The pane as drawn: the raster, then the cursor cross when `cross` is given: 11 pixels across
// and down around it, dotted black over white, clipped to the pane.
QPixmap panePixmap(const PaneRaster& pane, std::optional<ViewPoint> cross);

}  // namespace vemla
