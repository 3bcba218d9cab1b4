#include "processing/area_difference.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>

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
// pixels range.left .. range.right, as absolute values: the sum starts at the first pixel and
// moves one pixel right at a time, column x + right + 1 entering and x - left leaving. Sums are
// 64-bit: a whole 4096 x 4096 window of 255 exceeds 2^31. Kept apart from the mapping to
// bytes, whose byte stores the compiler must assume may change anything.
void windowSums(const std::int32_t* columns, const Rect& range, const AreaWindow& window,
                std::int64_t* values) {
  std::int64_t sum = 0;
  for (int x = range.left - window.left; x <= range.left + window.right; ++x) sum += columns[x];
  const int last = range.right - range.left;
  const std::int32_t* entering = columns + range.left + window.right + 1;
  const std::int32_t* leaving = columns + range.left - window.left;
  for (int i = 0; i < last; ++i) {
    values[i] = sum < 0 ? -sum : sum;
    sum += entering[i] - leaving[i];
  }
  values[last] = sum < 0 ? -sum : sum;
}

// The scale with which kernels.mapWindowSums gives map(v) for every v in 0..largest, if the
// single precision rule does. Both rules never fall as v grows, so they agree everywhere when
// they agree at 0, at largest and on both sides of every step of map below largest.
std::optional<float> singlePrecisionScale(const AreaValueMap& map, double divisor,
                                          std::uint32_t largest, const ImageKernels& kernels) {
  const bool plain = divisor == 0 || divisor == 1;
  const float scale = plain ? 1.0f : static_cast<float>(1.0 / divisor);
  if (!std::isfinite(scale)) return std::nullopt;
  std::vector<std::uint32_t> values{0, largest};
  for (int k = 1; k < 256; ++k) {
    const std::uint64_t step = map.threshold(k);
    if (step > largest) break;
    values.push_back(static_cast<std::uint32_t>(step));
    if (step > 0) values.push_back(static_cast<std::uint32_t>(step - 1));
  }
  const std::vector<std::uint32_t> zeros(values.size(), 0);
  std::vector<std::uint8_t> mapped(values.size());
  kernels.mapWindowSums(values.data(), zeros.data(), static_cast<int>(values.size()), scale,
                        mapped.data());
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (mapped[i] != map(values[i])) return std::nullopt;
  }
  return scale;
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
                    std::uint8_t* image, const ImageKernels& kernels, const ParallelFor& parallel,
                    const Rect& statisticsRectangle, ImageStatistics* statistics) {
  const Rect range = areaComputingRange(window, width, height);
  // The statistics are taken row by row as the rows are written when the rectangle (clipped
  // to the image) is empty or lies inside the computing range; else in a pass of their own.
  const Rect inside{std::max(statisticsRectangle.left, 0), std::max(statisticsRectangle.top, 0),
                    std::min(statisticsRectangle.right, width - 1),
                    std::min(statisticsRectangle.bottom, height - 1)};
  const bool noPixel = inside.left > inside.right || inside.top > inside.bottom;
  const bool byRows = statistics != nullptr &&
                      (noPixel || (inside.left >= range.left && inside.right <= range.right &&
                                   inside.top >= range.top && inside.bottom <= range.bottom));
  const auto separatePass = [&] {
    if (statistics != nullptr && !byRows) {
      *statistics = imageStatistics(image, width, height, statisticsRectangle, parallel);
    }
  };
  if (range.left > range.right || range.top > range.bottom) {
    std::memset(image, 0, at(height, width));
    if (byRows) *statistics = StatisticsAccumulator{}.finish(statisticsRectangle);
    separatePass();
    return range;
  }
  std::memset(image, 0, at(range.top, width));
  std::memset(image + at(range.bottom + 1, width), 0, at(height - 1 - range.bottom, width));

  const AreaValueMap map(divisor);
  const bool sums = method == kDifferenceOfSums;
  const int rows = range.bottom - range.top + 1;
  const int count = range.right - range.left + 1;
  // Window sums below 2^31 are taken as differences of running row sums of the column sums in
  // 32 bits (exact modulo 2^32) and mapped in single precision when that rule is checked to give
  // the same bytes; others are summed in 64 bits and mapped by the table or the thresholds.
  const std::uint64_t largest = static_cast<std::uint64_t>(window.left + window.right + 1) *
                                static_cast<std::uint64_t>(window.up + window.down + 1) * 255;
  const std::optional<float> scale =
      largest <= std::uint64_t{std::numeric_limits<std::int32_t>::max()}
          ? singlePrecisionScale(map, divisor, static_cast<std::uint32_t>(largest), kernels)
          : std::nullopt;
  // Each range of rows starts its own column sums (window height rows) and slides them down.
  // Column sums over the window rows: at most 8191 * 255 in size, well inside 32 bits; for
  // the difference of the window sums they hold the signed differences of the two pictures.
  const int statisticsCount = inside.right - inside.left + 1;
  std::mutex merging;
  StatisticsAccumulator total;
  parallel(rows, at(rows, width), [&](int begin, int end) {
    StatisticsAccumulator accumulator;
    std::vector<std::int32_t> columns(static_cast<std::size_t>(width), 0);
    // The running sums from prefix[1] on start a 64-byte line: their vector stores never
    // straddle two.
    std::vector<std::uint32_t> prefixStorage(scale ? static_cast<std::size_t>(width) + 17 : 0);
    std::uint32_t* prefix = prefixStorage.data();
    while (scale && reinterpret_cast<std::uintptr_t>(prefix + 1) % 64 != 0) ++prefix;
    std::vector<std::int64_t> values(scale ? 0 : static_cast<std::size_t>(count));
    const auto slide = [&](int in, int out) {
      const std::uint8_t* in1 = picture1 + at(in, width);
      const std::uint8_t* in2 = picture2 + at(in, width);
      const std::uint8_t* out1 = out < 0 ? nullptr : picture1 + at(out, width);
      const std::uint8_t* out2 = out < 0 ? nullptr : picture2 + at(out, width);
      if (sums) {
        kernels.slideSignedDifferenceSums(in1, in2, out1, out2, width, columns.data());
      } else {
        kernels.slideDifferenceSums(in1, in2, out1, out2, width, columns.data());
      }
    };
    const int firstRow = range.top + begin;
    for (int row = firstRow - window.up; row <= firstRow + window.down; ++row) slide(row, -1);
    for (int y = firstRow; y < range.top + end; ++y) {
      if (y > firstRow) slide(y + window.down, y - 1 - window.up);
      std::uint8_t* out = image + at(y, width);
      std::memset(out, 0, static_cast<std::size_t>(range.left));
      std::memset(out + range.right + 1, 0, static_cast<std::size_t>(width - 1 - range.right));
      if (scale) {
        kernels.prefixSums(columns.data(), width, prefix);
        kernels.mapWindowSums(prefix + range.left + window.right + 1,
                              prefix + range.left - window.left, count, *scale, out + range.left);
      } else {
        windowSums(columns.data(), range, window, values.data());
        map.mapRow(values.data(), count, out + range.left);
      }
      if (byRows && !noPixel && y >= inside.top && y <= inside.bottom) {
        accumulator.add(kernels.statistics(out + inside.left, statisticsCount), statisticsCount);
      }
    }
    if (byRows) {
      const std::lock_guard lock(merging);
      total.merge(accumulator);
    }
  });
  if (byRows) *statistics = total.finish(statisticsRectangle);
  separatePass();
  return range;
}

}  // namespace vemla
