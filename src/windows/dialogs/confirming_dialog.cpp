#include "windows/dialogs/confirming_dialog.h"

#include "editing/small_dialogs.h"
#include "text/translate.h"
#include "windows/main/widget_factory.h"

namespace vemla {

ConfirmingDialog::ConfirmingDialog(UserPort& user, QWidget* parent)
    : QDialog(parent), user_(user) {}

void ConfirmingDialog::reject() {
  if (edited() && !user_.askYesNo(text::tr(kDiscardEditsQuestion))) return;
  QDialog::reject();
}

QPushButton* dialogButton(const QString& text, const QString& objectName, QWidget* parent) {
  return controls::dialogButton(parent, text, objectName);
}

}  // namespace vemla
