#include "editing/picture_edit_kernels.h"

#include <algorithm>
#include <cstring>

#include "processing/cpu_dispatch.h"

#ifdef VEMLA_X86_DISPATCH
#include <immintrin.h>
#endif

namespace vemla {
namespace {

// Eight pixels per load and store: the lookups then limit the pass, not the byte stores.
void mapSpanBaseline(std::uint8_t* pixels, int count, const std::uint8_t* table) {
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    std::uint64_t values = 0;
    std::memcpy(&values, pixels + i, 8);
    std::uint64_t mapped = 0;
    for (int k = 0; k < 8; ++k)
      mapped |= static_cast<std::uint64_t>(table[(values >> (8 * k)) & 0xFF]) << (8 * k);
    std::memcpy(pixels + i, &mapped, 8);
  }
  for (; i < count; ++i) pixels[i] = table[pixels[i]];
}

// Eight bytes at a time from both ends (byte-swapped words), the middle byte by byte.
void reverseBytesBaseline(std::uint8_t* bytes, int count) {
  std::uint8_t* low = bytes;
  std::uint8_t* high = bytes + count;
  while (high - low >= 16) {
    std::uint64_t left = 0, right = 0;
    std::memcpy(&left, low, 8);
    std::memcpy(&right, high - 8, 8);
    left = __builtin_bswap64(left);
    right = __builtin_bswap64(right);
    std::memcpy(low, &right, 8);
    std::memcpy(high - 8, &left, 8);
    low += 8;
    high -= 8;
  }
  std::reverse(low, high);
}

// The leading eight bytes of a trade places with the trailing eight of b, each reversed; the
// rest byte by byte (every pair a[k], b[count - 1 - k] is apart from every other pair).
void swapReversedBaseline(std::uint8_t* a, std::uint8_t* b, int count) {
  int k = 0;
  for (; k + 8 <= count; k += 8) {
    std::uint64_t left = 0, right = 0;
    std::memcpy(&left, a + k, 8);
    std::memcpy(&right, b + count - 8 - k, 8);
    left = __builtin_bswap64(left);
    right = __builtin_bswap64(right);
    std::memcpy(a + k, &right, 8);
    std::memcpy(b + count - 8 - k, &left, 8);
  }
  for (; k < count; ++k) std::swap(a[k], b[count - 1 - k]);
}

constexpr EditKernels kBaseline{"baseline",
                                mapSpanBaseline,
                                reverseBytesBaseline,
                                swapReversedBaseline,
                                nullptr,
                                nullptr,
                                nullptr,
                                nullptr,
                                0};

#ifdef VEMLA_X86_DISPATCH

// The tile transposes are written once and used by two kernels each: inlined, their sixteen
// registers stay registers.
#define VEMLA_INLINE inline __attribute__((always_inline))

// Reverses the 32 bytes of v.
VEMLA_TARGET_AVX2 inline __m256i reversed(__m256i v) {
  const __m256i mirror = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 15,
                                          14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(v, mirror), 0x4E);
}

VEMLA_TARGET_AVX2 void reverseBytesAvx2(std::uint8_t* bytes, int count) {
  std::uint8_t* low = bytes;
  std::uint8_t* high = bytes + count;
  while (high - low >= 64) {
    const __m256i left = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(low));
    const __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(high - 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(low), reversed(right));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(high - 32), reversed(left));
    low += 32;
    high -= 32;
  }
  reverseBytesBaseline(low, static_cast<int>(high - low));
}

VEMLA_TARGET_AVX2 void swapReversedAvx2(std::uint8_t* a, std::uint8_t* b, int count) {
  int k = 0;
  for (; k + 32 <= count; k += 32) {
    const __m256i left = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k));
    const __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + count - 32 - k));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + k), reversed(right));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(b + count - 32 - k), reversed(left));
  }
  // The pairs left form the middle of a and b: the same exchange on count - k bytes.
  swapReversedBaseline(a + k, b, count - k);
}

// 16 x 16 byte transposes, one per 128-bit lane: four rounds of interleaving neighbouring
// registers (bytes, words, double words, quad words). Afterwards register kRegisterOf[c] holds
// column c (the four bits of c mirrored).
constexpr int kRegisterOf[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};

#define VEMLA_INTERLEAVE(from, to, lo, hi)        \
  for (int k = 0; k < 8; ++k) {                   \
    to[k] = lo(from[2 * k], from[2 * k + 1]);     \
    to[k + 8] = hi(from[2 * k], from[2 * k + 1]); \
  }

VEMLA_TARGET_AVX2 VEMLA_INLINE void transposeLanes(__m256i (&x)[16]) {
  __m256i y[16];
  VEMLA_INTERLEAVE(x, y, _mm256_unpacklo_epi8, _mm256_unpackhi_epi8)
  VEMLA_INTERLEAVE(y, x, _mm256_unpacklo_epi16, _mm256_unpackhi_epi16)
  VEMLA_INTERLEAVE(x, y, _mm256_unpacklo_epi32, _mm256_unpackhi_epi32)
  VEMLA_INTERLEAVE(y, x, _mm256_unpacklo_epi64, _mm256_unpackhi_epi64)
}

// GCC 12's plain 32- and 64-bit unpacks, lane shuffles and lane extracts start from an undefined
// register and trip -Wuninitialized; the all-ones masked forms are the same instructions.
VEMLA_TARGET_AVX512 inline __m512i unpackLow32(__m512i a, __m512i b) {
  return _mm512_maskz_unpacklo_epi32(0xFFFF, a, b);
}
VEMLA_TARGET_AVX512 inline __m512i unpackHigh32(__m512i a, __m512i b) {
  return _mm512_maskz_unpackhi_epi32(0xFFFF, a, b);
}
VEMLA_TARGET_AVX512 inline __m512i unpackLow64(__m512i a, __m512i b) {
  return _mm512_maskz_unpacklo_epi64(0xFF, a, b);
}
VEMLA_TARGET_AVX512 inline __m512i unpackHigh64(__m512i a, __m512i b) {
  return _mm512_maskz_unpackhi_epi64(0xFF, a, b);
}
template <int pick>
VEMLA_TARGET_AVX512 inline __m512i shuffleLanes(__m512i a, __m512i b) {
  return _mm512_maskz_shuffle_i64x2(0xFF, a, b, pick);
}

template <int lane>
VEMLA_TARGET_AVX512 inline void storeLane(std::uint8_t* to, __m512i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm512_maskz_extracti32x4_epi32(0xF, v, lane));
}

VEMLA_TARGET_AVX512 VEMLA_INLINE void transposeLanes(__m512i (&x)[16]) {
  __m512i y[16];
  VEMLA_INTERLEAVE(x, y, _mm512_unpacklo_epi8, _mm512_unpackhi_epi8)
  VEMLA_INTERLEAVE(y, x, _mm512_unpacklo_epi16, _mm512_unpackhi_epi16)
  VEMLA_INTERLEAVE(x, y, unpackLow32, unpackHigh32)
  VEMLA_INTERLEAVE(y, x, unpackLow64, unpackHigh64)
}

VEMLA_TARGET_AVX2 void turnTileAvx2(const std::uint8_t* source, std::ptrdiff_t sourceStep,
                                    std::uint8_t* out, std::ptrdiff_t outStep) {
  __m256i x[16];
  for (int q = 0; q < 16; ++q)
    x[q] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + q * sourceStep));
  transposeLanes(x);
  for (int c = 0; c < 16; ++c) {
    const __m256i column = x[kRegisterOf[c]];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c * outStep), _mm256_castsi256_si128(column));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (16 + c) * outStep),
                     _mm256_extracti128_si256(column, 1));
  }
}

// Whole 64-byte source lines, so that no line is read twice.
VEMLA_TARGET_AVX512 void turnTileAvx512(const std::uint8_t* source, std::ptrdiff_t sourceStep,
                                        std::uint8_t* out, std::ptrdiff_t outStep) {
  __m512i x[16];
  for (int q = 0; q < 16; ++q) x[q] = _mm512_loadu_si512(source + q * sourceStep);
  transposeLanes(x);
  for (int c = 0; c < 16; ++c) {
    const __m512i column = x[kRegisterOf[c]];
    storeLane<0>(out + c * outStep, column);
    storeLane<1>(out + (16 + c) * outStep, column);
    storeLane<2>(out + (32 + c) * outStep, column);
    storeLane<3>(out + (48 + c) * outStep, column);
  }
}

// The grouped tiles store each transposed register whole: one store per output row instead of
// two or four 16-byte pieces, which limited the quarter turns more than the memory did.
// Streamed, whole lines go to memory without first being read into the cache.
VEMLA_TARGET_AVX2 void turnTileGroupedAvx2(const std::uint8_t* source, std::ptrdiff_t sourceStep,
                                           std::uint8_t* out, std::ptrdiff_t outStep, bool stream) {
  __m256i x[16];
  for (int q = 0; q < 16; ++q)
    x[q] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + q * sourceStep));
  transposeLanes(x);
  for (int c = 0; c < 16; ++c) {
    auto* row = reinterpret_cast<__m256i*>(out + c * outStep);
    if (stream)
      _mm256_stream_si256(row, x[kRegisterOf[c]]);
    else
      _mm256_storeu_si256(row, x[kRegisterOf[c]]);
  }
}

VEMLA_TARGET_AVX512 void turnTileGroupedAvx512(const std::uint8_t* source,
                                               std::ptrdiff_t sourceStep, std::uint8_t* out,
                                               std::ptrdiff_t outStep, bool stream) {
  __m512i x[16];
  for (int q = 0; q < 16; ++q) x[q] = _mm512_loadu_si512(source + q * sourceStep);
  transposeLanes(x);
  if (stream)
    for (int c = 0; c < 16; ++c)
      _mm512_stream_si512(reinterpret_cast<__m512i*>(out + c * outStep), x[kRegisterOf[c]]);
  else
    for (int c = 0; c < 16; ++c) _mm512_storeu_si512(out + c * outStep, x[kRegisterOf[c]]);
}

void fenceStreams() {
  _mm_sfence();
}

// A 2 x 2 transpose of 16-byte lanes per 32 bytes.
VEMLA_TARGET_AVX2 void ungroupAvx2(const std::uint8_t* from, std::ptrdiff_t fromStep,
                                   std::uint8_t* to, std::ptrdiff_t toStep, int spans) {
  const std::ptrdiff_t fromRow = 16 * fromStep, toRow = 16 * toStep;
  for (int k = 0; k < 32 * spans; k += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + k));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + fromRow + k));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + k), _mm256_permute2x128_si256(a, b, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + toRow + k),
                        _mm256_permute2x128_si256(a, b, 0x31));
  }
}

// A 4 x 4 transpose of 16-byte lanes per 64 bytes: pairs of lanes first, then single lanes.
VEMLA_TARGET_AVX512 void ungroupAvx512(const std::uint8_t* from, std::ptrdiff_t fromStep,
                                       std::uint8_t* to, std::ptrdiff_t toStep, int spans) {
  const std::ptrdiff_t fromRow = 16 * fromStep, toRow = 16 * toStep;
  for (int k = 0; k < 64 * spans; k += 64) {
    const __m512i a = _mm512_loadu_si512(from + k), b = _mm512_loadu_si512(from + fromRow + k);
    const __m512i c = _mm512_loadu_si512(from + 2 * fromRow + k);
    const __m512i d = _mm512_loadu_si512(from + 3 * fromRow + k);
    const __m512i abLow = shuffleLanes<0x44>(a, b), abHigh = shuffleLanes<0xEE>(a, b);
    const __m512i cdLow = shuffleLanes<0x44>(c, d), cdHigh = shuffleLanes<0xEE>(c, d);
    _mm512_storeu_si512(to + k, shuffleLanes<0x88>(abLow, cdLow));
    _mm512_storeu_si512(to + toRow + k, shuffleLanes<0xDD>(abLow, cdLow));
    _mm512_storeu_si512(to + 2 * toRow + k, shuffleLanes<0x88>(abHigh, cdHigh));
    _mm512_storeu_si512(to + 3 * toRow + k, shuffleLanes<0xDD>(abHigh, cdHigh));
  }
}

// A 256-entry byte table is four registers; each 7-bit index picks from the lower or the upper
// pair with one two-register permute, and bit 7 chooses between the two results.
VEMLA_TARGET_AVX512_VBMI inline __m512i mapped(__m512i v, const __m512i (&t)[4]) {
  const __m512i low = _mm512_permutex2var_epi8(t[0], v, t[1]);
  const __m512i high = _mm512_permutex2var_epi8(t[2], v, t[3]);
  return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
}

VEMLA_TARGET_AVX512_VBMI void mapSpanVbmi(std::uint8_t* pixels, int count,
                                          const std::uint8_t* table) {
  const __m512i t[4] = {_mm512_loadu_si512(table), _mm512_loadu_si512(table + 64),
                        _mm512_loadu_si512(table + 128), _mm512_loadu_si512(table + 192)};
  int i = 0;
  for (; i + 64 <= count; i += 64)
    _mm512_storeu_si512(pixels + i, mapped(_mm512_loadu_si512(pixels + i), t));
  if (i < count) {
    const __mmask64 mask = ~std::uint64_t{0} >> (64 - (count - i));
    _mm512_mask_storeu_epi8(pixels + i, mask, mapped(_mm512_maskz_loadu_epi8(mask, pixels + i), t));
  }
}

constexpr EditKernels kAvx2{"avx2",           mapSpanBaseline, reverseBytesAvx2,
                            swapReversedAvx2, turnTileAvx2,    turnTileGroupedAvx2,
                            fenceStreams,     ungroupAvx2,     2};
constexpr EditKernels kVbmi{"avx512vbmi",     mapSpanVbmi,    reverseBytesAvx2,
                            swapReversedAvx2, turnTileAvx512, turnTileGroupedAvx512,
                            fenceStreams,     ungroupAvx512,  4};

#endif

}  // namespace

std::vector<const EditKernels*> supportedEditKernels() {
  std::vector<const EditKernels*> kernels{&kBaseline};
#ifdef VEMLA_X86_DISPATCH
  if (runsLevel(KernelLevel::Avx2)) kernels.push_back(&kAvx2);
  if (runsLevel(KernelLevel::Avx512Vbmi)) kernels.push_back(&kVbmi);
#endif
  return kernels;
}

const EditKernels& editKernels() {
  static const EditKernels* const best = supportedEditKernels().back();
  return *best;
}

}  // namespace vemla
