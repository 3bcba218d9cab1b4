// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "support/widget_fit.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/editing/picture_edit_dialog.h"
#include "windows/main/text_fit.h"
#include "workbench/commands/command_ids.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::japaneseTexts;
using vemla::testing::ToolWindowFixture;

namespace {

QString listed(const QStringList& texts) {
  return texts.join('\n');
}

// The first visible text of `window` that does not fit where it is shown: a field or selector
// row cut short, or a label or button narrower than its text; empty when all fit.
QString clippedText(QWidget* window) {
  for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
    if (edit->isVisible() && !edit->parentWidget()->inherits("QAbstractSpinBox") &&
        !vemla::testing::showsWhole(edit))
      return edit->objectName() + ": " + edit->text();
  }
  for (const QComboBox* selector : window->findChildren<QComboBox*>()) {
    const QString row = vemla::testing::clippedRow(selector);
    if (selector->isVisible() && !row.isEmpty()) return selector->objectName() + ": " + row;
  }
  QList<QWidget*> texts;
  for (QLabel* label : window->findChildren<QLabel*>()) texts << label;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) texts << button;
  for (const QWidget* widget : texts) {
    // A push button is as narrow as its text allows; a label or check box needs its size hint.
    const auto* push = qobject_cast<const QPushButton*>(widget);
    const int needed = push != nullptr ? buttonWidthFor(push) : widget->minimumSizeHint().width();
    if (widget->isVisible() && widget->width() < needed) {
      const auto* label = qobject_cast<const QLabel*>(widget);
      const auto* button = qobject_cast<const QAbstractButton*>(widget);
      return widget->objectName() + ": " + (label != nullptr ? label->text() : button->text());
    }
  }
  return {};
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

  // --- The control windows and the picture edit dialog ---

  // Both control windows in English within their fixed sizes: no Japanese left, every text
  // whole and every control where it is drawn.
  void controlWindowsReadInEnglishWithinTheirSizes() {
    ToolWindowFixture f;
    f.openPair(
        64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    for (const char* name : {"PictureControl", "ImageControl"}) {
      auto* window = f.window->findChild<QWidget*>(name);
      QVERIFY2(window != nullptr && window->isVisible(), name);
      const QStringList left = japaneseTexts(window);
      QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
      const QSize least = window->layout()->minimumSize();
      QVERIFY2(least.width() <= window->width(),
               qPrintable(QString("%1: %2").arg(name).arg(least.width())));
      const QString clipped = clippedText(window);
      QVERIFY2(clipped.isEmpty(), qPrintable(clipped));
      const QString hidden = vemla::testing::controlHiddenAtItsCentre(window);
      QVERIFY2(hidden.isEmpty(), qPrintable(hidden));
    }
    auto* blink = f.window->findChild<QPushButton*>("blink1");
    QVERIFY(blink != nullptr);
    QCOMPARE(blink->text(), QString("Blink"));
  }

  // The picture edit dialog and its conversion table in English, fitting a 1024 x 768 screen.
  void pictureEditDialogReadsInEnglish() {
    ToolWindowFixture f;
    f.openPair(
        40, 30, [](int x, int y) { return x + 40 * y; }, 90);
    f.window->updateCommandStates();
    auto* edit = f.window->menuBar()->findChild<QAction*>(QString::number(kEdit1));
    QVERIFY(edit != nullptr && edit->isEnabled());
    edit->trigger();
    PictureEditDialog* dialog = pictureEditDialog(f.window.get());
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Edit picture 1"));
    auto* conversion = dialog->findChild<QPushButton*>("Conversion");
    QVERIFY(conversion != nullptr);
    conversion->click();
    auto* table = dialog->findChild<QWidget*>("GreyConversion");
    QVERIFY(table != nullptr && table->isVisible());
    const QStringList left = japaneseTexts(dialog);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    for (QWidget* window : {static_cast<QWidget*>(dialog), table}) {
      const QSize least = window->layout()->minimumSize();
      QVERIFY2(least.width() <= 1024 && least.height() <= 768, qPrintable(window->objectName()));
      const QString clipped = clippedText(window);
      QVERIFY2(clipped.isEmpty(), qPrintable(clipped));
    }
  }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
