#pragma once
#include <QDialog>

#include "ports/ports.h"

class QLineEdit;

namespace vemla {

// "TrueColor RGB比": the three grey conversion ratios of a true-colour file, with buttons for
// red only, green only, blue only and the option's standard ratios.
class RgbRatioDialog : public QDialog {
  Q_OBJECT
 public:
  RgbRatioDialog(const QString& titleSuffix, RgbRatio initial, RgbRatio standard,
                 QWidget* parent = nullptr);
  RgbRatio value() const { return value_; }
  void accept() override;

 private:
  void showRatios(RgbRatio ratios);
  RgbRatio value_;
  QLineEdit* red_;
  QLineEdit* green_;
  QLineEdit* blue_;
};

}  // namespace vemla
