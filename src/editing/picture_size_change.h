#pragma once
// "画像ｻｲｽﾞの変更": both pictures take a new common size, either cropped or padded at the
// top-left corner or scaled into the new size keeping their aspect ratio.
#include <cstdint>

#include "editing/dialog_memory.h"
#include "processing/rect.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kSizeChangeTitle = text::N_("画像ｻｲｽﾞの変更");

// Where a width x height picture lands when it is scaled into newWidth x newHeight: inside the
// centred square of side s = min(newWidth, newHeight), the centred rectangle s wide and
// height * s / width high (width >= height) or s high and width * s / height wide (width <
// height). A side that would come out 0 (a very flat picture) keeps one pixel, so that the
// picture never vanishes.
Rect scaledPlacement(int width, int height, int newWidth, int newHeight);

// Converts one picture into `target` (newWidth * newHeight bytes, not overlapping `source`).
// Crop/pad: the top-left min(old, new) columns and rows are copied, the rest is 0. Scale: the
// placement above by nearest neighbour (target column j of the rectangle takes source column
// j * width / w, row i takes source row i * height / h), the rest is 0.
void resizePicture(const std::uint8_t* source, int width, int height, std::uint8_t* target,
                   int newWidth, int newHeight, ResizeMode mode);

}  // namespace vemla
