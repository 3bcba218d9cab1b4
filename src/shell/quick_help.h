#pragma once
// Quick help: while it is switched on, resting the pointer on a control that carries a help
// text shows that text in a small window beside it. Controls declare their text once with
// setQuickHelp; the main window's QuickHelp watches the pointer for all windows.
#include <QString>
#include <QWidget>

namespace vemla {

inline constexpr const char* kQuickHelpProperty = "vemlaQuickHelp";

inline void setQuickHelp(QWidget* widget, const QString& text) {
  widget->setProperty(kQuickHelpProperty, text);
}
inline QString quickHelpOf(const QWidget* widget) {
  return widget->property(kQuickHelpProperty).toString();
}

}  // namespace vemla
