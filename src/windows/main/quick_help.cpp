#include "windows/main/quick_help.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include "workbench/commands/help_placement.h"

namespace vemla {
namespace {

QFont helpFont() {
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(12);
  font.setWeight(QFont::Normal);
  return font;
}

// White, borderless or bordered, the lines drawn one under the other from (2, 2).
class HelpWindow final : public QWidget {
 public:
  HelpWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
    setObjectName("HelpMessage");
    setAttribute(Qt::WA_ShowWithoutActivating, parent == nullptr);
    // The pointer passes through to the control under the window: it lies over the control's
    // lower half, and taking the pointer would make the control leave and close the help.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The help window never takes the keyboard: the control under the pointer keeps it.
    setFocusPolicy(Qt::NoFocus);
    setFont(helpFont());
  }
  void setLines(const QStringList& lines) {
    lines_ = lines;
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& line : lines_) widest = std::max(widest, metrics.horizontalAdvance(line));
    lineHeight_ = metrics.height();
    resize(widest + 4, lineHeight_ * static_cast<int>(lines_.size()) + 4);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    if (parentWidget() != nullptr) painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics(font());
    for (int i = 0; i < lines_.size(); ++i) {
      painter.drawText(2, 2 + i * lineHeight_ + metrics.ascent(), lines_[i]);
    }
  }

 private:
  QStringList lines_;
  int lineHeight_ = 12;
};

// The help text of `widget`: its own, or for a toolbar button that of the action it stands for.
QString helpTextOf(const QWidget* widget) {
  QString text = quickHelpOf(widget);
  if (text.isEmpty()) {
    if (const auto* button = qobject_cast<const QToolButton*>(widget);
        button != nullptr && button->defaultAction() != nullptr) {
      text = button->defaultAction()->property(kQuickHelpProperty).toString();
    }
  }
  return text;
}

HelpBox screenBox(const QWidget* widget) {
  const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
  return {topLeft.x(), topLeft.y(), topLeft.x() + widget->width(), topLeft.y() + widget->height()};
}

}  // namespace

QuickHelp::QuickHelp(QWidget* owner, const bool& on) : QObject(owner), owner_(owner), on_(on) {
  qApp->installEventFilter(this);
}

QuickHelp::~QuickHelp() {
  qApp->removeEventFilter(this);
  delete window_.data();  // no event is on its way to the help window now
}

QWidget* QuickHelp::show(QWidget* anchor, const QString& text, int verticalOffset) {
  close();
  QStringList lines;
  for (const std::string& line : helpLines(text.toStdString())) {
    lines << QString::fromStdString(line);
  }
  if (lines.isEmpty()) return nullptr;
  // Inside the window the control belongs to (the main window, or a dialog over it), or a
  // pop-up of its own at the pointer.
  QWidget* owner = anchor != nullptr ? anchor->window() : nullptr;
  const Qt::WindowFlags flags =
      anchor != nullptr ? Qt::WindowFlags(Qt::Widget)
                        : Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowTransparentForInput;
  // One help window is kept and shown again; one of another owner goes once Qt is done
  // delivering the events under way to it.
  if (window_ && (window_->parentWidget() != owner || window_->isWindow() != (owner == nullptr))) {
    window_->deleteLater();
    window_ = nullptr;
  }
  if (!window_) window_ = new HelpWindow(owner, flags);
  auto* window = static_cast<HelpWindow*>(window_.data());
  window->setLines(lines);
  if (anchor == nullptr) {
    window->move(QCursor::pos() + QPoint(0, verticalOffset));
  } else {
    const HelpPoint point = placeHelpBeside(screenBox(anchor), screenBox(owner), window->width(),
                                            window->height(), verticalOffset);
    window->move(owner->mapFromGlobal(QPoint(point.x, point.y)));
    window->raise();
  }
  // Its text is its accessible description, for screen readers.
  window->setAccessibleDescription(text);
  window->show();
  shown_ = window;
  anchor_ = anchor;
  closeOnFocusMove_ = false;
  return window;
}

QWidget* QuickHelp::showContextHelp(QWidget* control) {
  for (QWidget* at = control; at != nullptr; at = at->parentWidget()) {
    const QString text = helpTextOf(at);
    if (!text.isEmpty()) {
      QWidget* window = show(at, text);
      closeOnFocusMove_ = window != nullptr;
      return window;
    }
    if (at->isWindow()) break;
  }
  return nullptr;
}

void QuickHelp::close() {
  // Hidden, not deleted: this runs inside the delivery of the pointer's and the focus's events,
  // which may concern the help window itself.
  if (shown_) shown_->hide();
  shown_ = nullptr;
  anchor_ = nullptr;
  closeOnFocusMove_ = false;
}

QWidget* QuickHelp::current() const {
  return shown_;
}

void QuickHelp::watchMenu(QMenu* menu) {
  connect(menu, &QMenu::hovered, this, [this](QAction* action) {
    const QString text = action->property(kQuickHelpProperty).toString();
    if (!on_ || text.isEmpty()) return;
    const QVariant stored = action->property(kQuickHelpOffsetProperty);
    const int offset = stored.isValid() ? stored.toInt() : 24;
    show(nullptr, text, offset);
  });
  connect(menu, &QMenu::aboutToHide, this, [this] {
    if (shown_ && shown_->parentWidget() == nullptr) close();
  });
}

bool QuickHelp::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress:
      // F1 asks for the help of the control with the keyboard focus, quick help on or off;
      // that help stays until the focus moves or another key is pressed.
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        if (showContextHelp(widget) != nullptr) return true;
      } else if (closeOnFocusMove_) {
        close();
      }
      break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      if (closeOnFocusMove_) close();
      break;
    case QEvent::Enter:
      if (on_ && widget != window_.data()) {
        const QString text = helpTextOf(widget);
        if (!text.isEmpty()) show(widget, text);
      }
      break;
    case QEvent::Leave:
      if (on_ && widget == anchor_ && !closeOnFocusMove_) close();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace vemla
