#include "tools/measurement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
  if (vertices.size() < 3) return sums;
  // The edges that are not horizontal, each from its upper end to its lower one, in the order
  // of their first row; a row scans only the edges that reach it.
  struct Edge {
    ViewPoint start, end;
    int direction;
  };
  std::vector<Edge> edges;
  edges.reserve(vertices.size());
  int top = vertices[0].y, bottom = vertices[0].y;
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const ViewPoint p = vertices[i], q = vertices[(i + 1) % vertices.size()];
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
    if (p.y == q.y) continue;
    const bool down = q.y > p.y;
    edges.push_back({down ? p : q, down ? q : p, down ? 1 : -1});
  }
  std::stable_sort(edges.begin(), edges.end(),
                   [](const Edge& l, const Edge& r) { return l.start.y < r.start.y; });
  top = std::max(top, 0);
  bottom = std::min(bottom, kMeasureViewSize - 1);
  struct Crossing {
    int x, direction;
  };
  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  std::size_t next = 0;
  for (int y = top; y <= bottom; ++y) {
    while (next < edges.size() && edges[next].start.y <= y) active.push_back(&edges[next++]);
    std::erase_if(active, [y](const Edge* e) { return e->end.y <= y; });
    crossings.clear();
    for (const Edge* e : active) {
      crossings.push_back(
          {e->start.x + (y - e->start.y) * (e->end.x - e->start.x) / (e->end.y - e->start.y),
           e->direction});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    // Crossings at the same x count together, so that a pixel where one run would end and the
    // next begin is counted once.
    int winding = 0, runStart = 0;
    for (std::size_t i = 0; i < crossings.size();) {
      const int x = crossings[i].x;
      const int before = winding;
      for (; i < crossings.size() && crossings[i].x == x; ++i) winding += crossings[i].direction;
      if (before == 0) runStart = x;
      if (winding == 0) addRun(sums, view, y, runStart, x, lower, upper);
    }
  }
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
