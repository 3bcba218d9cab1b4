#pragma once
// Creation of a derived image from the two shifted pictures for the built-in kinds 0..9: the
// statistics rectangle, the pixel rules of each kind and the statistics of the result. The
// user processing entries (kind 99) and the order of creation, blanking and rendering are
// in refresh_chain.h.
#include <array>
#include <cstdint>

#include "processing/area_difference.h"
#include "processing/image_kernels.h"
#include "processing/image_kinds.h"
#include "processing/image_statistics.h"
#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

struct CreationPictures {
  const std::uint8_t* shifted1 = nullptr;
  const std::uint8_t* shifted2 = nullptr;
  const std::uint8_t* userResult = nullptr;  // the user program result (kind 6)
  int width = 0, height = 0;
  std::array<Rect, 2> validRectangles{};  // VR1, VR2
};

// Which valid rectangles the statistics rectangle comes from (the kind table's column).
StatisticsSource statisticsSourceOf(int builtInKind);

// VR1, VR2 or their intersection, shrunk by marginX on the left and right and marginY at the
// top and bottom.
Rect statisticsRectangle(StatisticsSource source, const std::array<Rect, 2>& validRectangles,
                         int marginX, int marginY);

// Writes image `kind` (0..9) into `image` (width x height) and returns its statistics over the
// statistics rectangle; nothing is blanked here. The area difference limits its window to
// `maxSizeX` x `maxSizeY` (2 MaxPicture - 1) and gives 0 outside its computing range, whose
// margins also shrink the statistics rectangle. Rows may be shared out by `parallel`; the
// image and the statistics are the same.
ImageStatistics createBuiltInImage(int kind, const CreationPictures& pictures,
                                   const AreaDifferenceSettings& area, int maxSizeX, int maxSizeY,
                                   std::uint8_t* image,
                                   const ImageKernels& kernels = imageKernels(),
                                   const ParallelFor& parallel = {});

}  // namespace vemla
