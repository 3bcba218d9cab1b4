#pragma once
#include <QDialog>

#include "ports/ports.h"

class QLineEdit;

namespace vemla {

// "RAW ﾌｧｲﾙ情報": width, height and start offset of a raw file. "OK" keeps the dialog open and
// tells the operator when the values are out of range.
class RawSizeDialog : public QDialog {
  Q_OBJECT
 public:
  RawSizeDialog(UserPort& messages, const QString& file, qint64 bytes, RawSize initial,
                int maxWidth, int maxHeight, QWidget* parent = nullptr);
  RawSize value() const { return value_; }
  void accept() override;

 private:
  UserPort& messages_;
  int maxWidth_;
  int maxHeight_;
  RawSize value_;
  QLineEdit* width_;
  QLineEdit* height_;
  QLineEdit* offset_;
};

}  // namespace vemla
