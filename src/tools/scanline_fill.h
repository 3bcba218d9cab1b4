#pragma once
// The scanline fill of a closed polygon by the non-zero winding rule, shared by the
// measurement's area sums and the relief's filled cells. An edge counts for the rows
// start <= y < end, its x interpolated in integers; on every row the crossings are sorted and the
// pixels from where the winding leaves 0 to where it returns are inside, both ends included.
// Crossings at the same x count together, so a pixel where one run ends and the next begins is
// handed over once. The caller clips the runs it is handed.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "processing/view_rendering.h"

namespace vemla::tools {

struct PolygonCrossing {
  int x = 0, direction = 0;
};

// Work memory of the fill, kept between calls.
struct PolygonFillWork {
  struct Edge {
    ViewPoint start, end;  // upper end first
    int direction;
  };
  std::vector<Edge> edges;
  std::vector<const Edge*> active;
  std::vector<PolygonCrossing> crossings;
};

// Calls run(y, left, right) for every inside run on the rows top..bottom (both included; the
// caller limits them to its raster). A row scans only the edges that reach it.
template <typename Run>
void forEachPolygonRun(const ViewPoint* vertices, std::size_t count, int top, int bottom,
                       PolygonFillWork& work, Run&& run) {
  if (count < 3) return;
  using Edge = PolygonFillWork::Edge;
  work.edges.clear();
  int lowest = vertices[0].y, highest = vertices[0].y;
  for (std::size_t i = 0; i < count; ++i) {
    const ViewPoint p = vertices[i], q = vertices[(i + 1) % count];
    lowest = std::min(lowest, p.y);
    highest = std::max(highest, p.y);
    if (p.y == q.y) continue;
    const bool down = q.y > p.y;
    work.edges.push_back({down ? p : q, down ? q : p, down ? 1 : -1});
  }
  std::stable_sort(work.edges.begin(), work.edges.end(),
                   [](const Edge& l, const Edge& r) { return l.start.y < r.start.y; });
  top = std::max(top, lowest);
  bottom = std::min(bottom, highest);
  work.active.clear();
  std::size_t next = 0;
  while (next < work.edges.size() && work.edges[next].start.y < top) {
    work.active.push_back(&work.edges[next++]);
  }
  std::vector<PolygonCrossing>& crossings = work.crossings;
  for (int y = top; y <= bottom; ++y) {
    while (next < work.edges.size() && work.edges[next].start.y <= y) {
      work.active.push_back(&work.edges[next++]);
    }
    std::erase_if(work.active, [y](const Edge* e) { return e->end.y <= y; });
    crossings.clear();
    for (const Edge* e : work.active) {
      crossings.push_back(
          {e->start.x + (y - e->start.y) * (e->end.x - e->start.x) / (e->end.y - e->start.y),
           e->direction});
    }
    if (crossings.size() == 2) {  // the usual case: one run between the two edges
      run(y, std::min(crossings[0].x, crossings[1].x), std::max(crossings[0].x, crossings[1].x));
      continue;
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const PolygonCrossing& l, const PolygonCrossing& r) { return l.x < r.x; });
    int winding = 0, runStart = 0;
    for (std::size_t i = 0; i < crossings.size();) {
      const int x = crossings[i].x;
      const int before = winding;
      for (; i < crossings.size() && crossings[i].x == x; ++i) winding += crossings[i].direction;
      if (before == 0) runStart = x;
      if (winding == 0) run(y, runStart, x);
    }
  }
}

}  // namespace vemla::tools
