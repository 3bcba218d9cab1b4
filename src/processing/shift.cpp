#include "processing/shift.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vemla {
namespace {

// w * 1024 rounded half up for the weight num / den (den > 0): floor((2 num + den) / (2 den)).
constexpr std::int32_t roundHalfUp(std::int64_t num, std::int64_t den) {
  const std::int64_t a = 2 * num + den;
  const std::int64_t b = 2 * den;
  return static_cast<std::int32_t>(a / b - ((a % b != 0) && (a < 0)));
}

// With t = r / 256 each weight times 1024 is an exact fraction of r:
//   w(-1) = -t(t-1)(t-2)/6       -> -r(r-256)(r-512) / (6 * 16384)
//   w(0)  = (t+1)(t-1)(t-2)/2    -> (r+256)(r-256)(r-512) / (2 * 16384)
//   w(+1) = -(t+1)t(t-2)/2       -> -(r+256)r(r-512) / (2 * 16384)
//   w(+2) = (t+1)t(t-1)/6        -> (r+256)r(r-256) / (6 * 16384)
constexpr std::array<CubicWeights, 256> makeCubicTable() {
  std::array<CubicWeights, 256> table{};
  for (std::int64_t r = 0; r < 256; ++r) {
    table[r] = {roundHalfUp(-r * (r - 256) * (r - 512), 6 * 16384),
                roundHalfUp((r + 256) * (r - 256) * (r - 512), 2 * 16384),
                roundHalfUp(-(r + 256) * r * (r - 512), 2 * 16384),
                roundHalfUp((r + 256) * r * (r - 256), 6 * 16384)};
  }
  return table;
}

constexpr std::array<CubicWeights, 256> kCubicTable = makeCubicTable();

// The largest allowed division not above n (shift arithmetic needs a power of two).
int normalisedDivision(int n) {
  int division = kDivisions.front();
  for (const int allowed : kDivisions) {
    if (allowed <= n) division = allowed;
  }
  return division;
}

// One axis of a shift: the output range [first, end) that is computed and, for linear mode,
// the left (top) source sample offset and the weight of the sample after it, in 1/n.
struct LinearAxis {
  int first = 0, end = 0;
  int offset = 0;
  int fraction = 0;
};

LinearAxis linearAxis(int size, int n, bool negative, int whole, int steps) {
  // Invalid band: whole + 1, except whole when the sub-steps are 0 and whole > 0.
  const int band = (steps == 0 && whole > 0) ? whole : whole + 1;
  LinearAxis axis;
  axis.first = negative ? band : 0;
  axis.end = negative ? size : size - band;
  // out(x) samples the source at x - shift, shift = +/-(whole + steps / n) (positive: right).
  const int signedSteps = negative ? whole * n + steps : -(whole * n + steps);
  axis.offset = floorDiv(-signedSteps, n);
  axis.fraction = floorMod(-signedSteps, n);
  return axis;
}

// Zeroes the output rows [y0, y1) outside the computed block [x0, x1) x [first, end).
void zeroOutside(std::uint8_t* destination, int width, int x0, int x1, int first, int end, int y0,
                 int y1) {
  const std::size_t rowBytes = static_cast<std::size_t>(width);
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* row = destination + rowBytes * static_cast<std::size_t>(y);
    if (x0 >= x1 || y < first || y >= end) {
      std::memset(row, 0, rowBytes);
      continue;
    }
    std::memset(row, 0, static_cast<std::size_t>(x0));
    std::memset(row + x1, 0, static_cast<std::size_t>(width - x1));
  }
}

// The pixels of an output row range, for the hand-over threshold of a ParallelFor.
std::size_t workOf(int rows, int count) {
  return static_cast<std::size_t>(rows) * static_cast<std::size_t>(count);
}

// The output rows [y0, y1) of the shift; `first` and `rows` below are those of the block
// computed within them.
void shiftLinear(const RowKernels& kernels, const std::uint8_t* source, int width, int height,
                 int n, const ShiftAmount& amount, std::uint8_t* destination, int y0, int y1,
                 const ParallelFor& parallel) {
  const LinearAxis ax = linearAxis(width, n, amount.xNegative, amount.wholeX, amount.stepsX);
  LinearAxis ay = linearAxis(height, n, amount.yNegative, amount.wholeY, amount.stepsY);
  zeroOutside(destination, width, ax.first, ax.end, ay.first, ay.end, y0, y1);
  ay.first = std::max(ay.first, y0);
  ay.end = std::min(ay.end, y1);
  if (ax.first >= ax.end || ay.first >= ay.end) return;

  const int count = ax.end - ax.first;
  const auto rowAt = [&](int y) {
    return source + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + ax.first +
           ax.offset;
  };
  const auto outAt = [&](int y) {
    return destination + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + ax.first;
  };
  const int rows = ay.end - ay.first;
  if (ax.fraction == 0 && ay.fraction == 0) {
    parallel(rows, workOf(rows, count), [&](int begin, int end) {
      for (int y = ay.first + begin; y < ay.first + end; ++y) {
        std::memcpy(outAt(y), rowAt(y + ay.offset), static_cast<std::size_t>(count));
      }
    });
    return;
  }
  const int shift = 2 * log2Exact(n);
  parallel(rows, workOf(rows, count), [&](int begin, int end) {
    // Horizontal pass per source row, kept for the next output row, which needs it again.
    std::vector<std::uint16_t> upper(static_cast<std::size_t>(count));
    std::vector<std::uint16_t> lower(static_cast<std::size_t>(count));
    int upperRow = -1;
    for (int y = ay.first + begin; y < ay.first + end; ++y) {
      const int top = y + ay.offset;
      if (upperRow != top) kernels.lerpHorizontal(rowAt(top), count, n, ax.fraction, upper.data());
      if (ay.fraction == 0) {
        kernels.lerpVertical(upper.data(), upper.data(), count, n, 0, shift, outAt(y));
        upperRow = top;
        continue;
      }
      kernels.lerpHorizontal(rowAt(top + 1), count, n, ax.fraction, lower.data());
      kernels.lerpVertical(upper.data(), lower.data(), count, n, ay.fraction, shift, outAt(y));
      std::swap(upper, lower);
      upperRow = top + 1;
    }
  });
}

// One axis of a cubic shift: the computed output range [first, end), the offset of the first
// of the four source samples and the weights in sample order.
struct CubicAxis {
  int first = 0, end = 0;
  int offset = 0;
  CubicWeights weights{};
};

CubicAxis cubicAxis(int size, int n, bool negative, int whole, int steps) {
  const CubicWeights& row = kCubicTable[static_cast<std::size_t>(steps * (256 / n))];
  CubicAxis axis;
  if (!negative) {
    // Taps x+whole-1 .. x+whole+2 with c0..c3 for 2 <= x < size - whole - 2.
    axis.first = 2;
    axis.end = size - whole - 2;
    axis.offset = whole - 1;
    axis.weights = row;
  } else {
    // Taps x-whole+1, x-whole, x-whole-1, x-whole-2 with c0..c3 for whole + 2 <= x < size - 2.
    axis.first = whole + 2;
    axis.end = size - 2;
    axis.offset = -whole - 2;
    axis.weights = {row[3], row[2], row[1], row[0]};
  }
  return axis;
}

// The two passes are exact integer sums, so the vertical one may run first: each output row
// then needs only one row of intermediate values. Sums stay within 32 bits (|v| <= 255 * 1280,
// |result| <= 1280 * |v|).
void shiftCubic(const RowKernels& kernels, const std::uint8_t* source, int width, int height, int n,
                const ShiftAmount& amount, std::uint8_t* destination, std::int32_t* scratch, int y0,
                int y1, const ParallelFor& parallel) {
  const CubicAxis ax = cubicAxis(width, n, amount.xNegative, amount.wholeX, amount.stepsX);
  CubicAxis ay = cubicAxis(height, n, amount.yNegative, amount.wholeY, amount.stepsY);
  zeroOutside(destination, width, ax.first, ax.end, ay.first, ay.end, y0, y1);
  ay.first = std::max(ay.first, y0);
  ay.end = std::min(ay.end, y1);
  if (ax.first >= ax.end || ay.first >= ay.end) return;

  const int count = ax.end - ax.first;
  const std::size_t stride = static_cast<std::size_t>(width);
  const int column = ax.first + ax.offset;  // first source column read
  const int rows = ay.end - ay.first;
  if (amount.stepsX == 0 && amount.stepsY == 0) {
    // Row 0 of the table is (0, 1024, 0, 0): the interior is the source, moved.
    parallel(rows, workOf(rows, count), [&](int begin, int end) {
      for (int y = ay.first + begin; y < ay.first + end; ++y) {
        std::memcpy(
            destination + static_cast<std::size_t>(y) * stride + ax.first,
            source + static_cast<std::size_t>(y + ay.offset + (amount.yNegative ? 2 : 1)) * stride +
                column + (amount.xNegative ? 2 : 1),
            static_cast<std::size_t>(count));
      }
    });
    return;
  }
  parallel(rows, workOf(rows, count), [&](int begin, int end) {
    // The first piece uses the caller's scratch, the others their own.
    std::vector<std::int32_t> own(begin == 0 ? 0 : shiftScratchSize(width));
    std::int32_t* const values = begin == 0 ? scratch : own.data();
    for (int y = ay.first + begin; y < ay.first + end; ++y) {
      const std::uint8_t* r0 = source + static_cast<std::size_t>(y + ay.offset) * stride + column;
      kernels.cubicVertical(r0, r0 + stride, r0 + 2 * stride, r0 + 3 * stride, count + 3,
                            ay.weights.data(), values);
      kernels.cubicHorizontal(values, count, ax.weights.data(),
                              destination + static_cast<std::size_t>(y) * stride + ax.first);
    }
  });
}

}  // namespace

ShiftAmount shiftAmountOf(const ShiftSetting& setting) {
  ShiftAmount amount;
  const bool horizontal = setting.left != 0 || setting.right != 0;
  const bool vertical = setting.up != 0 || setting.down != 0;
  if (horizontal) {
    amount.xNegative = setting.right != 0;
    amount.wholeX = setting.wholeX;
    amount.stepsX = setting.stepsX;
  }
  if (vertical) {
    amount.yNegative = setting.down != 0;
    amount.wholeY = setting.wholeY;
    amount.stepsY = setting.stepsY;
  }
  return amount;
}

const std::array<CubicWeights, 256>& cubicWeightTable() {
  return kCubicTable;
}

namespace {

void shiftRows(const RowKernels& kernels, const std::uint8_t* source, int width, int height,
               int division, int interpolation, const ShiftAmount& amount,
               std::uint8_t* destination, std::int32_t* scratch, int firstRow, int endRow,
               const ParallelFor& parallel) {
  firstRow = std::max(firstRow, 0);
  endRow = std::min(endRow, height);
  if (width <= 0 || firstRow >= endRow) return;
  const int n = normalisedDivision(division);
  ShiftAmount clamped = amount;
  clamped.wholeX = std::clamp(amount.wholeX, 0, width);
  clamped.wholeY = std::clamp(amount.wholeY, 0, height);
  clamped.stepsX = std::clamp(amount.stepsX, 0, n - 1);
  clamped.stepsY = std::clamp(amount.stepsY, 0, n - 1);
  if (interpolation == kShiftLinear) {
    shiftLinear(kernels, source, width, height, n, clamped, destination, firstRow, endRow,
                parallel);
  } else {
    shiftCubic(kernels, source, width, height, n, clamped, destination, scratch, firstRow, endRow,
               parallel);
  }
}

}  // namespace

void shiftRows(const std::uint8_t* source, int width, int height, int division, int interpolation,
               const ShiftAmount& amount, std::uint8_t* destination, std::int32_t* scratch,
               int firstRow, int endRow, const ParallelFor& parallel) {
  shiftRows(rowKernels(), source, width, height, division, interpolation, amount, destination,
            scratch, firstRow, endRow, parallel);
}

void shiftPicture(const RowKernels& kernels, const std::uint8_t* source, int width, int height,
                  int division, int interpolation, const ShiftAmount& amount,
                  std::uint8_t* destination, std::int32_t* scratch, const ParallelFor& parallel) {
  shiftRows(kernels, source, width, height, division, interpolation, amount, destination, scratch,
            0, height, parallel);
}

void shiftPicture(const std::uint8_t* source, int width, int height, int division,
                  int interpolation, const ShiftAmount& amount, std::uint8_t* destination,
                  std::int32_t* scratch, const ParallelFor& parallel) {
  shiftPicture(rowKernels(), source, width, height, division, interpolation, amount, destination,
               scratch, parallel);
}

}  // namespace vemla
