#include "processing/image_kernels.h"

#include <algorithm>
#include <cstring>

#include "processing/cpu_dispatch.h"

#ifdef VEMLA_X86_DISPATCH
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
  // a - b + 128 limited to 0..255 in saturating byte steps: t = a - b and u = b - a, each 0 when
  // negative; 128 + min(t, 127) then minus u, stopping at 0.
  VEMLA_INLINE std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
    const std::uint8_t larger = std::max(a, b);
    const auto t = static_cast<std::uint8_t>(larger - b);
    const auto u = static_cast<std::uint8_t>(larger - a);
    const auto v = static_cast<std::uint8_t>(std::min<std::uint8_t>(t, 127) | 0x80);
    return static_cast<std::uint8_t>(v - std::min(u, v));
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

// Rows are combined and their statistics taken in blocks that stay in the first-level cache.
constexpr int kStatisticsBlock = 4096;

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

VEMLA_INLINE void slideSignedDifferenceSumsLoop(const std::uint8_t* in1, const std::uint8_t* in2,
                                                const std::uint8_t* out1, const std::uint8_t* out2,
                                                int count, std::int32_t* sums) {
  if (out1 == nullptr) {
    for (int i = 0; i < count; ++i) sums[i] += in1[i] - in2[i];
    return;
  }
  for (int i = 0; i < count; ++i) sums[i] += (in1[i] - in2[i]) - (out1[i] - out2[i]);
}

VEMLA_INLINE void prefixSumsLoop(const std::int32_t* sums, int count, std::uint32_t* prefix) {
  std::uint32_t total = 0;
  prefix[0] = 0;
  for (int i = 0; i < count; ++i) {
    total += static_cast<std::uint32_t>(sums[i]);
    prefix[i + 1] = total;
  }
}

// Multiplication and addition are separate statements and the file is compiled without
// contraction: no variant fuses them, so every one rounds exactly as the plain loop does.
VEMLA_INLINE void mapWindowSumsLoop(const std::uint32_t* high, const std::uint32_t* low, int count,
                                    float scale, std::uint8_t* out) {
  for (int i = 0; i < count; ++i) {
    const auto difference = static_cast<std::int32_t>(high[i] - low[i]);
    const std::int32_t v = difference < 0 ? -difference : difference;
    float q = static_cast<float>(v) * scale;
    q += 0.5f;
    q = std::min(q, 255.0f);
    q = std::max(q, 0.0f);
    out[i] = static_cast<std::uint8_t>(static_cast<std::int32_t>(q));
  }
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

// One pair of row functions of an element-wise kind for one instruction set. The statistics
// are taken by that instruction set's statistics function from each block just written, which
// is still in the first-level cache.
#define VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, NAME, OP)                                        \
  ATTRIBUTE void NAME##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, int count,           \
                              std::uint8_t* out) {                                               \
    combineLoop<OP>(a, b, count, out);                                                           \
  }                                                                                              \
  ATTRIBUTE RowStatistics NAME##Statistics##SUFFIX(const std::uint8_t* a, const std::uint8_t* b, \
                                                   int count, std::uint8_t* out) {               \
    RowStatistics statistics{};                                                                  \
    for (int start = 0; start < count; start += kStatisticsBlock) {                              \
      const int length = std::min(kStatisticsBlock, count - start);                              \
      combineLoop<OP>(a + start, b + start, length, out + start);                                \
      const RowStatistics block = statistics##SUFFIX(out + start, length);                       \
      statistics = start == 0 ? block                                                            \
                              : RowStatistics{std::max(statistics.maximum, block.maximum),       \
                                              std::min(statistics.minimum, block.minimum),       \
                                              statistics.sum + block.sum};                       \
    }                                                                                            \
    return statistics;                                                                           \
  }

// The element-wise kinds of one instruction set (after its statistics function).
#define VEMLA_DEFINE_COMBINES(SUFFIX, ATTRIBUTE)                                    \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, copy, CopyOp)                             \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, average, AverageOp)                       \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, absoluteDifference, AbsoluteDifferenceOp) \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, offsetDifference, OffsetDifferenceOp)     \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, bitwiseAnd, AndOp)                        \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, bitwiseOr, OrOp)                          \
  VEMLA_DEFINE_COMBINE(SUFFIX, ATTRIBUTE, bitwiseXor, XorOp)

// The column sums of the area difference for one instruction set.
#define VEMLA_DEFINE_SLIDES(SUFFIX, ATTRIBUTE)                                                   \
  ATTRIBUTE void slideDifferenceSums##SUFFIX(const std::uint8_t* in1, const std::uint8_t* in2,   \
                                             const std::uint8_t* out1, const std::uint8_t* out2, \
                                             int count, std::int32_t* sums) {                    \
    slideDifferenceSumsLoop(in1, in2, out1, out2, count, sums);                                  \
  }                                                                                              \
  ATTRIBUTE void slideSignedDifferenceSums##SUFFIX(                                              \
      const std::uint8_t* in1, const std::uint8_t* in2, const std::uint8_t* out1,                \
      const std::uint8_t* out2, int count, std::int32_t* sums) {                                 \
    slideSignedDifferenceSumsLoop(in1, in2, out1, out2, count, sums);                            \
  }

// The area difference's mapping of window sums to bytes for one instruction set.
#define VEMLA_DEFINE_MAPPING(SUFFIX, ATTRIBUTE)                                             \
  ATTRIBUTE void mapWindowSums##SUFFIX(const std::uint32_t* high, const std::uint32_t* low, \
                                       int count, float scale, std::uint8_t* out) {         \
    mapWindowSumsLoop(high, low, count, scale, out);                                        \
  }

// The rendering loops of one instruction set.
#define VEMLA_DEFINE_IMAGE_KERNELS(SUFFIX, ATTRIBUTE)                                         \
  ATTRIBUTE void weighRows##SUFFIX(const std::int32_t* r0, const std::int32_t* r1,            \
                                   const std::int32_t* r2, const std::int32_t* r3, int count, \
                                   const std::int32_t* w, std::uint8_t* out) {                \
    weighRowsLoop(r0, r1, r2, r3, count, w, out);                                             \
  }

// The table of one variant: the element-wise kinds, statistics and streaming stores from
// `COMBINE`, the rest from `SUFFIX`. The AVX-512 variant makes images with the AVX2 loops:
// they are bound by memory, and the 512-bit loops measured up to twice slower there.
#define VEMLA_IMAGE_KERNEL_TABLE(SUFFIX, COMBINE)                                     \
  constexpr ImageKernels k##SUFFIX {                                                  \
    KernelLevel::SUFFIX, {copy##COMBINE, copyStatistics##COMBINE},                    \
        {average##COMBINE, averageStatistics##COMBINE},                               \
        {absoluteDifference##COMBINE, absoluteDifferenceStatistics##COMBINE},         \
        {offsetDifference##COMBINE, offsetDifferenceStatistics##COMBINE},             \
        {bitwiseAnd##COMBINE, bitwiseAndStatistics##COMBINE},                         \
        {bitwiseOr##COMBINE, bitwiseOrStatistics##COMBINE},                           \
        {bitwiseXor##COMBINE, bitwiseXorStatistics##COMBINE}, statistics##COMBINE,    \
        streamRow##COMBINE, fence##COMBINE, slideDifferenceSums##SUFFIX,              \
        slideSignedDifferenceSums##SUFFIX, prefixSums##SUFFIX, mapWindowSums##SUFFIX, \
        weighRows##SUFFIX                                                             \
  }

RowStatistics statisticsBaseline(const std::uint8_t* s, int count) {
  return statisticsLoop(s, count);
}
void streamRowBaseline(const std::uint8_t* source, int count, std::uint8_t* out) {
  std::memcpy(out, source, static_cast<std::size_t>(count));
}
void fenceBaseline() {}
void prefixSumsBaseline(const std::int32_t* sums, int count, std::uint32_t* prefix) {
  prefixSumsLoop(sums, count, prefix);
}

VEMLA_DEFINE_COMBINES(Baseline, )
VEMLA_DEFINE_SLIDES(Baseline, )
VEMLA_DEFINE_IMAGE_KERNELS(Baseline, )
VEMLA_DEFINE_MAPPING(Baseline, )
VEMLA_IMAGE_KERNEL_TABLE(Baseline, Baseline);

#ifdef VEMLA_X86_DISPATCH

// Maximum and minimum of the bytes, and their sum with the sum-of-absolute-differences
// instruction against zero (64-bit partial sums).
VEMLA_TARGET_AVX2 RowStatistics statisticsAvx2(const std::uint8_t* s, int count) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i maximum = zero, minimum = _mm256_set1_epi8(-1), sum = zero;
  int i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    maximum = _mm256_max_epu8(maximum, v);
    minimum = _mm256_min_epu8(minimum, v);
    sum = _mm256_add_epi64(sum, _mm256_sad_epu8(v, zero));
  }
  // Halved down to one byte: upper and lower 128 bits, then 8, 4, 2 and 1 bytes.
  __m128i maximum16 =
      _mm_max_epu8(_mm256_castsi256_si128(maximum), _mm256_extracti128_si256(maximum, 1));
  __m128i minimum16 =
      _mm_min_epu8(_mm256_castsi256_si128(minimum), _mm256_extracti128_si256(minimum, 1));
  const __m128i sum16 =
      _mm_add_epi64(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
  maximum16 = _mm_max_epu8(maximum16, _mm_srli_si128(maximum16, 8));
  minimum16 = _mm_min_epu8(minimum16, _mm_srli_si128(minimum16, 8));
  maximum16 = _mm_max_epu8(maximum16, _mm_srli_si128(maximum16, 4));
  minimum16 = _mm_min_epu8(minimum16, _mm_srli_si128(minimum16, 4));
  maximum16 = _mm_max_epu8(maximum16, _mm_srli_si128(maximum16, 2));
  minimum16 = _mm_min_epu8(minimum16, _mm_srli_si128(minimum16, 2));
  maximum16 = _mm_max_epu8(maximum16, _mm_srli_si128(maximum16, 1));
  minimum16 = _mm_min_epu8(minimum16, _mm_srli_si128(minimum16, 1));
  RowStatistics statistics{_mm_cvtsi128_si32(maximum16) & 0xFF, _mm_cvtsi128_si32(minimum16) & 0xFF,
                           static_cast<std::uint64_t>(_mm_cvtsi128_si64(sum16)) +
                               static_cast<std::uint64_t>(_mm_extract_epi64(sum16, 1))};
  for (; i < count; ++i) {
    statistics.maximum = std::max<int>(statistics.maximum, s[i]);
    statistics.minimum = std::min<int>(statistics.minimum, s[i]);
    statistics.sum += s[i];
  }
  return statistics;
}

// Plain stores up to the first aligned vector, streaming stores, then plain stores again.
VEMLA_TARGET_AVX2 void streamRowAvx2(const std::uint8_t* source, int count, std::uint8_t* out) {
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
void fenceAvx2() {
  _mm_sfence();
}

// Running sums 8 (16) lanes at a time: each vector is summed within itself in three (four)
// shift-and-add steps and the total so far added to every lane.
VEMLA_TARGET_AVX2 void prefixSumsAvx2(const std::int32_t* sums, int count, std::uint32_t* prefix) {
  __m256i total = _mm256_setzero_si256();
  const __m256i last = _mm256_set1_epi32(7);
  prefix[0] = 0;
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums + i));
    x = _mm256_add_epi32(x, _mm256_slli_si256(x, 4));
    x = _mm256_add_epi32(x, _mm256_slli_si256(x, 8));
    // The lower half's total into every lane of the upper half.
    x = _mm256_add_epi32(x, _mm256_shuffle_epi32(_mm256_permute2x128_si256(x, x, 0x08), 0xFF));
    const __m256i own = _mm256_permutevar8x32_epi32(x, last);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(prefix + i + 1), _mm256_add_epi32(x, total));
    total = _mm256_add_epi32(total, own);
  }
  auto running = static_cast<std::uint32_t>(_mm256_cvtsi256_si32(total));
  for (; i < count; ++i) {
    running += static_cast<std::uint32_t>(sums[i]);
    prefix[i + 1] = running;
  }
}

// The zero-masked forms with a full mask: GCC 12's unmasked forms trip -Wmaybe-uninitialized.
VEMLA_TARGET_AVX512 void prefixSumsAvx512(const std::int32_t* sums, int count,
                                          std::uint32_t* prefix) {
  constexpr __mmask16 kAll = 0xFFFF;
  const __m512i zero = _mm512_setzero_si512();
  const __m512i last = _mm512_set1_epi32(15);
  __m512i total = zero;
  prefix[0] = 0;
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    __m512i x = _mm512_loadu_si512(sums + i);
    x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(kAll, x, zero, 15));  // lanes up by 1
    x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(kAll, x, zero, 14));  // by 2
    x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(kAll, x, zero, 12));  // by 4
    x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(kAll, x, zero, 8));   // by 8
    // The vector's own total is taken before the running total is added, which keeps the
    // permutation out of the chain from one vector to the next.
    const __m512i own = _mm512_maskz_permutexvar_epi32(kAll, last, x);
    _mm512_storeu_si512(prefix + i + 1, _mm512_add_epi32(x, total));
    total = _mm512_add_epi32(total, own);
  }
  auto running = static_cast<std::uint32_t>(_mm512_cvtsi512_si32(total));
  for (; i < count; ++i) {
    running += static_cast<std::uint32_t>(sums[i]);
    prefix[i + 1] = running;
  }
}

VEMLA_DEFINE_COMBINES(Avx2, VEMLA_TARGET_AVX2)
VEMLA_DEFINE_SLIDES(Avx2, VEMLA_TARGET_AVX2)
VEMLA_DEFINE_IMAGE_KERNELS(Avx2, VEMLA_TARGET_AVX2)
VEMLA_DEFINE_MAPPING(Avx2, VEMLA_TARGET_AVX2)
VEMLA_DEFINE_IMAGE_KERNELS(Avx512, VEMLA_TARGET_AVX512)

// The column sums 16 pixels at a time: the change of each column (entering minus leaving) in
// 16 bits, then widened to the 32-bit sums. The compiler's own loops mask and shuffle here.
VEMLA_TARGET_AVX2 __m128i load16(const std::uint8_t* a) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
}
VEMLA_TARGET_AVX2 __m256i absoluteDifferences16(const std::uint8_t* a, const std::uint8_t* b) {
  const __m128i x = load16(a), y = load16(b);
  return _mm256_cvtepu8_epi16(_mm_sub_epi8(_mm_max_epu8(x, y), _mm_min_epu8(x, y)));
}
VEMLA_TARGET_AVX2 __m256i signedDifferences16(const std::uint8_t* a, const std::uint8_t* b) {
  return _mm256_sub_epi16(_mm256_cvtepu8_epi16(load16(a)), _mm256_cvtepu8_epi16(load16(b)));
}
// The zero-masked form with a full mask, as above.
VEMLA_TARGET_AVX512 void addChanges(__m256i change, std::int32_t* sums) {
  _mm512_storeu_si512(sums, _mm512_add_epi32(_mm512_loadu_si512(sums),
                                             _mm512_maskz_cvtepi16_epi32(0xFFFF, change)));
}

// The window values 16 at a time, rounded as the plain loop rounds them (the values are never
// not-a-number, where min and max would differ from it). Zero-masked forms with full masks, as
// above.
VEMLA_TARGET_AVX512 void mapWindowSumsAvx512(const std::uint32_t* high, const std::uint32_t* low,
                                             int count, float scale, std::uint8_t* out) {
  constexpr __mmask16 kAll = 0xFFFF;
  const __m512 factor = _mm512_set1_ps(scale), half = _mm512_set1_ps(0.5f);
  const __m512 top = _mm512_set1_ps(255.0f), zero = _mm512_setzero_ps();
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m512i difference =
        _mm512_sub_epi32(_mm512_loadu_si512(high + i), _mm512_loadu_si512(low + i));
    const __m512 v = _mm512_maskz_cvtepi32_ps(kAll, _mm512_maskz_abs_epi32(kAll, difference));
    __m512 q = _mm512_maskz_mul_ps(kAll, v, factor);
    q = _mm512_maskz_add_ps(kAll, q, half);
    q = _mm512_maskz_max_ps(kAll, _mm512_maskz_min_ps(kAll, q, top), zero);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm512_maskz_cvtepi32_epi8(kAll, _mm512_maskz_cvttps_epi32(kAll, q)));
  }
  mapWindowSumsLoop(high + i, low + i, count - i, scale, out + i);
}

VEMLA_TARGET_AVX512 void slideDifferenceSumsAvx512(const std::uint8_t* in1, const std::uint8_t* in2,
                                                   const std::uint8_t* out1,
                                                   const std::uint8_t* out2, int count,
                                                   std::int32_t* sums) {
  int i = 0;
  if (out1 != nullptr) {
    for (; i + 16 <= count; i += 16) {
      const __m256i entering = absoluteDifferences16(in1 + i, in2 + i);
      const __m256i leaving = absoluteDifferences16(out1 + i, out2 + i);
      addChanges(_mm256_sub_epi16(entering, leaving), sums + i);
    }
  }
  slideDifferenceSumsLoop(in1 + i, in2 + i, out1 == nullptr ? nullptr : out1 + i,
                          out2 == nullptr ? nullptr : out2 + i, count - i, sums + i);
}

VEMLA_TARGET_AVX512 void slideSignedDifferenceSumsAvx512(const std::uint8_t* in1,
                                                         const std::uint8_t* in2,
                                                         const std::uint8_t* out1,
                                                         const std::uint8_t* out2, int count,
                                                         std::int32_t* sums) {
  int i = 0;
  if (out1 != nullptr) {
    for (; i + 16 <= count; i += 16) {
      const __m256i entering = signedDifferences16(in1 + i, in2 + i);
      const __m256i leaving = signedDifferences16(out1 + i, out2 + i);
      addChanges(_mm256_sub_epi16(entering, leaving), sums + i);
    }
  }
  slideSignedDifferenceSumsLoop(in1 + i, in2 + i, out1 == nullptr ? nullptr : out1 + i,
                                out2 == nullptr ? nullptr : out2 + i, count - i, sums + i);
}
VEMLA_IMAGE_KERNEL_TABLE(Avx2, Avx2);
VEMLA_IMAGE_KERNEL_TABLE(Avx512, Avx2);

#endif

}  // namespace

std::vector<const ImageKernels*> supportedImageKernels() {
  std::vector<const ImageKernels*> kernels{&kBaseline};
#ifdef VEMLA_X86_DISPATCH
  if (runsLevel(KernelLevel::Avx2)) kernels.push_back(&kAvx2);
  if (runsLevel(KernelLevel::Avx512)) kernels.push_back(&kAvx512);
#endif
  return kernels;
}

const ImageKernels& imageKernels() {
  static const ImageKernels* const best = supportedImageKernels().back();
  return *best;
}

}  // namespace vemla
