#include "processing/picture_thumbnail.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vemla {

void buildPictureThumbnail(const std::uint8_t* picture, int width, int height,
                           PictureThumbnail& thumbnail) {
  thumbnail.pixels.assign(
      static_cast<std::size_t>(kPictureThumbnailWidth) * kPictureThumbnailHeight,
      kThumbnailBackground);
  thumbnail.offsetX = thumbnail.offsetY = thumbnail.width = thumbnail.height = 0;
  if (picture == nullptr || width <= 0 || height <= 0) return;

  const long long w = width, h = height;
  const int shownWidth = width >= height
                             ? kThumbnailSquare
                             : static_cast<int>(std::max<long long>(w * kThumbnailSquare / h, 1));
  const int shownHeight = width >= height
                              ? static_cast<int>(std::max<long long>(h * kThumbnailSquare / w, 1))
                              : kThumbnailSquare;
  thumbnail.width = shownWidth;
  thumbnail.height = shownHeight;
  thumbnail.offsetX = (kThumbnailSquare - shownWidth) / 2;
  thumbnail.offsetY = kThumbnailSquareTop + (kThumbnailSquare - shownHeight) / 2;

  std::array<int, kThumbnailSquare> columns{};
  for (int j = 0; j < shownWidth; ++j) {
    columns[static_cast<std::size_t>(j)] = static_cast<int>(j * w / shownWidth);
  }
  for (int i = 0; i < shownHeight; ++i) {
    const std::uint8_t* source =
        picture + static_cast<std::size_t>(i * h / shownHeight) * static_cast<std::size_t>(width);
    std::uint8_t* out = thumbnail.pixels.data() +
                        static_cast<std::size_t>(thumbnail.offsetY + i) * kPictureThumbnailWidth +
                        thumbnail.offsetX;
    for (int j = 0; j < shownWidth; ++j) out[j] = source[columns[static_cast<std::size_t>(j)]];
  }
}

std::optional<ThumbnailOutline> thumbnailOutline(const PictureThumbnail& thumbnail, int width,
                                                 int height, const ViewSettings& settings,
                                                 const ViewPlacement& placement) {
  if (!thumbnail.hasPicture() || width <= 0 || height <= 0) return std::nullopt;
  if (showsReduced(settings, width, height)) return std::nullopt;
  const long long m = std::clamp(settings.magnification, 1, kMaxMagnification);
  if (m == 1 && width == kViewSize && height == kViewSize) return std::nullopt;
  const long long tw = thumbnail.width, th = thumbnail.height;
  ThumbnailOutline outline;
  outline.left = static_cast<int>(
      thumbnail.offsetX +
      tw * (placement.originX + static_cast<long long>(placement.windowColumn)) / width);
  outline.top = static_cast<int>(
      thumbnail.offsetY +
      th * (placement.originY + static_cast<long long>(placement.windowRow)) / height);
  outline.width = static_cast<int>(tw * kViewSize / width / m);
  outline.height = static_cast<int>(th * kViewSize / height / m);
  if (outline.width == 0 && outline.height == 0) outline.width = outline.height = 1;
  return outline;
}

std::optional<PicturePoint> thumbnailPicturePoint(const PictureThumbnail& thumbnail, int width,
                                                  int height, int u, int v) {
  if (!thumbnail.hasPicture() || width <= 0 || height <= 0) return std::nullopt;
  const long long du =
      std::clamp(u, thumbnail.offsetX, thumbnail.offsetX + thumbnail.width - 1) - thumbnail.offsetX;
  const long long dv = std::clamp(v, thumbnail.offsetY, thumbnail.offsetY + thumbnail.height - 1) -
                       thumbnail.offsetY;
  return PicturePoint{static_cast<int>(du * width / thumbnail.width),
                      static_cast<int>(dv * height / thumbnail.height)};
}

}  // namespace vemla
