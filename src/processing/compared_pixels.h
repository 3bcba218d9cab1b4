#pragma once
// The pixels a comparison judges: every pixel except those inside the rectangles the operator
// leaves out and those where a mask picture is 0. Held as one byte per pixel, row after row,
// 1 for a compared pixel and 0 for one left out; an empty vector means that every pixel is
// compared, so that the judging kernels keep their plain loops for the common case.
#include <cstdint>
#include <span>
#include <vector>

#include "processing/rect.h"

namespace vemla {

// `rect` clipped to a width x height picture; false when none of its pixels lies inside (also
// when it is inverted).
bool clipToPicture(const Rect& rect, int width, int height, Rect& clipped);

// The compared pixels of a width x height picture: outside every rectangle of `ignored`
// (clipped to the picture) and, when `mask` is given (width x height bytes), where it is not 0.
// Empty when nothing is left out.
std::vector<std::uint8_t> comparedPixels(int width, int height, std::span<const Rect> ignored,
                                         const std::uint8_t* mask);

}  // namespace vemla
