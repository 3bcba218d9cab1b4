#include "tools/relief.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "text/format.h"
#include "text/translate.h"

namespace vemla::tools {
namespace {

// 256 sin a or D sin a for a in degrees, truncated toward zero as the integer projection wants.
int scaledSine(int scale, int degrees) {
  return static_cast<int>(scale * std::sin(degrees * std::numbers::pi / 180.0));
}
int scaledCosine(int scale, int degrees) {
  return static_cast<int>(scale * std::cos(degrees * std::numbers::pi / 180.0));
}

// The order in which the source pixels (or cells) are visited, chosen by the X angle's
// sector so that the pixels nearest the viewer come first: the rotated depth u s + v c grows
// towards the viewer, so the axis that dominates it is the outer loop and each loop runs
// from the larger contribution down.
struct VisitOrder {
  bool columnsOuter = false;
  bool outerDescending = false, innerDescending = false;
};

VisitOrder nearestFirst(int angleX) {
  if (angleX < 45) return {false, true, true};    // c > 0 dominant, s >= 0
  if (angleX < 135) return {true, true, true};    // s > 0 dominant
  if (angleX < 180) return {false, false, true};  // c < 0 dominant, s >= 0
  if (angleX < 225) return {false, false, false};  // c < 0 dominant, s <= 0
  if (angleX < 270) return {true, false, false};   // s < 0 dominant, c < 0
  if (angleX < 315) return {true, false, true};    // s < 0 dominant, c >= 0
  return {false, true, false};                     // c > 0 dominant, s < 0
}

VisitOrder farthestFirst(int angleX) {
  VisitOrder order = nearestFirst(angleX);
  order.outerDescending = !order.outerDescending;
  order.innerDescending = !order.innerDescending;
  return order;
}

// Calls visit(column, row) for count x count positions in `order`.
template <typename Visit>
void visitGrid(int count, const VisitOrder& order, Visit&& visit) {
  for (int a = 0; a < count; ++a) {
    const int outer = order.outerDescending ? count - 1 - a : a;
    for (int b = 0; b < count; ++b) {
      const int inner = order.innerDescending ? count - 1 - b : b;
      if (order.columnsOuter) {
        visit(outer, inner);
      } else {
        visit(inner, outer);
      }
    }
  }
}

void plot(const ReliefRaster& raster, int x, int y, std::uint8_t grey) {
  if (x < 0 || y < 0 || x >= raster.width || y >= raster.height) return;
  raster.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                static_cast<std::size_t>(x)] = grey;
}

void fillRun(const ReliefRaster& raster, int y, int left, int right, std::uint8_t grey) {
  if (y < 0 || y >= raster.height) return;
  left = std::max(left, 0);
  right = std::min(right, raster.width - 1);
  if (left > right) return;
  std::uint8_t* pixel = raster.pixels +
                       static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                       static_cast<std::size_t>(left);
  // Runs of small cells are a few pixels: a loop is cheaper than a call.
  for (int count = right - left + 1; count > 0; --count) *pixel++ = grey;
}

// Whether the segment lies wholly beyond one edge of the raster.
bool outside(const ReliefRaster& raster, ViewPoint a, ViewPoint b) {
  return (a.x < 0 && b.x < 0) || (a.y < 0 && b.y < 0) || (a.x >= raster.width && b.x >= raster.width) ||
         (a.y >= raster.height && b.y >= raster.height);
}

// A straight segment, both ends included, every pixel clipped to the raster.
void drawSegment(const ReliefRaster& raster, ViewPoint a, ViewPoint b, std::uint8_t grey) {
  if (outside(raster, a, b)) return;
  const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
  const int stepX = a.x < b.x ? 1 : -1, stepY = a.y < b.y ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    plot(raster, a.x, a.y, grey);
    if (a.x == b.x && a.y == b.y) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      a.x += stepX;
    }
    if (twice <= dx) {
      error += dx;
      a.y += stepY;
    }
  }
}

// An offset from the raster's centre at the projection's scale.
int scaled(const Projection& p, int offset) {
  return p.scale == 256 ? offset : (offset * p.scale) >> 8;
}

std::uint8_t at(const std::uint8_t* source, int size, int column, int row) {
  return source[static_cast<std::size_t>(row) * static_cast<std::size_t>(size) +
                static_cast<std::size_t>(column)];
}

void drawSurface(const std::uint8_t* source, int size, const Projection& p, int angleX,
                 const ReliefRaster& raster, std::vector<int>& tops) {
  const int height = raster.height, half = size / 2;
  tops.assign(static_cast<std::size_t>(raster.width), height);
  const int baseLift = 128 * p.hs;
  visitGrid(size, nearestFirst(angleX), [&](int column, int row) {
    const int u = column - half, v = row - half;
    const int x = p.centreX + scaled(p, (u * p.c - v * p.s + 128) >> 8);
    if (x < 0 || x >= raster.width) return;
    const int grey = at(source, size, column, row);
    const int q = ((u * p.s + v * p.c + 128) >> 8) * p.hc;
    const int y =
        p.centreY + scaled(p, (q - (((grey * p.heightRatio) >> 4) - 128) * p.hs + 128) >> 8);
    int& top = tops[static_cast<std::size_t>(x)];
    if (y >= top) return;
    const int baseOffset = (baseLift + q + 128) >> 8;
    const int base = p.centreY + scaled(p, baseOffset);
    const int wall = scaled(p, (p.heightRatio * (baseOffset - ((q - 127 * p.hs + 128) >> 8))) >> 4);
    const int start = top == height ? std::min(base, height - 1) : top - 1;
    const auto value = static_cast<std::uint8_t>(grey);
    std::uint8_t* pixel = raster.pixels + static_cast<std::size_t>(x);
    const auto stride = static_cast<std::size_t>(raster.width);
    for (int r = std::min(start, height - 1), last = std::max(y, 0); r >= last; --r) {
      std::uint8_t shade = value;
      if (r != y && r <= base && wall != 0) {
        shade = static_cast<std::uint8_t>(std::clamp((base - r) * 255 / wall, 0, 255));
      }
      pixel[static_cast<std::size_t>(r) * stride] = shade;
    }
    top = y;
  });
}

void drawWire(const std::uint8_t* source, int size, const Projection& p, int width,
              const ReliefRaster& raster) {
  const int half = size / 2;
  constexpr int kPointSpacing = 4;
  const auto point = [&](int column, int row) {
    return project(p, column - half, row - half, at(source, size, column, row));
  };
  const auto segment = [&](int c0, int r0, int c1, int r1) {
    const int grey = (at(source, size, c0, r0) + at(source, size, c1, r1)) / 2;
    drawSegment(raster, point(c0, r0), point(c1, r1), static_cast<std::uint8_t>(grey));
  };
  for (int row = 0; row < size; row += width) {
    for (int column = kPointSpacing; column < size; column += kPointSpacing)
      segment(column - kPointSpacing, row, column, row);
  }
  for (int column = 0; column < size; column += width) {
    for (int row = kPointSpacing; row < size; row += kPointSpacing)
      segment(column, row - kPointSpacing, column, row);
  }
}

void drawPolygons(const std::uint8_t* source, int size, const Projection& p, int angleX, int width,
                  const ReliefRaster& raster, ReliefWork& work) {
  const int half = size / 2;
  const int cells = (size - 1 + width - 1) / width;
  const int stops = cells + 1;
  // Every corner is shared by up to four cells: project each once.
  work.corners.resize(static_cast<std::size_t>(stops) * static_cast<std::size_t>(stops));
  work.cornerGreys.resize(work.corners.size());
  for (int j = 0; j < stops; ++j) {
    const int row = std::min(j * width, size - 1);
    for (int i = 0; i < stops; ++i) {
      const int column = std::min(i * width, size - 1);
      const int grey = at(source, size, column, row);
      const auto k = static_cast<std::size_t>(j * stops + i);
      work.corners[k] = project(p, column - half, row - half, grey);
      work.cornerGreys[k] = grey;
    }
  }
  visitGrid(cells, farthestFirst(angleX), [&](int cellColumn, int cellRow) {
    const auto first = static_cast<std::size_t>(cellRow * stops + cellColumn);
    const std::size_t indices[4] = {first, first + 1, first + 1 + static_cast<std::size_t>(stops),
                                    first + static_cast<std::size_t>(stops)};
    ViewPoint points[4];
    int sum = 0;
    for (int i = 0; i < 4; ++i) {
      points[i] = work.corners[indices[i]];
      sum += work.cornerGreys[indices[i]];
    }
    const auto grey = static_cast<std::uint8_t>(sum >> 2);
    int lowest = points[0].y, highest = points[0].y, leftmost = points[0].x,
        rightmost = points[0].x;
    for (const ViewPoint& point : points) {
      lowest = std::min(lowest, point.y);
      highest = std::max(highest, point.y);
      leftmost = std::min(leftmost, point.x);
      rightmost = std::max(rightmost, point.x);
    }
    if (highest < 0 || lowest >= raster.height || rightmost < 0 || leftmost >= raster.width) return;
    if (lowest == highest) {
      // A cell seen edge-on covers one row, which the scanline rule (end row excluded) misses.
      fillRun(raster, lowest, leftmost, rightmost, grey);
      return;
    }
    forEachPolygonRun(points, 4, 0, raster.height - 1, work.fill,
                      [&](int y, int from, int to) { fillRun(raster, y, from, to, grey); });
  });
}

}  // namespace

ViewPoint blockOrigin(ViewPoint centre, int size) {
  const int last = kViewSize - size;
  return {std::clamp(centre.x - size / 2, 0, last), std::clamp(centre.y - size / 2, 0, last)};
}

void copyBlock(const std::uint8_t* view, ViewPoint origin, int size, std::uint8_t* block) {
  for (int row = 0; row < size; ++row) {
    std::memcpy(block + static_cast<std::size_t>(row) * static_cast<std::size_t>(size),
                view + static_cast<std::size_t>(origin.y + row) * kViewSize +
                    static_cast<std::size_t>(origin.x),
                static_cast<std::size_t>(size));
  }
}

ReliefSettings limitedReliefSettings(ReliefSettings settings) {
  settings.angleX = std::clamp(settings.angleX, 0, kMaxAngleX);
  settings.angleZ = std::clamp(settings.angleZ, 0, kMaxAngleZ);
  settings.depth = std::clamp(settings.depth, 0, kMaxDepth);
  settings.heightRatio = std::clamp(settings.heightRatio, 0, kMaxHeightRatio);
  settings.baseHeight = std::clamp(settings.baseHeight, 0, kMaxBaseHeight);
  if (settings.mode != ReliefMode::Wire && settings.mode != ReliefMode::Polygon)
    settings.mode = ReliefMode::Surface;
  settings.luminance = std::clamp(settings.luminance, 0, kMaxLuminance);
  settings.wireWidth = std::clamp(settings.wireWidth, kMinReliefWidth, kMaxReliefWidth);
  settings.polygonWidth = std::clamp(settings.polygonWidth, kMinReliefWidth, kMaxReliefWidth);
  return settings;
}

Projection makeProjection(int angleX, int angleZ, int depth, int heightRatio, int baseHeight,
                          int width, int height) {
  Projection p;
  p.s = scaledSine(256, angleX);
  p.c = scaledCosine(256, angleX);
  p.hs = scaledSine(depth, angleZ);
  p.hc = scaledCosine(depth, angleZ);
  p.heightRatio = heightRatio;
  p.centreX = width / 2;
  p.centreY = height / 2 - (baseHeight - kNeutralBaseHeight);
  return p;
}

ViewPoint project(const Projection& p, int u, int v, int grey) {
  return {p.centreX + scaled(p, (u * p.c - v * p.s + 128) >> 8),
          p.centreY + scaled(p, (((u * p.s + v * p.c + 128) >> 8) * p.hc -
                                 (((grey * p.heightRatio) >> 4) - 128) * p.hs + 128) >>
                                    8)};
}

int fittingScale(const std::uint8_t* source, int size, const Projection& given, int width,
                 int height) {
  Projection p = given;
  p.scale = 256;
  const int half = size / 2;
  // The extremes of the offsets from the centre. Columns and grey 0's rows (the lowest any
  // wall reaches) are linear in u and v: the block's corners bound them; the peaks need every
  // point.
  int left = 0, right = 0, up = 0, down = 0;
  for (const int v : {-half, size - 1 - half}) {
    for (const int u : {-half, size - 1 - half}) {
      const ViewPoint base = project(p, u, v, 0);
      left = std::min(left, base.x - p.centreX);
      right = std::max(right, base.x - p.centreX);
      up = std::min(up, base.y - p.centreY);
      down = std::max(down, base.y - p.centreY);
    }
  }
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      const int y =
          project(p, column - half, row - half, at(source, size, column, row)).y - p.centreY;
      up = std::min(up, y);
      down = std::max(down, y);
    }
  }
  int scale = 256;
  // room / reach, for a side that reaches beyond the room it has.
  const auto fit = [&scale](int room, int reach) {
    if (room > 0 && reach > room) scale = std::min(scale, room * 256 / reach);
  };
  fit(p.centreX, -left);
  fit(width - 1 - p.centreX, right);
  fit(p.centreY, -up);
  fit(height - 1 - p.centreY, down);
  return std::max(scale, 1);
}

void drawRelief(const std::uint8_t* source, int size, const ReliefSettings& given,
                ReliefRaster raster, ReliefWork& work) {
  const ReliefSettings settings = limitedReliefSettings(given);
  std::memset(raster.pixels, 0,
              static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height));
  if (settings.invert) {
    const std::size_t count = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    work.inverted.resize(count);
    for (std::size_t i = 0; i < count; ++i)
      work.inverted[i] = static_cast<std::uint8_t>(255 - source[i]);
    source = work.inverted.data();
  }
  Projection p =
      makeProjection(settings.angleX, settings.angleZ, settings.depth, settings.heightRatio,
                     settings.baseHeight, raster.width, raster.height);
  p.scale = fittingScale(source, size, p, raster.width, raster.height);
  switch (settings.mode) {
    case ReliefMode::Surface:
      drawSurface(source, size, p, settings.angleX, raster, work.tops);
      break;
    case ReliefMode::Wire:
      drawWire(source, size, p, settings.wireWidth, raster);
      break;
    case ReliefMode::Polygon:
      drawPolygons(source, size, p, settings.angleX, settings.polygonWidth, raster, work);
      break;
  }
}

std::vector<ViewPoint> viewDirectionMark(ViewPoint origin, int size, int angleX) {
  const double angle = angleX * std::numbers::pi / 180.0;
  const double dx = std::sin(angle), dy = std::cos(angle);
  const double half = size / 2.0;
  const double cx = origin.x + half, cy = origin.y + half;
  const double reach = half / std::max(std::abs(dx), std::abs(dy));
  const auto point = [](double x, double y) {
    return ViewPoint{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
  };
  const ViewPoint exit = point(cx + dx * reach, cy + dy * reach);
  const int left = origin.x, top = origin.y, right = origin.x + size - 1,
            bottom = origin.y + size - 1;
  const ViewPoint topLeft{left, top}, topRight{right, top}, bottomRight{right, bottom},
      bottomLeft{left, bottom};
  // The corners clockwise from the edge the direction leaves through.
  std::array<ViewPoint, 4> corners{bottomLeft, topLeft, topRight, bottomRight};  // bottom edge
  if (std::abs(dy) >= std::abs(dx) && dy < 0) {
    corners = {topRight, bottomRight, bottomLeft, topLeft};  // top edge
  } else if (std::abs(dy) < std::abs(dx)) {
    corners = dx > 0 ? std::array<ViewPoint, 4>{bottomRight, bottomLeft, topLeft, topRight}
                     : std::array<ViewPoint, 4>{topLeft, topRight, bottomRight, bottomLeft};
  }
  constexpr double kShaft = 40, kBarb = 10;
  const double tipX = exit.x + dx * kShaft, tipY = exit.y + dy * kShaft;
  const auto barb = [&](double turn) {
    const double c = std::cos(turn), s = std::sin(turn);
    return point(tipX - kBarb * (dx * c - dy * s), tipY - kBarb * (dx * s + dy * c));
  };
  const ViewPoint tip = point(tipX, tipY);
  return {exit,       corners[0], corners[1], corners[2], corners[3], exit,
          tip,        barb(0.5),  tip,        barb(-0.5)};
}

ColourTable brightenedTable(const ColourTable& table, int luminance) {
  const int change = luminance - kNeutralLuminance;
  const auto add = [change](std::uint8_t component) {
    return static_cast<std::uint8_t>(std::clamp(component + change, 0, 255));
  };
  ColourTable result;
  for (std::size_t i = 0; i < table.size(); ++i)
    result[i] = {add(table[i].red), add(table[i].green), add(table[i].blue)};
  return result;
}

std::string reliefTitle(const ReliefSettings& settings, int cursorX, int cursorY,
                        const std::string& magnification, bool translated) {
  using text::N_;
  const char* mode = N_("(ｲﾒｰｼﾞ)");
  const char* valueName = N_("輝度");
  int value = settings.luminance;
  if (settings.mode == ReliefMode::Wire) {
    mode = N_("(ﾜｲﾔ)");
    valueName = N_("幅");
    value = settings.wireWidth;
  } else if (settings.mode == ReliefMode::Polygon) {
    mode = N_("(ﾎﾟﾘｺﾞﾝ)");
    valueName = N_("幅");
    value = settings.polygonWidth;
  }
  return text::format(
      text::trWhen(translated, N_("%s  (X,Y)=(%d,%d) %s倍 Ｘ角度:%d Ｚ角度:%d %s:%d")),
      text::trWhen(translated, mode), cursorX, cursorY, magnification.c_str(), settings.angleX,
      settings.angleZ, text::trWhen(translated, valueName), value);
}

}  // namespace vemla::tools
