#pragma once
// The calculator "電卓": a modeless window in which the operator types or clicks together an
// expression and evaluates it. Only one exists; closing it hides it, so the expression, the
// result and the hexadecimal mode stay for the next opening.
#include <QDialog>
#include <functional>

#include "extensions/calculator.h"
#include "workbench/workbench.h"

class QLineEdit;
class QRadioButton;

namespace vemla {

class CalculatorWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CalculatorWindow(QWidget* parent = nullptr);

  QLineEdit* expressionField() const { return expression_; }
  QLineEdit* resultField() const { return result_; }
  HexMode hexMode() const;
  // Shows the window with the kept texts and mode, the focus in the expression field.
  void present();

 public slots:
  // "計算": the result field shows the value or "式に誤りがあります".
  void calculate();

 signals:
  // "メモ": the main window opens the memo file.
  void memoRequested();

 private:
  void insertText(const char* text);
  void deleteBeforeCaret();
  void editExpression(const std::function<bool(CalculatorField&)>& edit);

  QLineEdit* expression_ = nullptr;
  QLineEdit* result_ = nullptr;
  QRadioButton* unsigned_ = nullptr;
  QRadioButton* signed_ = nullptr;
};

// 40105: shows the one calculator window (creates it on first use, raises it after).
void showCalculator(QWidget* parent, Workbench& bench);

}  // namespace vemla
