#pragma once
// The 9 x 9 filter of the user processing entries over the computing range of an image: sums
// in float or double where the weights are integers after a power-of-two scale, in double
// checked against a bound where they are decimals, in extended precision where the bound
// leaves a grey value open. The double rows are compiled once for the baseline instruction set
// and once each for AVX2 and AVX-512 and picked at run time; every variant gives the same
// bytes, and the tests run each variant the machine supports against extended precision alone.
#include <cstdint>
#include <vector>

#include "extensions/shared_rows.h"
#include "processing/cpu_dispatch.h"
#include "processing/parallel_for.h"
#include "processing/rect.h"

namespace vemla {

inline constexpr int kFilterSide = 9;
inline constexpr int kFilterCentre = 4;

struct FilterWeight {
  int row;     // 0 .. 8, offset row - 4
  int column;  // 0 .. 8, offset column - 4
  double value;
};

// How a filter whose weights are no integers after a power-of-two scale (0.1, 0.333 ...) forms
// its extended-precision results. Every way gives the same image; the choice is there for the
// tests and the benchmarks.
enum class FilterArithmetic {
  Fastest,  // the fastest of the next three that this machine runs
  // Sums in double with the baseline instruction set, AVX2 or AVX-512, each result checked
  // against a bound on its distance to the extended-precision one and redone in extended
  // precision where the bound leaves the grey value open.
  DoubleBaseline,
  DoubleAvx2,
  DoubleAvx512,
  Extended,  // every pixel in extended precision
};

// Whether this machine runs `arithmetic` (a double way it does not run falls back to the
// baseline).
bool runsFilterArithmetic(FilterArithmetic arithmetic);

// Writes every pixel of `computing` (inside the width-wide `image`) from `picture`: the sum of
// weight x picture(x + column - 4, y + row - 4) over `weights` (the non-zero elements in
// row-major order), divided by `divisor` unless it is 0, truncated toward zero and limited to
// 0 .. 255, as if formed in extended precision element by element. Every pixel the weights
// reach lies inside the picture.
void applyFilterWeights(const std::vector<FilterWeight>& weights, double divisor,
                        const std::uint8_t* picture, int width, const Rect& computing,
                        std::uint8_t* image, const RowProgress& progress,
                        const ParallelFor& parallel, FilterArithmetic arithmetic);

// One output row of decimal weights in double: pixel i of the row from pixel i of each source
// row.
struct DoubleFilterRow {
  const double* const* sources;
  const double* weights;
  std::size_t weightCount;
  int count;
  bool divide;
  double divisor;
  double bound;  // how far the double quotient may lie from the extended-precision one
  std::uint8_t* out;
};

struct FilterKernels {
  KernelLevel level;
  // Writes the grey value of (quotient - bound) to out[i] for every pixel of the row, and the
  // indices of the pixels whose grey value the bound leaves open to `open`, in increasing
  // order; returns how many there are.
  int (*doubleRow)(const DoubleFilterRow& row, int* open);
};

// The fastest variant this machine runs.
const FilterKernels& filterKernels();
// The variants this machine runs, baseline first (for the tests and the benchmarks).
std::vector<const FilterKernels*> supportedFilterKernels();

}  // namespace vemla
