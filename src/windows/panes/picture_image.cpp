#include "windows/panes/picture_image.h"

#include <QPainter>
#include <QPen>
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

QImage paneImage(const PaneRaster& pane) {
  if (!pane.rendered()) return {};
  QImage image(kViewSize, kViewSize, QImage::Format_Indexed8);
  QList<QRgb> table(256);
  for (int i = 0; i < 256; ++i) table[i] = argbOf(pane.colours[static_cast<std::size_t>(i)]);
  image.setColorTable(table);
  for (int y = 0; y < kViewSize; ++y) {
    std::memcpy(image.scanLine(y), pane.shown.data() + static_cast<std::size_t>(y) * kViewSize,
                kViewSize);
  }
  return image;
}

QPixmap panePixmap(const PaneRaster& pane, std::optional<ViewPoint> cross) {
  QPixmap pixmap = QPixmap::fromImage(paneImage(pane));
  if (pixmap.isNull() || !cross) return pixmap;
  QPainter painter(&pixmap);
  const int x = cross->x, y = cross->y;
  const QLine lines[] = {QLine(std::max(x - 5, 0), y, std::min(x + 5, kViewSize - 1), y),
                         QLine(x, std::max(y - 5, 0), x, std::min(y + 5, kViewSize - 1))};
  painter.setPen(QPen(Qt::white, 1));
  painter.drawLines(lines, 2);
  QPen dotted(Qt::black, 1);
  dotted.setDashPattern({1, 1});
  painter.setPen(dotted);
  painter.drawLines(lines, 2);
  return pixmap;
}

}  // namespace vemla
