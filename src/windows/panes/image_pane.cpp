#include "windows/panes/image_pane.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "windows/panes/picture_image.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/comparison_view.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

constexpr int kWheelNotch = 120;  // one step of an ordinary wheel, in eighths of a degree
constexpr int kDividerGrip = 4;   // view pixels either side of the divider that grab it
constexpr int kDividerStep = 8;   // view pixels per Shift + arrow key

std::optional<CursorDirection> directionOf(int key) {
  switch (key) {
    case Qt::Key_Left:
      return CursorDirection::Left;
    case Qt::Key_Right:
      return CursorDirection::Right;
    case Qt::Key_Up:
      return CursorDirection::Up;
    case Qt::Key_Down:
      return CursorDirection::Down;
    default:
      return std::nullopt;
  }
}

}  // namespace

ImagePane::ImagePane(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                     PaneHost& host, ImageSlot image, QWidget* parent)
    : PaneWidget(bench, user, busy, progress, host, paneOf(image), parent), image_(image) {
  setObjectName(image == ImageSlot::First ? "Image1" : "Image2");
  setFixedSize(kViewSize, kViewSize);
  setFocusPolicy(Qt::StrongFocus);
  // A line being entered for a tool follows the mouse without a button held.
  setMouseTracking(true);
  connect(&blinkTimer_, &QTimer::timeout, this, [this] { flipBlink(bench_, image_); });
  refresh();
}

void ImagePane::updateBlinkTimer() {
  const bool blink = bench_.view.comparison[index(image_)].mode == ComparisonMode::Blink;
  if (!blink) {
    blinkTimer_.stop();
  } else if (!blinkTimer_.isActive() || blinkTimer_.interval() != blinkIntervalMs(bench_)) {
    blinkTimer_.start(blinkIntervalMs(bench_));
  }
}

void ImagePane::refresh() {
  const bool cross = bench_.view.cursorShown && bench_.pictures.picturesPresent;
  const std::optional<ViewPoint> at =
      cross ? std::optional<ViewPoint>(cursorViewPointOf(bench_)) : std::nullopt;
  pixmap_ = panePixmap(bench_.view.panes[index(image_)], at);
  const PaneComparison& comparison = bench_.view.comparison[index(image_)];
  pixmap2_ = comparison.on() ? panePixmap(comparison.raster2, at) : QPixmap();
  if (!comparison.on()) draggingDivider_ = false;
  updateBlinkTimer();
  update();
}

void ImagePane::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (pixmap_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const PaneComparison& comparison = bench_.view.comparison[index(image_)];
  const bool second = !pixmap2_.isNull();
  if (second && comparison.mode == ComparisonMode::Blink) {
    painter.drawPixmap(0, 0, comparison.second ? pixmap2_ : pixmap_);
  } else if (second && comparison.mode == ComparisonMode::Swipe) {
    const int d = comparison.divider;
    const QRect first =
        comparison.horizontal ? QRect(0, 0, kViewSize, d) : QRect(0, 0, d, kViewSize);
    const QRect rest = comparison.horizontal ? QRect(0, d, kViewSize, kViewSize - d)
                                             : QRect(d, 0, kViewSize - d, kViewSize);
    painter.drawPixmap(first, pixmap_, first);
    painter.drawPixmap(rest, pixmap2_, rest);
    // The divider: a light line with a dark edge, readable on any colour table.
    const QLine line =
        comparison.horizontal ? QLine(0, d, kViewSize - 1, d) : QLine(d, 0, d, kViewSize - 1);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(line.translated(comparison.horizontal ? QPoint(0, -1) : QPoint(-1, 0)));
    painter.setPen(QPen(QColor(255, 255, 96), 1));
    painter.drawLine(line);
  } else {
    painter.drawPixmap(0, 0, pixmap_);
  }
  // The active tool's shape and text lie over the image.
  if (const std::optional<ToolOverlay> overlay = toolOverlayOf(bench_, image_)) {
    painter.setPen(QPen(QColor(255, 64, 64), 1));
    QPolygon shape;
    for (const ViewPoint& p : overlay->points) shape << QPoint(p.x, p.y);
    if (overlay->closed) {
      painter.drawPolygon(shape);
    } else if (shape.size() == 1) {
      painter.drawPoint(shape.front());
    } else {
      painter.drawPolyline(shape);
    }
    if (!overlay->text.empty()) {
      const QPoint at = shape.back() + QPoint(6, -6);
      painter.drawText(std::clamp(at.x(), 0, std::max(0, width() - 200)),
                       std::clamp(at.y(), 12, height() - 4), QString::fromStdString(overlay->text));
    }
  }
}

bool ImagePane::onDivider(QPoint at) const {
  const PaneComparison& comparison = bench_.view.comparison[index(image_)];
  if (comparison.mode != ComparisonMode::Swipe) return false;
  const int along = comparison.horizontal ? at.y() : at.x();
  return std::abs(along - comparison.divider) <= kDividerGrip;
}

bool ImagePane::startsGrabScroll(const QMouseEvent* event) const {
  if (!host_.grabScrollEnabled()) return false;
  if (event->button() == Qt::MiddleButton) return true;
  return event->button() == Qt::LeftButton &&
         (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
}

void ImagePane::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (startsGrabScroll(event)) {
    grabState_ = 1;
    grabLast_ = event->globalPosition().toPoint();
    setCursor(Qt::OpenHandCursor);
    return;
  }
  if (event->button() == Qt::LeftButton && onDivider(at)) {
    draggingDivider_ = true;
    setFocus();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    clickImagePane(bench_, at.x(), at.y(), (event->modifiers() & Qt::ShiftModifier) != 0);
    toolPaneClick(bench_, at.x(), at.y());
    drag_ = {true, at.x(), at.y()};
    setFocus();
  } else if (event->button() == Qt::RightButton) {
    if (bench_.options.RightClickCentres && (event->modifiers() & Qt::ControlModifier) == 0) {
      clickImagePane(bench_, at.x(), at.y(), true);
      setFocus();
    } else {
      PaneMenuContext context;
      context.cell = imagePaneCellOf(bench_, at.x(), at.y());
      openMenu(at, context);
    }
  }
}

void ImagePane::mouseMoveEvent(QMouseEvent* event) {
  const Qt::MouseButtons held = event->buttons();
  if (grabState_ != 0 && (held & (Qt::LeftButton | Qt::MiddleButton)) != 0) {
    const QPoint now = event->globalPosition().toPoint();
    const QPoint delta = now - grabLast_;
    if (!delta.isNull()) {
      host_.grabScroll(delta);
      grabLast_ = now;
      grabState_ = 2;
    }
    return;
  }
  const QPoint at = event->position().toPoint();
  if (draggingDivider_) {
    if ((held & Qt::LeftButton) == 0) {
      draggingDivider_ = false;
    } else {
      const PaneComparison& comparison = bench_.view.comparison[index(image_)];
      moveSwipeDivider(bench_, image_, comparison.horizontal ? at.y() : at.x());
      return;
    }
  }
  if (held == Qt::NoButton && grabState_ == 0) {
    if (onDivider(at)) {
      const bool horizontal = bench_.view.comparison[index(image_)].horizontal;
      setCursor(horizontal ? Qt::SplitVCursor : Qt::SplitHCursor);
    } else {
      unsetCursor();
    }
  }
  showScopeAt(at);
  if (toolPaneMove(bench_, at.x(), at.y())) return;
  if (!drag_.active) return;
  if ((held & Qt::LeftButton) == 0) {
    drag_.active = false;
    return;
  }
  slideView(bench_, drag_, at.x(), at.y());
}

void ImagePane::showScopeAt(QPoint at) {
  if (!bench_.shell.imageScope) return;
  if (const std::optional<PaneCell> cell = imagePaneCellOf(bench_, at.x(), at.y())) {
    host_.showScope(image_ == ImageSlot::First ? ScopeSource::Image1 : ScopeSource::Image2,
                    mapToGlobal(at), cell->x, cell->y);
  }
}

void ImagePane::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) toolPaneDoubleClick(bench_);
}

void ImagePane::mouseReleaseEvent(QMouseEvent* event) {
  if (grabState_ != 0 && (event->buttons() & (Qt::LeftButton | Qt::MiddleButton)) == 0) {
    grabState_ = 0;
    unsetCursor();
  }
  if (event->button() == Qt::LeftButton) {
    drag_.active = false;
    draggingDivider_ = false;
  }
}

void ImagePane::keyPressEvent(QKeyEvent* event) {
  const PaneComparison& comparison = bench_.view.comparison[index(image_)];
  if (event->key() == Qt::Key_Space && comparison.mode == ComparisonMode::Blink) {
    flipBlink(bench_, image_);
    event->accept();
    return;
  }
  const std::optional<CursorDirection> direction = directionOf(event->key());
  if (direction && comparison.mode == ComparisonMode::Swipe &&
      (event->modifiers() & Qt::ShiftModifier) != 0) {
    const bool across = *direction == CursorDirection::Up || *direction == CursorDirection::Down;
    if (across == comparison.horizontal) {
      const bool back = *direction == CursorDirection::Left || *direction == CursorDirection::Up;
      moveSwipeDivider(bench_, image_, comparison.divider + (back ? -kDividerStep : kDividerStep));
    }
    event->accept();
    return;
  }
  if (!direction || !bench_.pictures.picturesPresent) {
    QWidget::keyPressEvent(event);
    return;
  }
  moveCursor(bench_, *direction, false);
  // The scope follows the cursor.
  const ViewPoint cursor = cursorViewPointOf(bench_);
  showScopeAt(QPoint(cursor.x, cursor.y));
  setFocus();
  event->accept();
}

void ImagePane::wheelEvent(QWheelEvent* event) {
  wheelRemainder_ += event->angleDelta().y();
  while (wheelRemainder_ >= kWheelNotch || wheelRemainder_ <= -kWheelNotch) {
    const bool towardsUser = wheelRemainder_ < 0;
    wheelRemainder_ += towardsUser ? kWheelNotch : -kWheelNotch;
    stepMagnification(bench_, !towardsUser, user_, bench_.tools.active == tools::Tool::Measurement);
  }
  setFocus();
  event->accept();
}

}  // namespace vemla
