#include "processing/image_kernels.h"

#include <algorithm>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VEMLA_X86_DISPATCH 1
#endif

namespace vemla {
namespace {

// Plain loops written so that the compiler vectorises them; each is inlined into one function
// per instruction set below. Byte arithmetic stays in bytes where an identity allows it.
#define VEMLA_INLINE [[gnu::always_inline]] inline

VEMLA_INLINE void averageLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                              std::uint8_t* out) {
  // floor((a + b) / 2) without widening: the common bits plus half of the differing bits.
  for (int i = 0; i < count; ++i)
    out[i] = static_cast<std::uint8_t>((a[i] & b[i]) + ((a[i] ^ b[i]) >> 1));
}

VEMLA_INLINE void absoluteDifferenceLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                                         std::uint8_t* out) {
  for (int i = 0; i < count; ++i)
    out[i] = static_cast<std::uint8_t>(std::max(a[i], b[i]) - std::min(a[i], b[i]));
}

VEMLA_INLINE void offsetDifferenceLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                                       std::uint8_t* out) {
  // With both values moved to -128..127 (top bit flipped) the signed difference limited to
  // -128..127 is the offset difference minus 128.
  for (int i = 0; i < count; ++i) {
    const int difference = static_cast<std::int8_t>(a[i] ^ 0x80) - static_cast<std::int8_t>(b[i] ^ 0x80);
    out[i] = static_cast<std::uint8_t>(std::clamp(difference, -128, 127) + 128);
  }
}

VEMLA_INLINE void andLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                          std::uint8_t* out) {
  for (int i = 0; i < count; ++i) out[i] = a[i] & b[i];
}
VEMLA_INLINE void orLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                         std::uint8_t* out) {
  for (int i = 0; i < count; ++i) out[i] = a[i] | b[i];
}
VEMLA_INLINE void xorLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                          std::uint8_t* out) {
  for (int i = 0; i < count; ++i) out[i] = a[i] ^ b[i];
}

VEMLA_INLINE RowStatistics statisticsLoop(const std::uint8_t* s, int count) {
  std::uint8_t maximum = 0, minimum = 255;
  std::uint64_t total = 0;
  // Sums of at most 4096 bytes fit 32 bits, which keeps the vector lanes narrow.
  for (int start = 0; start < count; start += 4096) {
    const int end = std::min(count, start + 4096);
    std::uint32_t sum = 0;
    for (int i = start; i < end; ++i) {
      maximum = std::max(maximum, s[i]);
      minimum = std::min(minimum, s[i]);
      sum += s[i];
    }
    total += sum;
  }
  return {maximum, minimum, total};
}

VEMLA_INLINE void slideDifferenceSumsLoop(const std::uint8_t* in1, const std::uint8_t* in2,
                                          const std::uint8_t* out1, const std::uint8_t* out2,
                                          int count, std::int32_t* sums) {
  if (out1 == nullptr) {
    for (int i = 0; i < count; ++i) sums[i] += std::max(in1[i], in2[i]) - std::min(in1[i], in2[i]);
    return;
  }
  for (int i = 0; i < count; ++i) {
    sums[i] += (std::max(in1[i], in2[i]) - std::min(in1[i], in2[i])) -
               (std::max(out1[i], out2[i]) - std::min(out1[i], out2[i]));
  }
}

VEMLA_INLINE void slideSumsLoop(const std::uint8_t* in, const std::uint8_t* out, int count,
                                std::int32_t* sums) {
  if (out == nullptr) {
    for (int i = 0; i < count; ++i) sums[i] += in[i];
    return;
  }
  for (int i = 0; i < count; ++i) sums[i] += in[i] - out[i];
}

VEMLA_INLINE void weighRowsLoop(const std::int32_t* r0, const std::int32_t* r1,
                                const std::int32_t* r2, const std::int32_t* r3, int count,
                                const std::int32_t* w, std::uint8_t* out) {
  const std::int32_t w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
  for (int i = 0; i < count; ++i) {
    const std::int32_t sum = (w0 * r0[i] + w1 * r1[i] + w2 * r2[i] + w3 * r3[i]) >> 20;
    out[i] = static_cast<std::uint8_t>(std::clamp(sum, 0, 255));
  }
}

// Defines the kernel functions of one instruction set with the given function attribute.
#define VEMLA_DEFINE_IMAGE_KERNELS(SUFFIX, ATTRIBUTE)                                             \
  ATTRIBUTE void average##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, int count,         \
                                 std::uint8_t* out) {                                             \
    averageLoop(a, b, count, out);                                                                \
  }                                                                                               \
  ATTRIBUTE void absoluteDifference##SUFFIX(const std::uint8_t* a, const std::uint8_t* b,         \
                                            int count, std::uint8_t* out) {                       \
    absoluteDifferenceLoop(a, b, count, out);                                                     \
  }                                                                                               \
  ATTRIBUTE void offsetDifference##SUFFIX(const std::uint8_t* a, const std::uint8_t* b,           \
                                          int count, std::uint8_t* out) {                         \
    offsetDifferenceLoop(a, b, count, out);                                                       \
  }                                                                                               \
  ATTRIBUTE void bitwiseAnd##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, int count,      \
                                    std::uint8_t* out) {                                          \
    andLoop(a, b, count, out);                                                                    \
  }                                                                                               \
  ATTRIBUTE void bitwiseOr##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, int count,       \
                                   std::uint8_t* out) {                                           \
    orLoop(a, b, count, out);                                                                     \
  }                                                                                               \
  ATTRIBUTE void bitwiseXor##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, int count,      \
                                    std::uint8_t* out) {                                          \
    xorLoop(a, b, count, out);                                                                    \
  }                                                                                               \
  ATTRIBUTE RowStatistics statistics##SUFFIX(const std::uint8_t* s, int count) {                  \
    return statisticsLoop(s, count);                                                              \
  }                                                                                               \
  ATTRIBUTE void slideDifferenceSums##SUFFIX(const std::uint8_t* in1, const std::uint8_t* in2,    \
                                             const std::uint8_t* out1, const std::uint8_t* out2,  \
                                             int count, std::int32_t* sums) {                     \
    slideDifferenceSumsLoop(in1, in2, out1, out2, count, sums);                                   \
  }                                                                                               \
  ATTRIBUTE void slideSums##SUFFIX(const std::uint8_t* in, const std::uint8_t* out, int count,    \
                                   std::int32_t* sums) {                                          \
    slideSumsLoop(in, out, count, sums);                                                          \
  }                                                                                               \
  ATTRIBUTE void weighRows##SUFFIX(const std::int32_t* r0, const std::int32_t* r1,                \
                                   const std::int32_t* r2, const std::int32_t* r3, int count,     \
                                   const std::int32_t* w, std::uint8_t* out) {                    \
    weighRowsLoop(r0, r1, r2, r3, count, w, out);                                                 \
  }                                                                                               \
  constexpr ImageKernels k##SUFFIX{KernelLevel::SUFFIX,                                           \
                                   average##SUFFIX,                                               \
                                   absoluteDifference##SUFFIX,                                    \
                                   offsetDifference##SUFFIX,                                      \
                                   bitwiseAnd##SUFFIX,                                            \
                                   bitwiseOr##SUFFIX,                                             \
                                   bitwiseXor##SUFFIX,                                            \
                                   statistics##SUFFIX,                                            \
                                   slideDifferenceSums##SUFFIX,                                   \
                                   slideSums##SUFFIX,                                             \
                                   weighRows##SUFFIX};

VEMLA_DEFINE_IMAGE_KERNELS(Baseline, )

#ifdef VEMLA_X86_DISPATCH

#define VEMLA_AVX2 __attribute__((target("avx2")))
// Compilers keep to 256-bit vectors on AVX-512 unless told otherwise.
#if defined(__clang__)
#define VEMLA_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx2"), min_vector_width(512)))
#else
#define VEMLA_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx2,prefer-vector-width=512")))
#endif

VEMLA_DEFINE_IMAGE_KERNELS(Avx2, VEMLA_AVX2)
VEMLA_DEFINE_IMAGE_KERNELS(Avx512, VEMLA_AVX512)

#endif

}  // namespace

std::vector<const ImageKernels*> supportedImageKernels() {
  std::vector<const ImageKernels*> kernels{&kBaseline};
#ifdef VEMLA_X86_DISPATCH
  if (__builtin_cpu_supports("avx2")) kernels.push_back(&kAvx2);
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vl")) {
    kernels.push_back(&kAvx512);
  }
#endif
  return kernels;
}

const ImageKernels& imageKernels() {
  static const ImageKernels* const best = supportedImageKernels().back();
  return *best;
}

}  // namespace vemla
