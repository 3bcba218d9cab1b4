#pragma once
// The reduction that shows a picture larger than 512 pixels in a 512 x 512 pane.

namespace vemla {

// r = W / w', where w' = 512 when W >= H, else W * 512 / H (integer division).
double reductionRatio(int width, int height);

// Whether the picture fits the 512-pixel panes, so that the reduced display is not possible.
inline bool fitsPane(int width, int height) { return width <= 512 && height <= 512; }

}  // namespace vemla
