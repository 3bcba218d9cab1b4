#include "processing/structural_similarity.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "processing/compared_pixels.h"

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

// Adds row `in` to the column sums and takes row `out` away.
// One sum per call, so that each loop keeps to two input rows and one output array.
void addSquares(const std::uint8_t* __restrict inA, const std::uint8_t* __restrict inB,
                const std::uint8_t* __restrict outA, const std::uint8_t* __restrict outB,
                std::size_t columns, std::int32_t* __restrict sums) {
  for (std::size_t x = 0; x < columns; ++x) {
    sums[x] += std::int32_t{inA[x]} * inB[x] - std::int32_t{outA[x]} * outB[x];
  }
}

void addValues(const std::uint8_t* __restrict in, const std::uint8_t* __restrict out,
               std::size_t columns, std::int32_t* __restrict sums) {
  for (std::size_t x = 0; x < columns; ++x)
    sums[x] += std::int32_t{in[x]} - std::int32_t{out[x]};
}

void addFlags(const std::uint8_t* __restrict in, const std::uint8_t* __restrict out,
              std::size_t columns, std::int32_t* __restrict sums) {
  for (std::size_t x = 0; x < columns; ++x)
    sums[x] += (in[x] != 0 ? 1 : 0) - (out[x] != 0 ? 1 : 0);
}

// The sums of one window column (7 rows) of every column of the rectangle.
struct ColumnSums {
  std::vector<std::int32_t> a, b, aa, bb, ab, count;

  explicit ColumnSums(std::size_t columns, bool counted)
      : a(columns), b(columns), aa(columns), bb(columns), ab(columns),
        count(counted ? columns : 0) {}

  // Adds the rows `in` of both pictures (and of the flags, when counted) and takes the rows
  // `out` away.
  void add(const std::uint8_t* inA, const std::uint8_t* inB, const std::uint8_t* inFlags,
           const std::uint8_t* outA, const std::uint8_t* outB, const std::uint8_t* outFlags) {
    const std::size_t columns = a.size();
    addValues(inA, outA, columns, a.data());
    addValues(inB, outB, columns, b.data());
    addSquares(inA, inA, outA, outA, columns, aa.data());
    addSquares(inB, inB, outB, outB, columns, bb.data());
    addSquares(inA, inB, outA, outB, columns, ab.data());
    if (!count.empty()) addFlags(inFlags, outFlags, columns, count.data());
  }
};

// Seven neighbouring column sums added: the window sums of the centres 0 .. windows - 1.
void windowSums(const std::vector<std::int32_t>& columns, std::size_t windows,
                std::vector<std::int32_t>& sums) {
  const std::int32_t* __restrict c = columns.data();
  std::int32_t* __restrict out = sums.data();
  for (std::size_t x = 0; x < windows; ++x)
    out[x] = c[x] + c[x + 1] + c[x + 2] + c[x + 3] + c[x + 4] + c[x + 5] + c[x + 6];
}

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
  const auto at = [&](const std::uint8_t* plane, int y) {
    return plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + box.left;
  };
  const std::size_t windows = static_cast<std::size_t>(centreColumns);
  // Each row's similarity sum and window count, added in row order at the end so that the
  // result does not depend on how the rows were shared out.
  std::vector<double> rowSums(static_cast<std::size_t>(centreRows), 0.0);
  std::vector<std::int64_t> rowCounts(static_cast<std::size_t>(centreRows), 0);
  const std::size_t work = windows * static_cast<std::size_t>(centreRows) * 8;
  parallel(centreRows, work, [&](int begin, int end) {
    ColumnSums sums(static_cast<std::size_t>(columns), compared != nullptr);
    const auto flags = [&](int y) { return compared ? at(compared, y) : nullptr; };
    // Centre row r lies at picture row box.top + kHalf + r; its window spans r .. r + 6.
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(columns), 0);
    for (int y = box.top + begin; y < box.top + begin + kSimilarityWindow; ++y)
      sums.add(at(first, y), at(second, y), flags(y), zeros.data(), zeros.data(), zeros.data());
    std::vector<std::int32_t> sa(windows), sb(windows), saa(windows), sbb(windows), sab(windows),
        count(compared ? windows : 0);
    std::vector<double> similarities(windows);
    for (int r = begin; r < end; ++r) {
      if (r > begin) {
        const int in = box.top + r + kSimilarityWindow - 1, out = box.top + r - 1;
        sums.add(at(first, in), at(second, in), flags(in), at(first, out), at(second, out),
                 flags(out));
      }
      windowSums(sums.a, windows, sa);
      windowSums(sums.b, windows, sb);
      windowSums(sums.aa, windows, saa);
      windowSums(sums.bb, windows, sbb);
      windowSums(sums.ab, windows, sab);
      if (compared) windowSums(sums.count, windows, count);
      for (std::size_t x = 0; x < windows; ++x) {
        const double a = sa[x], b = sb[x];
        const double ab = a * b, squares = a * a + b * b;
        const double numerator = (2 * ab + kC1) * (2 * (kArea * double(sab[x]) - ab) + kC2);
        const double denominator =
            (squares + kC1) * (kArea * (double(saa[x]) + double(sbb[x])) - squares + kC2);
        similarities[x] = numerator / denominator;
      }
      double sum = 0;
      std::int64_t counted = 0;
      if (compared) {
        for (std::size_t x = 0; x < windows; ++x) {
          if (count[x] != kArea) continue;
          sum += similarities[x];
          ++counted;
        }
      } else {
        // Four partial sums, so that each addition need not wait for the one before.
        double partial[4] = {0, 0, 0, 0};
        std::size_t x = 0;
        for (; x + 4 <= windows; x += 4) {
          for (std::size_t k = 0; k < 4; ++k) partial[k] += similarities[x + k];
        }
        for (; x < windows; ++x) partial[x % 4] += similarities[x];
        sum = (partial[0] + partial[1]) + (partial[2] + partial[3]);
        counted = static_cast<std::int64_t>(windows);
      }
      rowSums[static_cast<std::size_t>(r)] = sum;
      rowCounts[static_cast<std::size_t>(r)] = counted;
    }
  });
  result.windows = std::accumulate(rowCounts.begin(), rowCounts.end(), std::int64_t{0});
  if (result.windows > 0) {
    result.mean = std::accumulate(rowSums.begin(), rowSums.end(), 0.0) /
                  static_cast<double>(result.windows);
  }
  return result;
}

}  // namespace vemla
