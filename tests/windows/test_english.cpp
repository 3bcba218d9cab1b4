// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include "support/recording_port.h"
#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "support/widget_fit.h"
#include "windows/dialogs/option_sheet.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::clippedRow;
using vemla::testing::holdsJapanese;
using vemla::testing::japaneseTexts;
using vemla::testing::RecordingPort;
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
    f.openPair(
        64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    const QStringList left = japaneseTexts(f.window.get());
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    const QMenuBar* bar = f.window->findChild<QMenuBar*>();
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->actions().first()->text().remove('&'), QString("File"));
  }

  // ---- Options and dialogs ----
  // The option sheet, every page: the language choice under its own names, no Japanese left,
  // and on each page every tab title, label, button and list row whole.
  void optionSheetPagesReadInEnglish() {
    ToolWindowFixture f;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(f.bench, f.user, busy, progress, f.window.get());
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    const auto* languages = sheet.findChild<QComboBox*>("DisplayLanguage");
    QVERIFY(languages != nullptr);
    QCOMPARE(languages->itemText(0), QString("Automatic"));
    QCOMPARE(languages->itemText(1), QString::fromUtf8("日本語"));
    const QStringList left = japaneseTexts(&sheet, {QString::fromUtf8("日本語")});
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    auto* pages = sheet.findChild<QTabWidget*>("pages");
    const QTabBar* tabs = pages->tabBar();
    for (int page = 0; page < pages->count(); ++page) {
      QVERIFY2(tabs->rect().contains(tabs->tabRect(page)), qPrintable(tabs->tabText(page)));
      pages->setCurrentIndex(page);
      QApplication::processEvents();
      for (const QWidget* control : pages->currentWidget()->findChildren<QWidget*>()) {
        if (!control->isVisible()) continue;
        if (qobject_cast<const QLabel*>(control) != nullptr ||
            qobject_cast<const QAbstractButton*>(control) != nullptr) {
          QVERIFY2(control->width() >= control->minimumSizeHint().width(),
                   qPrintable(control->objectName() + ": " + control->property("text").toString()));
        }
        if (const auto* selector = qobject_cast<const QComboBox*>(control)) {
          QVERIFY2(clippedRow(selector).isEmpty(), qPrintable(clippedRow(selector)));
        }
      }
    }
  }

  // The message that closes the sheet after a change that needs a restart, in English.
  void optionSheetRestartMessageReadsInEnglish() {
    Workbench bench;
    RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(bench, user, busy, progress);
    sheet.show();
    sheet.findChild<QLineEdit*>("MaxPictureWidth")->setText("2048");
    QTest::mouseClick(sheet.findChild<QPushButton*>("ok"), Qt::LeftButton);
    QVERIFY(sheet.restartRequested());
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(user.messages[0].contains("restart"));
    QVERIFY2(!holdsJapanese(user.messages[0]), qPrintable(user.messages[0]));
  }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
