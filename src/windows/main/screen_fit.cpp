#include "windows/main/screen_fit.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

namespace vemla {
namespace {

// A title bar and a thin border, for windows whose frame is not known yet.
constexpr QMargins kUsualFrame{4, 32, 4, 4};

}  // namespace

void useWholeScaleFactors() {
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR_ROUNDING_POLICY")) return;
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

QMargins frameAllowance(const QWidget& window) {
  if (window.isVisible()) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins measured(inner.left() - frame.left(), inner.top() - frame.top(),
                            frame.right() - inner.right(), frame.bottom() - inner.bottom());
    if (!measured.isNull()) return measured;
  }
  return kUsualFrame;
}

QPoint keptInArea(QPoint wanted, QSize frame, const QRect& area) {
  if (area.isEmpty()) return wanted;
  const int x = std::max(area.left(), std::min(wanted.x(), area.right() + 1 - frame.width()));
  const int y = std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - frame.height()));
  return {x, y};
}

void moveWhollyInto(QWidget& window, QPoint wanted, const QRect& area) {
  const QMargins frame = frameAllowance(window);
  const QSize outer = window.isVisible() ? window.frameGeometry().size()
                                         : window.size().grownBy(frame);
  window.move(keptInArea(wanted, outer, area));
}

void fitIntoArea(QWidget& window, const QRect& area) {
  if (!area.isValid()) return;
  const QMargins frame = frameAllowance(window);
  const QRect room = area.marginsRemoved(frame);
  // A new window gets at most two thirds of the screen from Qt; it may have what it asks for.
  const QSize size = window.size()
                         .expandedTo(window.sizeHint())
                         .boundedTo(room.size())
                         .expandedTo(window.minimumSize())
                         .expandedTo(QSize(1, 1));
  // The top left corner wins: what cannot fit hangs off the right and bottom, never the title
  // bar.
  const QRect current = window.geometry();
  const int x = std::max(room.left(), std::min(current.x(), room.right() + 1 - size.width()));
  const int y = std::max(room.top(), std::min(current.y(), room.bottom() + 1 - size.height()));
  const QRect wanted(QPoint(x, y), size);
  if (wanted != current) window.setGeometry(wanted);
}

ContentScroller::ContentScroller(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWidget(content);
}

QSize ContentScroller::sizeHint() const {
  const QSize content = widget() != nullptr ? widget()->sizeHint() : QSize();
  return content + QSize(2 * frameWidth(), 2 * frameWidth());
}

QSize ContentScroller::minimumSizeHint() const {
  // As wide as the content needs with the vertical scroll bar beside it; a few lines high.
  const int width = widget() != nullptr ? widget()->minimumSizeHint().width() : 0;
  return {width + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
          4 * fontMetrics().height()};
}

ScreenFit::ScreenFit(AreaOf areaOf) : areaOf_(std::move(areaOf)) {
  if (!areaOf_) {
    areaOf_ = [](const QWidget& window) {
      const QScreen* screen = window.screen();
      return screen != nullptr ? screen->availableGeometry() : QRect();
    };
  }
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* dialog = qobject_cast<QDialog*>(watched); dialog != nullptr && dialog->isWindow()) {
      fitIntoArea(*dialog, areaOf_(*dialog));
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vemla
