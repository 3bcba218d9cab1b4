#include "windows/editors/calculator_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "extensions/calculator.h"
#include "extensions/expression_rules.h"
#include "windows/editors/explanation_dialog.h"
#include "windows/main/quick_help.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "windows/main/workbench_window.h"

namespace vemla {

using text::N_;
namespace {

// The insert buttons in five rows of the pad, by the text they insert.
constexpr const char* kPadRows[][6] = {
    {"(", ")", "%", "\"", "0x", nullptr},
    {"7", "8", "9", "/", "A", "B"},
    {"4", "5", "6", "*", "C", "D"},
    {"1", "2", "3", "-", "E", "F"},
    {"0", ".", "+", nullptr, nullptr, nullptr},
};

const CalculatorKey* keyInserting(const char* text) {
  for (const CalculatorKey& key : calculatorKeys()) {
    if (std::string_view(key.text) == text) return &key;
  }
  return nullptr;
}

QPushButton* padButton(QWidget* parent, const QString& text, const QString& objectName) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  // The caret stays in the expression field while buttons are clicked.
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

CalculatorWindow::CalculatorWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("Calculator");
  setWindowTitle(ui(N_("電卓")));
  setModal(false);
  auto* layout = new QVBoxLayout(this);

  expression_ = new QLineEdit(this);
  expression_->setObjectName("expression");
  expression_->setMaxLength(static_cast<int>(kCalculatorExpressionLength));
  layout->addWidget(expression_);
  result_ = new QLineEdit(this);
  result_->setObjectName("result");
  result_->setReadOnly(true);
  result_->setMaxLength(static_cast<int>(kCalculatorResultLength));
  layout->addWidget(result_);

  auto* modeFrame = new QFrame(this);
  modeFrame->setObjectName("mode");
  auto* modeRow = new QHBoxLayout(modeFrame);
  modeRow->setContentsMargins(0, 0, 0, 0);
  unsigned_ = controls::radioButton(modeFrame, N_("符号なし"), "unsigned", nullptr);
  signed_ = controls::radioButton(modeFrame, N_("符号あり"), "signed", nullptr);
  unsigned_->setChecked(true);
  modeRow->addWidget(unsigned_);
  modeRow->addWidget(signed_);
  modeRow->addStretch();
  for (QWidget* control : {static_cast<QWidget*>(modeFrame), static_cast<QWidget*>(unsigned_),
                           static_cast<QWidget*>(signed_)}) {
    setQuickHelp(control, ui(kCalculatorModeHelp));
  }
  layout->addWidget(modeFrame);

  auto* pad = new QGridLayout;
  int row = 0;
  for (const auto& texts : kPadRows) {
    for (int column = 0; column < 6 && texts[column] != nullptr; ++column) {
      const CalculatorKey* key = keyInserting(texts[column]);
      if (key == nullptr) continue;
      QPushButton* button =
          padButton(this, ui(key->label), QString("key:") + QString::fromUtf8(key->text));
      setQuickHelp(button, ui(key->help));
      const char* inserted = key->text;
      connect(button, &QPushButton::clicked, this, [this, inserted] { insertText(inserted); });
      pad->addWidget(button, row, column);
    }
    ++row;
  }
  QPushButton* backspace = padButton(this, "BS", "backspace");
  connect(backspace, &QPushButton::clicked, this, &CalculatorWindow::deleteBeforeCaret);
  pad->addWidget(backspace, 0, 5);
  QPushButton* clear = padButton(this, "CLR", "clear");
  connect(clear, &QPushButton::clicked, this, [this] {
    expression_->clear();
    expression_->setFocus();
  });
  pad->addWidget(clear, 4, 3);
  layout->addLayout(pad);

  auto* buttons = new QHBoxLayout;
  auto* calculateButton = new QPushButton(ui(N_("計算")), this);
  calculateButton->setObjectName("calculate");
  // Enter in the expression field calculates.
  calculateButton->setDefault(true);
  connect(calculateButton, &QPushButton::clicked, this, &CalculatorWindow::calculate);
  buttons->addWidget(calculateButton);
  QPushButton* explain = padButton(this, ui(N_("説明")), "explain");
  connect(explain, &QPushButton::clicked, this,
          [this] { showExplanation(this, calculatorExpressionRules()); });
  buttons->addWidget(explain);
  QPushButton* memo = padButton(this, ui(N_("メモ")), "memo");
  connect(memo, &QPushButton::clicked, this, &CalculatorWindow::memoRequested);
  buttons->addWidget(memo);
  QPushButton* close = padButton(this, ui(N_("閉じる")), "close");
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  layout->addLayout(buttons);
}

HexMode CalculatorWindow::hexMode() const {
  return signed_->isChecked() ? HexMode::Signed : HexMode::Unsigned;
}

void CalculatorWindow::present() {
  show();
  raise();
  activateWindow();
  expression_->setFocus();
}

void CalculatorWindow::calculate() {
  const std::string result = calculatorResultText(expression_->text().toStdString(), hexMode());
  // The error text is compared untranslated and shown in the language in use.
  result_->setText(result == kCalculatorErrorText ? ui(kCalculatorErrorText)
                                                  : QString::fromStdString(result));
  expression_->setFocus();
}

void CalculatorWindow::insertText(const char* text) {
  editExpression([text](CalculatorField& field) { return insertIntoField(field, text); });
}

void CalculatorWindow::deleteBeforeCaret() {
  editExpression([](CalculatorField& field) { return vemla::deleteBeforeCaret(field); });
}

// The field's caret counts UTF-16 units; the core's caret counts UTF-8 bytes.
void CalculatorWindow::editExpression(const std::function<bool(CalculatorField&)>& edit) {
  const QString current = expression_->text();
  CalculatorField field{
      current.toStdString(),
      static_cast<std::size_t>(current.left(expression_->cursorPosition()).toUtf8().size())};
  if (edit(field)) {
    expression_->setText(QString::fromStdString(field.text));
    const QString beforeCaret =
        QString::fromUtf8(field.text.data(), static_cast<qsizetype>(field.caret));
    expression_->setCursorPosition(static_cast<int>(beforeCaret.size()));
  }
  expression_->setFocus();
}

void showCalculator(QWidget* parent, Workbench& /*bench*/) {
  CalculatorWindow* window =
      parent ? parent->findChild<CalculatorWindow*>("Calculator", Qt::FindDirectChildrenOnly)
             : nullptr;
  if (window == nullptr) {
    window = new CalculatorWindow(parent);
    if (parent == nullptr) window->setAttribute(Qt::WA_DeleteOnClose);
    if (auto* main = qobject_cast<WorkbenchWindow*>(parent)) {
      QObject::connect(window, &CalculatorWindow::memoRequested, main,
                       [main] { main->runCommand(kMemo); });
    }
  }
  window->present();
}

}  // namespace vemla
