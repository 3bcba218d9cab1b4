#pragma once
// Quick help: while it is switched on, resting the pointer on a control that carries a help
// text shows that text in a small window beside it; F1 shows the text of the control with the
// keyboard focus at any time. Controls declare their text once with setQuickHelp (toolbar
// buttons through their action); the main window's QuickHelp watches all windows.
#include <QPointer>
#include <QString>
#include <QWidget>

namespace vemla {

inline constexpr const char* kQuickHelpProperty = "vemlaQuickHelp";

inline constexpr const char* kQuickHelpOffsetProperty = "vemlaQuickHelpOffset";

inline void setQuickHelp(QWidget* widget, const QString& text) {
  widget->setProperty(kQuickHelpProperty, text);
}
// A menu item's text, shown at the pointer moved down by `offset` (up when negative).
inline void setQuickHelpOn(QObject* action, const QString& text, int offset = 24) {
  action->setProperty(kQuickHelpProperty, text);
  action->setProperty(kQuickHelpOffsetProperty, offset);
}
inline QString quickHelpOf(const QWidget* widget) {
  return widget->property(kQuickHelpProperty).toString();
}

}  // namespace vemla

class QMenu;

namespace vemla {

// The help window "HelpMessage" and the pointer watching that opens it. One help window
// exists at a time; showing another replaces it.
class QuickHelp final : public QObject {
  Q_OBJECT
 public:
  // `owner` is the main window; `on` is the quick-help flag, read on every pointer event.
  QuickHelp(QWidget* owner, const bool& on);
  ~QuickHelp() override;

  // Beside `anchor` (inside the anchor's window, moved up by `verticalOffset`), or as a pop-up
  // at the mouse pointer when `anchor` is null. Returns the window, or null for a text without
  // lines. The help window never takes the keyboard focus.
  QWidget* show(QWidget* anchor, const QString& text, int verticalOffset = 0);
  // The context help of F1: the help of `control`, or of the nearest parent in its window that
  // has one, shown whether quick help is on or not; it closes when the focus moves or another
  // key is pressed. Null when none of them has a text.
  QWidget* showContextHelp(QWidget* control);
  void close();
  QWidget* current() const;

  // Menu items carry their texts with setQuickHelp on the QAction (same property); hovering
  // one while quick help is on shows it at the pointer, 24 pixels lower.
  void watchMenu(QMenu* menu);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* owner_;
  const bool& on_;
  QPointer<QWidget> window_;  // the help window, kept for the next text
  QPointer<QWidget> shown_;   // the help window while it shows
  QPointer<QWidget> anchor_;
  bool closeOnFocusMove_ = false;  // the window shows F1's context help
};

}  // namespace vemla
