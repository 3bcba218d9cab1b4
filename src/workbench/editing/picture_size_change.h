#pragma once
// "画像ｻｲｽﾞの変更" on the workbench: both pictures converted and what depends on the size reset.
#include "editing/picture_size_change.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

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
