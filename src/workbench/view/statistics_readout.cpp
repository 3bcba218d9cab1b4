#include "workbench/view/statistics_readout.h"

#include "workbench/view/refresh_chain.h"

namespace vemla {
StatisticsTexts statisticsTexts(const Workbench& bench, ImageSlot image) {
  if (!bench.pictures.picturesPresent) return {};
  const ImageStatistics& statistics = shownStatisticsOf(bench, image);
  return {std::to_string(statistics.maximum), std::to_string(statistics.minimum),
          std::to_string(statistics.mean), std::to_string(statistics.sum)};
}

bool moveCursorToExtreme(Workbench& bench, ImageSlot image, Extreme extreme) {
  if (!bench.pictures.picturesPresent) return false;
  const ImageStatistics& statistics = shownStatisticsOf(bench, image);
  const int value = extreme == Extreme::Maximum ? statistics.maximum : statistics.minimum;
  const std::optional<PixelPosition> found =
      findValue(shownImageOf(bench, image), bench.pictures.width, bench.pictures.height,
                statistics.rectangle, bench.view.centreX, bench.view.centreY, value);
  if (!found) return false;
  setCursorPosition(bench, found->x, found->y);
  return true;
}

std::optional<int> valueUnderCursor(const Workbench& bench, ImageSlot image) {
  const int width = bench.pictures.width, height = bench.pictures.height;
  const int x = bench.view.centreX, y = bench.view.centreY;
  if (!bench.pictures.picturesPresent || x < 0 || y < 0 || x >= width || y >= height) {
    return std::nullopt;
  }
  const std::uint8_t* plane = shownImageOf(bench, image);
  return plane[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)];
}

}  // namespace vemla
