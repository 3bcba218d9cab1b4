#pragma once
// Widths taken from a control's own font and style, never fixed pixels: a field sized for one
// font clips its text under another (a line edit then scrolls to the end of its text and shows
// only its tail; a selector cuts its text off at the arrow).
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vemla {

// The width a line edit needs to show `text` whole: the text, the cursor after it, the edit's
// inner margins and the style's frame.
int editWidthFor(const QLineEdit* edit, const QString& text);
// The width a selector needs to show `text` beside its arrow.
int selectorWidthFor(const QComboBox* selector, const QString& text);
// A push button's text with the style's margin and frame; unlike its size hint, without the
// minimum some styles give every text button (made for dialog buttons such as "OK").
int buttonWidthFor(const QPushButton* button);

// The widest of `texts` in `widget`'s font.
QString widestText(const QWidget* widget, const QStringList& texts);
// The widest number in `widget`'s font with as many digits as `largest`.
QString widestNumber(const QWidget* widget, long long largest);

}  // namespace vemla
