#include "views/picture_image.h"

#include <cstring>

namespace vemla {

QImage pictureImage(const std::uint8_t* pixels, int width, int height, const Palette& palette) {
  QImage image(width, height, QImage::Format_Indexed8);
  QList<QRgb> table(256);
  for (int i = 0; i < 256; ++i) {
    table[i] = qRgb(palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]);
  }
  image.setColorTable(table);
  for (int y = 0; y < height; ++y) {
    std::memcpy(image.scanLine(y), pixels + static_cast<std::size_t>(y) * width, width);
  }
  return image;
}

}  // namespace vemla
