#include "windows/main/quick_help.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>

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
  HelpWindow(QWidget* parent, const QStringList& lines, Qt::WindowFlags flags)
      : QWidget(parent, flags), lines_(lines) {
    setObjectName("HelpMessage");
    setAttribute(Qt::WA_ShowWithoutActivating, parent == nullptr);
    setFont(helpFont());
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& line : lines_) widest = std::max(widest, metrics.horizontalAdvance(line));
    lineHeight_ = metrics.height();
    resize(widest + 4, lineHeight_ * static_cast<int>(lines_.size()) + 4);
  }
  QStringList lines() const { return lines_; }

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
  close();
}

QWidget* QuickHelp::show(QWidget* anchor, const QString& text, int verticalOffset) {
  close();
  QStringList lines;
  for (const std::string& line : helpLines(text.toStdString())) {
    lines << QString::fromStdString(line);
  }
  if (lines.isEmpty()) return nullptr;
  HelpWindow* window = nullptr;
  if (anchor == nullptr) {
    window = new HelpWindow(nullptr, lines,
                            Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->move(QCursor::pos() + QPoint(0, verticalOffset));
  } else {
    window = new HelpWindow(owner_, lines, Qt::Widget);
    const HelpPoint point = placeHelpBeside(screenBox(anchor), screenBox(owner_), window->width(),
                                            window->height(), verticalOffset);
    window->move(owner_->mapFromGlobal(QPoint(point.x, point.y)));
    window->raise();
  }
  window->show();
  window_ = window;
  anchor_ = anchor;
  return window;
}

void QuickHelp::close() {
  // Nothing of the help window is on the stack here (it takes no input), so it goes at once.
  delete window_.data();
  window_ = nullptr;
  anchor_ = nullptr;
}

QWidget* QuickHelp::current() const {
  return window_;
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
    if (window_ && window_->parentWidget() == nullptr) close();
  });
}

bool QuickHelp::eventFilter(QObject* watched, QEvent* event) {
  if (!on_ || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (event->type() == QEvent::Enter) {
    const QString text = quickHelpOf(widget);
    if (!text.isEmpty() && widget != window_) show(widget, text);
  } else if (event->type() == QEvent::Leave && widget == anchor_) {
    close();
  }
  return false;
}

}  // namespace vemla
