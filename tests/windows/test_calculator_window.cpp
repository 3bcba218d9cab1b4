// Window tests, run offscreen: the calculator window, its pad, modes, kept texts and quick help.
#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "extensions/expression_rules.h"
#include "windows/editors/calculator_window.h"
#include "windows/editors/explanation_dialog.h"
#include "windows/main/quick_help.h"

using namespace vemla;

namespace {

QString u(const char* text) {
  return QString::fromUtf8(text);
}

void click(CalculatorWindow& window, const QString& name) {
  auto* button = window.findChild<QPushButton*>(name);
  QVERIFY2(button != nullptr, qPrintable(name));
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace

class CalculatorWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void onlyOneWindowExistsAndKeepsItsTextsWhenClosed() {
    QWidget main;
    Workbench bench;
    showCalculator(&main, bench);
    auto* window = main.findChild<CalculatorWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->objectName(), QString("Calculator"));
    QCOMPARE(window->windowTitle(), u("電卓"));
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QVERIFY(window->expressionField()->text().isEmpty());
    QCOMPARE(window->hexMode(), HexMode::Unsigned);

    window->expressionField()->setText("0xff");
    QTest::mouseClick(window->findChild<QRadioButton*>("signed"), Qt::LeftButton);
    click(*window, "calculate");
    QCOMPARE(window->resultField()->text(), QString("-1   (0xFFFFFFFF)"));
    click(*window, "close");
    QVERIFY(!window->isVisible());

    showCalculator(&main, bench);
    QCOMPARE(main.findChildren<CalculatorWindow*>().size(), 1);
    QVERIFY(window->isVisible());
    QCOMPARE(window->expressionField()->text(), QString("0xff"));
    QCOMPARE(window->resultField()->text(), QString("-1   (0xFFFFFFFF)"));
    QCOMPARE(window->hexMode(), HexMode::Signed);
  }

  void calculateShowsResultsAndTheErrorText() {
    CalculatorWindow window;
    window.present();
    window.expressionField()->setText("1/3");
    click(window, "calculate");
    QCOMPARE(window.resultField()->text(), QString("0.33333333"));
    window.expressionField()->setText("1e3");
    click(window, "calculate");
    QCOMPARE(window.resultField()->text(), u("式に誤りがあります"));
    // Enter in the expression field calculates.
    window.expressionField()->setText("2\"10");
    QTest::keyClick(window.expressionField(), Qt::Key_Return);
    QCOMPARE(window.resultField()->text(), QString("1024   (0x400)"));
    window.expressionField()->setText("0xffffffff");
    click(window, "calculate");
    QCOMPARE(window.resultField()->text(), QString("4294967295   (0xFFFFFFFF)"));
  }

  void padButtonsInsertAtTheCaretWithoutReplacing() {
    CalculatorWindow window;
    window.present();
    QLineEdit* field = window.expressionField();
    field->setText("1+3");
    field->setCursorPosition(2);
    click(window, "key:0x");
    QCOMPARE(field->text(), QString("1+0x3"));
    QCOMPARE(field->cursorPosition(), 4);
    click(window, "key:F");
    QCOMPARE(field->text(), QString("1+0xF3"));
    // A selection is not replaced: the text goes in at the caret.
    field->setSelection(0, 1);
    click(window, "key:(");
    QCOMPARE(field->text(), QString("1(+0xF3"));
    click(window, "key:\"");
    QCOMPARE(field->text(), QString("1(\"+0xF3"));
    QCOMPARE(field->cursorPosition(), 3);
    click(window, "backspace");
    click(window, "backspace");
    QCOMPARE(field->text(), QString("1+0xF3"));
    QCOMPARE(field->cursorPosition(), 1);
    click(window, "clear");
    QCOMPARE(field->text(), QString());
    // The pad never takes the focus from the expression field.
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
      if (button->objectName() != "calculate") QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
  }

  void caretCountsCharactersAroundWideText() {
    CalculatorWindow window;
    window.present();
    QLineEdit* field = window.expressionField();
    field->setText(u("ａｂ"));
    field->setCursorPosition(1);
    click(window, "key:7");
    QCOMPARE(field->text(), u("ａ7ｂ"));
    QCOMPARE(field->cursorPosition(), 2);
    click(window, "backspace");
    click(window, "backspace");
    QCOMPARE(field->text(), u("ｂ"));
  }

  void memoAndExplanation() {
    CalculatorWindow window;
    window.present();
    QSignalSpy memo(&window, &CalculatorWindow::memoRequested);
    click(window, "memo");
    QCOMPARE(memo.count(), 1);
    click(window, "explain");
    auto* explanation = window.findChild<ExplanationDialog*>();
    QVERIFY(explanation != nullptr);
    QCOMPARE(explanation->text(), QString::fromStdString(calculatorExpressionRules()));
    explanation->close();
  }

  void quickHelpOnTheModeAndTheInsertButtons() {
    CalculatorWindow window;
    const QString modeHelp = quickHelpOf(window.findChild<QFrame*>("mode"));
    QVERIFY(modeHelp.startsWith(u("式中のHEX入力値で符号なし／ありを切り替えます\n")));
    QVERIFY(modeHelp.endsWith(u("※最大 0xffffffff まで指定が可能")));
    QCOMPARE(quickHelpOf(window.findChild<QRadioButton*>("signed")), modeHelp);
    int insertButtons = 0;
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
      if (!button->objectName().startsWith("key:")) continue;
      ++insertButtons;
      QVERIFY2(!quickHelpOf(button).isEmpty(), qPrintable(button->objectName()));
    }
    QCOMPARE(insertButtons, 26);
  }
};

QTEST_MAIN(CalculatorWindowTest)
#include "test_calculator_window.moc"
