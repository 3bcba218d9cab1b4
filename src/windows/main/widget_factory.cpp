#include "windows/main/widget_factory.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>

#include "options/option_table.h"
#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"

namespace vemla::controls {

QString utf8(const char* text) {
  return QString::fromUtf8(text);
}

std::string editText(const QLineEdit* edit) {
  return edit->text().toStdString();
}

void setCompactFont(QWidget* window) {
  QFont font = window->font();
  font.setPixelSize(11);
  window->setFont(font);
}

QGridLayout* compactGrid(QWidget* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(3, 3, 3, 3);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(1);
  return grid;
}

QLabel* plainLabel(QWidget* parent, const char* text) {
  auto* label = new QLabel(ui(text), parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

namespace {
template <typename Widget>
Widget* named(Widget* widget, const QString& name, const char* help) {
  widget->setObjectName(name);
  if (help != nullptr) setQuickHelp(widget, ui(help));
  return widget;
}
}  // namespace

QPushButton* pushButton(QWidget* parent, const char* text, const QString& name, const char* help) {
  auto* button = named(new QPushButton(ui(text), parent), name, help);
  button->setAutoDefault(false);
  button->setMinimumWidth(buttonWidthFor(button));
  return button;
}

QPushButton* dialogButton(QWidget* parent, const char* text, const QString& name,
                          const char* help) {
  return dialogButton(parent, ui(text), name, help);
}

QPushButton* dialogButton(QWidget* parent, const QString& text, const QString& name,
                          const char* help) {
  auto* button = named(new QPushButton(text, parent), name, help);
  button->setAutoDefault(false);
  return button;
}

void fitButton(QPushButton* button) {
  button->setFixedWidth(buttonWidthFor(button));
}

void fitEdit(QLineEdit* edit, const QString& longest) {
  edit->setFixedWidth(editWidthFor(edit, longest));
}

void fitSelector(QComboBox* selector, const QString& longest) {
  selector->setMinimumWidth(selectorWidthFor(selector, longest));
}

int largestPictureSide() {
  return static_cast<int>(
      std::max(optionNamed("MaxPictureWidth").high, optionNamed("MaxPictureHeight").high));
}

QCheckBox* checkBox(QWidget* parent, const char* text, const QString& name, const char* help) {
  return named(new QCheckBox(ui(text), parent), name, help);
}

QRadioButton* radioButton(QWidget* parent, const char* text, const QString& name,
                          const char* help) {
  return named(new QRadioButton(ui(text), parent), name, help);
}

QLineEdit* lineEdit(QWidget* parent, const QString& name, const char* help, bool readOnly) {
  auto* edit = named(new QLineEdit(parent), name, help);
  edit->setReadOnly(readOnly);
  edit->setMinimumWidth(0);
  return edit;
}

QLineEdit* numberEdit(QWidget* parent, const QString& name, long long largest, const char* help) {
  auto* edit = named(new QLineEdit(parent), name, help);
  edit->setFixedWidth(editWidthFor(edit, widestNumber(edit, largest)));
  return edit;
}

QComboBox* comboBox(QWidget* parent, const QString& name, const char* help) {
  auto* combo = named(new QComboBox(parent), name, help);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(3);
  return combo;
}

QSlider* slider(QWidget* parent, const QString& name, int lowest, int highest, const char* help,
                Qt::Orientation orientation) {
  auto* control = named(new QSlider(orientation, parent), name, help);
  control->setRange(lowest, highest);
  return control;
}

QSpinBox* spinBox(QWidget* parent, const QString& name, int lowest, int highest, const char* help) {
  auto* spin = named(new QSpinBox(parent), name, help);
  spin->setRange(lowest, highest);
  return spin;
}

void focusImagePane(const QWidget* control) {
  if (auto* pane = control->window()->findChild<QWidget*>(QStringLiteral("Image1"))) {
    pane->setFocus(Qt::OtherFocusReason);
  }
}

namespace {

// A spin box receives the mouse only on its arrows (its text field is a child widget), so a
// release there ends a step, held or not.
class ArrowRelease : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) focusImagePane(static_cast<QWidget*>(watched));
    return false;
  }
};

}  // namespace

void returnFocusAfterActions(QWidget* window) {
  const auto back = [window] { focusImagePane(window); };
  for (auto* button : window->findChildren<QAbstractButton*>()) {
    QObject::connect(button, &QAbstractButton::clicked, window, back);
  }
  for (auto* selector : window->findChildren<QComboBox*>()) {
    QObject::connect(selector, &QComboBox::activated, window, back);
  }
  for (auto* slider : window->findChildren<QSlider*>()) {
    QObject::connect(slider, &QSlider::actionTriggered, window, back);
    QObject::connect(slider, &QSlider::sliderReleased, window, back);
  }
  auto* arrows = new ArrowRelease(window);
  for (auto* spin : window->findChildren<QAbstractSpinBox*>()) {
    spin->installEventFilter(arrows);
    QObject::connect(spin, &QAbstractSpinBox::editingFinished, window, [spin] {
      // Also emitted when the spin box loses the focus: then it goes where the operator put it.
      if (spin->hasFocus()) focusImagePane(spin);
    });
  }
}

}  // namespace vemla::controls
