#include "processing/row_kernels.h"

#include <algorithm>
#include <cstdlib>

#include "processing/cpu_dispatch.h"

#ifdef VEMLA_X86_DISPATCH
#include <immintrin.h>
#endif

namespace vemla {
namespace {

// Plain loops written so that the compiler vectorises them; each is inlined into one function
// per instruction set below.
#define VEMLA_INLINE [[gnu::always_inline]] inline

VEMLA_INLINE void lerpHorizontalLoop(const std::uint8_t* s, int count, int q, int g,
                                     std::uint16_t* h) {
  if (g == 0) {
    for (int i = 0; i < count; ++i) h[i] = static_cast<std::uint16_t>(s[i] * q);
    return;
  }
  const auto wa = static_cast<std::uint16_t>(q - g);
  const auto wb = static_cast<std::uint16_t>(g);
  for (int i = 0; i < count; ++i) h[i] = static_cast<std::uint16_t>(wa * s[i] + wb * s[i + 1]);
}

VEMLA_INLINE void lerpVerticalLoop(const std::uint16_t* a, const std::uint16_t* b, int count, int q,
                                   int g, int shift, std::uint8_t* out) {
  const auto wa = static_cast<std::uint32_t>(q - g);
  const auto wb = static_cast<std::uint32_t>(g);
  for (int i = 0; i < count; ++i)
    out[i] = static_cast<std::uint8_t>((wa * a[i] + wb * b[i]) >> shift);
}

VEMLA_INLINE std::uint64_t lerpVerticalSadLoop(const std::uint16_t* a, const std::uint16_t* b,
                                               int count, int q, int g, int shift,
                                               const std::uint8_t* ref) {
  const auto wa = static_cast<std::uint32_t>(q - g);
  const auto wb = static_cast<std::uint32_t>(g);
  // A row sum stays below 4096 * 255 per 4096 pixels; sum in blocks to stay within 32 bits.
  std::uint64_t total = 0;
  for (int start = 0; start < count; start += 4096) {
    const int end = std::min(count, start + 4096);
    std::uint32_t sum = 0;
    for (int i = start; i < end; ++i) {
      const auto value = static_cast<std::int32_t>((wa * a[i] + wb * b[i]) >> shift);
      const std::int32_t difference = value - ref[i];
      sum += static_cast<std::uint32_t>(difference < 0 ? -difference : difference);
    }
    total += sum;
  }
  return total;
}

VEMLA_INLINE std::uint64_t sadLoop(const std::uint8_t* a, const std::uint8_t* b, int count) {
  std::uint64_t total = 0;
  for (int start = 0; start < count; start += 4096) {
    const int end = std::min(count, start + 4096);
    std::uint32_t sum = 0;
    for (int i = start; i < end; ++i) {
      const int difference = a[i] - b[i];
      sum += static_cast<std::uint32_t>(difference < 0 ? -difference : difference);
    }
    total += sum;
  }
  return total;
}

VEMLA_INLINE void cubicVerticalLoop(const std::uint8_t* r0, const std::uint8_t* r1,
                                    const std::uint8_t* r2, const std::uint8_t* r3, int count,
                                    const std::int32_t* w, std::int32_t* v) {
  const std::int32_t w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
  for (int i = 0; i < count; ++i) v[i] = w0 * r0[i] + w1 * r1[i] + w2 * r2[i] + w3 * r3[i];
}

VEMLA_INLINE void cubicHorizontalLoop(const std::int32_t* v, int count, const std::int32_t* w,
                                      std::uint8_t* out) {
  const std::int32_t w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
  for (int i = 0; i < count; ++i) {
    const std::int32_t sum = (w0 * v[i] + w1 * v[i + 1] + w2 * v[i + 2] + w3 * v[i + 3]) >> 20;
    out[i] = static_cast<std::uint8_t>(std::clamp(sum, 0, 255));
  }
}

VEMLA_INLINE void addRowLoop(const std::uint8_t* s, int count, std::int32_t* sums) {
  for (int i = 0; i < count; ++i) sums[i] += s[i];
}

// Defines the kernel functions of one instruction set with the given function attribute.
#define VEMLA_DEFINE_KERNELS(SUFFIX, ATTRIBUTE)                                                   \
  ATTRIBUTE void lerpHorizontal##SUFFIX(const std::uint8_t* s, int count, int q, int g,           \
                                        std::uint16_t* h) {                                       \
    lerpHorizontalLoop(s, count, q, g, h);                                                        \
  }                                                                                               \
  ATTRIBUTE void lerpVertical##SUFFIX(const std::uint16_t* a, const std::uint16_t* b, int count,  \
                                      int q, int g, int shift, std::uint8_t* out) {               \
    lerpVerticalLoop(a, b, count, q, g, shift, out);                                              \
  }                                                                                               \
  ATTRIBUTE std::uint64_t lerpVerticalSad##SUFFIX(const std::uint16_t* a, const std::uint16_t* b, \
                                                  int count, int q, int g, int shift,             \
                                                  const std::uint8_t* ref) {                      \
    return lerpVerticalSadLoop(a, b, count, q, g, shift, ref);                                    \
  }                                                                                               \
  ATTRIBUTE void cubicVertical##SUFFIX(const std::uint8_t* r0, const std::uint8_t* r1,            \
                                       const std::uint8_t* r2, const std::uint8_t* r3, int count, \
                                       const std::int32_t* w, std::int32_t* v) {                  \
    cubicVerticalLoop(r0, r1, r2, r3, count, w, v);                                               \
  }                                                                                               \
  ATTRIBUTE void cubicHorizontal##SUFFIX(const std::int32_t* v, int count, const std::int32_t* w, \
                                         std::uint8_t* out) {                                     \
    cubicHorizontalLoop(v, count, w, out);                                                        \
  }                                                                                               \
  ATTRIBUTE void addRow##SUFFIX(const std::uint8_t* s, int count, std::int32_t* sums) {           \
    addRowLoop(s, count, sums);                                                                   \
  }

VEMLA_DEFINE_KERNELS(Baseline, )

std::uint64_t sadBaseline(const std::uint8_t* a, const std::uint8_t* b, int count) {
  return sadLoop(a, b, count);
}

constexpr RowKernels kBaseline{
    KernelLevel::Baseline, lerpHorizontalBaseline, lerpVerticalBaseline,    lerpVerticalSadBaseline,
    sadBaseline,           cubicVerticalBaseline,  cubicHorizontalBaseline, addRowBaseline};

#ifdef VEMLA_X86_DISPATCH

VEMLA_DEFINE_KERNELS(Avx2, VEMLA_TARGET_AVX2)
VEMLA_DEFINE_KERNELS(Avx512, VEMLA_TARGET_AVX512)

// Sums of absolute differences with the byte SAD instruction, 32 or 64 bytes at a time.
VEMLA_TARGET_AVX2 std::uint64_t sadAvx2(const std::uint8_t* a, const std::uint8_t* b, int count) {
  __m256i sum = _mm256_setzero_si256();
  int i = 0;
  for (; i + 32 <= count; i += 32) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
    sum = _mm256_add_epi64(sum, _mm256_sad_epu8(x, y));
  }
  std::uint64_t total = static_cast<std::uint64_t>(_mm256_extract_epi64(sum, 0)) +
                        static_cast<std::uint64_t>(_mm256_extract_epi64(sum, 1)) +
                        static_cast<std::uint64_t>(_mm256_extract_epi64(sum, 2)) +
                        static_cast<std::uint64_t>(_mm256_extract_epi64(sum, 3));
  for (; i < count; ++i) total += static_cast<std::uint64_t>(std::abs(a[i] - b[i]));
  return total;
}

VEMLA_TARGET_AVX512 std::uint64_t sadAvx512(const std::uint8_t* a, const std::uint8_t* b,
                                            int count) {
  __m512i sum = _mm512_setzero_si512();
  int i = 0;
  for (; i + 64 <= count; i += 64) {
    const __m512i x = _mm512_loadu_si512(a + i);
    const __m512i y = _mm512_loadu_si512(b + i);
    sum = _mm512_add_epi64(sum, _mm512_sad_epu8(x, y));
  }
  if (i < count) {
    const __mmask64 mask = ~std::uint64_t{0} >> (64 - (count - i));
    const __m512i x = _mm512_maskz_loadu_epi8(mask, a + i);
    const __m512i y = _mm512_maskz_loadu_epi8(mask, b + i);
    sum = _mm512_add_epi64(sum, _mm512_sad_epu8(x, y));
  }
  // Summed through memory: GCC 12's _mm512_reduce_add_epi64 trips -Wuninitialized.
  alignas(64) std::uint64_t lanes[8];
  _mm512_store_si512(lanes, sum);
  std::uint64_t total = 0;
  for (const std::uint64_t lane : lanes) total += lane;
  return total;
}

constexpr RowKernels kAvx2{
    KernelLevel::Avx2, lerpHorizontalAvx2, lerpVerticalAvx2,    lerpVerticalSadAvx2,
    sadAvx2,           cubicVerticalAvx2,  cubicHorizontalAvx2, addRowAvx2};
constexpr RowKernels kAvx512{
    KernelLevel::Avx512, lerpHorizontalAvx512, lerpVerticalAvx512,    lerpVerticalSadAvx512,
    sadAvx512,           cubicVerticalAvx512,  cubicHorizontalAvx512, addRowAvx512};

#endif

}  // namespace

std::vector<const RowKernels*> supportedRowKernels() {
  std::vector<const RowKernels*> kernels{&kBaseline};
#ifdef VEMLA_X86_DISPATCH
  if (runsLevel(KernelLevel::Avx2)) kernels.push_back(&kAvx2);
  if (runsLevel(KernelLevel::Avx512)) kernels.push_back(&kAvx512);
#endif
  return kernels;
}

const RowKernels& rowKernels() {
  static const RowKernels* const best = supportedRowKernels().back();
  return *best;
}

}  // namespace vemla
