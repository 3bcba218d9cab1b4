// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QtTest>

#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "windows/dialogs/option_sheet.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::japaneseTexts;
using vemla::testing::ToolWindowFixture;

namespace {

QString listed(const QStringList& texts) {
  return texts.join('\n');
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
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
