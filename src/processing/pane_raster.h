#pragma once
// What an image pane shows: the rendered 512 x 512 view, the raster painted from it (the grid
// drawn on a copy) with its 256-entry colour table, and the placement it was rendered with.
// Rows are top-down, one byte per pixel: an indexed 8-bit image of the window system can take
// `shown` and `colours` as they are.
#include <cstdint>
#include <vector>

#include "processing/colour_tables.h"
#include "processing/view_rendering.h"

namespace vemla {

struct PaneRaster {
  std::vector<std::uint8_t> view;   // renderView's result; empty until the first rendering
  std::vector<std::uint8_t> shown;  // the painted raster
  ColourTable colours{};
  bool rendered() const { return !shown.empty(); }
};

}  // namespace vemla
