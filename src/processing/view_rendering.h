#pragma once
// renderView: the 512 x 512 view of a derived image in its pane. A 512 x 512 extraction is
// taken around the cursor (the picture centred in it when it is smaller than 512, the fill
// value around it), then shown at x1, magnified by m (nearest, or interpolated with four-tap
// weights in fixed point) or, for a picture larger than the pane, reduced to fit ("1/n").
// The work is bounded by the view: it never touches more than 512 x 512 image pixels.
#include <cstdint>
#include <string>
#include <vector>

#include "processing/reduced_display.h"

namespace vemla {

inline constexpr int kViewSize = 512;
inline constexpr int kMaxMagnification = 64;

enum ZoomInterpolationMode : int { kZoomLinear = 0, kZoomCubic = 1 };  // "1次", "3次"

// Where the view stands: the picture point at extraction column 0 and row 0 (OX, OY; negative
// when the picture is smaller than 512 in that direction), and the first extraction column and
// row shown at the top-left of a magnified view (c, d).
struct ViewPlacement {
  int originX = 0, originY = 0;
  int windowColumn = 0, windowRow = 0;
  bool operator==(const ViewPlacement&) const = default;
};

// O = cursor - 256 limited to 0..size-512 when size >= 512, else -(512 - size) / 2.
int extractionOrigin(int size, int cursor);
// Extraction cells shown at magnification m: 512 div m, plus the partial cell when m does not
// divide 512.
int visibleCells(int magnification);
// The window start that puts the cursor's extraction coordinate in the middle of the visible
// cells, limited to 0..512 - visible.
int windowStart(int cursorInExtraction, int magnification);
// The placement re-centred on the cursor.
ViewPlacement centredPlacement(int width, int height, int cursorX, int cursorY, int magnification);
// A kept placement with its window brought back into range for magnification m.
ViewPlacement keptPlacement(const ViewPlacement& placement, int magnification);

struct ViewSettings {
  int magnification = 1;  // 1..64
  bool reduced = false;   // "1/n": applies only at x1 to a picture larger than the pane
  bool interpolate = false;
  int zoomMode = kZoomCubic;
  bool operator==(const ViewSettings&) const = default;
};

// Whether these settings show the reduced display of a width x height picture.
bool showsReduced(const ViewSettings& settings, int width, int height);

// "x8", or "1/4.0" in the reduced display.
std::string magnificationText(const ViewSettings& settings, int width, int height);

// Work memory of renderView, kept between calls so that a cursor step allocates nothing.
struct RenderWork {
  std::vector<std::int32_t> rows;  // the horizontal pass, one 512-wide row per extraction row
  std::vector<std::uint8_t> line;  // one extraction row, two columns of margin on each side
  std::vector<std::int32_t> columnTaps;
  std::vector<std::int32_t> columnWeights;
};

// Writes the 512 x 512 view (top-down) of `image` (width x height). Nearest magnification
// shows extraction (c + u div m, d + v div m) at view (u, v). Interpolation places extraction
// pixel j at view column (j - c) m + m/2 and weighs the four extraction pixels around each
// view position; taps beyond either end of the extraction repeat its first or last column and
// row, so nothing outside the 512 x 512 extraction is read. The reduced display takes the
// nearest picture sample for every view pixel of the reduced picture and the fill value
// around it.
void renderView(const std::uint8_t* image, int width, int height, std::uint8_t fill,
                const ViewSettings& settings, const ViewPlacement& placement, std::uint8_t* view,
                RenderWork& work);

struct ViewPoint {
  int x = 0, y = 0;
  bool operator==(const ViewPoint&) const = default;
};
// The view position of the cursor's cross: (fx + (X - OX - c) m, fy + (Y - OY - d) m), or in
// the reduced display the reduced picture's point of (X, Y); both limited to 0..511.
ViewPoint cursorViewPoint(int width, int height, int cursorX, int cursorY, int fineX, int fineY,
                          const ViewSettings& settings, const ViewPlacement& placement);

}  // namespace vemla
