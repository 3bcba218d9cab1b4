#include "processing/area_difference.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vemla {
namespace {

// Values below this many are mapped by a table (1 MiB at most; 2.3 KiB for D = 9).
constexpr std::uint64_t kTableLimit = std::uint64_t{1} << 20;
// The binary search for the thresholds covers v up to here; larger sums cannot occur.
constexpr std::uint64_t kLargestValue = std::uint64_t{1} << 62;
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

std::size_t at(int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

// The window sums of one image row from the column sums, into values[0 .. count) for the
// pixels range.left .. range.right: the sum starts at the first pixel and moves one pixel
// right at a time, column x + right + 1 entering and x - left leaving. Sums are 64-bit: a
// whole 4096 x 4096 window of 255 exceeds 2^31. Kept apart from the mapping to bytes, whose
// byte stores the compiler must assume may change anything.
void windowSums(const std::int32_t* columns, const Rect& range, const AreaWindow& window,
                std::int64_t* values) {
  std::int64_t sum = 0;
  for (int x = range.left - window.left; x <= range.left + window.right; ++x) sum += columns[x];
  const int last = range.right - range.left;
  const std::int32_t* entering = columns + range.left + window.right + 1;
  const std::int32_t* leaving = columns + range.left - window.left;
  for (int i = 0; i < last; ++i) {
    values[i] = sum;
    sum += entering[i] - leaving[i];
  }
  values[last] = sum;
}

// |sums1 - sums2| in place of sums1.
void absoluteDifferences(std::int64_t* sums1, const std::int64_t* sums2, int count) {
  for (int i = 0; i < count; ++i) {
    const std::int64_t difference = sums1[i] - sums2[i];
    sums1[i] = difference < 0 ? -difference : difference;
  }
}

}  // namespace

AreaWindow areaWindow(int sizeX, int sizeY, int maxSizeX, int maxSizeY) {
  const int x = std::clamp(sizeX, 1, std::max(maxSizeX, 1));
  const int y = std::clamp(sizeY, 1, std::max(maxSizeY, 1));
  AreaWindow window;
  window.left = (x - 1) / 2;
  window.right = window.left + (x % 2 == 0 ? 1 : 0);
  window.up = (y - 1) / 2;
  window.down = window.up + (y % 2 == 0 ? 1 : 0);
  return window;
}

Rect areaComputingRange(const AreaWindow& window, int width, int height) {
  return {window.right, window.down, width - 1 - window.right, height - 1 - window.down};
}

std::uint8_t areaValue(std::uint64_t v, double divisor) {
  if (divisor == 0 || divisor == 1)
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(v, 255));
  const long double q = static_cast<long double>(v) / static_cast<long double>(divisor) + 0.5L;
  if (!(q >= 1)) return 0;  // below 1 truncates to 0; not-a-number too
  if (q >= 255) return 255;
  return static_cast<std::uint8_t>(q);
}

AreaValueMap::AreaValueMap(double divisor) {
  // areaValue never falls as v grows, so each result k has a smallest v.
  thresholds_[0] = 0;
  for (int k = 1; k < 256; ++k) {
    std::uint64_t low = thresholds_[static_cast<std::size_t>(k - 1)];
    if (low == kNever || areaValue(kLargestValue, divisor) < k) {
      thresholds_[static_cast<std::size_t>(k)] = kNever;
      continue;
    }
    std::uint64_t high = kLargestValue;  // areaValue(high) >= k
    while (low < high) {
      const std::uint64_t middle = low + (high - low) / 2;
      if (areaValue(middle, divisor) >= k) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    thresholds_[static_cast<std::size_t>(k)] = low;
  }
  inverse_ = 1.0 / divisor;
  // The table ends where the value stops changing (or at the limit).
  std::uint64_t tableEnd = 0;
  for (const std::uint64_t threshold : thresholds_) {
    if (threshold != kNever) tableEnd = threshold;
  }
  table_.resize(static_cast<std::size_t>(std::min(tableEnd, kTableLimit)));
  std::uint8_t value = 0;
  for (std::size_t v = 0; v < table_.size(); ++v) {
    while (value < 255 && v >= thresholds_[value + 1u]) ++value;
    table_[v] = value;
  }
}

void AreaValueMap::mapRow(const std::int64_t* values, int count, std::uint8_t* out) const {
  // Held in locals: the byte stores could otherwise be taken to change the table.
  const std::uint8_t* table = table_.data();
  const std::uint64_t size = table_.size();
  const std::uint64_t top = thresholds_[255];
  for (int i = 0; i < count; ++i) {
    const auto v = static_cast<std::uint64_t>(values[i]);
    out[i] = v < size ? table[v] : v >= top ? 255 : fromThresholds(v);
  }
}

std::uint8_t AreaValueMap::fromThresholds(std::uint64_t v) const {
  // A double estimate, then corrected against the exact thresholds.
  const double estimate = static_cast<double>(v) * inverse_ + 0.5;
  int k = estimate >= 255 ? 255 : estimate > 0 ? static_cast<int>(estimate) : 0;
  while (k < 255 && v >= thresholds_[static_cast<std::size_t>(k + 1)]) ++k;
  while (k > 0 && v < thresholds_[static_cast<std::size_t>(k)]) --k;
  return static_cast<std::uint8_t>(k);
}

Rect areaDifference(const std::uint8_t* picture1, const std::uint8_t* picture2, int width,
                    int height, const AreaWindow& window, int method, double divisor,
                    std::uint8_t* image, const ImageKernels& kernels, const ParallelFor& parallel) {
  const Rect range = areaComputingRange(window, width, height);
  if (range.left > range.right || range.top > range.bottom) {
    std::memset(image, 0, at(height, width));
    return range;
  }
  std::memset(image, 0, at(range.top, width));
  std::memset(image + at(range.bottom + 1, width), 0, at(height - 1 - range.bottom, width));

  const AreaValueMap map(divisor);
  const bool sums = method == kDifferenceOfSums;
  const int rows = range.bottom - range.top + 1;
  const int count = range.right - range.left + 1;
  // Each range of rows starts its own column sums (window height rows) and slides them down.
  parallel(rows, at(rows, width), [&](int begin, int end) {
    // Column sums over the window rows: at most 8191 * 255, well inside 32 bits.
    std::vector<std::int32_t> columns1(static_cast<std::size_t>(width), 0);
    std::vector<std::int32_t> columns2(sums ? static_cast<std::size_t>(width) : 0, 0);
    std::vector<std::int64_t> values1(static_cast<std::size_t>(count));
    std::vector<std::int64_t> values2(sums ? static_cast<std::size_t>(count) : 0);
    const auto slide = [&](int in, int out) {
      const std::uint8_t* in1 = picture1 + at(in, width);
      const std::uint8_t* in2 = picture2 + at(in, width);
      const std::uint8_t* out1 = out < 0 ? nullptr : picture1 + at(out, width);
      const std::uint8_t* out2 = out < 0 ? nullptr : picture2 + at(out, width);
      if (sums) {
        kernels.slideSums(in1, out1, width, columns1.data());
        kernels.slideSums(in2, out2, width, columns2.data());
      } else {
        kernels.slideDifferenceSums(in1, in2, out1, out2, width, columns1.data());
      }
    };
    const int firstRow = range.top + begin;
    for (int row = firstRow - window.up; row <= firstRow + window.down; ++row) slide(row, -1);
    for (int y = firstRow; y < range.top + end; ++y) {
      if (y > firstRow) slide(y + window.down, y - 1 - window.up);
      std::uint8_t* out = image + at(y, width);
      std::memset(out, 0, static_cast<std::size_t>(range.left));
      std::memset(out + range.right + 1, 0, static_cast<std::size_t>(width - 1 - range.right));
      windowSums(columns1.data(), range, window, values1.data());
      if (sums) {
        windowSums(columns2.data(), range, window, values2.data());
        absoluteDifferences(values1.data(), values2.data(), count);
      }
      map.mapRow(values1.data(), count, out + range.left);
    }
  });
  return range;
}

}  // namespace vemla
