#pragma once
#include <QPixmap>
#include <QTimer>

#include "windows/panes/pane_menus.h"
#include "workbench/view/pane_drags.h"

namespace vemla {

// An image pane (Image1, Image2): the rendered 512 x 512 view of its derived image with the
// cursor cross. A left click moves the cursor (with Shift it also centres the view) and starts
// drag sliding; the middle button, or Shift/Ctrl with the left button, scrolls the main
// window's work area while the host allows it; the right button centres or opens the pane
// menu (RightClickCentres); the arrow keys move the cursor and the wheel steps the
// magnification. Files may be dropped on it. In the comparison views it keeps both renderings:
// blink shows one at a time, flipped by its timer or by Space; swipe shows Picture 1 before the
// divider and Picture 2 from it, the divider dragged with the mouse or moved with Shift and the
// arrow keys.
class ImagePane final : public PaneWidget {
  Q_OBJECT
 public:
  ImagePane(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
            PaneHost& host, ImageSlot image, QWidget* parent = nullptr);

  // Takes the pane raster and the cursor cross from the workbench and repaints.
  void refresh();

  const QPixmap& pixmap() const { return pixmap_; }
  // Picture 2's rendering while a comparison view is on (else null).
  const QPixmap& secondPixmap() const { return pixmap2_; }
  const QTimer& blinkTimer() const { return blinkTimer_; }
  const DragState& drag() const { return drag_; }
  // Grab scrolling: 0 none, 1 armed, 2 moving.
  int grabState() const { return grabState_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool startsGrabScroll(const QMouseEvent* event) const;
  // Whether view point `at` is on a swiping pane's divider (a few pixels either side).
  bool onDivider(QPoint at) const;
  void updateBlinkTimer();
  // The image scope for the picture point under view point `at` (while it is switched on).
  void showScopeAt(QPoint at);

  ImageSlot image_;
  QPixmap pixmap_;
  QPixmap pixmap2_;
  QTimer blinkTimer_;
  bool draggingDivider_ = false;
  DragState drag_;
  int grabState_ = 0;
  QPoint grabLast_;
  int wheelRemainder_ = 0;  // angle not yet turned into a step (high-resolution wheels)
};

}  // namespace vemla
