#pragma once
// paintPane: what an image pane shows on every repaint. The colour table is built from the
// colour settings; when the grid is on, it is drawn on a copy of the rendered view through a
// reserved colour-table index, so the rendered view itself never changes.
#include <cstdint>
#include <vector>

#include "processing/colour_tables.h"

namespace vemla {

struct GridSettings {
  bool on = false;
  int width = 10;                // L, in picture pixels (1..20)
  int offsetX = 0, offsetY = 0;  // gx, gy in view pixels
  Rgb colour{0, 255, 0};
};

// The grid period in view pixels: L m, or in the reduced display L / r truncated; at least 2.
int gridPeriod(int gridWidth, int magnification, bool reduced, double reductionRatio);

// Whether view column (or row) `index` carries a grid line: index > 0 and
// index = p - (offset mod p) modulo p.
bool isGridLine(int index, int period, int offset);

// Writes the 512 x 512 raster the pane shows into `shown` and its colour table into `table`.
// With the grid on, view pixels of the reserved index take the substitute index, whose entry
// becomes the mean (truncated) of the two entries, the reserved entry becomes the grid colour
// and the grid lines are written with the reserved index.
void paintPane(const std::uint8_t* view, const PaneColours& colours, const GridSettings& grid,
               int period, std::uint8_t* shown, ColourTable& table);

// The colour bar beside an image pane ("ﾊﾟﾚｯﾄ"): a ramp 12 pixels wide and 512 high drawn with
// the pane's colour table, two rows per grey value with 255 at the top, labelled in a strip on
// its right, with a short mark at the row of the value under the cursor.
inline constexpr int kColourBarRampWidth = 12;
inline constexpr int kColourBarWidth = 32;
struct ColourBarLabel {
  const char* text;
  int y;
};
inline constexpr ColourBarLabel kColourBarLabels[] = {
    {"255", 0}, {"192", 120}, {"128", 248}, {" 64", 376}, {"  0", 500}};
// The 12 x 512 ramp as colour-table indices, top-down.
std::vector<std::uint8_t> colourBarRamp();
// The row of the cursor mark for value v: 2 (255 - v), at least 1.
int colourBarCursorRow(int value);

}  // namespace vemla
