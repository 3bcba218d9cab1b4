#include "windows/dialogs/rgb_ratio_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "editing/small_dialogs.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"

namespace vemla {

RgbRatioDialog::RgbRatioDialog(const QString& titleSuffix, RgbRatio initial, RgbRatio standard,
                               QWidget* parent)
    : QDialog(parent), value_(initial) {
  setObjectName("RgbRatioDialog");
  setWindowTitle(QString::fromStdString(rgbRatioTitle(titleSuffix.toStdString())));
  auto* form = new QFormLayout(this);
  red_ = new QLineEdit(this);
  red_->setObjectName("red");
  green_ = new QLineEdit(this);
  green_->setObjectName("green");
  blue_ = new QLineEdit(this);
  blue_->setObjectName("blue");
  form->addRow("R", red_);
  form->addRow("G", green_);
  form->addRow("B", blue_);
  auto* presets = new QHBoxLayout;
  const std::pair<const char*, RgbRatio> choices[] = {
      {"R", kRedOnly}, {"G", kGreenOnly}, {"B", kBlueOnly}, {text::N_("標準"), standard}};
  for (const auto& [label, ratios] : choices) {
    QPushButton* button =
        controls::dialogButton(this, label, QString("preset") + QString::fromUtf8(label));
    connect(button, &QPushButton::clicked, this, [this, ratios = ratios] { showRatios(ratios); });
    presets->addWidget(button);
  }
  form->addRow(presets);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("OK");
  buttons->button(QDialogButtonBox::Cancel)->setText(ui(text::N_("ｷｬﾝｾﾙ")));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  showRatios(initial);
}

void RgbRatioDialog::showRatios(RgbRatio ratios) {
  red_->setText(QString::fromStdString(formatRatio(ratios.red)));
  green_->setText(QString::fromStdString(formatRatio(ratios.green)));
  blue_->setText(QString::fromStdString(formatRatio(ratios.blue)));
}

void RgbRatioDialog::accept() {
  value_ = {parseRatioField(red_->text().toStdString()),
            parseRatioField(green_->text().toStdString()),
            parseRatioField(blue_->text().toStdString())};
  QDialog::accept();
}

}  // namespace vemla
