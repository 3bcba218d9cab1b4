#pragma once
// shiftPicture: moves a picture by whole pixels plus sub-steps of 1/n pixel with linear or
// cubic interpolation in fixed point. The picture control, the partial comparison and the
// picture editor all shift through it.
#include <array>
#include <cstddef>
#include <cstdint>

#include "processing/parallel_for.h"
#include "processing/picture_control.h"
#include "processing/row_kernels.h"

namespace vemla {

enum ShiftInterpolationMode : int { kShiftLinear = 0, kShiftCubic = 1 };

// One shift. xNegative = true moves the content right, false moves it left (or not at all);
// yNegative = true moves it down, false up. Sub-steps are in 1/n pixel.
struct ShiftAmount {
  bool xNegative = false;
  int wholeX = 0, stepsX = 0;
  bool yNegative = false;
  int wholeY = 0, stepsY = 0;
  bool operator==(const ShiftAmount&) const = default;
};

// The manual shift setting as a shift: left -> xNegative false, right -> true, neither -> none.
ShiftAmount shiftAmountOf(const ShiftSetting& setting);

// The four-point cubic Lagrange weights of the samples at -1, 0, +1, +2 for the fraction r/256,
// times 1024 and rounded half up; rows sum to 1023, 1024 or 1025 and are not renormalised.
using CubicWeights = std::array<std::int32_t, 4>;
const std::array<CubicWeights, 256>& cubicWeightTable();

// The int32 scratch shiftPicture needs for a picture `width` pixels wide.
constexpr std::size_t shiftScratchSize(int width) {
  return static_cast<std::size_t>(width) + 3;
}

// Writes the shifted `source` (width x height) into `destination` (another buffer of the same
// size). Linear mode zeroes a band of whole+1 columns (whole when the sub-steps are 0 and
// whole > 0) on the side the content moves away from, and likewise rows, so even a zero shift
// zeroes the last column and the last row. Cubic mode zeroes a frame of at least two pixels on
// every side. `division` is one of kDivisions. Sub-steps are clamped to 0..n-1 and whole
// amounts to 0..width (0..height), which changes no result: a shift of the full size already
// gives zeros. `scratch` holds at least shiftScratchSize(width) values. Rows may be shared out
// by `parallel`; the result is the same.
void shiftPicture(const std::uint8_t* source, int width, int height, int division,
                  int interpolation, const ShiftAmount& amount, std::uint8_t* destination,
                  std::int32_t* scratch, const ParallelFor& parallel = {});
// The same with a chosen kernel variant (tests and benchmarks).
void shiftPicture(const RowKernels& kernels, const std::uint8_t* source, int width, int height,
                  int division, int interpolation, const ShiftAmount& amount,
                  std::uint8_t* destination, std::int32_t* scratch,
                  const ParallelFor& parallel = {});

// The output rows [firstRow, endRow) of shiftPicture, the bytes it writes there; no other row
// of `destination` is written. A picture may so be shifted a band of rows at a time.
void shiftRows(const std::uint8_t* source, int width, int height, int division, int interpolation,
               const ShiftAmount& amount, std::uint8_t* destination, std::int32_t* scratch,
               int firstRow, int endRow, const ParallelFor& parallel = {});

// floor(a / b) and the matching non-negative remainder, for b > 0.
constexpr int floorDiv(int a, int b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
constexpr int floorMod(int a, int b) {
  return a - floorDiv(a, b) * b;
}

// log2 of a power of two.
constexpr int log2Exact(int powerOfTwo) {
  int bits = 0;
  while ((1 << bits) < powerOfTwo) ++bits;
  return bits;
}

}  // namespace vemla
