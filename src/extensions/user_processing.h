#pragma once
// Applying a user simple image processing entry ("ﾕｰｻﾞ簡易画像処理") to the two shifted
// pictures: image kind 99 of image creation.
#include <cstdint>
#include <functional>
#include <optional>

#include "extensions/shared_rows.h"
#include "processing/user_entries.h"
#include "extensions/user_filter_kernels.h"
#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

inline constexpr std::size_t kMaxFilterElementLength = 10;
inline constexpr std::size_t kMaxFilterDivisorLength = 11;

// Whose valid ranges the statistics rectangle is made from: both pictures' (their
// intersection) for an expression, the filter picture's for a filter.
enum class StatisticsPictures { Both, Picture1, Picture2 };

struct UserProcessingArea {
  int marginX = 0;
  int marginY = 0;
  // Columns marginX .. width-1-marginX, rows marginY .. height-1-marginY. Empty (left > right
  // or top > bottom) when the margins leave no pixel.
  Rect computing{};
  StatisticsPictures statistics = StatisticsPictures::Both;
};

// Computes `image` (width x height) from the shifted pictures by the entry: every pixel of the
// computing range by the expression or the filter, every other pixel 0. Values are truncated
// toward zero and limited to 0 .. 255.
// - Expression form (form 1): pixel references P1/P2(dx, dy) read the shifted pictures at
//   (x + dx, y + dy); the margins are the largest |dx| and |dy|.
// - Filter form (form 0): element (r, c) of the 9 x 9 grid weighs the filter picture at
//   (x + c - 4, y + r - 4); the margins reach the farthest non-empty element (an element of
//   value 0 counts for the margins only). With correction on and a divisor whose value is not
//   0 the sum is divided by it. The sum and the division are carried out in extended
//   precision.
// Fails, leaving `image` untouched, when the entry cannot be applied: an expression that does
// not compile or is longer than 510 characters, a filter without any element, an element
// longer than 10 or a divisor longer than 11 characters (a stored entry that was changed
// outside the editor), or an unknown form or filter picture. The caller checks that the entry
// is in use.
std::optional<UserProcessingArea> applyUserProcessing(
    const UserProcessingEntry& entry, const std::uint8_t* shifted1, const std::uint8_t* shifted2,
    int width, int height, std::uint8_t* image, const RowProgress& progress = {},
    const ParallelFor& parallel = {}, FilterArithmetic arithmetic = FilterArithmetic::Fastest);

}  // namespace vemla
