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

// The sums of one window column (7 rows) of every column of the rectangle.
struct ColumnSums {
  std::vector<std::int32_t> a, b, aa, bb, ab, count;

  explicit ColumnSums(std::size_t columns, bool counted)
      : a(columns), b(columns), aa(columns), bb(columns), ab(columns),
        count(counted ? columns : 0) {}

  // Adds (sign 1) or removes (sign -1) one row.
  void add(const std::uint8_t* rowA, const std::uint8_t* rowB, const std::uint8_t* rowCompared,
           int sign) {
    const std::size_t columns = a.size();
    for (std::size_t x = 0; x < columns; ++x) {
      const std::int32_t va = rowA[x], vb = rowB[x];
      a[x] += sign * va;
      b[x] += sign * vb;
      aa[x] += sign * va * va;
      bb[x] += sign * vb * vb;
      ab[x] += sign * va * vb;
    }
    if (rowCompared == nullptr) return;
    for (std::size_t x = 0; x < columns; ++x) count[x] += sign * (rowCompared[x] != 0 ? 1 : 0);
  }
};

// Seven neighbouring column sums added: the window sums of the centres 0 .. windows - 1.
void windowSums(const std::vector<std::int32_t>& columns, std::size_t windows,
                std::vector<std::int32_t>& sums) {
  const std::int32_t* c = columns.data();
  for (std::size_t x = 0; x < windows; ++x)
    sums[x] = c[x] + c[x + 1] + c[x + 2] + c[x + 3] + c[x + 4] + c[x + 5] + c[x + 6];
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
    const auto addRow = [&](int y, int sign) {
      sums.add(at(first, y), at(second, y), compared ? at(compared, y) : nullptr, sign);
    };
    // Centre row r lies at picture row box.top + kHalf + r; its window spans r .. r + 6.
    for (int y = box.top + begin; y < box.top + begin + kSimilarityWindow; ++y) addRow(y, 1);
    std::vector<std::int32_t> sa(windows), sb(windows), saa(windows), sbb(windows), sab(windows),
        count(compared ? windows : 0);
    for (int r = begin; r < end; ++r) {
      if (r > begin) {
        addRow(box.top + r - 1, -1);
        addRow(box.top + r + kSimilarityWindow - 1, 1);
      }
      windowSums(sums.a, windows, sa);
      windowSums(sums.b, windows, sb);
      windowSums(sums.aa, windows, saa);
      windowSums(sums.bb, windows, sbb);
      windowSums(sums.ab, windows, sab);
      if (compared) windowSums(sums.count, windows, count);
      double sum = 0;
      std::int64_t counted = 0;
      for (std::size_t x = 0; x < windows; ++x) {
        if (compared && count[x] != kArea) continue;
        const double a = sa[x], b = sb[x];
        const double ab = a * b, squares = a * a + b * b;
        const double numerator = (2 * ab + kC1) * (2 * (kArea * double(sab[x]) - ab) + kC2);
        const double denominator =
            (squares + kC1) * (kArea * (double(saa[x]) + double(sbb[x])) - squares + kC2);
        sum += numerator / denominator;
        ++counted;
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
