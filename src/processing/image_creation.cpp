#include "processing/image_creation.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace vemla {
namespace {

std::size_t at(int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

// The rectangle clipped to the image, for the statistics loops.
Rect clipped(const Rect& rectangle, int width, int height) {
  return {std::max(rectangle.left, 0), std::max(rectangle.top, 0),
          std::min(rectangle.right, width - 1), std::min(rectangle.bottom, height - 1)};
}

// The kind's row kernel from the kind table; null for the kinds not made row by row.
const CombineRow* combineRowOf(int kind, const ImageKernels& kernels) {
  if (!isBuiltInKind(kind)) return nullptr;
  CombineRow ImageKernels::*const row = imageKindTable()[static_cast<std::size_t>(kind)].row;
  return row != nullptr ? &(kernels.*row) : nullptr;
}

// Images of at least this many pixels are written with streaming stores: they do not stay in
// the cache anyway, and the stores then need not read the old image first.
constexpr std::size_t kStreamingPixels = std::size_t{4} << 20;

// Kinds made row by row from rows of `a` and `b`: the statistics of the rectangle's part of
// each row are taken while its values are computed. Large images are made one row at a time
// in a small cached buffer and streamed out. Row ranges may run on other threads, each with
// its own buffer and statistics, which are merged in the end.
ImageStatistics createByRows(const CombineRow& row, const std::uint8_t* a, const std::uint8_t* b,
                             int width, int height, const Rect& rectangle, std::uint8_t* image,
                             const ImageKernels& kernels, const ParallelFor& parallel) {
  const Rect inside = clipped(rectangle, width, height);
  const int count = inside.right - inside.left + 1;
  const bool streaming = at(height, width) >= kStreamingPixels;
  std::mutex merging;
  StatisticsAccumulator total;
  parallel(height, at(height, width), [&](int begin, int end) {
    std::vector<std::uint8_t> buffer(streaming ? static_cast<std::size_t>(width) : 0);
    StatisticsAccumulator accumulator;
    for (int y = begin; y < end; ++y) {
      const std::size_t start = at(y, width);
      std::uint8_t* out = streaming ? buffer.data() : image + start;
      if (y < inside.top || y > inside.bottom || count <= 0) {
        row.combine(a + start, b + start, width, out);
      } else {
        const std::size_t left = static_cast<std::size_t>(inside.left);
        const std::size_t after = static_cast<std::size_t>(inside.right) + 1;
        if (left > 0) row.combine(a + start, b + start, inside.left, out);
        accumulator.add(
            row.combineWithStatistics(a + start + left, b + start + left, count, out + left),
            count);
        if (after < static_cast<std::size_t>(width)) {
          row.combine(a + start + after, b + start + after, width - inside.right - 1, out + after);
        }
      }
      if (streaming) kernels.streamRow(buffer.data(), width, image + start);
    }
    if (streaming) kernels.fence();
    const std::lock_guard lock(merging);
    total.merge(accumulator);
  });
  return total.finish(rectangle);
}

}  // namespace

StatisticsSource statisticsSourceOf(int builtInKind) {
  return imageKindTable()[static_cast<std::size_t>(builtInKind)].statistics;
}

Rect statisticsRectangle(StatisticsSource source, const std::array<Rect, 2>& validRectangles,
                         int marginX, int marginY) {
  const Rect& first = validRectangles[0];
  const Rect& second = validRectangles[1];
  Rect rectangle =
      source == StatisticsSource::Picture1 ? first
      : source == StatisticsSource::Picture2
          ? second
          : Rect{std::max(first.left, second.left), std::max(first.top, second.top),
                 std::min(first.right, second.right), std::min(first.bottom, second.bottom)};
  rectangle.left += marginX;
  rectangle.right -= marginX;
  rectangle.top += marginY;
  rectangle.bottom -= marginY;
  return rectangle;
}

ImageStatistics createBuiltInImage(int kind, const CreationPictures& pictures,
                                   const AreaDifferenceSettings& area, int maxSizeX, int maxSizeY,
                                   std::uint8_t* image, const ImageKernels& kernels,
                                   const ParallelFor& parallel) {
  const StatisticsSource source = statisticsSourceOf(kind);
  if (kind == kKindAreaDifference) {
    const AreaWindow window = areaWindow(area.sizeX, area.sizeY, maxSizeX, maxSizeY);
    // The rectangle shrunk by the margins lies inside the computing range, so its statistics
    // are taken as the rows are written.
    ImageStatistics statistics;
    areaDifference(pictures.shifted1, pictures.shifted2, pictures.width, pictures.height, window,
                   area.method, area.divisor, image, kernels, parallel,
                   statisticsRectangle(source, pictures.validRectangles, window.right, window.down),
                   &statistics);
    return statistics;
  }
  const CombineRow* row = combineRowOf(kind, kernels);
  if (row == nullptr) return {};
  const std::uint8_t* a = kind == kKindPicture2      ? pictures.shifted2
                          : kind == kKindUserProgram ? pictures.userResult
                                                     : pictures.shifted1;
  const std::uint8_t* b = row == &kernels.copy ? a : pictures.shifted2;
  return createByRows(*row, a, b, pictures.width, pictures.height,
                      statisticsRectangle(source, pictures.validRectangles, 0, 0), image, kernels,
                      parallel);
}

}  // namespace vemla
