#pragma once
// The image scope window: a 256 x 256 child of the main window's layout, clipped to a circle,
// that shows the neighbourhood of the pixel pointed at in a pane (image_scope.h paints it). A
// request only records what to show and asks for a repaint, so a burst of mouse moves costs one
// painting per frame. The scope hides as soon as the mouse comes over it, and the keyboard
// focus goes back to image pane 1.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "processing/image_scope.h"
#include "workbench/workbench.h"

namespace vemla {

class ImageScopeWindow final : public QWidget {
  Q_OBJECT
 public:
  ImageScopeWindow(const Workbench& bench, QWidget* parent);

  // Shows the scope of `source` for pixel (x, y) with its top-left corner at `topLeft` (parent
  // coordinates). Nothing without pictures or outside them.
  void showFor(ScopeSource source, QPoint topLeft, int x, int y);
  // The widget that takes the keyboard focus after each painting (image pane 1).
  void setFocusTarget(QWidget* target) { focusTarget_ = target; }

  ScopeSource source() const { return source_; }
  QPoint pixel() const { return {x_, y_}; }
  // The raster as last painted (tests).
  const QImage& raster() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;

 private:
  void paintRaster();

  const Workbench& bench_;
  QPointer<QWidget> focusTarget_;
  ScopeSource source_ = ScopeSource::Picture1;
  int x_ = 0, y_ = 0;
  std::vector<std::uint8_t> raster_;
  ScopeWork work_;
  QImage image_;
};

}  // namespace vemla
