#pragma once
// A spin box whose arrows take longer steps once they have been held: after `threshold`
// steps of one press (mouse or key repeat) each further step moves by what `heldStep` says.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpinBox>
#include <functional>

namespace vemla {

class HeldSpinBox : public QSpinBox {
 public:
  HeldSpinBox(int threshold, std::function<int()> heldStep, QWidget* parent)
      : QSpinBox(parent), threshold_(threshold), heldStep_(std::move(heldStep)) {}

  void stepBy(int steps) override {
    ++held_;
    QSpinBox::stepBy(held_ > threshold_ ? steps * heldStep_() : steps);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    held_ = 0;
    QSpinBox::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    held_ = 0;
    QSpinBox::mouseReleaseEvent(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (!event->isAutoRepeat()) held_ = 0;
    QSpinBox::keyPressEvent(event);
  }

 private:
  int threshold_;
  std::function<int()> heldStep_;
  int held_ = 0;
};

}  // namespace vemla
