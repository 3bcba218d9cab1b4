#pragma once
// The row loops under the shift and the alignment search, compiled once for the baseline
// instruction set and once each for AVX2 and AVX-512 and picked at run time. Every variant
// computes the same integers; the tests run each variant the machine supports against a plain
// per-pixel implementation.
#include <cstdint>
#include <vector>

#include "processing/cpu_dispatch.h"

namespace vemla {

struct RowKernels {
  KernelLevel level;
  // h[i] = (q - g) * s[i] + g * s[i + 1] for i in [0, count); s[count] is read only when g > 0.
  // q <= 256, so h fits 16 bits.
  void (*lerpHorizontal)(const std::uint8_t* s, int count, int q, int g, std::uint16_t* h);
  // out[i] = ((q - g) * a[i] + g * b[i]) >> shift.
  void (*lerpVertical)(const std::uint16_t* a, const std::uint16_t* b, int count, int q, int g,
                       int shift, std::uint8_t* out);
  // The sum over i of |ref[i] - (((q - g) * a[i] + g * b[i]) >> shift)|.
  std::uint64_t (*lerpVerticalSad)(const std::uint16_t* a, const std::uint16_t* b, int count, int q,
                                   int g, int shift, const std::uint8_t* ref);
  // The sum over i of |a[i] - b[i]|.
  std::uint64_t (*sad)(const std::uint8_t* a, const std::uint8_t* b, int count);
  // v[i] = w[0] * r0[i] + w[1] * r1[i] + w[2] * r2[i] + w[3] * r3[i].
  void (*cubicVertical)(const std::uint8_t* r0, const std::uint8_t* r1, const std::uint8_t* r2,
                        const std::uint8_t* r3, int count, const std::int32_t* w, std::int32_t* v);
  // out[i] = clamp((w[0] * v[i] + w[1] * v[i + 1] + w[2] * v[i + 2] + w[3] * v[i + 3]) >> 20).
  void (*cubicHorizontal)(const std::int32_t* v, int count, const std::int32_t* w,
                          std::uint8_t* out);
  // sums[i] += s[i].
  void (*addRow)(const std::uint8_t* s, int count, std::int32_t* sums);
};

// The fastest variant this machine runs.
const RowKernels& rowKernels();
// The variants this machine runs, baseline first (for the tests and the benchmarks).
std::vector<const RowKernels*> supportedRowKernels();

}  // namespace vemla
