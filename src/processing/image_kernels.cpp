#include "processing/image_kernels.h"

#include <algorithm>

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VEMLA_X86_DISPATCH 1
#include <immintrin.h>
#endif

namespace vemla {
namespace {

// Plain loops written so that the compiler vectorises them; each is inlined into one function
// per instruction set below. Byte arithmetic stays in bytes where an identity allows it.
#define VEMLA_INLINE [[gnu::always_inline]] inline

// The pixel rules of the element-wise kinds, in forms the compiler keeps in bytes.
struct CopyOp {
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t) const { return a; }
};
struct AverageOp {
  // floor((a + b) / 2) without widening: the common bits plus half of the differing bits.
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
    return static_cast<std::uint8_t>((a & b) + ((a ^ b) >> 1));
  }
};
struct AbsoluteDifferenceOp {
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
    return static_cast<std::uint8_t>(std::max(a, b) - std::min(a, b));
  }
};
struct OffsetDifferenceOp {
  // With both values moved to -128..127 (top bit flipped) the signed difference limited to
  // -128..127 is the offset difference minus 128.
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
    const int difference =
        static_cast<std::int8_t>(a ^ 0x80) - static_cast<std::int8_t>(b ^ 0x80);
    return static_cast<std::uint8_t>(std::clamp(difference, -128, 127) + 128);
  }
};
struct AndOp {
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const { return a & b; }
};
struct OrOp {
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const { return a | b; }
};
struct XorOp {
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const { return a ^ b; }
};

template <typename Op>
VEMLA_INLINE void combineLoop(const std::uint8_t* a, const std::uint8_t* b, int count,
                              std::uint8_t* out) {
  const Op op;
  for (int i = 0; i < count; ++i) out[i] = op(a[i], b[i]);
}

template <typename Op>
VEMLA_INLINE RowStatistics combineStatisticsLoop(const std::uint8_t* a, const std::uint8_t* b,
                                                 int count, std::uint8_t* out) {
  const Op op;
  std::uint8_t maximum = 0, minimum = 255;
  std::uint64_t total = 0;
  // Sums of at most 4096 bytes fit 32 bits, which keeps the vector lanes narrow.
  for (int start = 0; start < count; start += 4096) {
    const int end = std::min(count, start + 4096);
    std::uint32_t sum = 0;
    for (int i = start; i < end; ++i) {
      const std::uint8_t value = op(a[i], b[i]);
      out[i] = value;
      maximum = std::max(maximum, value);
      minimum = std::min(minimum, value);
      sum += value;
    }
    total += sum;
  }
  return {maximum, minimum, total};
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

// One pair of row functions of an element-wise kind for one instruction set.
#define VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, NAME, OP)                                         \
  ATTRIBUTE void NAME##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, int count,            \
                              std::uint8_t* out) {                                                \
    combineLoop<OP>(a, b, count, out);                                                            \
  }                                                                                               \
  ATTRIBUTE RowStatistics NAME##Statistics##SUFFIX(const std::uint8_t* a, const std::uint8_t* b,  \
                                                   int count, std::uint8_t* out) {                \
    return combineStatisticsLoop<OP>(a, b, count, out);                                           \
  }

// Defines the kernel functions of one instruction set with the given function attribute.
#define VEMLA_DEFINE_IMAGE_KERNELS(SUFFIX, ATTRIBUTE)                                             \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, copy, CopyOp)                                           \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, average, AverageOp)                                     \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, absoluteDifference, AbsoluteDifferenceOp)               \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, offsetDifference, OffsetDifferenceOp)                   \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, bitwiseAnd, AndOp)                                      \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, bitwiseOr, OrOp)                                        \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, bitwiseXor, XorOp)                                      \
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
  constexpr ImageKernels k##SUFFIX{                                                              \
      KernelLevel::SUFFIX,                                                                        \
      {copy##SUFFIX, copyStatistics##SUFFIX},                                                     \
      {average##SUFFIX, averageStatistics##SUFFIX},                                               \
      {absoluteDifference##SUFFIX, absoluteDifferenceStatistics##SUFFIX},                         \
      {offsetDifference##SUFFIX, offsetDifferenceStatistics##SUFFIX},                             \
      {bitwiseAnd##SUFFIX, bitwiseAndStatistics##SUFFIX},                                         \
      {bitwiseOr##SUFFIX, bitwiseOrStatistics##SUFFIX},                                           \
      {bitwiseXor##SUFFIX, bitwiseXorStatistics##SUFFIX},                                         \
      statistics##SUFFIX,                                                                         \
      streamRow##SUFFIX,                                                                          \
      fence##SUFFIX,                                                                              \
                                   slideDifferenceSums##SUFFIX,                                   \
                                   slideSums##SUFFIX,                                             \
                                   weighRows##SUFFIX};

void streamRowBaseline(const std::uint8_t* source, int count, std::uint8_t* out) {
  std::memcpy(out, source, static_cast<std::size_t>(count));
}
void fenceBaseline() {}

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

// Plain stores up to the first aligned vector, streaming stores, then plain stores again.
VEMLA_AVX2 void streamRowAvx2(const std::uint8_t* source, int count, std::uint8_t* out) {
  int i = 0;
  const auto misalignment = reinterpret_cast<std::uintptr_t>(out) % 32;
  const int head = std::min(count, misalignment == 0 ? 0 : static_cast<int>(32 - misalignment));
  std::memcpy(out, source, static_cast<std::size_t>(head));
  for (i = head; i + 32 <= count; i += 32) {
    _mm256_stream_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i)));
  }
  std::memcpy(out + i, source + i, static_cast<std::size_t>(count - i));
}
VEMLA_AVX512 void streamRowAvx512(const std::uint8_t* source, int count, std::uint8_t* out) {
  int i = 0;
  const auto misalignment = reinterpret_cast<std::uintptr_t>(out) % 64;
  const int head = std::min(count, misalignment == 0 ? 0 : static_cast<int>(64 - misalignment));
  std::memcpy(out, source, static_cast<std::size_t>(head));
  for (i = head; i + 64 <= count; i += 64) {
    _mm512_stream_si512(reinterpret_cast<__m512i*>(out + i), _mm512_loadu_si512(source + i));
  }
  std::memcpy(out + i, source + i, static_cast<std::size_t>(count - i));
}
void fenceAvx2() { _mm_sfence(); }
void fenceAvx512() { _mm_sfence(); }

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
