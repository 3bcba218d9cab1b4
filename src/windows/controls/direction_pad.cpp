#include "windows/controls/direction_pad.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include "windows/main/widget_factory.h"

namespace vemla {

DirectionPad::DirectionPad(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSize, kSize);
}

void DirectionPad::paintPad(QPainter& painter, std::optional<ShiftDirection> pressed) {
  // Drawn as shapes on the 32 x 32 logical grid, not as a bitmap: the painter's scale (the
  // screen's device pixel ratio) puts every edge on the device's own pixels, sharp at 200 %.
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(0, 0, kSize, kSize), QColor(212, 208, 200));
  const QPointF centre(kSize / 2.0, kSize / 2.0);
  const qreal end = kSize;
  // Each quarter between the diagonals, and a small arrow inside it.
  const auto quarter = [&](ShiftDirection direction) {
    switch (direction) {
      case ShiftDirection::Up:
        return QPolygonF({QPointF(0, 0), QPointF(end, 0), centre});
      case ShiftDirection::Down:
        return QPolygonF({QPointF(0, end), QPointF(end, end), centre});
      case ShiftDirection::Left:
        return QPolygonF({QPointF(0, 0), QPointF(0, end), centre});
      case ShiftDirection::Right:
        return QPolygonF({QPointF(end, 0), QPointF(end, end), centre});
    }
    return QPolygonF();
  };
  const auto arrow = [&](ShiftDirection direction) {
    switch (direction) {
      case ShiftDirection::Up:
        return QPolygonF({QPointF(16, 3), QPointF(10.5, 9.5), QPointF(21.5, 9.5)});
      case ShiftDirection::Down:
        return QPolygonF({QPointF(16, 29), QPointF(10.5, 22.5), QPointF(21.5, 22.5)});
      case ShiftDirection::Left:
        return QPolygonF({QPointF(3, 16), QPointF(9.5, 10.5), QPointF(9.5, 21.5)});
      case ShiftDirection::Right:
        return QPolygonF({QPointF(29, 16), QPointF(22.5, 10.5), QPointF(22.5, 21.5)});
    }
    return QPolygonF();
  };
  painter.setPen(Qt::NoPen);
  if (pressed) {
    painter.setBrush(QColor(128, 128, 128));
    painter.drawPolygon(quarter(*pressed));
  }
  // The diagonals, one device pixel wide whatever the scale.
  QPen diagonal(QColor(128, 128, 128), 0);
  painter.setPen(diagonal);
  painter.drawLine(QPointF(0, 0), QPointF(end, end));
  painter.drawLine(QPointF(end, 0), QPointF(0, end));
  // A raised frame: light on the top and left, dark on the bottom and right.
  painter.fillRect(QRectF(0, 0, end, 1), Qt::white);
  painter.fillRect(QRectF(0, 0, 1, end), Qt::white);
  painter.fillRect(QRectF(0, end - 1, end, 1), QColor(64, 64, 64));
  painter.fillRect(QRectF(end - 1, 0, 1, end), QColor(64, 64, 64));
  painter.setPen(Qt::NoPen);
  for (const ShiftDirection direction :
       {ShiftDirection::Left, ShiftDirection::Right, ShiftDirection::Up, ShiftDirection::Down}) {
    const bool held = pressed && *pressed == direction;
    painter.setBrush(held ? Qt::white : Qt::black);
    painter.drawPolygon(arrow(direction));
  }
  painter.restore();
}

void DirectionPad::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintPad(painter, held_);
}

void DirectionPad::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  const QPoint point = event->position().toPoint();
  held_ = padDirectionAt(point.x(), point.y());
  update();
  if (held_) emit directionPressed(*held_);
}

void DirectionPad::mouseReleaseEvent(QMouseEvent*) {
  held_.reset();
  update();
}

void returnFocusAfterPresses(QWidget* window) {
  for (auto* pad : window->findChildren<DirectionPad*>()) {
    QObject::connect(pad, &DirectionPad::directionPressed, window,
                     [window] { controls::focusImagePane(window); });
  }
}

}  // namespace vemla
