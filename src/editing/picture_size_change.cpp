#include "editing/picture_size_change.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vemla {
namespace {

std::size_t area(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

Rect scaledPlacement(int width, int height, int newWidth, int newHeight) {
  const int side = std::min(newWidth, newHeight);
  int placedWidth = side;
  int placedHeight = side;
  // 64-bit products: sides are at most a few thousand, but the rule must not depend on it.
  if (width >= height) {
    placedHeight = static_cast<int>(static_cast<std::int64_t>(height) * side / width);
  } else {
    placedWidth = static_cast<int>(static_cast<std::int64_t>(width) * side / height);
  }
  placedWidth = std::max(placedWidth, 1);
  placedHeight = std::max(placedHeight, 1);
  const int left = (newWidth - side) / 2 + (side - placedWidth) / 2;
  const int top = (newHeight - side) / 2 + (side - placedHeight) / 2;
  return {left, top, left + placedWidth - 1, top + placedHeight - 1};
}

void resizePicture(const std::uint8_t* source, int width, int height, std::uint8_t* target,
                   int newWidth, int newHeight, ResizeMode mode) {
  std::memset(target, 0, area(newWidth, newHeight));
  if (mode == ResizeMode::CropOrPad) {
    const std::size_t columns = static_cast<std::size_t>(std::min(width, newWidth));
    const int rows = std::min(height, newHeight);
    for (int y = 0; y < rows; ++y) {
      std::memcpy(target + area(newWidth, y), source + area(width, y), columns);
    }
    return;
  }
  const Rect placed = scaledPlacement(width, height, newWidth, newHeight);
  const int placedWidth = placed.right - placed.left + 1;
  const int placedHeight = placed.bottom - placed.top + 1;
  std::vector<int> sourceColumn(static_cast<std::size_t>(placedWidth));
  for (int j = 0; j < placedWidth; ++j) {
    sourceColumn[static_cast<std::size_t>(j)] =
        static_cast<int>(static_cast<std::int64_t>(j) * width / placedWidth);
  }
  for (int i = 0; i < placedHeight; ++i) {
    const int sourceRow = static_cast<int>(static_cast<std::int64_t>(i) * height / placedHeight);
    const std::uint8_t* from = source + area(width, sourceRow);
    std::uint8_t* to = target + area(newWidth, placed.top + i) + placed.left;
    for (int j = 0; j < placedWidth; ++j) to[j] = from[sourceColumn[static_cast<std::size_t>(j)]];
  }
}

}  // namespace vemla
