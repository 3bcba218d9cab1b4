// Window tests, run offscreen: the Export command and the import dialog "Ｉｍｐｏｒｔ" against
// each other on 127.0.0.1 (the export on a thread of its own, the dialog here), the messages of
// a wrong password and of refused fields, and the table of registered exporters.
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/loopback_peer.h"
#include "support/fake_progress_port.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/exchange/exchange_windows.h"
#include "windows/main/progress_window.h"
#include "workbench/picture/open_pictures.h"

using namespace vemla;
using vemla::testing::FakeProgressPort;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

constexpr int kWidth = 12;
constexpr int kHeight = 9;

// A workbench with its settings in a temporary program folder and short time limits.
struct Bench {
  TempDir folder;
  Workbench bench;
  explicit Bench(int port) {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.options.NetworkPort = port;
    bench.options.ExportTimeout = 5;
    bench.options.ImportTimeout = 5;
    allocated = bench.store.allocate(1024, 1024);
  }
  bool allocated = false;
};

// Picture 1 is x + 10 y, picture 2 is 255 - x - y (x, y from the top left); picture 1's
// palette is the grey ramp reversed, picture 2's the grey ramp.
struct SentPair {
  std::vector<std::uint8_t> picture1, picture2;
  Palette reversed{};
  SentPair() {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        picture1.push_back(static_cast<std::uint8_t>(x + 10 * y));
        picture2.push_back(static_cast<std::uint8_t>(255 - x - y));
      }
    }
    for (int i = 0; i < 256; ++i) {
      const auto value = static_cast<std::uint8_t>(255 - i);
      reversed[static_cast<std::size_t>(4 * i)] = value;
      reversed[static_cast<std::size_t>(4 * i + 1)] = value;
      reversed[static_cast<std::size_t>(4 * i + 2)] = value;
    }
  }
  bool openIn(Workbench& bench, UserPort& user) const {
    MemoryPictures pictures;
    pictures.width = kWidth;
    pictures.height = kHeight;
    pictures.pixels = {picture1.data(), picture2.data()};
    pictures.palettes = {&reversed, nullptr};
    pictures.names = {"<sent1>", "<sent2>"};
    return setPicturesFromMemory(bench, user, pictures) == 0;
  }
};

net::ExportTarget entry(const std::string& name, std::array<std::int32_t, 4> octets,
                        const std::string& password) {
  net::ExportTarget made;
  made.used = 1;
  made.name = name;
  made.octets = octets;
  made.password = password;
  return made;
}

std::vector<std::uint8_t> planeBytes(const Workbench& bench, int plane) {
  const std::uint8_t* start = bench.store.plane(plane);
  return {start, start + kWidth * kHeight};
}

void fillAddress(ImportDialog& dialog, const QStringList& octets) {
  for (int index = 0; index < 4; ++index) dialog.octet(index)->setText(octets[index]);
}

QStringList comboItems(const QComboBox* combo) {
  QStringList items;
  for (int index = 0; index < combo->count(); ++index) items << combo->itemText(index);
  return items;
}

const QString kExportQuestion = QString::fromUtf8("表示中の画像をExportします\nよろしいですか");

}  // namespace

class ExchangeWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void exportAndImportThroughTheWindowsOpenThePairAsImport1AndImport2() {
    const int port = vemla::testing::freePort();
    Bench exporter(port), importer(port);
    QVERIFY(exporter.allocated && importer.allocated);
    RecordingPort exportUser, importUser;
    const SentPair sent;
    QVERIFY(sent.openIn(exporter.bench, exportUser));
    exporter.bench.options.ImportPassword = "Secret";
    exporter.bench.view.centreX = 3;
    exporter.bench.view.centreY = 5;
    exporter.bench.view.magnification = 2;
    importer.bench.importer.userName = "tester";
    net::ExportTargetList& targets = importer.bench.importer.targets;
    targets.targets[0] = entry("far", {10, 0, 0, 1}, "other");
    targets.targets[1] = entry("lab", {127, 0, 0, 1}, "Secret");

    FakeProgressPort exportPorts, importPorts;
    exportUser.yesNoAnswers = {true};
    std::thread exportSide(
        [&] { exportPictures(nullptr, exporter.bench, exportUser, exportPorts, exportPorts); });
    bool opened = false;
    QStringList filled;
    importPictures(nullptr, importer.bench, importUser, importPorts, importPorts,
                   [&](ImportDialog& dialog) {
                     dialog.show();
                     // The registered "lab" is chosen in the combo box; it fills the fields.
                     QTest::keyClick(dialog.targetNames(), Qt::Key_Down);
                     filled << dialog.targetName()->text() << dialog.octet(0)->text()
                            << dialog.octet(3)->text() << dialog.password()->text();
                     QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
                     opened = dialog.result() == QDialog::Accepted;
                     return opened;
                   });
    exportSide.join();

    QCOMPARE(filled, (QStringList{"lab", "127", "1", "Secret"}));
    QVERIFY(opened);
    QCOMPARE(exportUser.questions, QStringList{kExportQuestion});
    QCOMPARE(
        exportUser.messages,
        QStringList{QString::fromUtf8("正常にExportされました　　　\n →tester\n   [127.0.0.1]")});
    QCOMPARE(importUser.messages, QStringList());
    QCOMPARE(importUser.unscripted, QStringList());

    const Workbench& got = importer.bench;
    QVERIFY(got.pictures.picturesPresent);
    QCOMPARE(got.pictures.width, kWidth);
    QCOMPARE(got.pictures.height, kHeight);
    QCOMPARE(got.pictures.pictures[0].name, std::string("<Import1>"));
    QCOMPARE(got.pictures.pictures[1].name, std::string("<Import2>"));
    QVERIFY(planeBytes(got, kPicture1) == sent.picture1);
    QVERIFY(planeBytes(got, kPicture2) == sent.picture2);
    QVERIFY(got.pictures.pictures[0].palette == sent.reversed);
    QVERIFY(got.pictures.pictures[1].palette == greyRamp());
    // The exporter's view is taken over (both options are on by default).
    QCOMPARE(got.view.centreX, 3);
    QCOMPARE(got.view.centreY, 5);
    QCOMPARE(got.view.magnification, 2);

    // "lab" moved to the top and is selected; it is the last target used.
    QCOMPARE(targets.targets[0].name, std::string("lab"));
    QCOMPARE(targets.targets[1].name, std::string("far"));
    QCOMPARE(targets.selected, 0);
    QCOMPARE(targets.last.name, std::string("lab"));
    QCOMPARE(targets.last.password, std::string("Secret"));

    // Both sides showed their waiting window and wait cursor.
    QVERIFY(std::count(exportPorts.events.begin(), exportPorts.events.end(),
                       "text:Export待ち．．．") == 1);
    QVERIFY(std::count(importPorts.events.begin(), importPorts.events.end(),
                       "text:Import要求待ち．．．") == 1);
    QCOMPARE(importPorts.events.front(), std::string("busy"));
    QCOMPARE(importPorts.events.back(), std::string("idle"));
  }

  void aWrongPasswordIsToldOnBothSidesAndKeepsTheDialogOpen() {
    const int port = vemla::testing::freePort();
    Bench exporter(port), importer(port);
    QVERIFY(exporter.allocated && importer.allocated);
    RecordingPort exportUser, importUser;
    const SentPair sent;
    QVERIFY(sent.openIn(exporter.bench, exportUser));
    exporter.bench.options.ImportPassword = "Secret";

    FakeProgressPort exportPorts, importPorts;
    exportUser.yesNoAnswers = {true};
    std::thread exportSide(
        [&] { exportPictures(nullptr, exporter.bench, exportUser, exportPorts, exportPorts); });
    bool stayedOpen = false;
    importPictures(nullptr, importer.bench, importUser, importPorts, importPorts,
                   [&](ImportDialog& dialog) {
                     dialog.show();
                     fillAddress(dialog, {"127", "0", "0", "1"});
                     dialog.password()->setText("secret");  // differs only in case
                     QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
                     stayedOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
                     QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
                     return dialog.result() == QDialog::Accepted;
                   });
    exportSide.join();

    QVERIFY(stayedOpen);
    QCOMPARE(importUser.messages,
             QStringList{QString::fromUtf8("Export先のﾊﾟｽﾜｰﾄﾞに誤りがあります")});
    QCOMPARE(exportUser.messages,
             QStringList{QString::fromUtf8("Import要求がありましたがﾊﾟｽﾜｰﾄﾞが一致していません")});
    // Nothing was opened and the failed target is not remembered.
    QVERIFY(!importer.bench.pictures.picturesPresent);
    QCOMPARE(importer.bench.importer.targets.last.password, std::string());
  }

  void executeChecksTheAddressAndThePasswordBeforeConnecting() {
    Bench importer(vemla::testing::freePort());
    RecordingPort user;
    FakeProgressPort ports;
    ImportDialog dialog(nullptr, importer.bench, user, ports, ports);
    dialog.show();
    fillAddress(dialog, {"192", "168", "256", "1"});
    dialog.password()->setText("pw");
    QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
    fillAddress(dialog, {"192", "168", "", "1"});
    QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
    fillAddress(dialog, {"255", "255", "255", "255"});
    dialog.password()->clear();
    QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
    QCOMPARE(user.messages, (QStringList{QString::fromUtf8("IPｱﾄﾞﾚｽに誤りがあります"),
                                         QString::fromUtf8("IPｱﾄﾞﾚｽに誤りがあります"),
                                         QString::fromUtf8("Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい")}));
    // No transfer was started: no waiting window, and the dialog is still open.
    QVERIFY(ports.events.empty());
    QVERIFY(dialog.isVisible());
  }

  void theAddressFieldsTakeOnlyThreeDigitsAndTheTextFieldsOnly63Cp932Bytes() {
    Bench importer(vemla::testing::freePort());
    RecordingPort user;
    FakeProgressPort ports;
    ImportDialog dialog(nullptr, importer.bench, user, ports, ports);
    dialog.show();
    dialog.octet(0)->clear();
    QTest::keyClicks(dialog.octet(0), "12a34");
    QCOMPARE(dialog.octet(0)->text(), QString("123"));
    dialog.targetName()->clear();
    // 31 full-width characters are 62 CP932 bytes: one more such character would not fit.
    // Typed one character at a time, as the operator would.
    const QString wide = QString::fromUtf8("あ").repeated(31);
    for (const QChar typed : wide + QString::fromUtf8("い") + "a") {
      dialog.targetName()->insert(QString(typed));
    }
    QCOMPARE(dialog.targetName()->text(), wide + "a");
    // A character CP932 has no code for is refused however short the text.
    dialog.targetName()->setText("x");
    dialog.targetName()->insert(QString::fromUtf8("\u00e9"));
    QCOMPARE(dialog.targetName()->text(), QString("x"));
    dialog.password()->clear();
    QTest::keyClicks(dialog.password(), QString(70, 'p'));
    QCOMPARE(dialog.password()->text(), QString(63, 'p'));
  }

  void theDialogOpensOnTheLastTargetAndEditsTheTable() {
    Bench importer(vemla::testing::freePort());
    RecordingPort user;
    FakeProgressPort ports;
    net::ExportTargetList& targets = importer.bench.importer.targets;
    targets.targets[0] = entry("a", {1, 1, 1, 1}, "pa");
    targets.targets[1] = entry("b", {2, 2, 2, 2}, "pb");
    targets.last = entry("last", {9, 8, 7, 6}, "pl");
    targets.last.used = 0;
    targets.selected = 1;
    ImportDialog dialog(nullptr, importer.bench, user, ports, ports);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Ｉｍｐｏｒｔ"));
    QCOMPARE(comboItems(dialog.targetNames()), (QStringList{"a", "b"}));
    QCOMPARE(dialog.targetNames()->currentIndex(), 0);
    QCOMPARE(dialog.targetName()->text(), QString("last"));
    QCOMPARE(dialog.octet(1)->text(), QString("8"));
    QCOMPARE(dialog.password()->text(), QString("pl"));
    QCOMPARE(dialog.password()->echoMode(), QLineEdit::Password);

    // "登録" of a new name adds it behind "b" and selects it.
    dialog.targetName()->setText("c");
    QTest::mouseClick(dialog.registerButton(), Qt::LeftButton);
    QCOMPARE(comboItems(dialog.targetNames()), (QStringList{"a", "b", "c"}));
    QCOMPARE(dialog.targetNames()->currentIndex(), 2);
    QCOMPARE(targets.targets[2].octets, (std::array<std::int32_t, 4>{9, 8, 7, 6}));
    QCOMPARE(targets.targets[2].password, std::string("pl"));

    // "登録" of an existing name changes its address and adds nothing.
    dialog.targetName()->setText("a");
    fillAddress(dialog, {"5", "5", "5", "5"});
    QTest::mouseClick(dialog.registerButton(), Qt::LeftButton);
    QCOMPARE(comboItems(dialog.targetNames()), (QStringList{"a", "b", "c"}));
    QCOMPARE(dialog.targetNames()->currentIndex(), 0);
    QCOMPARE(targets.targets[0].octets, (std::array<std::int32_t, 4>{5, 5, 5, 5}));

    // An empty name is refused.
    dialog.targetName()->clear();
    QTest::mouseClick(dialog.registerButton(), Qt::LeftButton);
    QCOMPARE(user.messages, QStringList{QString::fromUtf8("名前を指定して下さい")});

    // "削除" of "a" moves "b" and "c" up; the selection stays on the first place.
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    QCOMPARE(comboItems(dialog.targetNames()), (QStringList{"b", "c"}));
    QCOMPARE(dialog.targetNames()->currentIndex(), 0);
    QCOMPARE(targets.targets[2], net::ExportTarget{});
    // Deleting the last entry in use selects the one before it.
    QTest::keyClick(dialog.targetNames(), Qt::Key_Down);
    QCOMPARE(dialog.targetName()->text(), QString("c"));
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    QCOMPARE(comboItems(dialog.targetNames()), QStringList{"b"});
    QCOMPARE(dialog.targetNames()->currentIndex(), 0);
    QCOMPARE(targets.selected, 0);
  }

  void exportAsksFirstAndNeedsAnImportPassword() {
    Bench exporter(vemla::testing::freePort());
    QVERIFY(exporter.allocated);
    RecordingPort user;
    FakeProgressPort ports;
    // Without pictures the command does nothing.
    exportPictures(nullptr, exporter.bench, user, ports, ports);
    QCOMPARE(user.questions, QStringList());

    const SentPair sent;
    QVERIFY(sent.openIn(exporter.bench, user));
    user.yesNoAnswers = {false};
    exportPictures(nullptr, exporter.bench, user, ports, ports);
    QCOMPARE(user.questions, QStringList{kExportQuestion});
    QCOMPARE(user.messages, QStringList());

    user.yesNoAnswers = {true};
    exportPictures(nullptr, exporter.bench, user, ports, ports);
    QCOMPARE(user.messages,
             QStringList{QString::fromUtf8("Import許可を与えるためのﾊﾟｽﾜｰﾄﾞが設定されていません\n"
                                           "「ｵﾌﾟｼｮﾝ情報の設定-通信」でﾊﾟｽﾜｰﾄﾞを設定して下さい")});
    // Neither a declined nor a refused export waited for an importer.
    QVERIFY(ports.events.empty());
  }

  void anExportNobodyFetchesTimesOut() {
    Bench exporter(vemla::testing::freePort());
    QVERIFY(exporter.allocated);
    RecordingPort user;
    FakeProgressPort ports;
    const SentPair sent;
    QVERIFY(sent.openIn(exporter.bench, user));
    exporter.bench.options.ImportPassword = "pw";
    exporter.bench.options.ExportTimeout = 1;
    user.yesNoAnswers = {true};
    exportPictures(nullptr, exporter.bench, user, ports, ports);
    QCOMPARE(user.messages, QStringList{QString::fromUtf8("タイムアウトが発生しました")});
  }

  // The real waiting window over a real owner: it shows its text while the export waits, and
  // its "ｷｬﾝｾﾙ" ends the wait quietly and closes the listening socket; the import dialog's wait
  // for an exporter that never comes is cancelled the same way and leaves the dialog open. Each
  // wait belongs to the window that started it and lies above it, its cancel button in sight.
  void theWaitingWindowsShowAndTheirCancelEndsTheWait() {
    const int port = vemla::testing::freePort();
    Bench exporter(port), importer(port);
    QVERIFY(exporter.allocated && importer.allocated);
    RecordingPort user;
    const SentPair sent;
    QVERIFY(sent.openIn(exporter.bench, user));
    exporter.bench.options.ImportPassword = "pw";
    QWidget owner;
    owner.show();
    ProgressWindow progress(&owner);
    WaitCursor busy;
    // Once the window shows over `starter`, notes what it shows and clicks its cancel button.
    QStringList seen;
    auto cancelWhenShown = [&](QWidget* starter) {
      QTimer::singleShot(300, &owner, [&, starter] {
        auto* window = owner.findChild<QProgressDialog*>("Progress");
        QVERIFY(window != nullptr && window->isVisible());
        auto* cancel = window->findChild<QPushButton*>();
        QVERIFY(cancel != nullptr && cancel->isVisible());
        seen << window->labelText() << cancel->text();
        const bool exposed = QTest::qWaitForWindowExposed(window);
        QWindow* transientParent = window->windowHandle()->transientParent();
        QWidget* atCancel = QApplication::widgetAt(cancel->mapToGlobal(cancel->rect().center()));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(exposed);
        QCOMPARE(transientParent, starter->windowHandle());
        // Nothing lies over the cancel button: the wait is above the window that started it
        // (only a real display stacks its windows).
        if (QGuiApplication::platformName() == "xcb") QCOMPARE(atCancel, cancel);
      });
    };

    cancelWhenShown(&owner);
    user.yesNoAnswers = {true};
    exportPictures(&owner, exporter.bench, user, busy, progress);
    QCOMPARE(seen,
             (QStringList{QString::fromUtf8("Export待ち．．．"), QString::fromUtf8("ｷｬﾝｾﾙ")}));
    QCOMPARE(user.messages, QStringList());  // neither a time-out nor a failure code
    QVERIFY(!owner.findChild<QProgressDialog*>("Progress")->isVisible());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = vemla::testing::loopback(port);
    QVERIFY(::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0);
    ::close(probe);

    seen.clear();
    bool stayedOpen = false;
    importPictures(&owner, importer.bench, user, busy, progress, [&](ImportDialog& dialog) {
      dialog.setModal(true);  // as exec() shows it
      dialog.show();
      if (!QTest::qWaitForWindowExposed(&dialog)) return false;
      fillAddress(dialog, {"127", "0", "0", "1"});
      dialog.password()->setText("pw");
      cancelWhenShown(&dialog);
      QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
      stayedOpen = dialog.isVisible();
      return false;
    });
    QCOMPARE(seen,
             (QStringList{QString::fromUtf8("Import要求待ち．．．"), QString::fromUtf8("ｷｬﾝｾﾙ")}));
    QVERIFY(stayedOpen);
    QCOMPARE(user.messages, QStringList());
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

QTEST_MAIN(ExchangeWindowsTest)
#include "test_exchange_windows.moc"
