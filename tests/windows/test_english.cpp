// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "platform/user_program.h"
#include "support/recording_port.h"
#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/editors/calculator_window.h"
#include "windows/editors/user_processing_editor.h"
#include "windows/extensions/launcher_dialog.h"
#include "windows/main/text_fit.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::japaneseTexts;
using vemla::testing::ToolWindowFixture;

namespace {

QString listed(const QStringList& texts) {
  return texts.join('\n');
}

// The buttons and labels of `window` narrower than their text needs, by object name and text
// (a push button needs its text and margins, as the windows size them).
QStringList clippedTexts(const QWidget* window) {
  QStringList clipped;
  for (const QWidget* control : window->findChildren<QWidget*>()) {
    const auto* label = qobject_cast<const QLabel*>(control);
    const auto* push = qobject_cast<const QPushButton*>(control);
    const bool texted = qobject_cast<const QAbstractButton*>(control) != nullptr ||
                        (label != nullptr && !label->wordWrap());
    if (!texted || !control->isVisible()) continue;
    const int needed = push != nullptr ? buttonWidthFor(push) : control->sizeHint().width();
    if (control->width() < needed) {
      clipped << control->objectName() + ": " + control->property("text").toString();
    }
  }
  return clipped;
}

}  // namespace

class EnglishTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(vemla::testing::useEnglish()); }

  // The main window with a pair open: menus, tool bar, panes' titles and both control windows.
  void mainWindowReadsInEnglish() {
    ToolWindowFixture f;
    f.openPair(64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    const QStringList left = japaneseTexts(f.window.get());
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    const QMenuBar* bar = f.window->findChild<QMenuBar*>();
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->actions().first()->text().remove('&'), QString("File"));
  }

  // The option sheet's first page, with the language choice under its own names.
  void optionSheetFirstPageReadsInEnglish() {
    ToolWindowFixture f;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(f.bench, f.user, busy, progress, f.window.get());
    sheet.show();
    const auto* languages = sheet.findChild<QComboBox*>("DisplayLanguage");
    QVERIFY(languages != nullptr);
    QCOMPARE(languages->itemText(0), QString("Automatic"));
    QCOMPARE(languages->itemText(1), QString::fromUtf8("日本語"));
    const QStringList left = japaneseTexts(&sheet, {QString::fromUtf8("日本語")});
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
  }

  // ---- User extensions: the expression editors and the user program launcher.

  // The user processing editor and the calculator, whole in English, and the error each tells
  // of a wrong expression.
  void expressionEditorsReadInEnglish() {
    Workbench bench;
    int selection = -1;
    vemla::testing::RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    UserProcessingEditorDialog editor(bench, selection, user, busy, progress);
    editor.show();
    QStringList left = japaneseTexts(&editor);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QVERIFY2(clippedTexts(&editor).isEmpty(), qPrintable(listed(clippedTexts(&editor))));
    editor.findChild<QLineEdit*>("name")->setText("Sum");
    editor.findChild<QRadioButton*>("expressionForm")->setChecked(true);
    editor.findChild<QPlainTextEdit*>("expression")->setPlainText("P1(0,0)+");
    editor.findChild<QPushButton*>("add")->click();
    QCOMPARE(user.messages, QStringList{"Error in the processing expression"});

    CalculatorWindow calculator;
    calculator.show();
    left = japaneseTexts(&calculator);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QVERIFY2(clippedTexts(&calculator).isEmpty(), qPrintable(listed(clippedTexts(&calculator))));
    calculator.expressionField()->setText("2*(");
    calculator.calculate();
    QCOMPARE(calculator.resultField()->text(), QString("Error in the expression"));
  }

  // The launcher dialog whole in English; "確認" lists the temporary files by English names.
  void launcherDialogReadsInEnglish() {
    Workbench bench;
    vemla::testing::RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    platform::PosixProgramRunner runner;
    LauncherDialog dialog(bench, user, busy, progress, runner, {}, [](const QString&) {});
    dialog.show();
    const QStringList left = japaneseTexts(&dialog);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QVERIFY2(clippedTexts(&dialog).isEmpty(), qPrintable(listed(clippedTexts(&dialog))));
    dialog.programField()->setText("compare");
    dialog.templateField()->setText("<P1> <OUT>");
    dialog.button("confirm")->click();
    QCOMPARE(user.messages, QStringList{"argv[0]:compare\nargv[1]:Picture 1 temporary file.bmp\n"
                                        "argv[2]:Output temporary file.bmp\n"});
    QCOMPARE(user.titles, QStringList{"Arguments"});
  }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
