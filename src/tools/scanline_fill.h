#pragma once
// The scanline fill of a closed polygon by the non-zero winding rule, shared by the
// measurement's area sums and the relief's filled cells. On every row the crossings of the
// edges are collected (an edge counts for rows start <= y < end, x interpolated in integers),
// sorted, and the pixels from where the winding leaves 0 to where it returns are inside, both
// ends included. The caller clips the runs it is handed.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "processing/view_rendering.h"

namespace vemla::tools {

struct PolygonCrossing {
  int x = 0, direction = 0;
};

// Calls run(y, left, right) for every inside run on the rows top..bottom (both included; the
// caller limits them to its raster). `crossings` is work memory kept between calls.
template <typename Run>
void forEachPolygonRun(const ViewPoint* vertices, std::size_t count, int top, int bottom,
                       std::vector<PolygonCrossing>& crossings, Run&& run) {
  if (count < 3) return;
  int lowest = vertices[0].y, highest = vertices[0].y;
  for (std::size_t i = 1; i < count; ++i) {
    lowest = std::min(lowest, vertices[i].y);
    highest = std::max(highest, vertices[i].y);
  }
  top = std::max(top, lowest);
  bottom = std::min(bottom, highest);
  for (int y = top; y <= bottom; ++y) {
    crossings.clear();
    for (std::size_t i = 0; i < count; ++i) {
      const ViewPoint p = vertices[i], q = vertices[(i + 1) % count];
      if (p.y == q.y) continue;
      const bool down = q.y > p.y;
      const ViewPoint start = down ? p : q, end = down ? q : p;
      if (y < start.y || y >= end.y) continue;
      crossings.push_back(
          {start.x + (y - start.y) * (end.x - start.x) / (end.y - start.y), down ? 1 : -1});
    }
    if (crossings.size() == 2) {  // the usual case: one run between the two edges
      run(y, std::min(crossings[0].x, crossings[1].x), std::max(crossings[0].x, crossings[1].x));
      continue;
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const PolygonCrossing& l, const PolygonCrossing& r) { return l.x < r.x; });
    int winding = 0, runStart = 0;
    for (const PolygonCrossing& c : crossings) {
      if (winding == 0) runStart = c.x;
      winding += c.direction;
      if (winding == 0) run(y, runStart, c.x);
    }
  }
}

}  // namespace vemla::tools
