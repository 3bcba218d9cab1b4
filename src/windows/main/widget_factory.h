#pragma once
// The widget factory every window builds its controls with: each control gets its object name
// and, when given, its quick-help text; texts and help are shown in the language in use (marked
// N_() where they are written), as plain text. utf8() is for data, shown as it stands. Widths
// come from the control's own font and style (windows/main/text_fit.h), never fixed pixels.
#include <QString>
#include <Qt>
#include <string>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QWidget;

namespace vemla::controls {

QString utf8(const char* text);
std::string editText(const QLineEdit* edit);
// The small font of the control and tool windows, so that they fit 1024 x 768.
void setCompactFont(QWidget* window);
// A grid with the narrow margins and spacing of the control and tool windows.
QGridLayout* compactGrid(QWidget* group);
QLabel* plainLabel(QWidget* parent, const char* text);
// A push button that never becomes the default one, as narrow as its text allows.
QPushButton* pushButton(QWidget* parent, const char* text, const QString& name, const char* help);
// A dialog's push button: Enter never presses it unless the dialog makes it its default; its
// width the style's own. The second form takes a text already in the language in use.
QPushButton* dialogButton(QWidget* parent, const char* text, const QString& name,
                          const char* help = nullptr);
QPushButton* dialogButton(QWidget* parent, const QString& text, const QString& name,
                          const char* help = nullptr);
QCheckBox* checkBox(QWidget* parent, const char* text, const QString& name, const char* help);
QRadioButton* radioButton(QWidget* parent, const char* text, const QString& name, const char* help);
QLineEdit* lineEdit(QWidget* parent, const QString& name, const char* help, bool readOnly);
// A line edit fixed to the width of the widest number with as many digits as `largest`.
QLineEdit* numberEdit(QWidget* parent, const QString& name, long long largest, const char* help);
QComboBox* comboBox(QWidget* parent, const QString& name, const char* help);
QSlider* slider(QWidget* parent, const QString& name, int lowest, int highest,
                const char* help = nullptr, Qt::Orientation orientation = Qt::Horizontal);
QSpinBox* spinBox(QWidget* parent, const QString& name, int lowest, int highest,
                  const char* help = nullptr);
// A push button as narrow as its text allows, a line edit fixed to show `longest` whole, a
// selector at least wide enough for `longest` beside its arrow.
void fitButton(QPushButton* button);
void fitEdit(QLineEdit* edit, const QString& longest);
void fitSelector(QComboBox* selector, const QString& longest);
// The largest picture side the options allow.
int largestPictureSide();
// Gives the keyboard focus to the image pane "Image1" of the main window of `control`.
void focusImagePane(const QWidget* control);
// Gives the keyboard focus back to the image pane "Image1" of the main window after every
// action of a control in `window`, so that the arrow keys move the cursor again: after a
// button or check click, a selector choice, a slider action, the release of a spin box arrow
// and Enter in a spin box. Typing into an edit keeps the focus there. Call it once the controls
// and their own actions are connected: the focus moves after the action.
void returnFocusAfterActions(QWidget* window);

}  // namespace vemla::controls
