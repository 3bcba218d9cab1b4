#pragma once
// The range extraction controls of the image control: per image a switch and lower and upper
// bounds (0..255, the lower never above the upper), the link "連動" that makes both images
// share their bounds, the copies "←"/"→" and "ｸﾘｱ". Every change only repaints the panes.
#include "workbench/workbench.h"

namespace vemla {

enum class RangeBound { Lower, Upper };

// "ｲﾒｰｼﾞ1" / "ｲﾒｰｼﾞ2" of the range extraction.
void setRangeExtraction(Workbench& bench, ImageSlot image, bool on);

// A slider or spin of image `image`: the value is kept within 0..255 and a bound pushed past
// the other one stops at it. With the link on, the other image takes both bounds.
void setRangeBound(Workbench& bench, ImageSlot image, RangeBound bound, int value);

// "連動": switching it on makes the bounds equal at once, taking image 2's when only image 2's
// extraction is on and image 1's otherwise.
void setRangeLinked(Workbench& bench, bool on);

// "←" (to Image 1) and "→" (to Image 2): the other image's bounds are copied.
void copyRange(Workbench& bench, ImageSlot toImage);

// "ｸﾘｱ": both images back to 0..255.
void clearRanges(Workbench& bench);

// How far one step of a held range spin moves: 1 for the first ten steps, then 10, until the
// spin is released.
class RangeSpinSteps {
 public:
  static constexpr int kSlowSteps = 10;
  static constexpr int kFastStep = 10;
  int next();
  void release() { taken_ = 0; }

 private:
  int taken_ = 0;
};

}  // namespace vemla
