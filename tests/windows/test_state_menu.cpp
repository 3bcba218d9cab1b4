// Window tests, run offscreen: the State menu through the real menu dispatch — its enabling and
// checks (also of slots another running copy stored), storing and restoring by slot and by
// name through the file dialogs, the list, clear and the two check items.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "options/option_table.h"
#include "persist/small_tables.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/main/workbench_window.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/state_memory.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

QAction* item(WorkbenchWindow& window, int id) {
  return window.menuBar()->findChild<QAction*>(QString::number(id));
}

// Opens the State menu as the operator does (it reads the slot table again) and triggers `id`;
// false when the item is missing or disabled.
void openMenuOf(WorkbenchWindow& window, int id) {
  for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
    if (menu->actions().contains(item(window, id))) emit menu->aboutToShow();
  }
}

bool choose(WorkbenchWindow& window, int id) {
  openMenuOf(window, id);
  QAction* action = item(window, id);
  if (action == nullptr || !action->isEnabled()) return false;
  action->trigger();
  return true;
}

struct StateWindow {
  TempDir folder;
  Workbench bench;
  RecordingPort user;
  std::unique_ptr<WorkbenchWindow> window;
  QStringList dialogTitles;
  QString chosen;

  StateWindow() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.store.allocate(1024, 1024);
    window = std::make_unique<WorkbenchWindow>(bench, user, QSize(1920, 1200));
    window->setFileDialogs({[this](const QString& title, const QString&, bool, const QString&) {
                              dialogTitles << title;
                              return QStringList{chosen};
                            },
                            [this](const QString& title, const QString&, const QString&) {
                              dialogTitles << title;
                              return chosen;
                            }});
  }
  void open(int seed) {
    const std::string path = folder.file("p" + std::to_string(seed) + ".bmp");
    vemla::testing::writeBytes(
        path, vemla::testing::makeBitmap(16, 16, 8, [seed](int x, int y) {
          return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x * 8 + y + seed)};
        }));
    QCOMPARE(openPictureFiles(bench, user, &path, &path, OpenMode::Both), 0);
  }
  std::uint8_t firstPixel() const { return bench.store.plane(kPicture1)[0]; }
};

}  // namespace

class StateMenuTest : public QObject {
  Q_OBJECT
 private slots:
  void slotsStoreRestoreListAndClearThroughTheMenu() {
    StateWindow w;
    QVERIFY(!choose(*w.window, kRememberState1));  // no pictures yet
    w.open(1);
    w.bench.shell.stateMemory.confirm = 0;
    QVERIFY(choose(*w.window, kRememberState2));
    QVERIFY(item(*w.window, kRememberState2)->isChecked());
    QVERIFY(!item(*w.window, kRestoreState1)->isEnabled());
    w.open(7);
    QVERIFY(choose(*w.window, kRestoreState2));
    QCOMPARE(w.firstPixel(), std::uint8_t(1));

    QVERIFY(choose(*w.window, kStateList));
    QCOMPARE(w.user.titles.last(), QString::fromUtf8("状態の記憶情報"));
    QVERIFY(w.user.messages.last().startsWith("(2) "));

    w.user.yesNoAnswers = {true};
    QVERIFY(choose(*w.window, kClearStates));
    QVERIFY(!item(*w.window, kRememberState2)->isChecked());
    QVERIFY(!item(*w.window, kStateList)->isEnabled());
    QVERIFY(w.user.unscripted.isEmpty());
  }

  void anotherCopysSlotShowsWhenTheMenuOpens() {
    StateWindow w;
    w.open(1);
    Workbench other;
    other.store.allocate(64, 64);
    other.settings.folder = w.folder.path();
    other.pictures = w.bench.pictures;
    QVERIFY(storeStateInSlot(other, w.user, 3));
    openMenuOf(*w.window, kRememberState4);
    QVERIFY(item(*w.window, kRememberState4)->isChecked());
    QVERIFY(item(*w.window, kRestoreState4)->isEnabled());
  }

  void namedStoreAndRestoreUseTheDialogsAndTheToggles() {
    StateWindow w;
    w.open(3);
    w.chosen = QString::fromStdString(w.folder.file("named.vic"));
    QVERIFY(choose(*w.window, kSaveStateFile));
    w.open(9);
    w.user.yesNoAnswers = {true};
    QVERIFY(choose(*w.window, kRestoreStateFile));
    QCOMPARE(w.dialogTitles, (QStringList{QString::fromUtf8("表示状態の退避"),
                                          QString::fromUtf8("表示状態の回復")}));
    QCOMPARE(w.user.questions.size(), 1);
    QCOMPARE(w.firstPixel(), std::uint8_t(3));

    QVERIFY(item(*w.window, kConfirmStates)->isChecked());
    QVERIFY(choose(*w.window, kConfirmStates));
    QVERIFY(choose(*w.window, kRestoreFormOnly));
    w.window->updateCommandStates();
    QVERIFY(!item(*w.window, kConfirmStates)->isChecked());
    QVERIFY(item(*w.window, kRestoreFormOnly)->isChecked());
    w.open(5);
    QVERIFY(choose(*w.window, kRestoreStateFile));  // display form only: the pictures stay
    QCOMPARE(w.firstPixel(), std::uint8_t(5));
    QVERIFY(w.user.unscripted.isEmpty());
  }
};

QTEST_MAIN(StateMenuTest)
#include "test_state_menu.moc"
