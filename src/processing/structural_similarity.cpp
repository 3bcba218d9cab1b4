#include "processing/structural_similarity.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "processing/compared_pixels.h"
#include "processing/cpu_dispatch.h"

// Every helper of a band is inlined into the band's variants, so that each variant compiles
// all of them for its instruction set.
#define VEMLA_INLINE inline __attribute__((always_inline))

namespace vemla {
namespace {

constexpr int kHalf = kSimilarityWindow / 2;
constexpr int kArea = kSimilarityWindow * kSimilarityWindow;  // N
constexpr double kRange = 255;
// With window sums Sa, Sb, Saa, Sbb, Sab of N pixels, the similarity
//   (2 ua ub + C1)(2 vab + C2) / ((ua^2 + ub^2 + C1)(va + vb + C2)),
// ua = Sa / N, va = (Saa - Sa^2 / N) / (N - 1), multiplied through by N^2 and N (N - 1), is
//   (2 Sa Sb + c1)(2 (N Sab - Sa Sb) + c2) / ((Sa^2 + Sb^2 + c1)(N (Saa + Sbb) - Sa^2 - Sb^2 + c2))
// with c1 = C1 N^2 and c2 = C2 N (N - 1): integers up to 2^29, exact in a double, and the two
// constants.
constexpr double kC1 = (0.01 * kRange) * (0.01 * kRange) * kArea * kArea;
constexpr double kC2 = (0.03 * kRange) * (0.03 * kRange) * kArea * (kArea - 1);

// The pair, the rectangle and where each band puts its rows' sums.
struct Band {
  const std::uint8_t *first, *second, *compared;
  std::size_t stride;  // the picture width
  int left, top;       // the rectangle's corner
  std::size_t columns, windows;
  double* rowSums;
  std::int64_t* rowCounts;

  const std::uint8_t* at(const std::uint8_t* plane, int y) const {
    return plane + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(left);
  }
};

// sums += in1 * in2 - out1 * out2, column by column.
VEMLA_INLINE void addProducts(const std::uint8_t* __restrict in1,
                              const std::uint8_t* __restrict in2,
                              const std::uint8_t* __restrict out1,
                              const std::uint8_t* __restrict out2, std::size_t columns,
                              std::int32_t* __restrict sums) {
  for (std::size_t x = 0; x < columns; ++x)
    sums[x] += std::int32_t{in1[x]} * in2[x] - std::int32_t{out1[x]} * out2[x];
}

// sums += in - out (or, for flags, whether in is set - whether out is set).
VEMLA_INLINE void addValues(const std::uint8_t* __restrict in, const std::uint8_t* __restrict out,
                            std::size_t columns, std::int32_t* __restrict sums) {
  for (std::size_t x = 0; x < columns; ++x) sums[x] += std::int32_t{in[x]} - out[x];
}
VEMLA_INLINE void addFlags(const std::uint8_t* __restrict in, const std::uint8_t* __restrict out,
                           std::size_t columns, std::int32_t* __restrict sums) {
  for (std::size_t x = 0; x < columns; ++x) sums[x] += (in[x] != 0) - (out[x] != 0);
}

// Seven neighbouring column sums: the window sums of the centres 0 .. windows - 1.
// `pairs` holds windows + 4 values.
VEMLA_INLINE void windowSums(const std::int32_t* __restrict c, std::size_t windows,
                             std::int32_t* __restrict pairs, std::int32_t* __restrict sums) {
  // Three additions of shifted rows (pairs, then fours, then sevens) rather than one of seven
  // loads, which the compiler would keep in registers one column at a time instead of
  // vectorising.
  for (std::size_t x = 0; x < windows + 4; ++x) pairs[x] = c[x] + c[x + 1];
  for (std::size_t x = 0; x < windows; ++x) sums[x] = pairs[x] + pairs[x + 2];
  for (std::size_t x = 0; x < windows; ++x) sums[x] += pairs[x + 4] + c[x + 6];
}

// The similarity of each centre from its window sums. The same operations in the same order in
// every variant (no fused multiply-add), so that each gives the same doubles.
VEMLA_INLINE void similarities(const std::int32_t* __restrict a, const std::int32_t* __restrict b,
                               const std::int32_t* __restrict aa, const std::int32_t* __restrict bb,
                               const std::int32_t* __restrict ab, std::size_t windows,
                               double* __restrict out) {
  for (std::size_t x = 0; x < windows; ++x) {
    const double sa = a[x], sb = b[x];
    const double product = sa * sb, squares = sa * sa + sb * sb;
    const double numerator = (2 * product + kC1) * (2 * (kArea * double(ab[x]) - product) + kC2);
    const double denominator =
        (squares + kC1) * (kArea * (double(aa[x]) + double(bb[x])) - squares + kC2);
    out[x] = numerator / denominator;
  }
}

// The centres of one strip: windows [from, from + windows) of the band's rows.
constexpr std::size_t kStripWindows = 512;

// The centre rows [begin, end), a strip of kStripWindows centres at a time so that the sums
// stay in the first-level cache: the column sums of a strip's first window are added up, then
// slid down a row at a time (the new row added, the old one taken away). Each row's sums are
// added strip after strip, always in the same order.
VEMLA_INLINE void similarityBand(const Band& band, int begin, int end) {
  const bool counted = band.compared != nullptr;
  const std::size_t most = std::min(kStripWindows, band.windows);
  const std::size_t mostColumns = most + 2 * kHalf;
  // Column sums of a, b, a², b², ab (and the compared flags), then their window sums.
  std::vector<std::int32_t> sums(6 * mostColumns), windowed(6 * most);
  std::int32_t* column[6];
  std::int32_t* window[6];
  for (std::size_t k = 0; k < 6; ++k) {
    column[k] = sums.data() + k * mostColumns;
    window[k] = windowed.data() + k * most;
  }
  std::vector<std::int32_t> pairs(most + 4);
  std::vector<double> values(most);
  const std::vector<std::uint8_t> zeros(mostColumns, 0);
  for (std::size_t from = 0; from < band.windows; from += kStripWindows) {
    const std::size_t windows = std::min(kStripWindows, band.windows - from);
    const std::size_t columns = windows + 2 * kHalf;
    std::fill(sums.begin(), sums.end(), 0);
    for (int r = begin; r < end; ++r) {
      const bool first = r == begin;
      for (int in = first ? r : r + kSimilarityWindow - 1; in < r + kSimilarityWindow; ++in) {
        const std::uint8_t* inA = band.at(band.first, band.top + in) + from;
        const std::uint8_t* inB = band.at(band.second, band.top + in) + from;
        const std::uint8_t* outA =
            first ? zeros.data() : band.at(band.first, band.top + r - 1) + from;
        const std::uint8_t* outB =
            first ? zeros.data() : band.at(band.second, band.top + r - 1) + from;
        addValues(inA, outA, columns, column[0]);
        addValues(inB, outB, columns, column[1]);
        addProducts(inA, inA, outA, outA, columns, column[2]);
        addProducts(inB, inB, outB, outB, columns, column[3]);
        addProducts(inA, inB, outA, outB, columns, column[4]);
        if (counted) {
          addFlags(band.at(band.compared, band.top + in) + from,
                   first ? zeros.data() : band.at(band.compared, band.top + r - 1) + from, columns,
                   column[5]);
        }
      }
      for (std::size_t k = 0; k < (counted ? 6u : 5u); ++k)
        windowSums(column[k], windows, pairs.data(), window[k]);
      similarities(window[0], window[1], window[2], window[3], window[4], windows, values.data());
      double sum = 0;
      std::int64_t count = 0;
      if (counted) {
        for (std::size_t x = 0; x < windows; ++x) {
          if (window[5][x] != kArea) continue;
          sum += values[x];
          ++count;
        }
      } else {
        // Four partial sums, so that each addition need not wait for the one before.
        double partial[4] = {0, 0, 0, 0};
        std::size_t x = 0;
        for (; x + 4 <= windows; x += 4) {
          for (std::size_t k = 0; k < 4; ++k) partial[k] += values[x + k];
        }
        for (; x < windows; ++x) partial[x % 4] += values[x];
        sum = (partial[0] + partial[1]) + (partial[2] + partial[3]);
        count = static_cast<std::int64_t>(windows);
      }
      band.rowSums[r] += sum;
      band.rowCounts[r] += count;
    }
  }
}

using BandFunction = void (*)(const Band&, int, int);

void bandBaseline(const Band& band, int begin, int end) {
  similarityBand(band, begin, end);
}

#ifdef VEMLA_X86_DISPATCH
VEMLA_TARGET_AVX2 void bandAvx2(const Band& band, int begin, int end) {
  similarityBand(band, begin, end);
}

BandFunction bandFunction() {
  static const BandFunction chosen = runsLevel(KernelLevel::Avx2) ? bandAvx2 : bandBaseline;
  return chosen;
}
#else
BandFunction bandFunction() {
  return bandBaseline;
}
#endif

}  // namespace

Similarity structuralSimilarity(const std::uint8_t* first, const std::uint8_t* second, int width,
                                int height, const Rect& valid, const std::uint8_t* compared,
                                const ParallelFor& parallel) {
  Similarity result;
  Rect box;
  if (first == nullptr || second == nullptr || !clipToPicture(valid, width, height, box))
    return result;
  const int columns = box.right - box.left + 1;
  const int centreRows = box.bottom - box.top + 1 - 2 * kHalf;
  const int centreColumns = columns - 2 * kHalf;
  if (centreRows <= 0 || centreColumns <= 0) return result;
  // Each row's similarity sum and window count, added in row order at the end so that the
  // result does not depend on how the rows were shared out.
  std::vector<double> rowSums(static_cast<std::size_t>(centreRows), 0.0);
  std::vector<std::int64_t> rowCounts(static_cast<std::size_t>(centreRows), 0);
  const Band band{first,
                  second,
                  compared,
                  static_cast<std::size_t>(width),
                  box.left,
                  box.top,
                  static_cast<std::size_t>(columns),
                  static_cast<std::size_t>(centreColumns),
                  rowSums.data(),
                  rowCounts.data()};
  const BandFunction run = bandFunction();
  const std::size_t work = band.windows * static_cast<std::size_t>(centreRows) * 8;
  parallel(centreRows, work, [&](int begin, int end) { run(band, begin, end); });
  result.windows = std::accumulate(rowCounts.begin(), rowCounts.end(), std::int64_t{0});
  if (result.windows > 0) {
    result.mean =
        std::accumulate(rowSums.begin(), rowSums.end(), 0.0) / static_cast<double>(result.windows);
  }
  return result;
}

}  // namespace vemla
