#pragma once
// "画像ｻｲｽﾞの変更": both pictures take a new common size, either cropped or padded at the
// top-left corner or scaled into the new size keeping their aspect ratio.
#include <cstdint>

#include "editing/dialog_memory.h"
#include "ports/ports.h"
#include "processing/rect.h"
#include "workbench/workbench.h"

namespace vemla {

inline constexpr const char* kSizeChangeTitle = "画像ｻｲｽﾞの変更";

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

// Changes the size of both pictures (planes 0 and 1) and resets what depends on the size as an
// open of a new size does: the valid rectangle becomes the whole picture, the extraction
// rectangle too, the cursor (display centre) is clamped into the picture, the user program
// result plane is cleared and remembered for the new size, and the reduction ratio is
// recomputed. The alignment result is dropped whatever the size, since the picture contents
// changed. Then the refresh chain runs. Returns 0, or -1 when refused: no pictures, the picture
// edit dialog is open ("画像の編集中はこの機能が使用できません"), or the size is outside
// 8 x 8 .. the store's maximum (the range message); the pictures are then unchanged.
int resizePictures(Workbench& bench, int newWidth, int newHeight, ResizeMode mode, UserPort& user,
                   BusyPort& busy, ProgressPort& progress);

}  // namespace vemla
