#include "extensions/user_filter_kernels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

#ifdef VEMLA_X86_DISPATCH
#include <immintrin.h>
#endif

namespace vemla {
namespace {

// The filter sum and its division are carried out in extended precision.
using FilterReal = long double;

template <typename Real>
std::uint8_t greyFrom(Real value) {
  if (!(value > 0)) return 0;  // not-a-number too
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(value);
}

// The same for an extended-precision value, without the slow extended-to-integer conversion:
// the value rounded to double truncates to the right integer or to the one above it, which
// is then larger than the value.
template <>
std::uint8_t greyFrom(long double value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  int whole = static_cast<int>(static_cast<double>(value));
  if (static_cast<long double>(whole) > value) --whole;
  return static_cast<std::uint8_t>(whole);
}

// The power of two 2^scale that makes every weight an integer, and the largest sum of
// pixel x scaled weight products that can occur, when that stays below 2^53.
struct IntegerWeights {
  int scale;
  double largestSum;
};

std::optional<IntegerWeights> integerWeights(const std::vector<FilterWeight>& weights) {
  constexpr int kMaxScale = 30;
  constexpr double kDoubleExact = 9007199254740992.0;  // 2^53
  for (int scale = 0; scale <= kMaxScale; ++scale) {
    double total = 0;
    bool integral = true;
    for (const FilterWeight& weight : weights) {
      const double scaled = std::ldexp(weight.value, scale);
      if (!std::isfinite(scaled) || scaled != std::trunc(scaled)) {
        integral = false;
        break;
      }
      total += std::fabs(scaled);
    }
    if (integral) {
      if (total * 255 >= kDoubleExact) return std::nullopt;
      return IntegerWeights{scale, total * 255};
    }
  }
  return std::nullopt;
}

// Source rows converted once each to the type the sums are formed in. A filter spans at most
// nine rows, so row y can stay in slot y % 9 while it is needed.
template <typename T>
class ConvertedRows {
 public:
  ConvertedRows(const std::uint8_t* picture, int width)
      : picture_(picture),
        width_(static_cast<std::size_t>(width)),
        rows_(kFilterSide * width_),
        held_(kFilterSide, -1) {}

  const T* row(int y) {
    const auto slot = static_cast<std::size_t>(y % kFilterSide);
    T* out = rows_.data() + slot * width_;
    if (held_[slot] != y) {
      const std::uint8_t* in = picture_ + static_cast<std::size_t>(y) * width_;
      for (std::size_t i = 0; i < width_; ++i) out[i] = in[i];
      held_[slot] = y;
    }
    return out;
  }

 private:
  const std::uint8_t* picture_;
  std::size_t width_;
  std::vector<T> rows_;
  std::vector<int> held_;
};

struct FilterJob {
  const std::uint8_t* picture;
  int width;
  Rect computing;
  std::uint8_t* image;
  const RowProgress& progress;
  std::vector<FilterWeight> weights;  // the non-zero elements in row-major order
  bool divide;
  FilterReal divisor;
  const ParallelFor& parallel;

  int count() const { return computing.right - computing.left + 1; }
  // Where the row of `weight` starts for output row y, in converted rows of T.
  template <typename T>
  const T* source(ConvertedRows<T>& rows, int y, const FilterWeight& weight) const {
    return rows.row(y + weight.row - kFilterCentre) +
           (computing.left + weight.column - kFilterCentre);
  }
  std::uint8_t finish(FilterReal sum) const { return greyFrom(divide ? sum / divisor : sum); }
};

// The job's rows on its pool, each piece with its own copy of `worker` (its row buffers).
template <typename Worker>
void forEachRowShared(const FilterJob& job, const Worker& worker) {
  // A row of a filter costs about one multiply-add per weight and pixel.
  const std::size_t workPerPixel = std::max<std::size_t>(job.weights.size(), 1);
  forEachRowShared(job.computing, job.width, job.image, job.progress, job.parallel, workPerPixel,
                   [&] { return worker; });
}

// Integer weights (after scaling by a power of two): every product and every partial sum is
// an exact integer, in float below 2^24 and in double below 2^53, so the order of the
// additions does not matter and the sum equals the extended-precision sum.
template <typename T>
void filterExactly(const FilterJob& job, int scale) {
  std::vector<T> scaled;
  for (const FilterWeight& weight : job.weights)
    scaled.push_back(static_cast<T>(std::ldexp(weight.value, scale)));
  // The sum S is an integer and S / 2^scale is exact in double. Divided by a divisor d for
  // which D = d * 2^scale is an integer too, the double quotient S / D lies within
  // |S / D| * 2^-53 of the exact one while a non-integer S / D lies at least 1 / |D| from the
  // nearest integer, so with |S| < 2^53 it truncates to the same integer as the
  // extended-precision quotient. Other divisors divide in extended precision.
  const double unscale = std::ldexp(1.0, -scale);
  const FilterReal extendedUnscale = unscale;
  const double scaledDivisor =
      job.divide ? std::ldexp(static_cast<double>(job.divisor), scale) : 1.0;
  const bool divideInDouble =
      !job.divide || (std::isfinite(scaledDivisor) && scaledDivisor == std::trunc(scaledDivisor) &&
                      std::fabs(scaledDivisor) < 9007199254740992.0);
  const int count = job.count();
  forEachRowShared(job, [&, rows = ConvertedRows<T>(job.picture, job.width),
                         sums = std::vector<T>(static_cast<std::size_t>(count))](
                            int y, std::uint8_t* out) mutable {
    std::fill(sums.begin(), sums.end(), T{0});
    T* sum = sums.data();
    for (std::size_t k = 0; k < job.weights.size(); ++k) {
      const T* pixels = job.source(rows, y, job.weights[k]);
      const T weight = scaled[k];
      for (int i = 0; i < count; ++i) sum[i] += weight * pixels[i];
    }
    if (!job.divide) {
      for (int i = 0; i < count; ++i) out[i] = greyFrom(static_cast<double>(sum[i]) * unscale);
    } else if (divideInDouble) {
      for (int i = 0; i < count; ++i)
        out[i] = greyFrom(static_cast<double>(sum[i]) / scaledDivisor);
    } else {
      for (int i = 0; i < count; ++i)
        out[i] = job.finish(static_cast<FilterReal>(sum[i]) * extendedUnscale);
    }
  });
}

// Other weights (0.1, 0.333 …): the sum is rounded after every addition, so it is formed in
// extended precision, element by element in row-major order. Four pixels at a time keep four
// independent sums in registers.
void filterExtended(const FilterJob& job) {
  const std::size_t weightCount = job.weights.size();
  std::vector<FilterReal> weights;
  for (const FilterWeight& weight : job.weights) weights.push_back(weight.value);
  const int count = job.count();
  forEachRowShared(
      job, [&, rows = ConvertedRows<double>(job.picture, job.width),
            sources = std::vector<const double*>(weightCount)](int y, std::uint8_t* out) mutable {
        for (std::size_t k = 0; k < weightCount; ++k)
          sources[k] = job.source(rows, y, job.weights[k]);
        int i = 0;
        for (; i + 4 <= count; i += 4) {
          FilterReal sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
          for (std::size_t k = 0; k < weightCount; ++k) {
            const FilterReal weight = weights[k];
            const double* pixels = sources[k] + i;
            sum0 += weight * pixels[0];
            sum1 += weight * pixels[1];
            sum2 += weight * pixels[2];
            sum3 += weight * pixels[3];
          }
          out[i] = job.finish(sum0);
          out[i + 1] = job.finish(sum1);
          out[i + 2] = job.finish(sum2);
          out[i + 3] = job.finish(sum3);
        }
        for (; i < count; ++i) {
          FilterReal sum = 0;
          for (std::size_t k = 0; k < weightCount; ++k) sum += weights[k] * sources[k][i];
          out[i] = job.finish(sum);
        }
      });
}

// Decimal weights in double, checked against the extended-precision results.
//
// Let S = sum of w_k p_k be the exact sum over the n weights (n <= 81) and their pixels
// (0 .. 255), and A = 255 sum of |w_k| >= sum of |w_k p_k|. The extended-precision sum s_e forms
// every product exactly (53 + 8 bits fit its 64-bit significand) and rounds its additions; the
// double sum s_d rounds at most every product and every addition, in whatever order and with or
// without fused multiply-adds. With u = 2^-53 and u_e = 2^-64 the usual dot-product bounds give
// |s_d - S| <= g_n A and |s_e - S| <= g'_n A, where g_n = n u / (1 - n u) < 1.01 n u, so
// |s_d - s_e| < 1.02 n u A. A divisor d (d = 1 without one) rounds once more in each, by at most
// u |s_d / d| < 1.01 u A / |d| and u_e |s_e / d|, so the quotients differ by less than
// 1.02 (n + 1) u A / |d|. Forming q_d - E and q_d + E in double moves each end by at most
// u (|q_d| + E) < u (1.01 A / |d| + E). With
//     E = 2 (n + 2) u A / |d|
// both together stay below E (1.02 n + 2.03 + 2 (n + 2) u < 2 (n + 2); the few roundings in
// computing A and E themselves are far inside that margin), so the extended-precision quotient
// lies between the double values q_d - E and q_d + E. The truncation to a grey value is
// non-decreasing: where both ends give the same grey value, it is the extended-precision result;
// elsewhere the pixel is redone in extended precision exactly as filterExtended forms it.
// The bounds hold without underflow or overflow: with every weight 2^-500 <= |w| <= 2^500 and
// 2^-100 <= |d| <= 2^100, every double product and partial sum is a multiple of 2^-552 (a
// double below 2^-500 holding such a multiple exactly), every non-zero quotient exceeds 2^-652
// and A / |d| < 2^615. Other weights and divisors take filterExtended.
std::optional<double> doubleBound(const FilterJob& job) {
  double total = 0;
  for (const FilterWeight& weight : job.weights) {
    const double magnitude = std::fabs(weight.value);
    if (!(magnitude >= 0x1p-500 && magnitude <= 0x1p500)) return std::nullopt;
    total += magnitude;
  }
  double divisor = 1;
  if (job.divide) {
    divisor = std::fabs(static_cast<double>(job.divisor));
    if (!(divisor >= 0x1p-100 && divisor <= 0x1p100)) return std::nullopt;
  }
  const auto n = static_cast<double>(job.weights.size());
  return 2 * (n + 2) * 0x1p-53 * (255 * total) / divisor;
}

using DoubleRowKernel = int (*)(const DoubleFilterRow& row, int* open);

#define VEMLA_INLINE [[gnu::always_inline]] inline

VEMLA_INLINE void finishPixel(const DoubleFilterRow& row, double sum, int i, int* open,
                              int& opened) {
  const double quotient = row.divide ? sum / row.divisor : sum;
  const std::uint8_t low = greyFrom(quotient - row.bound);
  row.out[i] = low;
  if (greyFrom(quotient + row.bound) != low) open[opened++] = i;
}

VEMLA_INLINE void doublePixel(const DoubleFilterRow& row, int i, int* open, int& opened) {
  double sum = 0;
  for (std::size_t k = 0; k < row.weightCount; ++k) sum += row.weights[k] * row.sources[k][i];
  finishPixel(row, sum, i, open, opened);
}

int doubleRowBaseline(const DoubleFilterRow& row, int* open) {
  constexpr int kBlock = 8;
  int opened = 0;
  int i = 0;
  for (; i + kBlock <= row.count; i += kBlock) {
    double sums[kBlock] = {};
    for (std::size_t k = 0; k < row.weightCount; ++k) {
      const double weight = row.weights[k];
      const double* pixels = row.sources[k] + i;
      for (int j = 0; j < kBlock; ++j) sums[j] += weight * pixels[j];
    }
    for (int j = 0; j < kBlock; ++j) finishPixel(row, sums[j], i + j, open, opened);
  }
  for (; i < row.count; ++i) doublePixel(row, i, open, opened);
  return opened;
}

VEMLA_INLINE void addOpenLanes(unsigned differ, int at, int* open, int& opened) {
  for (; differ != 0; differ &= differ - 1) open[opened++] = at + std::countr_zero(differ);
}

#ifdef VEMLA_X86_DISPATCH

// Four pixels: the grey values of q - E and q + E, clamped to 0 .. 255 and truncated.
VEMLA_INLINE VEMLA_TARGET_AVX2 void finishAvx2(const DoubleFilterRow& row, __m256d sums, int at,
                                               int* open, int& opened) {
  const __m256d quotient = row.divide ? _mm256_div_pd(sums, _mm256_set1_pd(row.divisor)) : sums;
  const __m256d bound = _mm256_set1_pd(row.bound);
  const __m256d zero = _mm256_setzero_pd();
  const __m256d top = _mm256_set1_pd(255);
  const __m128i low =
      _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(_mm256_sub_pd(quotient, bound), zero), top));
  const __m128i high =
      _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(_mm256_add_pd(quotient, bound), zero), top));
  const __m128i words = _mm_packus_epi32(low, low);
  const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
  std::memcpy(row.out + at, &bytes, 4);
  const auto same =
      static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(low, high))));
  addOpenLanes(same ^ 15u, at, open, opened);
}

VEMLA_TARGET_AVX2 int doubleRowAvx2(const DoubleFilterRow& row, int* open) {
  int opened = 0;
  int i = 0;
  for (; i + 16 <= row.count; i += 16) {
    __m256d sum0 = _mm256_setzero_pd(), sum1 = sum0, sum2 = sum0, sum3 = sum0;
    for (std::size_t k = 0; k < row.weightCount; ++k) {
      const __m256d weight = _mm256_broadcast_sd(row.weights + k);
      const double* pixels = row.sources[k] + i;
      sum0 = _mm256_fmadd_pd(weight, _mm256_loadu_pd(pixels), sum0);
      sum1 = _mm256_fmadd_pd(weight, _mm256_loadu_pd(pixels + 4), sum1);
      sum2 = _mm256_fmadd_pd(weight, _mm256_loadu_pd(pixels + 8), sum2);
      sum3 = _mm256_fmadd_pd(weight, _mm256_loadu_pd(pixels + 12), sum3);
    }
    finishAvx2(row, sum0, i, open, opened);
    finishAvx2(row, sum1, i + 4, open, opened);
    finishAvx2(row, sum2, i + 8, open, opened);
    finishAvx2(row, sum3, i + 12, open, opened);
  }
  for (; i + 4 <= row.count; i += 4) {
    __m256d sum = _mm256_setzero_pd();
    for (std::size_t k = 0; k < row.weightCount; ++k) {
      sum = _mm256_fmadd_pd(_mm256_broadcast_sd(row.weights + k),
                            _mm256_loadu_pd(row.sources[k] + i), sum);
    }
    finishAvx2(row, sum, i, open, opened);
  }
  for (; i < row.count; ++i) doublePixel(row, i, open, opened);
  return opened;
}

// The lanes of `lanes` of eight pixels.
VEMLA_INLINE VEMLA_TARGET_AVX512 void finishAvx512(const DoubleFilterRow& row, __m512d sums, int at,
                                                   __mmask8 lanes, int* open, int& opened) {
  const __m512d quotient = row.divide ? _mm512_div_pd(sums, _mm512_set1_pd(row.divisor)) : sums;
  const __m512d bound = _mm512_set1_pd(row.bound);
  const __m512d zero = _mm512_setzero_pd();
  const __m512d top = _mm512_set1_pd(255);
  // The zero-masking forms: GCC 12 warns about the undefined vectors of the plain ones.
  const __m256i low = _mm512_maskz_cvttpd_epi32(
      lanes, _mm512_maskz_min_pd(
                 lanes, _mm512_maskz_max_pd(lanes, _mm512_sub_pd(quotient, bound), zero), top));
  const __m256i high = _mm512_maskz_cvttpd_epi32(
      lanes, _mm512_maskz_min_pd(
                 lanes, _mm512_maskz_max_pd(lanes, _mm512_add_pd(quotient, bound), zero), top));
  _mm256_mask_cvtepi32_storeu_epi8(row.out + at, lanes, low);
  addOpenLanes(_mm256_mask_cmpneq_epi32_mask(lanes, low, high), at, open, opened);
}

VEMLA_TARGET_AVX512 int doubleRowAvx512(const DoubleFilterRow& row, int* open) {
  constexpr __mmask8 kAll = 0xFF;
  int opened = 0;
  int i = 0;
  // Eight vectors of sums at a time keep the multiply-adds' latency covered.
  constexpr int kVectors = 8;
  for (; i + 8 * kVectors <= row.count; i += 8 * kVectors) {
    __m512d sums[kVectors];
    for (__m512d& sum : sums) sum = _mm512_setzero_pd();
    for (std::size_t k = 0; k < row.weightCount; ++k) {
      const __m512d weight = _mm512_set1_pd(row.weights[k]);
      const double* pixels = row.sources[k] + i;
      for (int v = 0; v < kVectors; ++v) {
        sums[v] = _mm512_fmadd_pd(weight, _mm512_loadu_pd(pixels + 8 * v), sums[v]);
      }
    }
    for (int v = 0; v < kVectors; ++v) finishAvx512(row, sums[v], i + 8 * v, kAll, open, opened);
  }
  // The rest eight at a time, the last with only its pixels loaded.
  for (; i < row.count; i += 8) {
    const int left = row.count - i;
    const auto lanes = left >= 8 ? kAll : static_cast<__mmask8>((1u << left) - 1);
    __m512d sum = _mm512_setzero_pd();
    for (std::size_t k = 0; k < row.weightCount; ++k) {
      sum = _mm512_fmadd_pd(_mm512_set1_pd(row.weights[k]),
                            _mm512_maskz_loadu_pd(lanes, row.sources[k] + i), sum);
    }
    finishAvx512(row, sum, i, lanes, open, opened);
  }
  return opened;
}

#endif

constexpr FilterKernels kBaseline{KernelLevel::Baseline, doubleRowBaseline};
#ifdef VEMLA_X86_DISPATCH
constexpr FilterKernels kAvx2{KernelLevel::Avx2, doubleRowAvx2};
constexpr FilterKernels kAvx512{KernelLevel::Avx512, doubleRowAvx512};
#endif

// The double rows of `arithmetic`: the fastest for Fastest, the baseline for a level this
// machine does not run.
DoubleRowKernel doubleRowKernel(FilterArithmetic arithmetic) {
  if (arithmetic == FilterArithmetic::Fastest) return filterKernels().doubleRow;
  const KernelLevel level = arithmetic == FilterArithmetic::DoubleAvx512 ? KernelLevel::Avx512
                            : arithmetic == FilterArithmetic::DoubleAvx2 ? KernelLevel::Avx2
                                                                         : KernelLevel::Baseline;
  for (const FilterKernels* kernels : supportedFilterKernels()) {
    if (kernels->level == level) return kernels->doubleRow;
  }
  return kBaseline.doubleRow;
}

// The columns a filter reads in one of its rows: the first and the last with a weight.
struct RowSpan {
  int row;
  int first;
  int last;
};

std::vector<RowSpan> rowSpans(const std::vector<FilterWeight>& weights) {
  std::vector<RowSpan> spans;
  for (const FilterWeight& weight : weights) {  // row-major
    if (spans.empty() || spans.back().row != weight.row) {
      spans.push_back({weight.row, weight.column, weight.column});
    }
    spans.back().last = weight.column;
  }
  return spans;
}

// same[i] for 1 <= i < count (pixels of output row y) = 1 when pixel i reads the same source
// pixels as pixel i - 1: when each source row is constant from the column before its first
// weight to its last weight.
void markRepeats(const FilterJob& job, const std::vector<RowSpan>& spans, int y,
                 std::uint8_t* same) {
  const int count = job.count();
  std::fill(same, same + count, std::uint8_t{1});
  for (const RowSpan& span : spans) {
    const std::uint8_t* row = job.picture +
                              static_cast<std::size_t>(y + span.row - kFilterCentre) *
                                  static_cast<std::size_t>(job.width) +
                              (job.computing.left + span.first - kFilterCentre);
    for (int j = 0; j <= span.last - span.first; ++j) {
      const std::uint8_t* at = row + j;
      for (int i = 1; i < count; ++i) same[i] &= static_cast<std::uint8_t>(at[i] == at[i - 1]);
    }
  }
}

// Redoes the pixels at `open` (increasing) in extended precision exactly as filterExtended forms
// them, four at a time. With `same` (markRepeats), an open pixel that reads the same source
// pixels as the open pixel before it has the same sum and takes that pixel's value (`copied`
// collects them): flat areas, where box weights put the quotients at integers, are redone once
// per run.
void redoExtended(const FilterJob& job, const std::vector<FilterReal>& weights,
                  const double* const* sources, int* open, int opened, const std::uint8_t* same,
                  int* copied, std::uint8_t* out) {
  const std::size_t weightCount = weights.size();
  int computed = 0, copies = 0, previous = -2;
  for (int j = 0; j < opened; ++j) {
    const int i = open[j];
    if (same != nullptr && previous == i - 1 && same[i] != 0) {
      copied[copies++] = i;
    } else {
      open[computed++] = i;
    }
    previous = i;
  }
  int j = 0;
  for (; j + 4 <= computed; j += 4) {
    const int i0 = open[j], i1 = open[j + 1], i2 = open[j + 2], i3 = open[j + 3];
    FilterReal sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
    for (std::size_t k = 0; k < weightCount; ++k) {
      const FilterReal weight = weights[k];
      const double* pixels = sources[k];
      sum0 += weight * pixels[i0];
      sum1 += weight * pixels[i1];
      sum2 += weight * pixels[i2];
      sum3 += weight * pixels[i3];
    }
    out[i0] = job.finish(sum0);
    out[i1] = job.finish(sum1);
    out[i2] = job.finish(sum2);
    out[i3] = job.finish(sum3);
  }
  for (; j < computed; ++j) {
    const int i = open[j];
    FilterReal sum = 0;
    for (std::size_t k = 0; k < weightCount; ++k) sum += weights[k] * sources[k][i];
    out[i] = job.finish(sum);
  }
  for (j = 0; j < copies; ++j) out[copied[j]] = out[copied[j] - 1];
}

void filterInDouble(const FilterJob& job, double bound, DoubleRowKernel kernel) {
  const std::size_t weightCount = job.weights.size();
  std::vector<double> weights;
  std::vector<FilterReal> extendedWeights;
  for (const FilterWeight& weight : job.weights) {
    weights.push_back(weight.value);
    extendedWeights.push_back(weight.value);
  }
  const int count = job.count();
  const auto length = static_cast<std::size_t>(count);
  const std::vector<RowSpan> spans = rowSpans(job.weights);
  forEachRowShared(
      job, [&, rows = ConvertedRows<double>(job.picture, job.width),
            sources = std::vector<const double*>(weightCount), open = std::vector<int>(length),
            copied = std::vector<int>(length),
            same = std::vector<std::uint8_t>(length)](int y, std::uint8_t* out) mutable {
        for (std::size_t k = 0; k < weightCount; ++k)
          sources[k] = job.source(rows, y, job.weights[k]);
        const DoubleFilterRow row{sources.data(), weights.data(),
                                  weightCount,    count,
                                  job.divide,     static_cast<double>(job.divisor),
                                  bound,          out};
        const int opened = kernel(row, open.data());
        // Marking the repeats costs about as much as redoing a sixteenth of the row.
        const bool many = opened > 0 && opened >= count / 16;
        if (many) markRepeats(job, spans, y, same.data());
        redoExtended(job, extendedWeights, sources.data(), open.data(), opened,
                     many ? same.data() : nullptr, copied.data(), out);
      });
}

}  // namespace

std::vector<const FilterKernels*> supportedFilterKernels() {
  std::vector<const FilterKernels*> kernels{&kBaseline};
#ifdef VEMLA_X86_DISPATCH
  if (runsLevel(KernelLevel::Avx2)) kernels.push_back(&kAvx2);
  if (runsLevel(KernelLevel::Avx512)) kernels.push_back(&kAvx512);
#endif
  return kernels;
}

const FilterKernels& filterKernels() {
  static const FilterKernels* const best = supportedFilterKernels().back();
  return *best;
}

bool runsFilterArithmetic(FilterArithmetic arithmetic) {
  switch (arithmetic) {
    case FilterArithmetic::Fastest:
    case FilterArithmetic::DoubleBaseline:
    case FilterArithmetic::Extended:
      return true;
    case FilterArithmetic::DoubleAvx2:
      return runsLevel(KernelLevel::Avx2);
    case FilterArithmetic::DoubleAvx512:
      return runsLevel(KernelLevel::Avx512);
  }
  return false;
}

void applyFilterWeights(const std::vector<FilterWeight>& weights, double divisor,
                        const std::uint8_t* picture, int width, const Rect& computing,
                        std::uint8_t* image, const RowProgress& progress,
                        const ParallelFor& parallel, FilterArithmetic arithmetic) {
  if (isEmpty(computing)) return;
  const FilterJob job{picture,      width,   computing, image, progress, weights,
                      divisor != 0,  // a divisor of 0: no division
                      divisor,      parallel};
  constexpr double kFloatExact = 16777216.0;  // 2^24
  if (const std::optional<IntegerWeights> integer = integerWeights(job.weights)) {
    if (integer->largestSum < kFloatExact) {
      filterExactly<float>(job, integer->scale);
    } else {
      filterExactly<double>(job, integer->scale);
    }
  } else if (const std::optional<double> bound = doubleBound(job);
             bound && arithmetic != FilterArithmetic::Extended) {
    filterInDouble(job, *bound, doubleRowKernel(arithmetic));
  } else {
    filterExtended(job);
  }
}

}  // namespace vemla
