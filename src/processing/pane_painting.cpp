#include "processing/pane_painting.h"

#include <algorithm>
#include <cstring>

#include "processing/shift.h"
#include "processing/view_rendering.h"

namespace vemla {
namespace {

std::uint8_t mean(std::uint8_t a, std::uint8_t b) {
  return static_cast<std::uint8_t>((a + b) / 2);
}

}  // namespace

int gridPeriod(int gridWidth, int magnification, bool reduced, double reductionRatio) {
  const long long width = std::max(gridWidth, 1);
  long long period = 0;
  if (reduced) {
    period = reductionRatio > 0
                 ? static_cast<long long>(static_cast<double>(width) / reductionRatio)
                 : 0;
  } else {
    period = width * std::clamp(magnification, 1, kMaxMagnification);
  }
  return static_cast<int>(std::clamp<long long>(period, 2, 1 << 20));
}

bool isGridLine(int index, int period, int offset) {
  return index > 0 &&
         floorMod(index, period) == floorMod(period - floorMod(offset, period), period);
}

void paintPane(const std::uint8_t* view, const PaneColours& colours, const GridSettings& grid,
               int period, std::uint8_t* shown, ColourTable& table) {
  constexpr std::size_t kPixels = static_cast<std::size_t>(kViewSize) * kViewSize;
  table = paneColourTable(colours);
  if (!grid.on) {
    std::memcpy(shown, view, kPixels);
    return;
  }
  const GridReservation reservation =
      gridReservation(colours.rangeOn, colours.lower, colours.upper);
  const auto reserved = static_cast<std::uint8_t>(reservation.reserved);
  const auto substitute = static_cast<std::uint8_t>(reservation.substitute);
  for (std::size_t i = 0; i < kPixels; ++i) shown[i] = view[i] == reserved ? substitute : view[i];
  Rgb& merged = table[substitute];
  const Rgb& other = table[reserved];
  merged = {mean(merged.red, other.red), mean(merged.green, other.green),
            mean(merged.blue, other.blue)};
  table[reserved] = grid.colour;

  const int first = floorMod(period - floorMod(grid.offsetX, period), period);
  const int firstRow = floorMod(period - floorMod(grid.offsetY, period), period);
  for (int v = 0; v < kViewSize; ++v) {
    std::uint8_t* row = shown + static_cast<std::size_t>(v) * kViewSize;
    if (v > 0 && v % period == firstRow) {
      std::memset(row, reserved, kViewSize);
      continue;
    }
    for (int u = first == 0 ? period : first; u < kViewSize; u += period) row[u] = reserved;
  }
}

std::vector<std::uint8_t> colourBarRamp() {
  std::vector<std::uint8_t> ramp(static_cast<std::size_t>(kColourBarRampWidth) * kViewSize);
  for (int row = 0; row < kViewSize; ++row) {
    std::memset(ramp.data() + static_cast<std::size_t>(row) * kColourBarRampWidth, 255 - row / 2,
                kColourBarRampWidth);
  }
  return ramp;
}

int colourBarCursorRow(int value) {
  return std::max(2 * (255 - std::clamp(value, 0, 255)), 1);
}

}  // namespace vemla
