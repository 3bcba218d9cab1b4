#pragma once
// The valid range of the picture control ("有効範囲情報") and its controls.
#include "processing/picture_control.h"

namespace vemla {

// The valid rectangle for a width x height picture: kind 0 the whole picture; kind 1 the
// stored rectangle (kept inside the picture); kind 2 the picture less a margin m on every side,
// collapsing to column W/2 (row H/2) when nothing is left.
Rect computeValidRange(const ValidRangeSetting& setting, int width, int height);

// Radio buttons "全て有効", "範囲指定", "外枠から": false when the kind was already selected.
bool selectValidRangeKind(ValidRangeSetting& setting, int kind);
// Rectangle edits: each corner clamped into the picture, then ordered.
void setValidRectangle(ValidRangeSetting& setting, int x0, int y0, int x1, int y1, int width,
                       int height);
// At an open of a width x height picture: the rectangle stays when it was set for that size
// (also one restored from the settings file), otherwise it becomes the whole picture, now set
// for that size.
void fitValidRectangle(ValidRangeSetting& setting, int width, int height);
// Margin edit ("画素を除く範囲"): values below 0 become 0.
void setValidMargin(ValidRangeSetting& setting, int margin);

// Every side moved inwards by `amount` (the alignment shrinks both rectangles by R + 2).
Rect shrunk(const Rect& rect, int amount);

}  // namespace vemla
