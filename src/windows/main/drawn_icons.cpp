#include "windows/main/drawn_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <algorithm>
#include <map>
#include <utility>

namespace vemla {
namespace {

// Draws its square SVG resource at the size asked for, the first time that size is asked for,
// and keeps each face drawn: a start-up then draws only the faces its windows show, at their
// device pixels. Faces of the other modes (disabled, active, selected) are made from the normal
// one by the style, as for icons of pixmaps.
class DrawnIconEngine final : public QIconEngine {
 public:
  explicit DrawnIconEngine(QString resource) : resource_(std::move(resource)) {}

  QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::max(0, std::min(size.width(), size.height()));
    return {side, side};
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    if (side <= 0) return {};
    QPixmap& face = faces_[{side, mode}];
    if (!face.isNull()) return face;
    if (mode == QIcon::Normal) {
      face = draw(side);
    } else {
      const QPixmap normal = pixmap(size, QIcon::Normal, QIcon::Off);
      QStyleOption option;
      option.palette = QApplication::palette();
      const QStyle* style = QApplication::style();
      face = style != nullptr ? style->generatedIconPixmap(mode, normal, &option) : normal;
    }
    return face;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
    painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
  }

 private:
  QPixmap draw(int side) const {
    QSvgRenderer drawing(resource_);
    QPixmap face(side, side);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    return face;
  }

  QString resource_;
  std::map<std::pair<int, QIcon::Mode>, QPixmap> faces_;
};

QIcon drawnIcon(const QString& resource) {
  return QIcon(new DrawnIconEngine(resource));
}

}  // namespace

QIcon toolbarIcon(const char* glyph) {
  return drawnIcon(QStringLiteral(":/toolbar/%1.svg").arg(QString::fromUtf8(glyph)));
}

QIcon applicationIcon() {
  return drawnIcon(QStringLiteral(":/window/org.vemla.Vemla.svg"));
}

QIcon viewerIcon() {
  return drawnIcon(QStringLiteral(":/window/org.vemla.Vemla.Viewer.svg"));
}

}  // namespace vemla
