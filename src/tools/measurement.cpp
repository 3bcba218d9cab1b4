#include "tools/measurement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/scanline_fill.h"

namespace vemla::tools {
namespace {

int difference(const std::uint8_t* line, int i) {
  return std::abs(line[i - 1] - line[i + 1]);
}

// The search of one edge over positions first, first + step, … while `inside`: the peak
// position, or none.
template <typename Inside>
std::optional<int> edgePeak(const std::uint8_t* line, int first, int step, int level,
                            Inside inside) {
  std::optional<int> peak;
  int peakValue = 0;
  for (int i = first; inside(i); i += step) {
    const int d = difference(line, i);
    if (!peak) {
      if (d >= level) {
        peak = i;
        peakValue = d;
      }
    } else if (d > peakValue) {
      peak = i;
      peakValue = d;
    } else {
      return peak;
    }
  }
  return std::nullopt;
}

int subPixelEdge(const std::uint8_t* line, int peak) {
  const int value = difference(line, peak);
  const int dropLeft = value - difference(line, peak - 1);
  const int dropRight = value - difference(line, peak + 1);
  int sum = dropLeft + dropRight;
  if (sum <= 0) sum = 1;
  return 255 * peak + 255 * dropLeft / sum;
}

// The pixels from..to of row y (clipped to the view) whose value lies in lower..upper. A row
// holds at most 512 values, so its sums fit 32 bits (Σg·x <= 255 x 130816); they are added to
// the 64-bit totals once per row. Written without branches so that it vectorises; on x86-64 a
// copy for AVX2 (whose 32-bit multiplies SSE2 lacks) is chosen at load time.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target_clones("avx2", "default")))
#endif
void addRun(AreaSums& sums, const std::uint8_t* view, int y, int from, int to, int lower,
            int upper) {
  from = std::max(from, 0);
  to = std::min(to, kMeasureViewSize - 1);
  if (from > to) return;
  const std::uint8_t* row = view + static_cast<std::ptrdiff_t>(y) * kMeasureViewSize;
  const auto low = static_cast<std::uint32_t>(std::clamp(lower, 0, 256));
  const auto high = static_cast<std::uint32_t>(std::clamp(upper, -1, 255) + 1);
  std::uint32_t count = 0, sum = 0, sumX = 0;
  for (int x = from; x <= to; ++x) {
    const std::uint32_t g = row[x];
    const std::uint32_t inside =
        static_cast<std::uint32_t>(g >= low) & static_cast<std::uint32_t>(g < high);
    const std::uint32_t weight = g * inside;
    count += inside;
    sum += weight;
    sumX += weight * static_cast<std::uint32_t>(x);
  }
  sums.count += count;
  sums.sum += sum;
  sums.sumX += sumX;
  sums.sumY += static_cast<std::int64_t>(sum) * y;
}

}  // namespace

double manualLength(ViewPoint from, ViewPoint to, double pixelSizeX, double pixelSizeY,
                    double scale) {
  const double dx = (to.x - from.x) * pixelSizeX, dy = (to.y - from.y) * pixelSizeY;
  return std::sqrt(dy * dy + dx * dx) * scale;
}

std::optional<Edges> findEdges(const std::uint8_t* line, int count, int at, int level) {
  if (count < 5 || at < 0 || at >= count) return std::nullopt;
  // The left search starts where D and the drop after it still read inside the line.
  const auto left =
      edgePeak(line, std::min(at, count - 3), -1, level, [](int i) { return i >= 2; });
  const auto right = edgePeak(line, at + 1, 1, level, [count](int i) { return i < count - 2; });
  if (!left || !right) return std::nullopt;
  const Edges edges{subPixelEdge(line, *left), subPixelEdge(line, *right)};
  if (edges.left > edges.right) return std::nullopt;
  return edges;
}

double edgeLength(const Edges& edges, double pixelSize) {
  return (edges.right - edges.left + 1) * pixelSize / 255.0;
}

AreaSums rectangleSums(const std::uint8_t* view, ViewPoint a, ViewPoint b, int lower, int upper) {
  AreaSums sums;
  const int top = std::max(std::min(a.y, b.y), 0);
  const int bottom = std::min(std::max(a.y, b.y), kMeasureViewSize - 1);
  for (int y = top; y <= bottom; ++y) {
    addRun(sums, view, y, std::min(a.x, b.x), std::max(a.x, b.x), lower, upper);
  }
  return sums;
}

AreaSums polygonSums(const std::uint8_t* view, const std::vector<ViewPoint>& vertices, int lower,
                     int upper) {
  AreaSums sums;
  PolygonFillWork work;
  forEachPolygonRun(vertices.data(), vertices.size(), 0, kMeasureViewSize - 1, work,
                    [&](int y, int from, int to) { addRun(sums, view, y, from, to, lower, upper); });
  return sums;
}

AreaResult areaResult(const AreaSums& sums, VolumeBase base, int lower, int upper,
                      const PaneScale& pane, double pixelSizeX, double pixelSizeY) {
  AreaResult result;
  const double m = pane.magnification, squared = m * m;
  result.area = static_cast<double>(sums.count) * pixelSizeX * pixelSizeY / squared;
  std::int64_t volume = sums.sum;
  switch (base) {
    case VolumeBase::Zero:
      break;
    case VolumeBase::Full:
      volume = sums.count * 255 - sums.sum;
      break;
    case VolumeBase::Lower:
      volume = sums.sum - sums.count * lower;
      break;
    case VolumeBase::Upper:
      volume = sums.count * upper - sums.sum;
      break;
  }
  result.volume = static_cast<std::int64_t>(static_cast<double>(volume) / squared + 0.5);
  if (sums.sum > 0) {
    const double meanX = static_cast<double>(sums.sumX) / static_cast<double>(sums.sum);
    const double meanY = static_cast<double>(sums.sumY) / static_cast<double>(sums.sum);
    // Pane pixel u lies in picture cell origin + u div m; a cell's centre is its position.
    result.centroidX = (pane.originX + (meanX - (m - 1) / 2) / m) * pixelSizeX;
    result.centroidY = (pane.originY + (meanY - (m - 1) / 2) / m) * pixelSizeY;
  }
  return result;
}

}  // namespace vemla::tools
