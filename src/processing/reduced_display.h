#pragma once
// The reduction that shows a picture larger than 512 pixels in a 512 x 512 pane ("1/n").
#include <string>

namespace vemla {

// r = W / w', where w' = 512 when W >= H, else W * 512 / H (integer division).
double reductionRatio(int width, int height);

// Whether the picture fits the 512-pixel panes, so that the reduced display is not possible.
inline bool fitsPane(int width, int height) {
  return width <= 512 && height <= 512;
}

// Where the reduced picture stands in the pane: the longer side becomes 512, the other keeps
// the aspect (integer division), centred.
struct ReducedGeometry {
  int left = 0, top = 0;
  int width = 512, height = 512;
  bool operator==(const ReducedGeometry&) const = default;
};
ReducedGeometry reducedGeometry(int width, int height);

// The ratio as the magnification text shows it after "1/": rounded to three decimals (half
// up), then leading and trailing zeros cut except one on each side of the point ("2.0",
// "7.813").
std::string reductionText(int width, int height);

}  // namespace vemla
