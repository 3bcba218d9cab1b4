#include "windows/dialogs/raw_size_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editing/small_dialogs.h"
#include "windows/main/quick_help.h"
#include "windows/main/ui_text.h"

namespace vemla {

using text::N_;

RawSizeDialog::RawSizeDialog(UserPort& messages, const QString& file, qint64 bytes, RawSize initial,
                             int maxWidth, int maxHeight, QWidget* parent)
    : QDialog(parent),
      messages_(messages),
      maxWidth_(maxWidth),
      maxHeight_(maxHeight),
      value_(initial) {
  setObjectName("RawSizeDialog");
  setWindowTitle(ui(kRawSizeTitle));
  auto* form = new QFormLayout(this);
  auto* name = new QLabel(file, this);
  name->setObjectName("file");
  name->setTextFormat(Qt::PlainText);
  form->addRow(name);
  auto* size = new QLabel(QString::fromStdString(rawFileBytesText(bytes)), this);
  size->setObjectName("bytes");
  form->addRow(size);
  width_ = new QLineEdit(QString::number(initial.width), this);
  width_->setObjectName("width");
  height_ = new QLineEdit(QString::number(initial.height), this);
  height_->setObjectName("height");
  offset_ = new QLineEdit(QString::number(initial.offset), this);
  offset_->setObjectName("offset");
  const QString help = QString::fromStdString(rawSizeHelpText(maxWidth, maxHeight));
  for (QLineEdit* edit : {width_, height_, offset_}) {
    edit->setToolTip(help);
    setQuickHelp(edit, help);
  }
  form->addRow(ui(N_("幅")), width_);
  form->addRow(ui(N_("高さ")), height_);
  form->addRow(ui(N_("読み込み先頭位置")), offset_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Cancel)->setText(ui(N_("ｷｬﾝｾﾙ")));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

void RawSizeDialog::accept() {
  // Text that is not a number reads as 0 and is then refused by the range check.
  RawSize entered{width_->text().toInt(), height_->text().toInt(), offset_->text().toLongLong()};
  bool offsetOk = false;
  offset_->text().toLongLong(&offsetOk);
  if (!offsetOk) entered.offset = -1;
  if (const auto problem = checkRawSize(entered, maxWidth_, maxHeight_)) {
    messages_.tell(Icon::Warning, *problem);
    return;
  }
  value_ = entered;
  QDialog::accept();
}

}  // namespace vemla
