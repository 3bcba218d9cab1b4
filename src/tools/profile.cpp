#include "tools/profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"

namespace vemla::tools {

std::vector<ViewPoint> profilePoints(ProfileDirection direction, ViewPoint cursor, ViewPoint from,
                                     ViewPoint to) {
  std::vector<ViewPoint> points;
  if (direction != ProfileDirection::Arbitrary) {
    const int across = direction == ProfileDirection::X ? cursor.y : cursor.x;
    if (across < 0 || across >= kProfileViewSize) return points;
    points.reserve(kPlotWidth);
    for (int i = 0; i < kPlotWidth; ++i) {
      const int along = kProfileFirstViewPixel + i;
      points.push_back(direction == ProfileDirection::X ? ViewPoint{along, cursor.y}
                                                        : ViewPoint{cursor.x, along});
    }
    return points;
  }
  const int dx = to.x - from.x, dy = to.y - from.y;
  const int longer = std::max(std::abs(dx), std::abs(dy));
  const int count = std::min(kPlotWidth, longer);
  points.reserve(count);
  for (int k = 0; k < count; ++k) {
    if (std::abs(dx) < std::abs(dy)) {
      points.push_back({from.x + k * dx / std::abs(dy), from.y + (dy > 0 ? k : -k)});
    } else {
      points.push_back({from.x + (dx > 0 ? k : -k), from.y + k * dy / std::abs(dx)});
    }
  }
  return points;
}

Profile sampleProfile(const std::uint8_t* view, const std::vector<ViewPoint>& points) {
  Profile profile;
  profile.values.reserve(points.size());
  for (const ViewPoint& p : points) {
    const int value = view[static_cast<std::ptrdiff_t>(p.y) * kProfileViewSize + p.x];
    profile.values.push_back(static_cast<std::uint8_t>(value));
    profile.max = std::max(profile.max.value_or(value), value);
    profile.min = std::min(profile.min.value_or(value), value);
  }
  return profile;
}

int plotRow(int value, int lower, int upper) {
  const int range = upper - lower;
  return kPlotTop + (range - std::min(range, std::max(0, value - lower))) * kPlotHeight / range;
}

namespace {

int automaticStep(int lower, int upper) {
  const int step = (upper - lower) / 20 + 1;
  if (step > 5) return 10;
  return step >= 3 ? 5 : step;
}

}  // namespace

GreyRange automaticRange(std::optional<int> max, std::optional<int> min) {
  if (!max || !min) return {0, 255, automaticStep(0, 255)};
  int upper = (*max + 5) / 5 * 5 + 5;
  int lower = *min - 5;
  lower = lower >= 0 ? lower / 5 * 5 : -((-lower + 4) / 5 * 5);
  lower = std::clamp(lower, 0, 254);
  upper = std::min(upper, 255);
  if (upper <= lower) upper = lower + 1;
  return {lower, upper, automaticStep(lower, upper)};
}

std::vector<GridLine> horizontalGridLines(int lower, int upper, int step) {
  return horizontalGridLines(lower, upper, step, kPlotTop, kPlotHeight);
}

std::vector<GridLine> horizontalGridLines(int lower, int upper, int step, int top, int height) {
  std::vector<GridLine> lines;
  if (step < 1 || upper <= lower) return lines;
  const int q = (upper - lower) / step;
  if (q < 1 || height / q < 1) return lines;
  const int spacing = height / q;
  const int bottom = top + height;
  for (int k = 1; bottom - k * spacing > top; ++k) {
    lines.push_back({bottom - k * spacing, k % 5 == 0});
  }
  return lines;
}

std::vector<GridLine> verticalGridLines(double spacing, int offset) {
  std::vector<GridLine> lines;
  if (!(spacing >= 1.0)) return lines;
  double first = std::fmod(static_cast<double>(offset), spacing);
  if (first <= 0.0) first = spacing;
  int k = 1;
  for (double at = first; at < kPlotWidth; at += spacing, ++k) {
    lines.push_back({static_cast<int>(at), k % 5 == 0});
  }
  return lines;
}

double profileStepLength(ProfileDirection direction, double pixelSizeX, double pixelSizeY,
                         ViewPoint from, ViewPoint to) {
  if (direction == ProfileDirection::X) return pixelSizeX;
  if (direction == ProfileDirection::Y) return pixelSizeY;
  const int dx = to.x - from.x, dy = to.y - from.y;
  const int longer = std::max(std::abs(dx), std::abs(dy));
  if (longer == 0) return 0.0;
  return std::hypot(dx * pixelSizeX, dy * pixelSizeY) / longer;
}

std::string valueReadout(std::optional<int> first, std::optional<int> second, bool translated) {
  if (first && second) {
    return text::format(text::trWhen(translated, text::N_("1：%3d  2：%3d  差：%3d")), *first,
                        *second, std::abs(*first - *second));
  }
  return text::format(text::trWhen(translated, text::N_("階調値:%3d")),
                      first ? *first : second.value_or(0));
}

std::string distanceReadout(double distance, bool translated) {
  return text::trWhen(translated, text::N_("距離: ")) + text::fixedDecimal(distance, 4);
}

}  // namespace vemla::tools
