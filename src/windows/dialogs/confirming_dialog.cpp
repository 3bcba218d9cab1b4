#include "windows/dialogs/confirming_dialog.h"

#include "editing/small_dialogs.h"
#include "text/translate.h"

namespace vemla {

ConfirmingDialog::ConfirmingDialog(UserPort& user, QWidget* parent)
    : QDialog(parent), user_(user) {}

void ConfirmingDialog::reject() {
  if (edited() && !user_.askYesNo(text::tr(kDiscardEditsQuestion))) return;
  QDialog::reject();
}

QPushButton* dialogButton(const QString& text, const QString& objectName, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  return button;
}

}  // namespace vemla
