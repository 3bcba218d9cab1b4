#include "processing/image_creation.h"

#include <algorithm>
#include <cstring>

namespace vemla {
namespace {

std::size_t at(int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
}

// The rectangle clipped to the image, for the statistics loops.
Rect clipped(const Rect& rectangle, int width, int height) {
  return {std::max(rectangle.left, 0), std::max(rectangle.top, 0),
          std::min(rectangle.right, width - 1), std::min(rectangle.bottom, height - 1)};
}

CombineRow combineRowOf(int kind, const ImageKernels& kernels) {
  switch (kind) {
    case kKindAverage:
      return kernels.average;
    case kKindDifference:
      return kernels.absoluteDifference;
    case kKindOffsetDifference:
      return kernels.offsetDifference;
    case kKindAnd:
      return kernels.bitwiseAnd;
    case kKindOr:
      return kernels.bitwiseOr;
    case kKindXor:
      return kernels.bitwiseXor;
    default:
      return nullptr;
  }
}

// Kinds made row by row: each row is written and its statistics taken while it is in cache.
// `combine` null copies `source`.
ImageStatistics createByRows(CombineRow combine, const std::uint8_t* source,
                             const CreationPictures& pictures, const Rect& rectangle,
                             std::uint8_t* image, const ImageKernels& kernels) {
  const int width = pictures.width, height = pictures.height;
  const Rect inside = clipped(rectangle, width, height);
  const int count = inside.right - inside.left + 1;
  StatisticsAccumulator accumulator;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = image + at(y, width);
    if (combine != nullptr) {
      combine(pictures.shifted1 + at(y, width), pictures.shifted2 + at(y, width), width, out);
    } else {
      std::memcpy(out, source + at(y, width), static_cast<std::size_t>(width));
    }
    if (y >= inside.top && y <= inside.bottom && count > 0) {
      accumulator.add(kernels.statistics(out + inside.left, count), count);
    }
  }
  return accumulator.finish(rectangle);
}

}  // namespace

StatisticsSource statisticsSourceOf(int builtInKind) {
  if (builtInKind == kKindPicture1) return StatisticsSource::Picture1;
  if (builtInKind == kKindPicture2) return StatisticsSource::Picture2;
  return StatisticsSource::Both;
}

Rect statisticsRectangle(StatisticsSource source, const std::array<Rect, 2>& validRectangles,
                         int marginX, int marginY) {
  const Rect& first = validRectangles[0];
  const Rect& second = validRectangles[1];
  Rect rectangle = source == StatisticsSource::Picture1   ? first
                   : source == StatisticsSource::Picture2 ? second
                                                          : Rect{std::max(first.left, second.left),
                                                                 std::max(first.top, second.top),
                                                                 std::min(first.right, second.right),
                                                                 std::min(first.bottom, second.bottom)};
  rectangle.left += marginX;
  rectangle.right -= marginX;
  rectangle.top += marginY;
  rectangle.bottom -= marginY;
  return rectangle;
}

ImageStatistics createBuiltInImage(int kind, const CreationPictures& pictures,
                                   const AreaDifferenceSettings& area, int maxSizeX,
                                   int maxSizeY, std::uint8_t* image,
                                   const ImageKernels& kernels) {
  const StatisticsSource source = statisticsSourceOf(kind);
  switch (kind) {
    case kKindPicture1:
    case kKindPicture2:
    case kKindUserProgram: {
      const std::uint8_t* copied = kind == kKindPicture1   ? pictures.shifted1
                                   : kind == kKindPicture2 ? pictures.shifted2
                                                           : pictures.userResult;
      return createByRows(nullptr, copied, pictures,
                          statisticsRectangle(source, pictures.validRectangles, 0, 0), image,
                          kernels);
    }
    case kKindAreaDifference: {
      const AreaWindow window = areaWindow(area.sizeX, area.sizeY, maxSizeX, maxSizeY);
      areaDifference(pictures.shifted1, pictures.shifted2, pictures.width, pictures.height,
                     window, area.method, area.divisor, image, kernels);
      // The rectangle shrunk by the margins lies inside the computing range.
      return imageStatistics(image, pictures.width, pictures.height,
                             statisticsRectangle(source, pictures.validRectangles, window.right,
                                                 window.down));
    }
    default: {
      const CombineRow combine = combineRowOf(kind, kernels);
      if (combine == nullptr) return {};
      return createByRows(combine, nullptr, pictures,
                          statisticsRectangle(source, pictures.validRectangles, 0, 0), image,
                          kernels);
    }
  }
}

}  // namespace vemla
