#include "windows/main/text_fit.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

namespace vemla {

int editWidthFor(const QLineEdit* edit, const QString& text) {
  // A line edit keeps two pixels between its frame and the text on each side and one for the
  // cursor after the last character; a text wider than that scrolls until the cursor shows.
  constexpr int kInnerMargins = 2 * 2, kCursor = 1;
  const QFontMetrics metrics = edit->fontMetrics();
  const QMargins margins = edit->textMargins();
  const QSize contents(
      metrics.horizontalAdvance(text) + kCursor + kInnerMargins + margins.left() + margins.right(),
      metrics.height());
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.lineWidth = edit->hasFrame()
                         ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                         : 0;
  option.state |= QStyle::State_Sunken;
  return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit).width();
}

int selectorWidthFor(const QComboBox* selector, const QString& text) {
  QStyleOptionComboBox option;
  option.initFrom(selector);
  option.editable = selector->isEditable();
  option.frame = selector->hasFrame();
  const QFontMetrics metrics = selector->fontMetrics();
  const QSize contents(metrics.horizontalAdvance(text), metrics.height());
  return selector->style()
      ->sizeFromContents(QStyle::CT_ComboBox, &option, contents, selector)
      .width();
}

int buttonWidthFor(const QPushButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  const QStyle* style = button->style();
  return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() +
         style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) +
         2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
}

QString widestText(const QWidget* widget, const QStringList& texts) {
  const QFontMetrics metrics = widget->fontMetrics();
  QString widest;
  for (const QString& text : texts) {
    if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest)) widest = text;
  }
  return widest;
}

QString widestNumber(const QWidget* widget, long long largest) {
  QStringList digits;
  for (char digit = '0'; digit <= '9'; ++digit) digits.push_back(QString(QChar(digit)));
  return widestText(widget, digits).repeated(QString::number(largest).size());
}

}  // namespace vemla
