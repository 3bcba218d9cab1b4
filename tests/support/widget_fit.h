#pragma once
// Window-test checks that a control shows its text whole and that a field is labelled, asked of
// the widgets as they paint rather than of the sizes the windows chose.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace vemla::testing {

// Whether `edit` shows its text whole. Painted with the cursor after the last character (where
// setText leaves it), a line edit too narrow for its text scrolls the start out of sight: the
// cursor put back to the start then stands left of where an empty edit starts its text.
inline bool showsWhole(QLineEdit* edit) {
  const auto cursorLeft = [edit] {
    return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
  };
  const QString text = edit->text();
  edit->clear();
  edit->grab();
  const int start = cursorLeft();
  edit->setText(text);
  edit->grab();
  edit->home(false);
  return cursorLeft() == start;
}

// The first row of `selector` its text field cannot hold beside the arrow; empty when every row
// fits.
inline QString clippedRow(const QComboBox* selector) {
  QStyleOptionComboBox option;
  option.initFrom(selector);
  option.editable = selector->isEditable();
  option.frame = selector->hasFrame();
  const int room =
      selector->style()
          ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, selector)
          .width();
  for (int row = 0; row < selector->count(); ++row) {
    const QString text = selector->itemText(row);
    if (selector->fontMetrics().horizontalAdvance(text) > room) return text;
  }
  return {};
}

// The text of the label naming `field`: a QLabel whose buddy is the field or the row widget
// holding it; empty when there is none.
inline QString labelOf(const QWidget* field) {
  for (const QLabel* label : field->window()->findChildren<QLabel*>()) {
    for (const QWidget* at = field; at != nullptr && !at->isWindow(); at = at->parentWidget()) {
      if (label->buddy() == at) return label->text();
    }
  }
  return {};
}

// The first visible control of `window` that does not take a click at its own centre (another
// control drawn over it, or the window too small for it), as "name: what is there instead";
// empty when every control is where it is drawn. Real clicks land by these geometries, so an
// overlap shows here although synthetic clicks sent to the widget itself still work.
inline QString controlHiddenAtItsCentre(const QWidget* window) {
  for (const QWidget* control : window->findChildren<QWidget*>()) {
    if (!control->isVisible() || control->objectName().isEmpty()) continue;
    if (control->parentWidget() == nullptr || control->parentWidget()->inherits("QAbstractSpinBox"))
      continue;
    const QPoint centre = control->mapTo(window, control->rect().center());
    const QWidget* hit = window->childAt(centre);
    while (hit != nullptr && hit != control && hit != window) hit = hit->parentWidget();
    if (hit != control) {
      const QWidget* other = window->childAt(centre);
      return control->objectName() + ": " +
             (other == nullptr ? QStringLiteral("nothing") : other->objectName() + " (" +
                                                                  other->metaObject()->className() +
                                                                  ")");
    }
  }
  return {};
}

}  // namespace vemla::testing
