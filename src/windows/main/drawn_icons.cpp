#include "windows/main/drawn_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <initializer_list>

namespace vemla {
namespace {

QIcon drawnIcon(const QString& resource, std::initializer_list<int> sizes) {
  QSvgRenderer drawing(resource);
  QIcon icon;
  for (int pixels : sizes) {
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon toolbarIcon(const char* glyph) {
  return drawnIcon(QStringLiteral(":/toolbar/%1.svg").arg(QString::fromUtf8(glyph)),
                   {16, 24, 32, 48, 96});
}

QIcon applicationIcon() {
  return drawnIcon(QStringLiteral(":/window/org.vemla.Vemla.svg"),
                   {16, 24, 32, 48, 64, 96, 128, 256});
}

QIcon viewerIcon() {
  return drawnIcon(QStringLiteral(":/window/org.vemla.Vemla.Viewer.svg"),
                   {16, 24, 32, 48, 64, 96, 128, 256});
}

}  // namespace vemla
