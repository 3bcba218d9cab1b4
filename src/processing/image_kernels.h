#pragma once
// The row loops under image creation and rendering, compiled once for the baseline instruction
// set and once each for AVX2 and AVX-512 and picked at run time, as the shift kernels are.
// Every variant computes the same integers; the tests run each variant the machine supports
// against plain per-pixel code.
#include <cstdint>
#include <vector>

#include "processing/row_kernels.h"

namespace vemla {

struct RowStatistics {
  int maximum = 0;
  int minimum = 255;
  std::uint64_t sum = 0;
};

// Combines two rows of the shifted pictures into a row of the image: `combine` alone, or
// `combineWithStatistics`, which also returns the statistics of out[0..count) (count >= 1)
// while the values are still in registers. Copying kinds pass b = a and take a.
struct CombineRow {
  void (*combine)(const std::uint8_t* a, const std::uint8_t* b, int count, std::uint8_t* out);
  RowStatistics (*combineWithStatistics)(const std::uint8_t* a, const std::uint8_t* b, int count,
                                         std::uint8_t* out);
};

struct ImageKernels {
  KernelLevel level;
  CombineRow copy;                // a
  CombineRow average;             // (a + b) >> 1
  CombineRow absoluteDifference;  // |a - b|
  CombineRow offsetDifference;    // a - b + 128 limited to 0..255
  CombineRow bitwiseAnd, bitwiseOr, bitwiseXor;
  // Maximum, minimum and sum of s[0..count); count >= 1.
  RowStatistics (*statistics)(const std::uint8_t* s, int count);
  // Copies a row to memory without reading the destination into the cache (streaming stores
  // where the instruction set has them), for images too large to stay cached; `fence` makes
  // such stores visible and is called once after the last row.
  void (*streamRow)(const std::uint8_t* source, int count, std::uint8_t* out);
  void (*fence)();
  // sums[i] += |in1[i] - in2[i]| - |out1[i] - out2[i]|: a window column sum of the absolute
  // differences moving down one row (out rows may be null when nothing leaves).
  void (*slideDifferenceSums)(const std::uint8_t* in1, const std::uint8_t* in2,
                              const std::uint8_t* out1, const std::uint8_t* out2, int count,
                              std::int32_t* sums);
  // sums[i] += (in1[i] - in2[i]) - (out1[i] - out2[i]): a window column sum of the signed
  // differences moving down one row (out rows may be null).
  void (*slideSignedDifferenceSums)(const std::uint8_t* in1, const std::uint8_t* in2,
                                    const std::uint8_t* out1, const std::uint8_t* out2, int count,
                                    std::int32_t* sums);
  // prefix[0] = 0 and prefix[i + 1] = prefix[i] + sums[i] modulo 2^32, for i in [0, count).
  void (*prefixSums)(const std::int32_t* sums, int count, std::uint32_t* prefix);
  // out[i] = min(255, trunc(float(v) * scale + 0.5f)) (0 when negative) with v = |high[i] -
  // low[i]| taken as a signed 32-bit difference, which must lie in (-2^31, 2^31). Products and
  // sums are rounded apart in every variant, so all give the same bytes.
  void (*mapWindowSums)(const std::uint32_t* high, const std::uint32_t* low, int count, float scale,
                        std::uint8_t* out);
  // out[i] = clamp((w[0] r0[i] + w[1] r1[i] + w[2] r2[i] + w[3] r3[i]) >> 20, 0, 255).
  void (*weighRows)(const std::int32_t* r0, const std::int32_t* r1, const std::int32_t* r2,
                    const std::int32_t* r3, int count, const std::int32_t* w, std::uint8_t* out);
};

// The fastest variant this machine runs.
const ImageKernels& imageKernels();
// The variants this machine runs, baseline first (for the tests and the benchmarks).
std::vector<const ImageKernels*> supportedImageKernels();

}  // namespace vemla
