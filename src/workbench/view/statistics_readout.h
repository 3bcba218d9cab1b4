#pragma once
// The statistics read-outs of the image control ("Max", "Min", "Ave", "合計1"/"合計2"), the
// "Max" and "Min" buttons that move the cursor to the next pixel of the image's maximum or
// minimum, and the value under the cursor that the colour bars mark.
#include <optional>
#include <string>

#include "workbench/workbench.h"

namespace vemla {

struct StatisticsTexts {
  std::string maximum, minimum, mean, sum;
  bool operator==(const StatisticsTexts&) const = default;
};
// Decimal numbers of the last creation of image `image`; all empty while no pictures are loaded.
StatisticsTexts statisticsTexts(const Workbench& bench, ImageSlot image);

enum class Extreme { Maximum, Minimum };
// Searches image `image` from the pixel after the cursor for its statistics maximum (minimum)
// inside its statistics rectangle and puts the cursor there (fine position m / 2, view
// re-centred, both images rendered). False, with the cursor left alone, while no pictures are
// loaded or when no pixel of the rectangle holds the value.
bool moveCursorToExtreme(Workbench& bench, ImageSlot image, Extreme extreme);

// The value of image `image` at the cursor; nullopt while no pictures are loaded.
std::optional<int> valueUnderCursor(const Workbench& bench, ImageSlot image);

}  // namespace vemla
