#pragma once
// The rows of a user processing result, computed one by one or shared among the threads of a
// pool, with the progress told on the calling thread.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

// Told after each computed row; after each block of rows when the rows are shared among threads
// (work large enough to be shared on a pool of more than one thread).
using RowProgress = std::function<void(int rowsDone, int rowsTotal)>;

inline bool isEmpty(const Rect& rect) {
  return rect.left > rect.right || rect.top > rect.bottom;
}

// Runs `computeRow(y, firstPixelOfTheRowInTheImage)` over the rows of the computing range,
// telling the progress after each.
template <typename ComputeRow>
void forEachRow(const Rect& computing, int width, std::uint8_t* image, const RowProgress& progress,
                ComputeRow computeRow) {
  if (isEmpty(computing)) return;
  const int total = computing.bottom - computing.top + 1;
  for (int y = computing.top; y <= computing.bottom; ++y) {
    computeRow(y, image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(computing.left));
    if (progress) progress(y - computing.top + 1, total);
  }
}

// Rows computed together between two progress reports, per thread.
inline constexpr int kRowsPerBlock = 16;

// forEachRow on `parallel`: the rows go in blocks, each block's rows split among the threads,
// every piece computing its rows with its own worker from `makeWorker()` (worker(y, out)
// computes row y); the progress is told on the calling thread after each block. Rows are
// independent, so the image is the same however they are split. On one thread, or for work too
// small to share: forEachRow.
template <typename MakeWorker>
void forEachRowShared(const Rect& computing, int width, std::uint8_t* image,
                      const RowProgress& progress, const ParallelFor& parallel,
                      std::size_t workPerPixel, MakeWorker makeWorker) {
  if (isEmpty(computing)) return;
  const int total = computing.bottom - computing.top + 1;
  const std::size_t rowWork =
      static_cast<std::size_t>(computing.right - computing.left + 1) * workPerPixel;
  // Work too small to share stays on the calling thread, told row by row as before.
  if (parallel.threads() <= 1 ||
      rowWork * static_cast<std::size_t>(total) < ParallelFor::kMinimumWork) {
    auto worker = makeWorker();
    forEachRow(computing, width, image, progress, worker);
    return;
  }
  const int block = kRowsPerBlock * parallel.threads();
  for (int first = 0; first < total; first += block) {
    const int rows = std::min(block, total - first);
    parallel(rows, rowWork * static_cast<std::size_t>(rows), [&](int begin, int end) {
      auto worker = makeWorker();
      for (int row = begin; row < end; ++row) {
        const int y = computing.top + first + row;
        worker(y, image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(computing.left));
      }
    });
    if (progress) progress(first + rows, total);
  }
}

}  // namespace vemla
