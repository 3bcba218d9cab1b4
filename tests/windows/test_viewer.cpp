// Window tests of the viewer "VemlaImage", run offscreen: opening state, zoom by clicks and
// wheel, the keys that close it, its menu, dropped files, the grey-value table, and "Ｖｉｅｗ"
// from a pane menu.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

#include "platform/running_copy.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/main/qt_user_port.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/picture_pane.h"
#include "windows/viewer/stand_alone_viewer.h"
#include "windows/viewer/viewer_window.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

const QSize kScreen(1280, 1024);

std::vector<std::uint8_t> ramp(int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i % 251);
  return pixels;
}

std::array<std::uint32_t, 256> greyPalette() {
  std::array<std::uint32_t, 256> palette{};
  for (std::uint32_t i = 0; i < 256; ++i) palette[i] = i * 0x010101u;
  return palette;
}

void sendDrop(QWidget* widget, const QString& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
}

// Records the texts and enabled flags of the menu and picks `choice`.
struct MenuAnswer {
  QString choice;
  QMap<QString, bool> enabled;
  MenuRunner runner() {
    return [this](QMenu& menu, const QPoint&) -> QAction* {
      enabled.clear();
      QAction* picked = nullptr;
      for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        enabled[action->text()] = action->isEnabled();
        if (action->text() == choice) picked = action;
      }
      return picked;
    };
  }
};

struct Viewer {
  Options options;
  RecordingPort user;
  ViewerWindow window{options, user};
  MenuAnswer answer;
  std::vector<std::string> clipboard;
  Viewer() {
    window.setScreenSize(kScreen);
    window.setMenuRunner(answer.runner());
    window.setClipboardFiles([this] { return clipboard; });
  }
  void openGrey(int width, int height) {
    const std::vector<std::uint8_t> pixels = ramp(width, height);
    QCOMPARE(window.openMemory(pixels.data(), width, height, greyPalette()), 0);
  }
  void menu(const QString& choice) {
    answer.choice = choice;
    QTest::mouseClick(&window, Qt::RightButton, Qt::ControlModifier, QPoint(10, 10));
  }
};

QString q(const char* text) {
  return QString::fromUtf8(text);
}

// Presses `key` in the stand-alone viewer once the event loop runs.
void pressInViewerLater(Qt::Key key) {
  QTimer::singleShot(0, [key] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "VemlaImage" && widget->isVisible()) {
        QTest::keyClick(widget, key);
        return;
      }
    }
  });
}

QStringList filesIn(const TempDir& folder) {
  return QDir(QString::fromStdString(folder.path())).entryList(QDir::Files);
}

}  // namespace

class ViewerTest : public QObject {
  Q_OBJECT
 private slots:
  void opensZoomsAndClosesOnAnyKeyButShiftAndCtrl() {
    Viewer v;
    v.options.ViewerShowGradation = true;
    v.openGrey(100, 80);
    QCOMPARE(v.window.objectName(), QString("VemlaImage"));
    QVERIFY(v.window.isVisible());
    QCOMPARE(v.window.zoom(), 4);
    QCOMPARE(v.window.size(), QSize(810, 640));
    QVERIFY(v.window.windowTitle().startsWith(q("Ｖｉｅｗ（4倍） ﾏｳｽｸﾘｯｸ(左:拡大 右:縮小)")));
    GradationTableWindow* table = v.window.gradationTable();
    QVERIFY(table != nullptr && table->isVisible());
    QCOMPARE(table->windowTitle(), q("Ｖｉｅｗ（階調値） (x,y)=( 50, 40)"));

    // A left click zooms in and centres the clicked pixel; the table follows.
    QTest::mouseClick(&v.window, Qt::LeftButton, {}, QPoint(405 + 8, 320 - 4));
    QCOMPARE(v.window.zoom(), 5);
    QCOMPARE(v.window.centre(), QPoint(52, 39));
    QCOMPARE(table->windowTitle(), q("Ｖｉｅｗ（階調値） (x,y)=( 52, 39)"));
    // A right click zooms out; the wheel steps without moving the centre.
    QTest::mouseClick(&v.window, Qt::RightButton, {}, QPoint(405, 320));
    QCOMPARE(v.window.zoom(), 4);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -360), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&v.window, &wheel);
    QCOMPARE(v.window.zoom(), 1);
    QCOMPARE(v.window.centre(), QPoint(52, 39));
    v.menu(q("標準の表示状態へ戻す"));
    QCOMPARE(v.window.zoom(), 4);
    QCOMPARE(v.window.centre(), QPoint(50, 40));

    QTest::keyClick(&v.window, Qt::Key_Shift);
    QTest::keyClick(&v.window, Qt::Key_Control);
    QVERIFY(v.window.isVisible());
    QTest::keyClick(table, Qt::Key_A);
    QVERIFY(!v.window.isVisible());
    QVERIFY(!table->isVisible());
  }

  void menuOffersPasteOnlyWithFilesAndTheTableOnlyForGrey() {
    Viewer v;
    TempDir folder;
    const std::string colour = folder.file("c.bmp");
    vemla::testing::writeBytes(
        colour, vemla::testing::makeBitmap(6, 4, 24, [](int x, int) {
          return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x), 0, 0};
        }));
    v.openGrey(20, 20);
    v.menu(q("キャンセル"));
    QCOMPARE(v.answer.enabled.size(), 7);
    QVERIFY(v.answer.enabled[q("階調値の表示")]);
    QVERIFY(!v.answer.enabled[q("貼り付け")]);
    v.menu(q("階調値の表示"));
    QVERIFY(v.window.gradationTable()->isVisible());

    // "貼り付け" views the clipboard's file; a colour picture closes the table.
    v.clipboard = {colour};
    v.menu(q("貼り付け"));
    QVERIFY(v.answer.enabled[q("貼り付け")]);
    QTRY_COMPARE(v.window.picture().bytesPerPixel, 3);
    QVERIFY(!v.window.gradationTable()->isVisible());
    v.menu(q("キャンセル"));
    QVERIFY(!v.answer.enabled[q("階調値の表示")]);

    // With wheel zoom only, a plain right click opens the menu and clicks do not zoom.
    v.options.ViewerWheelZoomOnly = true;
    const int zoom = v.window.zoom();
    QTest::mouseClick(&v.window, Qt::LeftButton, {}, QPoint(10, 10));
    v.answer.enabled.clear();
    QTest::mouseClick(&v.window, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(v.window.zoom(), zoom);
    QCOMPARE(v.answer.enabled.size(), 7);
    QVERIFY(v.user.unscripted.isEmpty());
  }

  void droppedFilesAndFailuresKeepWhatIsShown() {
    Viewer v;
    TempDir folder;
    v.openGrey(100, 80);
    const QString other = QString::fromStdString(folder.file("a.txt"));
    sendDrop(&v.window, other);
    QTRY_COMPARE(v.user.messages.size(), 1);
    QCOMPARE(v.user.messages[0], q("指定したﾀｲﾌﾟのﾌｧｲﾙはViewできません\n[") + other + "]");

    // A raw file after its size; the window only grows.
    const std::string raw = folder.file("r.raw");
    vemla::testing::writeBytes(raw, std::vector<std::uint8_t>(64, 7));
    v.user.rawAnswers.push_back(RawSize{8, 8, 0});
    sendDrop(&v.window, QString::fromStdString(raw));
    QTRY_COMPARE(v.window.picture().width, 8);
    QCOMPARE(v.window.zoom(), 31);  // min(1216 / 4 / 8, 960 / 4 / 8) + 1
    QCOMPARE(v.window.size(), QSize(810, 640));

    // A broken bitmap: the message names the file and the picture stays.
    const std::string broken = folder.file("b.bmp");
    std::vector<std::uint8_t> bytes =
        vemla::testing::makeBitmap(8, 8, 8, [](int, int) { return std::vector<std::uint8_t>{1}; });
    bytes.resize(bytes.size() - 10);
    vemla::testing::writeBytes(broken, bytes);
    QCOMPARE(v.window.openBitmap(broken), -1);
    QCOMPARE(v.user.messages.back(),
             q("画像ﾃﾞｰﾀの読み込みに失敗しました\n[") + QString::fromStdString(broken) + "]");
    QCOMPARE(v.window.picture().width, 8);
    QCOMPARE(v.window.picture().pixels[0], 7);
    // Too large for the options.
    QCOMPARE(v.window.openMemory(ramp(2000, 8).data(), 2000, 8, greyPalette()), -1);
    QVERIFY(v.user.messages.back().startsWith(q("表示可能な上限を超えています\n")));
  }

  void paneMenuViewShowsThePaneBuffer() {
    TempDir folder;
    Workbench bench;
    bench.settings.folder = folder.path();
    bench.options = Options{};
    QVERIFY(bench.store.allocate(1024, 1024));
    RecordingPort user;
    const std::string name = folder.file("p.bmp");
    vemla::testing::writeBytes(name, vemla::testing::makeBitmap(300, 200, 8, [](int x, int) {
                                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x)};
                               }));
    WorkbenchWindow window(bench, user, QSize(1920, 1200));
    window.requestOpen({QString::fromStdString(name), QString::fromStdString(name)}, OpenMode::Both, false);
    QTRY_VERIFY(bench.pictures.picturesPresent);
    PicturePane* port1 = window.picturePane(PictureSlot::First);
    port1->setMenuRunner([](QMenu& menu, const QPoint&) -> QAction* {
      for (QAction* action : menu.actions()) {
        if (action->text() == QString::fromUtf8("Ｖｉｅｗ")) return action;
      }
      return nullptr;
    });
    QTest::mouseClick(port1, Qt::RightButton, {}, QPoint(50, 50));
    ViewerWindow& viewer = window.viewer();
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.picture().width, 300);
    QCOMPARE(viewer.picture().pixels[7], 7);
    // Through the file's palette: entry i = (i, 255 - i, i / 2) as blue, green, red.
    QCOMPARE(viewer.picture().palette[7], 0x03F807u);

    // A window-modal dialog of a window the main window owns (the gallery's expand list shows
    // pictures from one) leaves the viewer usable: a key still closes it.
    QWidget owned(&window, Qt::Window);
    owned.show();
    QDialog dialog(&owned);
    dialog.open();
    QTest::keyClick(viewer.windowHandle(), Qt::Key_A);
    QVERIFY(!viewer.isVisible());
    dialog.reject();
  }

  void standAloneViewerEndsOnEscapeAndGoesOnWithAnyOtherKey() {
    TempDir folder;
    Options options;
    options.ViewerForSingleFile = true;
    RecordingPort user;
    const std::string raw = folder.file("r.raw");
    vemla::testing::writeBytes(raw, std::vector<std::uint8_t>(64, 9));
    const QStringList before = filesIn(folder);

    // Escape: the program ends; nothing but the view lock was made in the folder.
    user.rawAnswers.push_back(RawSize{8, 8, 0});
    pressInViewerLater(Qt::Key_Escape);
    StandAloneViewer first;
    StandAloneResult result =
        runStandAloneViewer(options, user, folder.path(), raw, first, kScreen);
    QVERIFY(!result.proceed);
    QVERIFY(first.lock->held() && first.listener != nullptr);
    QCOMPARE(filesIn(folder), before + QStringList{"vemla241View.lck"});

    // Any other key goes on with the raw size already given; a second viewer-only copy finds
    // the lock taken and does not listen.
    user.rawAnswers.push_back(RawSize{4, 16, 0});
    pressInViewerLater(Qt::Key_Space);
    StandAloneViewer second;
    result = runStandAloneViewer(options, user, folder.path(), raw, second, kScreen);
    QVERIFY(result.proceed);
    QCOMPARE(result.raw, (std::optional<RawSize>(RawSize{4, 16, 0})));
    QVERIFY(!second.lock->held() && second.listener == nullptr);
    // The full program opens the name without asking its size again.
    QtUserPort port(nullptr, options);
    port.presetRawSize(raw, *result.raw);
    QCOMPARE(port.askRawSize(raw, 64, RawSize{}), (std::optional<RawSize>(RawSize{4, 16, 0})));

    // A failed open ends the program as well.
    StandAloneViewer third;
    QVERIFY(
        !runStandAloneViewer(options, user, folder.path(), folder.file("none.bmp"), third, kScreen)
             .proceed);
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(user.unscripted.isEmpty());
  }

  // A viewer-only copy joins the running copies only when it goes on: a full copy started while
  // its viewer was up is the first copy, and this one becomes the second, "(M)" in its title.
  void goingOnJoinsTheRunningCopiesOnlyThen() {
    TempDir folder;
    Options options;
    options.ViewerForSingleFile = true;
    RecordingPort user;
    const std::string bitmap = folder.file("v.bmp");
    vemla::testing::writeBytes(bitmap, vemla::testing::makeBitmap(8, 8, 8, [](int x, int) {
                                 return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x)};
                               }));
    pressInViewerLater(Qt::Key_Space);
    StandAloneViewer viewing;
    QVERIFY(runStandAloneViewer(options, user, folder.path(), bitmap, viewing, kScreen).proceed);

    Workbench full, viewer;
    full.settings.folder = viewer.settings.folder = folder.path();
    const auto fullCopy = platform::joinRunningCopies(full);
    const auto viewerCopy = platform::joinRunningCopies(viewer);
    QVERIFY(!full.secondCopy && full.titles.main == "Vemla");
    QVERIFY(viewer.secondCopy && viewer.titles.main == "(M)Vemla");
  }
};

QTEST_MAIN(ViewerTest)
#include "test_viewer.moc"
