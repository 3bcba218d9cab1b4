// Window tests of the four panes, run offscreen: clicks, keys, wheel, drag sliding, grab
// scrolling, dropped files and the pane menus, against a recording host.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <QtTest>

#include "support/counting_listener.h"
#include "support/recording_port.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/picture_pane.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/pane_texts.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

using namespace vemla;
using vemla::testing::RecordingPort;

namespace {

const QString kSamples = QStringLiteral(VEMLA_SAMPLES);

class RecordingHost : public PaneHost {
 public:
  struct Open {
    QStringList names;
    OpenMode mode;
    bool history;
  };
  QList<Open> opens;
  QStringList archives;
  QStringList helps;
  QList<QPoint> scrolls;
  bool grabEnabled = false;

  void requestOpen(const QStringList& names, OpenMode mode, bool recordHistory) override {
    opens.append({names, mode, recordHistory});
  }
  void requestOpenArchive(const QString& path) override { archives << path; }
  void requestOpenRecent(PictureSlot picture, int entry) override {
    recents << QPoint(number(picture), entry);
  }
  void showHelp(QWidget*, const QString& text) override { helps << text; }
  QList<QPoint> recents;  // (picture number, entry) of each recent-picture request
  bool grabScrollEnabled() const override { return grabEnabled; }
  void grabScroll(QPoint delta) override { scrolls << delta; }
};

// Repaints the panes whenever the workbench says so, as the main window does.
class Repainter : public WorkbenchListener {
 public:
  std::vector<PicturePane*> pictures;
  std::vector<ImagePane*> images;
  void picturesChanged() override { panesChanged(); }
  void panesChanged() override {
    for (PicturePane* pane : pictures) pane->refresh();
    for (ImagePane* pane : images) pane->refresh();
  }
};

// A menu seen by the runner: texts of its actions with their enabled flags, depth first.
struct SeenMenu {
  QStringList texts;
  QList<bool> enabled;
  bool has(const QString& text) const { return texts.contains(text); }
  bool enabledOf(const QString& text) const { return enabled.value(texts.indexOf(text)); }
};
void collect(const QMenu& menu, SeenMenu& seen) {
  for (QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    seen.texts << action->text();
    seen.enabled << action->isEnabled();
    if (action->menu() != nullptr) collect(*action->menu(), seen);
  }
}
QAction* findAction(const QMenu& menu, const QString& text) {
  for (QAction* action : menu.actions()) {
    if (action->text() == text) return action;
    if (action->menu() != nullptr) {
      if (QAction* inner = findAction(*action->menu(), text)) return inner;
    }
  }
  return nullptr;
}

// Records what each menu offered and picks the item named `choice` (none when empty).
struct MenuAnswer {
  QString choice;
  QList<SeenMenu> seen;
  MenuRunner runner() {
    return [this](QMenu& menu, const QPoint&) -> QAction* {
      SeenMenu menuSeen;
      collect(menu, menuSeen);
      seen << menuSeen;
      return choice.isEmpty() ? nullptr : findAction(menu, choice);
    };
  }
};

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, modifiers);
  QApplication::sendEvent(widget, &event);
}

void sendWheel(QWidget* widget, int angle) {
  const QPointF at(256, 256);
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

void sendDrop(QWidget* widget, const QStringList& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
  QVERIFY(drop.isAccepted());
}

}  // namespace

class PanesTest : public QObject {
  Q_OBJECT

 private:
  // One workbench with the 320 x 240 sample pair and its four panes.
  struct Setup {
    Workbench bench;
    RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    RecordingHost host;
    Repainter repainter;
    std::unique_ptr<PicturePane> port1, port2;
    std::unique_ptr<ImagePane> image1, image2;
    std::string name1 = (kSamples + "/scene1.bmp").toStdString();
    std::string name2 = (kSamples + "/scene2.bmp").toStdString();

    explicit Setup(bool open = true) {
      if (!bench.store.allocate(1024, 1024)) qFatal("no picture store");
      port1 = std::make_unique<PicturePane>(bench, user, busy, progress, host, PictureSlot::First);
      port2 = std::make_unique<PicturePane>(bench, user, busy, progress, host, PictureSlot::Second);
      image1 = std::make_unique<ImagePane>(bench, user, busy, progress, host, ImageSlot::First);
      image2 = std::make_unique<ImagePane>(bench, user, busy, progress, host, ImageSlot::Second);
      repainter.pictures = {port1.get(), port2.get()};
      repainter.images = {image1.get(), image2.get()};
      bench.addListener(&repainter);
      if (open && openPictureFiles(bench, user, &name1, &name2, OpenMode::Both) != 0)
        qFatal("open failed");
    }
    ~Setup() { bench.removeListener(&repainter); }
  };

 private slots:
  void panesCarryTheirNamesAndSizes() {
    Setup setup(false);
    QCOMPARE(setup.port1->objectName(), QString("Port1"));
    QCOMPARE(setup.port2->objectName(), QString("Port2"));
    QCOMPARE(setup.image1->objectName(), QString("Image1"));
    QCOMPARE(setup.image2->objectName(), QString("Image2"));
    QCOMPARE(setup.port1->size(), QSize(232, 244));
    QCOMPARE(setup.image2->size(), QSize(512, 512));
    // Before any picture the thumbnail is all background and nothing reacts to clicks.
    QCOMPARE(setup.port1->image().pixelIndex(100, 100), 128);
    QTest::mouseClick(setup.image1.get(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(setup.bench.view.centreX, 0);
  }

  void thumbnailShowsThePictureAndItsOutline() {
    Setup setup;
    // 320 x 240: 232 x 174 at row 35; thumbnail (116, 122) shows picture (160, 120).
    const std::uint8_t* shifted = setup.bench.store.plane(kShifted1);
    QCOMPARE(setup.port1->image().pixelIndex(116, 122), int(shifted[120 * 320 + 160]));
    QCOMPARE(setup.port1->image().pixelIndex(116, 20), 128);
    // A click on the thumbnail: the cursor there, fine position m/2, view re-centred.
    setMagnification(setup.bench, 4);
    QTest::mouseClick(setup.port1.get(), Qt::LeftButton, {}, QPoint(116, 122));
    QCOMPARE(setup.bench.view.centreX, 160);
    QCOMPARE(setup.bench.view.centreY, 120);
    QCOMPARE(setup.bench.view.fineX, 2);
    // x4 around (160, 120): OX = -96, c = 192, OY = -136, d = 192. left = 232 * 96 / 320 = 69,
    // top = 35 + 174 * 56 / 240 = 75, size (232 * 512 / 320) / 4 = 92.
    QCOMPARE(setup.port2->outline(), std::optional(ThumbnailOutline{69, 75, 92, 92}));
    const QImage drawn = setup.port2->grab().toImage();
    QCOMPARE(drawn.pixel(69, 75), qRgb(255, 255, 0));  // RangeFrameColour
    QCOMPARE(drawn.pixel(69 + 92, 75 + 92), qRgb(255, 255, 0));
    // The reduced display has no outline (not possible here) and x1 of this picture has one.
    setMagnification(setup.bench, 1);
    QVERIFY(setup.port1->outline().has_value());
  }

  void clickMovesTheCursorShiftClickCentres() {
    Setup setup;
    // x1: the 320 x 240 picture sits at (96, 136) of the view.
    QTest::mouseClick(setup.image1.get(), Qt::LeftButton, {}, QPoint(96 + 10, 136 + 20));
    QCOMPARE(setup.bench.view.centreX, 10);
    QCOMPARE(setup.bench.view.centreY, 20);
    // x4 around (10, 20): window (106 - 64, 156 - 64) = (42, 92). View (300, 300) is its cell
    // (75, 75): picture (-96 + 42 + 75, -136 + 92 + 75) = (21, 31), which Shift centres:
    // window (117 - 64, 167 - 64).
    setMagnification(setup.bench, 4);
    QCOMPARE(setup.bench.view.placement, (ViewPlacement{-96, -136, 42, 92}));
    QTest::mouseClick(setup.image2.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(300, 300));
    QCOMPARE(setup.bench.view.centreX, 21);
    QCOMPARE(setup.bench.view.centreY, 31);
    QCOMPARE(setup.bench.view.placement, (ViewPlacement{-96, -136, 53, 103}));
  }

  void arrowKeysMoveTheCursorAndKeepTheFocus() {
    Setup setup;
    setup.image1->show();
    setup.image1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(setup.image1.get()));
    const int x = setup.bench.view.centreX, y = setup.bench.view.centreY;
    QTest::mouseClick(setup.image1.get(), Qt::LeftButton, {}, QPoint(96 + x, 136 + y));
    QTest::keyClick(setup.image1.get(), Qt::Key_Right);
    QTest::keyClick(setup.image1.get(), Qt::Key_Right);
    QTest::keyClick(setup.image1.get(), Qt::Key_Up);
    QCOMPARE(setup.bench.view.centreX, x + 2);
    QCOMPARE(setup.bench.view.centreY, y - 1);
    QVERIFY(setup.image1->hasFocus());
    // Other keys are left alone.
    QTest::keyClick(setup.image1.get(), Qt::Key_5);
    QTest::keyClick(setup.image1.get(), Qt::Key_A);
    QCOMPARE(setup.bench.view.centreX, x + 2);
  }

  void wheelStepsTheMagnification() {
    Setup setup;
    sendWheel(setup.image1.get(), 120);
    QCOMPARE(setup.bench.view.magnification, 2);
    sendWheel(setup.image1.get(), 240);
    QCOMPARE(setup.bench.view.magnification, 4);
    sendWheel(setup.image2.get(), -120);
    QCOMPARE(setup.bench.view.magnification, 3);
    // Half notches add up to one.
    sendWheel(setup.image2.get(), -60);
    QCOMPARE(setup.bench.view.magnification, 3);
    sendWheel(setup.image2.get(), -60);
    QCOMPARE(setup.bench.view.magnification, 2);
    // The sample fits the pane: x1 is the end, no reduced display.
    sendWheel(setup.image2.get(), -360);
    QCOMPARE(setup.bench.view.magnification, 1);
    QVERIFY(!setup.bench.view.reducedDisplay);
  }

  void dragSlidesTheMagnifiedView() {
    Setup setup;
    setMagnification(setup.bench, 4);  // OX = -96, OY = -136, window (192, 192)
    ImagePane* pane = setup.image1.get();
    sendMouse(pane, QEvent::MouseButtonPress, {256, 256}, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(setup.bench.view.centreX, 160);
    QVERIFY(pane->drag().active);
    // Two pixels: below the minimum movement of 4.
    sendMouse(pane, QEvent::MouseMove, {258, 257}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(setup.bench.view.placement, (ViewPlacement{-96, -136, 192, 192}));
    // 40 pixels right: cell 74 of the window, so the window starts at 160 - 74 + 96 = 182.
    sendMouse(pane, QEvent::MouseMove, {296, 256}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(setup.bench.view.placement, (ViewPlacement{-96, -136, 182, 192}));
    QCOMPARE(cursorViewPointOf(setup.bench), (ViewPoint{296, 256}));
    sendMouse(pane, QEvent::MouseButtonRelease, {296, 256}, Qt::LeftButton, Qt::NoButton);
    QVERIFY(!pane->drag().active);
    sendMouse(pane, QEvent::MouseMove, {350, 300}, Qt::NoButton, Qt::NoButton);
    QCOMPARE(setup.bench.view.placement, (ViewPlacement{-96, -136, 182, 192}));
  }

  void grabScrollingGoesThroughTheHost() {
    Setup setup;
    ImagePane* pane = setup.image1.get();
    // Not available: Shift + left is a centring click.
    sendMouse(pane, QEvent::MouseButtonPress, {96 + 5, 136 + 6}, Qt::LeftButton, Qt::LeftButton,
              Qt::ShiftModifier);
    sendMouse(pane, QEvent::MouseButtonRelease, {96 + 5, 136 + 6}, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(setup.bench.view.centreX, 5);
    QCOMPARE(pane->grabState(), 0);

    setup.host.grabEnabled = true;
    sendMouse(pane, QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton);
    QCOMPARE(pane->grabState(), 1);
    sendMouse(pane, QEvent::MouseMove, {110, 95}, Qt::NoButton, Qt::MiddleButton);
    QCOMPARE(pane->grabState(), 2);
    sendMouse(pane, QEvent::MouseButtonRelease, {110, 95}, Qt::MiddleButton, Qt::NoButton);
    QCOMPARE(pane->grabState(), 0);
    QCOMPARE(setup.host.scrolls, QList<QPoint>{QPoint(10, -5)});
    // Ctrl + left also grabs and leaves the cursor where it was.
    sendMouse(pane, QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton, Qt::LeftButton,
              Qt::ControlModifier);
    QCOMPARE(pane->grabState(), 1);
    QCOMPARE(setup.bench.view.centreX, 5);
    sendMouse(pane, QEvent::MouseButtonRelease, {300, 300}, Qt::LeftButton, Qt::NoButton);
  }

  void dropOfTwoFilesOpensThePair() {
    Setup setup(false);
    const QStringList files{kSamples + "/scene2.bmp", kSamples + "/scene1.bmp",
                            kSamples + "/other.bmp"};
    sendDrop(setup.port1.get(), files);
    QTRY_COMPARE(setup.host.opens.size(), 1);
    QCOMPARE(setup.host.opens[0].names, files.mid(0, 2));
    QVERIFY(setup.host.opens[0].mode == OpenMode::Both);
    QVERIFY(setup.host.opens[0].history);
    // An archive goes to the archive flow.
    sendDrop(setup.image2.get(), {kSamples + "/set.vla"});
    QTRY_COMPARE(setup.host.archives, QStringList{kSamples + "/set.vla"});
  }

  void dropOfOneFileOnALoadedPicturePaneAsks() {
    Setup setup;
    MenuAnswer answer;
    answer.choice = QString::fromUtf8("画像を入れ替える");
    setup.port2->setMenuRunner(answer.runner());
    const QString dropped = kSamples + "/new.bmp";
    sendDrop(setup.port2.get(), {dropped});
    // The question is not asked inside the drop event.
    QCOMPARE(answer.seen.size(), 0);
    QTRY_COMPARE(setup.host.opens.size(), 1);
    QCOMPARE(answer.seen.size(), 1);
    QCOMPARE(answer.seen[0].texts,
             (QStringList{QString::fromUtf8("画像を単独で開く"),
                          QString::fromUtf8("画像を入れ替える"), QString::fromUtf8("キャンセル")}));
    // Replace in Picture 2's pane: Picture 1's current file is kept, mode 2.
    QCOMPARE(setup.host.opens[0].names,
             (QStringList{QString::fromStdString(setup.name1), dropped}));
    QVERIFY(setup.host.opens[0].mode == OpenMode::SecondOnly);

    answer.choice = QString::fromUtf8("キャンセル");
    sendDrop(setup.port2.get(), {dropped});
    QTRY_COMPARE(answer.seen.size(), 2);
    QCOMPARE(setup.host.opens.size(), 1);

    // On an image pane one file opens alone without a question.
    sendDrop(setup.image1.get(), {dropped});
    QTRY_COMPARE(setup.host.opens.size(), 2);
    QCOMPARE(setup.host.opens[1].names, (QStringList{dropped, QString()}));
    QVERIFY(setup.host.opens[1].mode == OpenMode::Both);
    QCOMPARE(answer.seen.size(), 2);
  }

  void pictureMenuItemsAndClear() {
    Setup setup;
    MenuAnswer answer;
    setup.port1->setMenuRunner(answer.runner());
    QTest::mouseClick(setup.port1.get(), Qt::RightButton, {}, QPoint(50, 50));
    QCOMPARE(answer.seen.size(), 1);
    const SeenMenu& menu = answer.seen[0];
    QVERIFY(menu.enabledOf(QString::fromUtf8("クリア")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("機能説明")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("キャンセル")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("コピー　　(Vla内)")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("Ｖｉｅｗ")));
    for (const char* unavailable :
         {"ｲﾒｰｼﾞｽｺｰﾌﾟ倍率", "倍率　Ｘ８", "履歴から貼り付け", "貼り付け(Vla内)",
          "ギャラリー間コピー", "ギャラリーへコピー", "ギャラリーからコピー"}) {
      QVERIFY2(menu.has(QString::fromUtf8(unavailable)), unavailable);
      QVERIFY2(!menu.enabledOf(QString::fromUtf8(unavailable)), unavailable);
    }
    QVERIFY(menu.has(QString::fromUtf8("貼り付け(単独で開く)")));
    QVERIFY(!menu.has(QString::fromUtf8("中心へ移動")));

    // "機能説明" shows the pane's text through the host.
    answer.choice = QString::fromUtf8("機能説明");
    QTest::mouseClick(setup.port1.get(), Qt::RightButton, {}, QPoint(50, 50));
    QCOMPARE(setup.host.helps.size(), 1);
    QVERIFY(setup.host.helps[0].startsWith(QString::fromUtf8("・「画像制御情報」の条件で")));

    // "クリア" empties Picture 1; the thumbnail shows the empty picture.
    answer.choice = QString::fromUtf8("クリア");
    QTest::mouseClick(setup.port1.get(), Qt::RightButton, {}, QPoint(50, 50));
    QCOMPARE(setup.bench.pictures.pictures[0].name, std::string());
    QCOMPARE(setup.port1->image().pixelIndex(116, 122), 0);
    QCOMPARE(QString::fromStdString(paneTitleText(setup.bench, Pane::Picture1)),
             QString::fromUtf8("画像１"));
    answer.choice.clear();
    QTest::mouseClick(setup.port1.get(), Qt::RightButton, {}, QPoint(50, 50));
    QVERIFY(!answer.seen.last().enabledOf(QString::fromUtf8("クリア")));

    // A recent picture is asked of the host for this pane's picture.
    setup.bench.shell.fileHistory.recent[3] = {1, 320, 240, 0, "/x/c.bmp"};
    setup.port2->setMenuRunner(answer.runner());
    answer.choice = QString::fromUtf8(" 1. /x/c.bmp (320x240)");
    QTest::mouseClick(setup.port2.get(), Qt::RightButton, {}, QPoint(50, 50));
    QCOMPARE(setup.host.recents, QList<QPoint>{QPoint(2, 3)});
  }

  void imageMenuDrivesTheView() {
    Setup setup;
    MenuAnswer answer;
    setup.image2->setMenuRunner(answer.runner());
    answer.choice = QString::fromUtf8("倍率　Ｘ８");
    QTest::mouseClick(setup.image2.get(), Qt::RightButton, {}, QPoint(96 + 10, 136 + 10));
    QCOMPARE(setup.bench.view.magnification, 8);
    const SeenMenu& menu = answer.seen[0];
    QVERIFY(!menu.has(QString::fromUtf8("クリア")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("中心へ移動")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("マーク１設定")));
    QVERIFY(!menu.enabledOf(QString::fromUtf8("マーク１移動")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("差分ｶﾗｰ")));
    QVERIFY(menu.enabledOf(QString::fromUtf8("XOR(排他的論理和)")));
    QVERIFY(!menu.enabledOf(QString::fromUtf8("倍率　1/0.625")));  // 320 / 512, fits the pane
    QVERIFY(menu.enabledOf(QString::fromUtf8("Ｖｉｅｗ")));

    // A kind for Image 2 only, from its own pane.
    answer.choice = QString::fromUtf8("階調差");
    QTest::mouseClick(setup.image2.get(), Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(setup.bench.images.kind[1], 3);
    QCOMPARE(setup.bench.images.kind[0], 0);

    // "中心へ移動" centres on the point that was right-clicked.
    answer.choice = QString::fromUtf8("中心へ移動");
    QTest::mouseClick(setup.image2.get(), Qt::RightButton, {}, QPoint(100, 300));
    QCOMPARE(cursorViewPointOf(setup.bench).x, 256 + setup.bench.view.fineX);
    QCOMPARE(setup.bench.view.fineX, 100 % 8);

    // With RightClickCentres the right button centres and no menu opens; Ctrl still opens it.
    setup.bench.options.RightClickCentres = true;
    const int menus = answer.seen.size();
    QTest::mouseClick(setup.image2.get(), Qt::RightButton, {}, QPoint(300, 100));
    QCOMPARE(answer.seen.size(), menus);
    QCOMPARE(cursorViewPointOf(setup.bench).y, 256 + setup.bench.view.fineY);
    answer.choice.clear();
    QTest::mouseClick(setup.image2.get(), Qt::RightButton, Qt::ControlModifier, QPoint(300, 100));
    QCOMPARE(answer.seen.size(), menus + 1);
  }

  // The pane menu keeps the rules of the other controls: a kind the image already shows is
  // not made again, except the user program's result; the reduced display warns once while
  // the measurement tool is open.
  void imageMenuKeepsTheKindAndReductionRules() {
    Setup setup;
    MenuAnswer answer;
    setup.image1->setMenuRunner(answer.runner());
    vemla::testing::CountingListener made;
    setup.bench.addListener(&made);
    const auto pick = [&](const char* item) {
      answer.choice = QString::fromUtf8(item);
      QTest::mouseClick(setup.image1.get(), Qt::RightButton, {}, QPoint(5, 5));
    };
    pick("平均");
    QCOMPARE(setup.bench.images.kind[0], 2);
    QCOMPARE(made.panes, 1);
    pick("平均");
    QCOMPARE(made.panes, 1);
    pick("画像１");
    QCOMPARE(made.panes, 2);
    pick("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果");
    pick("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果");
    QCOMPARE(setup.bench.images.kind[0], 6);
    QCOMPARE(made.panes, 4);

    std::vector<std::uint8_t> wide(640 * 480, 50);
    MemoryPictures pictures;
    pictures.width = 640;
    pictures.height = 480;
    pictures.pixels = {wide.data(), wide.data()};
    QCOMPARE(setPicturesFromMemory(setup.bench, setup.user, pictures), 0);
    setup.bench.tools.active = tools::Tool::Measurement;
    pick("倍率　1/1.25");
    QVERIFY(setup.bench.view.reducedDisplay);
    QCOMPARE(setup.user.messages, QStringList{QString::fromUtf8(msg::kReducedMeasureWarning)});
    pick("倍率　Ｘ２");
    pick("倍率　1/1.25");
    QVERIFY(setup.bench.view.reducedDisplay);
    QCOMPARE(setup.user.messages.size(), 1);  // once only
    setup.bench.removeListener(&made);
  }

  void imagePaneDrawsTheRenderedViewAndCross() {
    Setup setup;
    const QImage shown = setup.image1->pixmap().toImage();
    QCOMPARE(shown.size(), QSize(512, 512));
    // Outside the picture the fill value 0 through the grey colour table.
    QCOMPARE(shown.pixel(10, 10), qRgb(0, 0, 0));
    const QRgb cross = shown.pixel(96 + 160 + 3, 136 + 120);
    QVERIFY(cross == qRgb(0, 0, 0) || cross == qRgb(255, 255, 255));
    // Without the cursor display the pixel is the picture's.
    setup.bench.view.cursorShown = false;
    setup.image1->refresh();
    const std::uint8_t value = setup.bench.store.plane(kImage1)[120 * 320 + 163];
    QCOMPARE(setup.image1->pixmap().toImage().pixel(96 + 163, 136 + 120),
             argbOf(setup.bench.view.panes[0].colours[value]));
  }
};

QTEST_MAIN(PanesTest)
#include "test_panes.moc"
