#include "processing/difference_summary.h"

#include <algorithm>
#include <cstdlib>

#include "processing/compared_pixels.h"

namespace vemla {
namespace {

int deviation(std::uint8_t value, int zeroPoint) {
  return std::abs(static_cast<int>(value) - zeroPoint);
}

}  // namespace

DifferenceSummary summariseDifference(const std::uint8_t* image, int width, int height,
                                      const Rect& valid, int zeroPoint, int threshold,
                                      const std::uint8_t* compared) {
  DifferenceSummary summary;
  Rect box;
  if (image == nullptr || !clipToPicture(valid, width, height, box)) return summary;
  std::uint64_t sum = 0;
  std::int64_t pixels = 0;
  if (compared == nullptr) {
    // Spans of a row are summed without branches (so that the loop runs on vector lanes); only
    // a span whose largest deviation beats the one so far is searched for where it first occurs.
    constexpr int kSpan = 1 << 16;  // 255 * kSpan fits the span's 32-bit sum
    for (int y = box.top; y <= box.bottom; ++y) {
      const std::uint8_t* row =
          image + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      for (int first = box.left; first <= box.right; first += kSpan) {
        const int last = std::min(box.right, first + kSpan - 1);
        std::uint32_t spanSum = 0, spanOver = 0;
        int spanMaximum = 0;
        for (int x = first; x <= last; ++x) {
          const int d = deviation(row[x], zeroPoint);
          spanSum += static_cast<std::uint32_t>(d);
          spanOver += d > threshold ? 1u : 0u;
          spanMaximum = std::max(spanMaximum, d);
        }
        sum += spanSum;
        summary.over += spanOver;
        if (spanMaximum > summary.maximum) {
          int x = first;
          while (deviation(row[x], zeroPoint) != spanMaximum) ++x;
          summary.maximum = spanMaximum;
          summary.largest = {x, y};
        }
      }
    }
    if (summary.maximum == 0) summary.largest = {box.left, box.top};
    pixels = static_cast<std::int64_t>(box.right - box.left + 1) * (box.bottom - box.top + 1);
  } else {
    bool found = false;  // a compared pixel seen
    for (int y = box.top; y <= box.bottom; ++y) {
      const std::size_t start = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      const std::uint8_t* row = image + start;
      const std::uint8_t* judged = compared + start;
      for (int x = box.left; x <= box.right; ++x) {
        if (judged[x] == 0) continue;
        if (!found) {
          found = true;
          summary.largest = {x, y};
        }
        ++pixels;
        const int d = deviation(row[x], zeroPoint);
        sum += static_cast<unsigned>(d);
        if (d > threshold) ++summary.over;
        if (d > summary.maximum) {
          summary.maximum = d;
          summary.largest = {x, y};
        }
      }
    }
    if (!found) {
      summary.largest = {box.left, box.top};
      return summary;
    }
  }
  summary.pixels = pixels;
  summary.mean = static_cast<double>(sum) / static_cast<double>(summary.pixels);
  summary.area = static_cast<double>(summary.over) / static_cast<double>(summary.pixels);
  return summary;
}

std::vector<DifferenceRegion> differenceRegions(const std::uint8_t* image, int width, int height,
                                                const Rect& valid, int zeroPoint, int threshold,
                                                std::size_t maxRegions, std::size_t& total,
                                                const std::uint8_t* compared) {
  total = 0;
  std::vector<DifferenceRegion> regions;
  Rect box;
  if (image == nullptr || !clipToPicture(valid, width, height, box)) return regions;
  const int boxWidth = box.right - box.left + 1, boxHeight = box.bottom - box.top + 1;
  const auto above = [&](int x, int y) {
    const std::size_t at =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    return (compared == nullptr || compared[at] != 0) &&
           deviation(image[at], zeroPoint) > threshold;
  };
  // One flag per pixel of the box: taken into a region already.
  std::vector<std::uint8_t> taken(static_cast<std::size_t>(boxWidth) *
                                  static_cast<std::size_t>(boxHeight));
  const auto at = [&](int x, int y) {
    return static_cast<std::size_t>(y - box.top) * static_cast<std::size_t>(boxWidth) +
           static_cast<std::size_t>(x - box.left);
  };
  std::vector<PixelPosition> pending;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) {
      if (taken[at(x, y)] || !above(x, y)) continue;
      DifferenceRegion region{{x, y, x, y}, 0};
      taken[at(x, y)] = 1;
      pending.push_back({x, y});
      while (!pending.empty()) {
        const PixelPosition p = pending.back();
        pending.pop_back();
        ++region.pixels;
        region.box = {std::min(region.box.left, p.x), std::min(region.box.top, p.y),
                      std::max(region.box.right, p.x), std::max(region.box.bottom, p.y)};
        for (int ny = std::max(p.y - 1, box.top); ny <= std::min(p.y + 1, box.bottom); ++ny) {
          for (int nx = std::max(p.x - 1, box.left); nx <= std::min(p.x + 1, box.right); ++nx) {
            if (taken[at(nx, ny)] || !above(nx, ny)) continue;
            taken[at(nx, ny)] = 1;
            pending.push_back({nx, ny});
          }
        }
      }
      regions.push_back(region);
    }
  }
  total = regions.size();
  // Regions are found in the order of their first pixel, so a stable sort by size keeps the
  // top-most, left-most first among equals.
  std::stable_sort(
      regions.begin(), regions.end(),
      [](const DifferenceRegion& a, const DifferenceRegion& b) { return a.pixels > b.pixels; });
  if (regions.size() > maxRegions) regions.resize(maxRegions);
  return regions;
}

}  // namespace vemla
