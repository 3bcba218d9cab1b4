#pragma once
// A dialog that edits a working copy: "ｷｬﾝｾﾙ", Esc and the window's close button all end in
// reject(), which asks "編集した内容が失われますがよいですか" when the fields were edited and
// stays open on "いいえ". Buttons made with dialogButton() never become the default by
// accident: only the button a dialog names with setDefault() answers Enter.
#include <QDialog>
#include <QPushButton>

#include "ports/ports.h"

namespace vemla {

class ConfirmingDialog : public QDialog {
  Q_OBJECT
 public:
  ConfirmingDialog(UserPort& user, QWidget* parent);
  void reject() override;

 protected:
  // Whether leaving without committing would lose edits.
  virtual bool edited() const = 0;
  UserPort& user_;
};

// A push button that Enter never presses unless the dialog makes it its default: the widget
// factory's controls::dialogButton.
QPushButton* dialogButton(const QString& text, const QString& objectName, QWidget* parent);

}  // namespace vemla
