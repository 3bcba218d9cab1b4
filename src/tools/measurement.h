#pragma once
// The measurement tool's mathematics: manual lengths between two pane points, automatic
// lengths from edge to edge along a row or column of the 512 x 512 extraction, and the area,
// volume and centroid of a rectangle or polygon of a pane view.
#include <cstdint>
#include <optional>
#include <vector>

#include "processing/view_rendering.h"

namespace vemla::tools {

inline constexpr int kMeasureViewSize = 512;
inline constexpr int kMaxPolygonVertices = 1024;

// How pane pixels relate to picture pixels: `scale` picture pixels per pane pixel (1/m when
// magnified, the reduction ratio r in the reduced display), and the picture position of pane
// pixel (0, 0) for the centroid: originX + windowColumn, originY + windowRow.
struct PaneScale {
  int magnification = 1;
  double scale = 1.0;
  int originX = 0, originY = 0;
};

// sqrt((dx * pixelSizeX)^2 + (dy * pixelSizeY)^2) * scale.
double manualLength(ViewPoint from, ViewPoint to, double pixelSizeX, double pixelSizeY,
                    double scale);

// Edge positions in 1/255 pixel of a line of `count` values (the extraction's row or column).
struct Edges {
  int left = 0, right = 0;
  bool operator==(const Edges&) const = default;
};
// The edges around position `at` whose central differences D(i) = |v(i-1) - v(i+1)| reach
// `level`: the left search runs from min(at, count - 3) down to 2, the right one from at + 1
// while below count - 2; each takes the first D >= level and follows it while it grows. The
// sub-pixel position is 255 P + 255 dropL / S. None when either search fails or the left edge
// lies beyond the right one. Nothing is read outside the line.
std::optional<Edges> findEdges(const std::uint8_t* line, int count, int at, int level);
// (right - left + 1) x pixelSize / 255.
double edgeLength(const Edges& edges, double pixelSize);

// The sums over the pixels of an area whose value lies in lower..upper.
struct AreaSums {
  std::int64_t count = 0, sum = 0, sumX = 0, sumY = 0;
  bool operator==(const AreaSums&) const = default;
};
// The rectangle between two corners, both included, clipped to the view.
AreaSums rectangleSums(const std::uint8_t* view, ViewPoint a, ViewPoint b, int lower, int upper);
// The polygon closed back to its first vertex, filled by the non-zero winding rule: on every
// row the crossings of the edges (an edge counts for rows start <= y < end, x interpolated in
// integers) are sorted and the pixels from where the winding leaves 0 to where it returns are
// inside, both ends included, clipped to the view.
AreaSums polygonSums(const std::uint8_t* view, const std::vector<ViewPoint>& vertices, int lower,
                     int upper);

enum class VolumeBase : int { Zero = 0, Full = 1, Lower = 2, Upper = 3 };

struct AreaResult {
  double area = 0;
  std::int64_t volume = 0;
  std::optional<double> centroidX, centroidY;  // none when the grey sum is 0
};
// Area n px py / m^2; volume by its base (Σg, n 255 - Σg, Σg - n lower, n upper - Σg) / m^2
// rounded; centroid the grey-weighted mean position in picture coordinates times the pixel
// sizes (the centre of a magnified pixel is its picture position).
AreaResult areaResult(const AreaSums& sums, VolumeBase base, int lower, int upper,
                      const PaneScale& pane, double pixelSizeX, double pixelSizeY);

}  // namespace vemla::tools
