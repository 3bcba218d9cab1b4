// The user program launcher's dialog, driven through its controls with the stub program of the
// tests, and opened through the main window's menu.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "picture/file_helpers.h"
#include "platform/user_program.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/extensions/launcher_dialog.h"
#include "windows/main/progress_window.h"
#include "windows/main/workbench_window.h"
#include "workbench/commands/command_ids.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::RecordingPort;

namespace {

struct Bench {
  vemla::testing::TempDir folder;
  Workbench bench;
  RecordingPort user;
  NoBusyPort busy;
  NoProgressPort progress;
  platform::PosixProgramRunner runner;
  QStringList edited;
  Bench() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.store.allocate(1024, 1024);
    MemoryPictures pictures;
    pictures.width = pictures.height = 8;
    static const std::vector<std::uint8_t> grey(64, 100);
    pictures.pixels = {grey.data(), grey.data()};
    setPicturesFromMemory(bench, user, pictures);
  }
  std::unique_ptr<LauncherDialog> dialog(FileDialogs dialogs = {}) {
    return std::make_unique<LauncherDialog>(bench, user, busy, progress, runner, dialogs,
                                            [this](const QString& path) { edited << path; });
  }
};

}  // namespace

class LauncherDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void runListsTheOutputAndOnlyFinishCommits() {
    Bench b;
    auto dialog = b.dialog();
    dialog->programField()->setText(VEMLA_LAUNCH_STUB);
    dialog->templateField()->setText("args <P1> \"a  b\"");
    dialog->findChild<QCheckBox*>("showOutput")->setChecked(true);
    dialog->button("run")->click();
    QStringList lines;
    for (int row = 0; row < dialog->resultList()->count(); ++row) {
      lines << dialog->resultList()->item(row)->text();
    }
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith("argv[1]=" + QString::fromStdString(b.folder.path()) + "/$VU"));
    QCOMPARE(lines[1], QString("argv[2]=a  b"));
    // "実行" commits the settings and keeps its temporary file until "終了".
    QCOMPARE(QString::fromStdString(b.bench.launcher.arguments),
             QString("args <P1> \"a  b\""));
    QCOMPARE(filesWithPrefix(b.folder.path(), "$VU").size(), 1u);

    dialog->templateField()->setText("changed");
    dialog->button("cancel")->click();
    QCOMPARE(QString::fromStdString(b.bench.launcher.arguments),
             QString("args <P1> \"a  b\""));
    auto again = b.dialog();
    QCOMPARE(again->templateField()->text(), QString("args <P1> \"a  b\""));
    again->templateField()->setText("kept");
    again->button("finish")->click();
    QCOMPARE(QString::fromStdString(b.bench.launcher.arguments), QString("kept"));
    QVERIFY(filesWithPrefix(b.folder.path(), "$VU").empty());
  }

  void switchesLaunchFilesAndLongNames() {
    Bench b;
    const std::string saved = b.folder.file("saved.vie");
    FileDialogs files;
    files.save = [&](const QString&, const QString&, const QString&) {
      return QString::fromStdString(saved);
    };
    files.open = [&](const QString&, const QString&, bool, const QString&) {
      return QStringList{QString::fromStdString(saved)};
    };
    auto dialog = b.dialog(files);
    auto* console = dialog->findChild<QCheckBox*>("console");
    auto* showOutput = dialog->findChild<QCheckBox*>("showOutput");
    console->setChecked(true);
    QVERIFY(!showOutput->isEnabled());
    console->setChecked(false);
    QVERIFY(showOutput->isEnabled());

    // "退避" then "回復" brings the saved values back into the controls.
    dialog->programField()->setText("/usr/bin/tool");
    dialog->findChild<QRadioButton*>("raw")->setChecked(true);
    dialog->findChild<QRadioButton*>("toImage2")->setChecked(true);
    dialog->button("saveFile")->click();
    QCOMPARE(fileSize(saved), 3104);
    dialog->programField()->setText("other");
    dialog->findChild<QRadioButton*>("bitmap")->setChecked(true);
    dialog->button("restore")->click();
    QCOMPARE(dialog->programField()->text(), QString("/usr/bin/tool"));
    QVERIFY(dialog->findChild<QRadioButton*>("raw")->isChecked());
    QVERIFY(dialog->findChild<QRadioButton*>("toImage2")->isChecked());
    vemla::testing::writeBytes(saved, {'V', 'I', 'X', '0'});
    dialog->button("restore")->click();
    QCOMPARE(b.user.messages.last(),
             QString::fromStdString("ﾌｧｲﾙの読み込みｴﾗｰが発生しました\n" + saved));

    // A path longer than its field is refused before anything runs.
    dialog->fileField(0)->setText(QString(512, 'a'));
    dialog->button("update")->click();
    QCOMPARE(b.user.messages.last(), QString("ﾌｧｲﾙ名が長すぎます"));
    QCOMPARE(QString::fromStdString(b.bench.launcher.program), QString());
    dialog->fileField(0)->setText("notes.sh");
    dialog->findChild<QPushButton*>("editFile1")->click();
    QCOMPARE(b.edited, QStringList{"notes.sh"});
  }

  // The wait for the program belongs to the launcher dialog and lies above it with its cancel
  // button in sight (the main window's waiting window was made earlier); the cancel ends it.
  void theWaitLiesAboveTheLauncherAndCancels() {
    Bench b;
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    ProgressWindow progress(&owner);
    progress.start(0);
    progress.finish();
    LauncherDialog dialog(b.bench, b.user, b.busy, progress, b.runner, {}, {}, &owner);
    dialog.setModal(true);  // as exec() shows it
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.programField()->setText("sleep");
    dialog.templateField()->setText("60");
    bool shown = false, exposed = false;
    QWindow* transientParent = nullptr;
    QWidget* atCancel = nullptr;
    QPushButton* cancel = nullptr;
    QTimer::singleShot(300, &owner, [&] {
      auto* window = owner.findChild<QProgressDialog*>("Progress");
      if (window == nullptr || (cancel = window->findChild<QPushButton*>()) == nullptr) return;
      shown = window->isVisible() && cancel->isVisible();
      exposed = QTest::qWaitForWindowExposed(window);
      transientParent = window->windowHandle()->transientParent();
      atCancel = QApplication::widgetAt(cancel->mapToGlobal(cancel->rect().center()));
      QTest::mouseClick(cancel, Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    dialog.button("run")->click();
    QVERIFY(clock.elapsed() < 30000);  // cancelled, not waited out
    QVERIFY(cancel != nullptr && shown && exposed);
    QCOMPARE(transientParent, dialog.windowHandle());
    // Nothing lies over the cancel button (only a real display stacks its windows).
    if (QGuiApplication::platformName() == "xcb") QCOMPARE(atCancel, cancel);
  }

  void theMenuCommandOpensTheDialog() {
    Bench b;
    WorkbenchWindow window(b.bench, b.user, QSize(1280, 1024));
    QString opened;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      opened = modal != nullptr ? modal->objectName() : QString();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    window.runCommand(kUserProgram);
    QCOMPARE(opened, QString("UserProgram"));
  }
};

QTEST_MAIN(LauncherDialogTest)
#include "test_launcher_dialog.moc"
