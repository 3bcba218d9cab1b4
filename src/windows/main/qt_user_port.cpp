#include "windows/main/qt_user_port.h"

#include <QMessageBox>
#include <QPushButton>

#include "windows/dialogs/raw_size_dialog.h"
#include "windows/dialogs/rgb_ratio_dialog.h"
#include "windows/main/ui_text.h"

namespace vemla {
namespace {

using text::N_;

QString toQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon toQt(Icon icon) {
  switch (icon) {
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Error:
      return QMessageBox::Critical;
    case Icon::Info:
      return QMessageBox::Information;
    case Icon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtUserPort::tell(Icon icon, std::string_view text, std::string_view title) {
  QMessageBox box(toQt(icon), toQt(title), toQt(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtUserPort::askYesNo(std::string_view text) {
  QMessageBox box(QMessageBox::Question, "Vemla", toQt(text), QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes = box.addButton(ui(N_("はい(&Y)")), QMessageBox::YesRole);
  box.addButton(ui(N_("いいえ(&N)")), QMessageBox::NoRole);
  box.exec();
  return box.clickedButton() == yes;
}

Answer QtUserPort::askYesNoCancel(std::string_view text, Icon icon) {
  QMessageBox box(toQt(icon), "Vemla", toQt(text), QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes = box.addButton(ui(N_("はい(&Y)")), QMessageBox::YesRole);
  QPushButton* no = box.addButton(ui(N_("いいえ(&N)")), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(ui(N_("ｷｬﾝｾﾙ")), QMessageBox::RejectRole);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (box.clickedButton() == no) return Answer::No;
  return Answer::Cancel;
}

std::optional<RawSize> QtUserPort::askRawSize(std::string_view file, std::int64_t bytes,
                                              RawSize initial) {
  if (preset_ && preset_->first == file) {
    const RawSize given = preset_->second;
    preset_.reset();
    return given;
  }
  RawSizeDialog dialog(*this, toQt(file), bytes, initial, options_.MaxPictureWidth,
                       options_.MaxPictureHeight, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.value();
}

std::optional<RgbRatio> QtUserPort::askRgbRatio(std::string_view titleSuffix, RgbRatio initial) {
  RgbRatioDialog dialog(toQt(titleSuffix), initial, options_.GreyRatio, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.value();
}

}  // namespace vemla
