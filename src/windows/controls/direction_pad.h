#pragma once
// The direction pad of the manual shift and of the image control's cursor and grid moves.
#include <QWidget>
#include <optional>

#include "processing/manual_shift.h"

class QPainter;

namespace vemla {

// A 32 x 32 pad split by its diagonals, drawn at rest or with the pressed direction's quarter
// sunk while the button is held. A press on a diagonal does nothing. Used by the manual shift and,
// through the same geometry, by the cursor and grid pads of the image control.
class DirectionPad : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kSize = 32;
  explicit DirectionPad(QWidget* parent = nullptr);
  // Paints the pad at rest (nullopt) or with `pressed` held, in logical pixels at the
  // painter's scale.
  static void paintPad(QPainter& painter, std::optional<ShiftDirection> pressed);
  std::optional<ShiftDirection> heldDirection() const { return held_; }

 signals:
  void directionPressed(vemla::ShiftDirection direction);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::optional<ShiftDirection> held_;
};

// Gives the keyboard focus back to the image pane "Image1" after every press on a direction pad
// in `window`, as controls::returnFocusAfterActions does for the other controls.
void returnFocusAfterPresses(QWidget* window);

}  // namespace vemla
