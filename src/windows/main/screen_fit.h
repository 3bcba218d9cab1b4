#pragma once
// Keeps dialogs on the screen: a dialog taller or wider than the free area of its screen (a
// 1024 x 768 screen, a large font) is shrunk to it, down to its minimum size, and moved so that
// its title bar and buttons stay in sight. Installed once on the application, it watches every
// dialog as it is shown; the area can be injected for tests.
#include <QMargins>
#include <QObject>
#include <QRect>
#include <QScrollArea>
#include <functional>

class QWidget;

namespace vemla {

// Whole scale factors (100 %, 200 %, …) unless the user chose a rounding policy: every pixel of a
// picture then covers an exact block of screen pixels. Called before the application object.
void useWholeScaleFactors();

// The room the window system's frame takes around a top-level window: what the frame measures
// once the window is mapped with one, else an allowance for a usual title bar and border.
QMargins frameAllowance(const QWidget& window);

// Where a window whose frame is `frame` big goes when it should be at `wanted` (its frame's top
// left corner) and lie wholly inside `area`: moved in by as little as it takes. A frame larger
// than the area keeps its top left corner in it (the title bar stays in sight).
QPoint keptInArea(QPoint wanted, QSize frame, const QRect& area);
// Moves the top-level `window` to `wanted`, moved in so that it and its frame lie wholly inside
// `area` (nothing is moved in when the area is empty). For positions that were remembered or
// taken from another window.
void moveWhollyInto(QWidget& window, QPoint wanted, const QRect& area);

// Shrinks `window` (never below its minimum size) and moves it so that it and its frame lie
// inside `area` where they can.
void fitIntoArea(QWidget& window, const QRect& area);

// A scroll area that asks for its content's full size, so that it scrolls only when its window
// had to be made smaller than that; it never needs to scroll sideways.
class ContentScroller final : public QScrollArea {
 public:
  ContentScroller(QWidget* content, QWidget* parent);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
};

class ScreenFit final : public QObject {
 public:
  // The free area for a window; by default its screen's available geometry.
  using AreaOf = std::function<QRect(const QWidget&)>;
  explicit ScreenFit(AreaOf areaOf = {});

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AreaOf areaOf_;
};

}  // namespace vemla
