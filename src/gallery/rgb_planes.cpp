#include "gallery/rgb_planes.h"

#include "processing/cpu_dispatch.h"

#ifdef VEMLA_X86_DISPATCH
#include <immintrin.h>
#endif

namespace vemla {
namespace {

void interleaveScalar(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                      std::size_t pixels, std::uint8_t* out) {
  for (std::size_t k = 0; k < pixels; ++k) {
    out[3 * k] = blue[k];
    out[3 * k + 1] = green[k];
    out[3 * k + 2] = red[k];
  }
}

#ifdef VEMLA_X86_DISPATCH
// Sixteen pixels a step: each of the three 16-byte output blocks gathers its bytes from the
// three planes with one byte shuffle per plane (-128 selects zero).
VEMLA_TARGET_SSSE3 std::size_t interleaveSsse3(const std::uint8_t* red, const std::uint8_t* green,
                                               const std::uint8_t* blue, std::size_t pixels,
                                               std::uint8_t* out) {
  const __m128i b0 =
      _mm_setr_epi8(0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128, -128, 4, -128, -128, 5);
  const __m128i g0 = _mm_setr_epi8(-128, 0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128, -128,
                                   4, -128, -128);
  const __m128i r0 = _mm_setr_epi8(-128, -128, 0, -128, -128, 1, -128, -128, 2, -128, -128, 3, -128,
                                   -128, 4, -128);
  const __m128i b1 = _mm_setr_epi8(-128, -128, 6, -128, -128, 7, -128, -128, 8, -128, -128, 9, -128,
                                   -128, 10, -128);
  const __m128i g1 =
      _mm_setr_epi8(5, -128, -128, 6, -128, -128, 7, -128, -128, 8, -128, -128, 9, -128, -128, 10);
  const __m128i r1 = _mm_setr_epi8(-128, 5, -128, -128, 6, -128, -128, 7, -128, -128, 8, -128, -128,
                                   9, -128, -128);
  const __m128i b2 = _mm_setr_epi8(-128, 11, -128, -128, 12, -128, -128, 13, -128, -128, 14, -128,
                                   -128, 15, -128, -128);
  const __m128i g2 = _mm_setr_epi8(-128, -128, 11, -128, -128, 12, -128, -128, 13, -128, -128, 14,
                                   -128, -128, 15, -128);
  const __m128i r2 = _mm_setr_epi8(10, -128, -128, 11, -128, -128, 12, -128, -128, 13, -128, -128,
                                   14, -128, -128, 15);
  std::size_t k = 0;
  for (; k + 16 <= pixels; k += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blue + k));
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(green + k));
    const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(red + k));
    auto* to = reinterpret_cast<__m128i*>(out + 3 * k);
    _mm_storeu_si128(to,
                     _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(b, b0), _mm_shuffle_epi8(g, g0)),
                                  _mm_shuffle_epi8(r, r0)));
    _mm_storeu_si128(to + 1,
                     _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(b, b1), _mm_shuffle_epi8(g, g1)),
                                  _mm_shuffle_epi8(r, r1)));
    _mm_storeu_si128(to + 2,
                     _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(b, b2), _mm_shuffle_epi8(g, g2)),
                                  _mm_shuffle_epi8(r, r2)));
  }
  return k;
}
#endif

}  // namespace

void interleaveRgbPlanes(const std::uint8_t* red, const std::uint8_t* green,
                         const std::uint8_t* blue, std::size_t pixels, std::uint8_t* out) {
  std::size_t done = 0;
#ifdef VEMLA_X86_DISPATCH
  if (runsLevel(KernelLevel::Ssse3)) done = interleaveSsse3(red, green, blue, pixels, out);
#endif
  interleaveScalar(red + done, green + done, blue + done, pixels - done, out + 3 * done);
}

}  // namespace vemla
