// Window tests, run offscreen: the picture control and image control windows drive the core
// (checked through the workbench state and the listener), the controls that need pictures are
// disabled without them, and the colour bar follows "ﾊﾟﾚｯﾄ".
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "support/recording_port.h"
#include "support/widget_fit.h"
#include "windows/controls/image_control_window.h"
#include "windows/controls/picture_control_window.h"
#include "windows/main/quick_help.h"
#include "windows/panes/colour_bar.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::clippedRow;
using vemla::testing::controlHiddenAtItsCentre;
using vemla::testing::RecordingPort;
using vemla::testing::showsWhole;

namespace {

class CountingListener : public WorkbenchListener {
 public:
  int pictures = 0, panes = 0;
  void picturesChanged() override { ++pictures; }
  void panesChanged() override { ++panes; }
};

const QString kSamples = QStringLiteral(VEMLA_SAMPLES);

template <typename Control>
Control* find(const QWidget* window, const char* name) {
  auto* control = window->findChild<Control*>(QString::fromUtf8(name));
  if (control == nullptr) qFatal("no control named %s", name);
  return control;
}

QString utf8(const char* text) {
  return QString::fromUtf8(text);
}

// A workbench with both control windows shown and a listener that counts notifications.
struct Bench {
  Workbench bench;
  RecordingPort user;
  NoBusyPort busy;
  NoProgressPort progress;
  CountingListener listener;
  std::unique_ptr<PictureControlWindow> pictureControl;
  std::unique_ptr<ImageControlWindow> imageControl;

  explicit Bench(int maxWidth = 1024, int maxHeight = 1024) {
    if (!bench.store.allocate(maxWidth, maxHeight)) qFatal("no picture store");
    bench.addListener(&listener);
    pictureControl = std::make_unique<PictureControlWindow>(bench, user, busy, progress, nullptr);
    imageControl = std::make_unique<ImageControlWindow>(bench, user, busy, progress, nullptr);
    pictureControl->show();
    imageControl->show();
  }
  ~Bench() {
    imageControl.reset();
    pictureControl.reset();
    bench.removeListener(&listener);
  }
  bool openSamples() {
    const std::string first = (kSamples + "/scene1.bmp").toStdString();
    const std::string second = (kSamples + "/scene2.bmp").toStdString();
    return openPictureFiles(bench, user, &first, &second, OpenMode::Both) == 0;
  }
  // Picture 2 is picture 1 moved 3 pixels to the right (its first three columns repeat column 0).
  bool openShiftedPair() {
    constexpr int kWidth = 64, kHeight = 48;
    std::vector<std::uint8_t> first(kWidth * kHeight), second(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        first[static_cast<std::size_t>(y * kWidth + x)] =
            static_cast<std::uint8_t>((x * 37 + y * 91 + (x * y) % 13 * 7) % 256);
      }
      for (int x = 0; x < kWidth; ++x) {
        second[static_cast<std::size_t>(y * kWidth + x)] =
            first[static_cast<std::size_t>(y * kWidth + std::max(x - 3, 0))];
      }
    }
    MemoryPictures pictures;
    pictures.width = kWidth;
    pictures.height = kHeight;
    pictures.pixels = {first.data(), second.data()};
    return setPicturesFromMemory(bench, user, pictures) == 0;
  }
  QWidget* image() const { return imageControl.get(); }
  QWidget* picture() const { return pictureControl.get(); }
  std::pair<int, int> cursor() const { return {bench.view.centreX, bench.view.centreY}; }
};

// Points inside the quarters of a 32 x 32 diagonal pad.
const QPoint kPadUp(16, 3), kPadDown(16, 28), kPadLeft(3, 16), kPadRight(28, 16);

}  // namespace

class ControlWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void windowsHaveTheirNamesSizesAndHelpTexts() {
    Bench b;
    QCOMPARE(b.picture()->objectName(), QString("PictureControl"));
    QCOMPARE(b.picture()->size(), QSize(313, 355));
    QCOMPARE(b.image()->objectName(), QString("ImageControl"));
    QCOMPARE(b.image()->size(), QSize(437, 388));
    QCOMPARE(quickHelpOf(find<QPushButton>(b.image(), "zoom16")),
             utf8("ｲﾒｰｼﾞを 16倍に拡大表示します"));
    QCOMPARE(quickHelpOf(find<QPushButton>(b.image(), "redisplay")),
             utf8("ｲﾒｰｼﾞの再表示を行います\nｷｰが入力不可となった場合は\nここを押下して下さい"));
    QCOMPARE(quickHelpOf(find<QComboBox>(b.picture(), "criterion")),
             utf8("自動ｱﾗｲﾒﾝﾄを行う時の種別です\n　高速：ＸＹ単位での合計差を基準\n"
                  "　標準：最小二乗誤差(SSD)を基準"));
    QCOMPARE(quickHelpOf(find<QLineEdit>(b.picture(), "searchRange")),
             utf8("最大の探索画素範囲を 1～32 "
                  "の範囲で指定します\n※値が大きいほど処理時間も大きくなります"));
    QCOMPARE(quickHelpOf(find<QWidget>(b.picture(), "shiftPad")),
             utf8("押下した方向へ対象画像をｼﾌﾄします"));
    QCOMPARE(find<QPushButton>(b.image(), "kindButton4")->text(), utf8("ｵﾌｾｯﾄ差"));
  }

  // Fields and selectors hold their longest texts whole within the fixed windows: nothing is
  // squeezed below its minimum width and a read-out does not scroll its start out of sight.
  void pictureControlShowsItsLongestTextsWhole() {
    Bench b;
    // A mark of the largest amounts: a 4096-pixel side and 255 sub-steps of the finest unit.
    b.bench.control.marks[1] = ShiftMark{1, 1, 1, 4096, 255, 2, 4096, 255};
    b.pictureControl->refresh();
    auto* markX = find<QLineEdit>(b.picture(), "markX2");
    QCOMPARE(markX->text(), utf8("4096+255  (2←)"));
    for (QLineEdit* edit : b.picture()->findChildren<QLineEdit*>()) {
      QVERIFY2(showsWhole(edit), qPrintable(edit->objectName() + ": " + edit->text()));
    }
    for (QComboBox* selector : b.picture()->findChildren<QComboBox*>()) {
      QVERIFY2(clippedRow(selector).isEmpty(), qPrintable(selector->objectName()));
    }
    QVERIFY(b.picture()->layout()->minimumSize().width() <= b.picture()->width());
  }

  void imageControlShowsItsLongestTextsWhole() {
    // A 31 x 4096 picture reduces by 10.333; the cursor at its last row reads 4 digits.
    Bench b(64, 4096);
    constexpr int kWidth = 31, kHeight = 4096;
    std::vector<std::uint8_t> pixels(kWidth * kHeight, 255);
    MemoryPictures pictures;
    pictures.width = kWidth;
    pictures.height = kHeight;
    pictures.pixels = {pixels.data(), pixels.data()};
    QCOMPARE(setPicturesFromMemory(b.bench, b.user, pictures), 0);
    // A user entry with the name whose start alone the kind selectors showed.
    UserProcessingEntry& entry = b.bench.userEntries.processing[0];
    entry.inUse = 1;
    entry.name = "diff12 smoothed 3x3";
    b.imageControl->refresh();
    auto* kinds = find<QComboBox>(b.image(), "kindSelector1");
    QCOMPARE(kinds->itemText(kinds->count() - 1), utf8("diff12 smoothed 3x3"));
    for (QComboBox* selector : b.image()->findChildren<QComboBox*>()) {
      QVERIFY2(clippedRow(selector).isEmpty(),
               qPrintable(selector->objectName() + ": " + clippedRow(selector)));
    }
    find<QSlider>(b.image(), "magnificationSlider")->setValue(0);
    QCOMPARE(find<QLineEdit>(b.image(), "magnificationValue")->text(), QString("1/10.333"));
    setCursorPosition(b.bench, 30, 4095);
    find<QPushButton>(b.image(), "markStore1")->click();
    QCOMPARE(find<QLineEdit>(b.image(), "markY1")->text(), QString("4095"));
    for (QLineEdit* edit : b.image()->findChildren<QLineEdit*>()) {
      if (edit->parentWidget()->inherits("QAbstractSpinBox")) continue;
      QVERIFY2(showsWhole(edit), qPrintable(edit->objectName() + ": " + edit->text()));
    }
    QVERIFY(b.image()->layout()->minimumSize().width() <= b.image()->width());
  }

  // Every named control takes a click at its drawn centre: none is squeezed under another by
  // the fixed window sizes.
  void everyControlIsWhereItIsDrawn() {
    Bench b;
    QVERIFY(b.openSamples());
    for (QWidget* window : {b.picture(), b.image()}) {
      QVERIFY(QTest::qWaitForWindowExposed(window));
      const QString hidden = controlHiddenAtItsCentre(window);
      QVERIFY2(hidden.isEmpty(), qPrintable(hidden));
    }
  }

  void listenersAreRemovedWithTheWindows() {
    Bench b;
    b.pictureControl.reset();
    b.imageControl.reset();
    // A notification after the windows are gone must reach only the remaining listener.
    b.bench.notifyPicturesChanged();
    b.bench.notifyPanesChanged();
    QCOMPARE(b.listener.pictures, 1);
    QCOMPARE(b.listener.panes, 1);
  }

  void cursorControlsWaitForPictures() {
    Bench b;
    for (const char* name :
         {"redisplay", "saveCursor", "loadCursor", "max1", "min2", "markRestore1", "markStore4"}) {
      QVERIFY2(!find<QPushButton>(b.image(), name)->isEnabled(), name);
    }
    QVERIFY(!find<QWidget>(b.image(), "cursorPad")->isEnabled());
    for (const char* name :
         {"validApply", "takeTopLeft", "referenceStore", "rerun", "runAtCursor"}) {
      QVERIFY2(!find<QPushButton>(b.picture(), name)->isEnabled(), name);
    }
    QVERIFY(!find<QWidget>(b.picture(), "shiftPad")->isEnabled());
    QVERIFY(!find<QPushButton>(b.picture(), "copyAutomatic")->isEnabled());
    QVERIFY(find<QPushButton>(b.image(), "kindButton3")->isEnabled());

    QVERIFY(b.openSamples());
    QVERIFY(find<QPushButton>(b.image(), "redisplay")->isEnabled());
    QVERIFY(find<QWidget>(b.image(), "cursorPad")->isEnabled());
    QVERIFY(find<QPushButton>(b.picture(), "validApply")->isEnabled());
    QVERIFY(find<QWidget>(b.picture(), "shiftPad")->isEnabled());
    // Re-running needs the automatic alignment on, "S" a stored reference.
    QVERIFY(!find<QPushButton>(b.picture(), "rerun")->isEnabled());
    QVERIFY(!find<QPushButton>(b.picture(), "referenceShift")->isEnabled());
    QCOMPARE(find<QLineEdit>(b.picture(), "pictureWidth")->text(), QString("320"));
    QCOMPARE(find<QLineEdit>(b.image(), "positionX")->text(), QString("160"));
  }

  void kindButtonsAndSelectorsRecreateTheirImage() {
    Bench b;
    QVERIFY(b.openSamples());
    const int panes = b.listener.panes;
    find<QPushButton>(b.image(), "kindButton3")->click();  // "階調差" for image 2
    QCOMPARE(b.bench.images.kind[1], 3);
    QCOMPARE(b.bench.images.kind[0], 0);
    QVERIFY(b.listener.panes > panes);
    auto* selector2 = find<QComboBox>(b.image(), "kindSelector2");
    QCOMPARE(selector2->currentIndex(), 3);
    QCOMPARE(selector2->count(), 10);
    QCOMPARE(selector2->itemText(9), utf8("XOR(排他的論理和)"));
    // Image 2's difference of the two shifted pictures, at the cursor (160, 120).
    const std::size_t at = 120 * 320 + 160;
    QCOMPARE(int(b.bench.store.plane(kImage2)[at]),
             std::abs(b.bench.store.plane(kShifted1)[at] - b.bench.store.plane(kShifted2)[at]));

    auto* selector1 = find<QComboBox>(b.image(), "kindSelector1");
    emit selector1->activated(2);  // "平均"
    QCOMPARE(b.bench.images.kind[0], 2);
    QCOMPARE(int(b.bench.store.plane(kImage1)[at]),
             (b.bench.store.plane(kShifted1)[at] + b.bench.store.plane(kShifted2)[at]) / 2);
    find<QPushButton>(b.image(), "kindButton0")->click();
    QCOMPARE(b.bench.images.kind[0], 0);
    QCOMPARE(selector1->currentIndex(), 0);
  }

  void magnificationButtonsSliderAndSpin() {
    Bench b;
    QVERIFY(b.openSamples());
    find<QPushButton>(b.image(), "zoom8")->click();
    QCOMPARE(b.bench.view.magnification, 8);
    QCOMPARE(b.bench.view.fineX, 4);
    auto* slider = find<QSlider>(b.image(), "magnificationSlider");
    auto* value = find<QLineEdit>(b.image(), "magnificationValue");
    QCOMPARE(slider->value(), 8);
    QCOMPARE(value->text(), QString("8"));
    slider->setValue(3);
    QCOMPARE(b.bench.view.magnification, 3);
    auto* spin = find<QAbstractSpinBox>(b.image(), "magnificationSpin");
    spin->stepUp();
    QCOMPARE(b.bench.view.magnification, 4);
    QCOMPARE(value->text(), QString("4"));
    // A 320 x 240 picture fits the pane: the slider at 0 gives x1, not the reduced display.
    slider->setValue(0);
    QCOMPARE(b.bench.view.magnification, 1);
    QVERIFY(!b.bench.view.reducedDisplay);
    QCOMPARE(slider->value(), 1);
    spin->stepDown();
    QCOMPARE(b.bench.view.magnification, 1);
    QVERIFY(b.user.messages.isEmpty());
  }

  void cursorPadStepsCoarseThenFine() {
    Bench b;
    QVERIFY(b.openSamples());
    auto* pad = find<QWidget>(b.image(), "cursorPad");
    const int panes = b.listener.panes;
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadUp);
    QCOMPARE(b.cursor(), (std::pair{160, 119}));
    QVERIFY(b.listener.panes > panes);
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadRight);
    QCOMPARE(b.cursor(), (std::pair{161, 119}));
    QCOMPARE(find<QLineEdit>(b.image(), "positionX")->text(), QString("161"));
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, QPoint(16, 16));  // on a diagonal
    QCOMPARE(b.cursor(), (std::pair{161, 119}));

    find<QPushButton>(b.image(), "zoom4")->click();  // fine position 2
    find<QCheckBox>(b.image(), "fineMovement")->click();
    QVERIFY(b.bench.view.fineMovement);
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadRight);
    QCOMPARE(b.bench.view.fineX, 3);
    QCOMPARE(b.cursor(), (std::pair{161, 119}));
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadRight);  // past the cell
    QCOMPARE(b.bench.view.fineX, 0);
    QCOMPARE(b.cursor(), (std::pair{162, 119}));
  }

  void positionEditsMarksAndMaxMin() {
    Bench b;
    QVERIFY(b.openSamples());
    auto* x = find<QLineEdit>(b.image(), "positionX");
    auto* y = find<QLineEdit>(b.image(), "positionY");
    x->setText("10");
    y->setText("-5");
    find<QPushButton>(b.image(), "redisplay")->click();
    QCOMPARE(b.cursor(), (std::pair{10, 0}));
    QCOMPARE(y->text(), QString("0"));

    find<QPushButton>(b.image(), "markStore2")->click();
    QCOMPARE(b.bench.images.marks[1], (DisplayMark{1, 10, 0}));
    QCOMPARE(find<QLineEdit>(b.image(), "markX2")->text(), QString("10"));
    QCOMPARE(find<QLineEdit>(b.image(), "markX1")->text(), QString());
    x->setText("300");
    y->setText("200");
    find<QPushButton>(b.image(), "redisplay")->click();
    find<QPushButton>(b.image(), "markRestore2")->click();
    QCOMPARE(b.cursor(), (std::pair{10, 0}));
    find<QPushButton>(b.image(), "markRestore1")->click();  // empty: the cursor stays
    QCOMPARE(b.cursor(), (std::pair{10, 0}));

    // "Max" of image 1: the first pixel after the cursor, row by row, holding the maximum.
    const std::uint8_t* image1 = b.bench.store.plane(kImage1);
    const int maximum = *std::max_element(image1, image1 + 320 * 240);
    QCOMPARE(find<QLineEdit>(b.image(), "maxValue1")->text(), QString::number(maximum));
    int expected = -1;
    for (int step = 1; step <= 320 * 240 && expected < 0; ++step) {
      const int at = (10 + step) % (320 * 240);  // from (11, 0), wrapping to row 0
      if (image1[at] == maximum) expected = at;
    }
    QVERIFY(expected >= 0);
    find<QPushButton>(b.image(), "max1")->click();
    QCOMPARE(b.cursor(), (std::pair{expected % 320, expected / 320}));
    QCOMPARE(int(image1[expected]), maximum);
  }

  void cursorHandOverFileSavesAndLoads() {
    Bench b;
    QVERIFY(b.openSamples());
    QTemporaryDir folder;
    b.bench.settings.folder = folder.path().toStdString();
    setCursorPosition(b.bench, 33, 44);
    find<QPushButton>(b.image(), "saveCursor")->click();
    QFile file(folder.filePath("VemlaDpos.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\x21\0\0\0\x2c\0\0\0", 8));
    setCursorPosition(b.bench, 1, 2);
    find<QPushButton>(b.image(), "loadCursor")->click();
    QCOMPARE(b.cursor(), (std::pair{33, 44}));
    QCOMPARE(find<QLineEdit>(b.image(), "positionY")->text(), QString("44"));

    b.bench.settings.folder = folder.filePath("missing").toStdString();
    find<QPushButton>(b.image(), "saveCursor")->click();
    QCOMPARE(b.user.messages, QStringList{utf8("表示位置の退避に失敗しました")});
  }

  void gridColourAndBrightnessControls() {
    Bench b;
    QVERIFY(b.openSamples());
    const int panes = b.listener.panes;
    find<QCheckBox>(b.image(), "grid")->click();
    QVERIFY(b.bench.view.grid);
    QVERIFY(b.listener.panes > panes);
    find<QSpinBox>(b.image(), "gridWidth")->setValue(4);
    QCOMPARE(b.bench.view.gridWidth, 4);
    QTest::mouseClick(find<QWidget>(b.image(), "gridPad"), Qt::LeftButton, Qt::NoModifier,
                      kPadLeft);
    QCOMPARE(b.bench.view.gridOffsetX, 1);
    QTest::mouseClick(find<QWidget>(b.image(), "gridPad"), Qt::LeftButton, Qt::NoModifier, kPadUp);
    QCOMPARE(b.bench.view.gridOffsetY, 1);

    find<QCheckBox>(b.image(), "colour")->click();
    QVERIFY(b.bench.view.colourDisplay);
    auto* colours1 = find<QComboBox>(b.image(), "colourSelector1");
    QCOMPARE(colours1->count(), 4);
    QCOMPARE(colours1->currentIndex(), 1);  // "画像１" starts with "標準ｶﾗｰ"
    emit colours1->activated(2);            // "差分ｶﾗｰ"
    QCOMPARE(b.bench.images.selections.kindColours[0][0], 2);
    auto* intensity1 = find<QSlider>(b.image(), "intensity1");
    QCOMPARE(intensity1->value(), 8);  // "差分ｶﾗｰ" starts at 8
    intensity1->setValue(5);
    QCOMPARE(b.bench.images.selections.intensity[2], 5);
    find<QSlider>(b.image(), "brightness2")->setValue(200);  // image 2 paints "標準ｶﾗｰ"
    QCOMPARE(b.bench.images.selections.brightness[1], 200);
    find<QPushButton>(b.image(), "colourToImage2")->click();  // "→"
    QCOMPARE(b.bench.images.selections.kindColours[1][1], 2);
    QCOMPARE(find<QComboBox>(b.image(), "colourSelector2")->currentIndex(), 2);
  }

  void rangeExtractionLinksAndAcceleratesItsSpins() {
    Bench b;
    QVERIFY(b.openSamples());
    find<QCheckBox>(b.image(), "range1")->click();
    QVERIFY(b.bench.view.rangeExtraction[0]);
    find<QCheckBox>(b.image(), "rangeLinked")->click();
    find<QSlider>(b.image(), "upperSlider1")->setValue(200);
    QCOMPARE(b.bench.view.range[1].upper, 200);
    QCOMPARE(find<QSpinBox>(b.image(), "upperSpin2")->value(), 200);
    // A lower bound pushed past the upper one stops at it.
    find<QSlider>(b.image(), "lowerSlider2")->setValue(230);
    QCOMPARE(b.bench.view.range[1].lower, 200);
    QCOMPARE(find<QSlider>(b.image(), "lowerSlider2")->value(), 200);
    find<QPushButton>(b.image(), "rangeClear")->click();
    QCOMPARE(b.bench.view.range[0].lower, 0);
    QCOMPARE(b.bench.view.range[1].upper, 255);

    // Held: ten steps of 1, then steps of 10.
    auto* spin = find<QSpinBox>(b.image(), "lowerSpin1");
    for (int step = 0; step < 12; ++step) spin->stepUp();
    QCOMPARE(b.bench.view.range[0].lower, 30);
    QCOMPARE(b.bench.view.range[1].lower, 30);  // still linked
    QTest::mouseRelease(spin, Qt::LeftButton);
    spin->stepUp();
    QCOMPARE(b.bench.view.range[0].lower, 31);
  }

  void colourBarFollowsThePaletteSwitch() {
    Bench b;
    QVERIFY(b.openSamples());
    ColourBar bar(b.bench, ImageSlot::First, b.image());
    QVERIFY(!bar.isVisibleTo(b.image()));
    find<QCheckBox>(b.image(), "palette")->click();
    QVERIFY(b.bench.view.colourBars);
    QVERIFY(bar.isVisibleTo(b.image()));
    QCOMPARE(bar.objectName(), QString("ImageColor"));
    QCOMPARE(bar.size(), QSize(32, 512));

    const QImage image = colourBarImage(b.bench, ImageSlot::First);
    const ColourTable& table = b.bench.view.panes[0].colours;  // no grid: the pane's own table
    QCOMPARE(image.pixel(0, 0), argbOf(table[255]));
    QCOMPARE(image.pixel(11, 511), argbOf(table[0]));
    const int value = b.bench.store.plane(kImage1)[120 * 320 + 160];
    QCOMPARE(image.pixel(13, std::max(2 * (255 - value), 1)), qRgb(255, 255, 255));
  }

  // The pads are drawn as shapes: at a device pixel ratio of 2 their diagonals and arrows step
  // by device pixels (not by the 2 x 2 blocks of a scaled bitmap) in the pad's own colours
  // only (no blur).
  void directionPadsAreSharpAtTwiceTheScale() {
    Bench b;
    const QSet<QRgb> colours{qRgb(212, 208, 200), qRgb(128, 128, 128), qRgb(255, 255, 255),
                             qRgb(64, 64, 64), qRgb(0, 0, 0)};
    for (QWidget* pad :
         {find<QWidget>(b.picture(), "shiftPad"), find<QWidget>(b.image(), "cursorPad"),
          find<QWidget>(b.image(), "gridPad")}) {
      QPixmap pixmap(pad->size() * 2);
      pixmap.setDevicePixelRatio(2);
      pad->render(&pixmap);
      const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
      QCOMPARE(image.size(), QSize(64, 64));
      int finer = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          QVERIFY2(colours.contains(image.pixel(x, y)), qPrintable(QString("%1,%2").arg(x).arg(y)));
          if (x % 2 == 0 && y % 2 == 0) {
            const QRgb corner = image.pixel(x, y);
            finer += image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                     image.pixel(x + 1, y + 1) != corner;
          }
        }
      }
      QVERIFY2(finer > 40, qPrintable(QString::number(finer)));
    }
  }

  void directionPadShiftsByThePadStep() {
    Bench b;
    QVERIFY(b.openSamples());
    auto* pad = find<QWidget>(b.picture(), "shiftPad");
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadRight);
    QCOMPARE(b.bench.control.manual.setting, ShiftSetting{});  // the manual shift is off
    const int pictures = b.listener.pictures;
    find<QCheckBox>(b.picture(), "manual")->click();
    QVERIFY(b.bench.control.manual.enabled);
    QCOMPARE(b.listener.pictures, pictures + 1);

    // Left 0 + 2/16, then one press to the right with the step 1/4 gives right 0 + 2/16.
    find<QPushButton>(b.picture(), "shiftLeft")->click();
    QCOMPARE(b.bench.control.manual.setting.left, 1);
    find<QComboBox>(b.picture(), "stepsX")->setCurrentIndex(2);
    find<QPushButton>(b.picture(), "manualApply")->click();
    QCOMPARE(b.bench.control.manual.setting.stepsX, 2);
    auto* padStep = find<QComboBox>(b.picture(), "padStep");
    QCOMPARE(padStep->currentText(), QString("1/16"));
    emit padStep->activated(2);
    QCOMPARE(b.bench.control.manual.padStep, 4);
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadRight);
    ShiftSetting expected;
    expected.right = 1;
    expected.stepsX = 2;
    QCOMPARE(b.bench.control.manual.setting, expected);
    QVERIFY(find<QPushButton>(b.picture(), "shiftRight")->isChecked());
    QVERIFY(!find<QPushButton>(b.picture(), "shiftLeft")->isChecked());

    // One whole pixel down.
    emit padStep->activated(0);
    QTest::mouseClick(pad, Qt::LeftButton, Qt::NoModifier, kPadDown);
    QCOMPARE(b.bench.control.manual.setting.down, 1);
    QCOMPARE(b.bench.control.manual.setting.wholeY, 1);
    QCOMPARE(find<QLineEdit>(b.picture(), "wholeY")->text(), QString("1"));
    QCOMPARE(b.listener.pictures, pictures + 5);
  }

  void amountEditsAreCorrectedAndMarksRestoreTheShift() {
    Bench b;
    QVERIFY(b.openSamples());
    find<QCheckBox>(b.picture(), "manual")->click();
    find<QPushButton>(b.picture(), "shiftRight")->click();
    auto* wholeX = find<QLineEdit>(b.picture(), "wholeX");
    wholeX->setText("-3");
    find<QLineEdit>(b.picture(), "wholeY")->setText("2");
    find<QPushButton>(b.picture(), "manualApply")->click();
    QCOMPARE(b.bench.control.manual.setting.wholeX, 0);
    QCOMPARE(b.bench.control.manual.setting.wholeY, 2);
    QCOMPARE(wholeX->text(), QString("0"));
    wholeX->setText("5");
    find<QPushButton>(b.picture(), "manualApply")->click();

    find<QPushButton>(b.picture(), "markStore1")->click();
    QCOMPARE(find<QLineEdit>(b.picture(), "markX1")->text(), utf8("5+0  (1→)"));
    QCOMPARE(find<QLineEdit>(b.picture(), "markY1")->text(), QString());
    find<QPushButton>(b.picture(), "manualClear")->click();
    QCOMPARE(b.bench.control.manual.setting, ShiftSetting{});
    find<QPushButton>(b.picture(), "markRestore1")->click();
    QCOMPARE(b.bench.control.manual.setting.right, 1);
    QCOMPARE(b.bench.control.manual.setting.wholeX, 5);
    QCOMPARE(wholeX->text(), QString("5"));
  }

  void referenceShiftMovesTheReferenceToTheCursor() {
    Bench b;
    QVERIFY(b.openSamples());
    find<QCheckBox>(b.picture(), "manual")->click();
    setCursorPosition(b.bench, 10, 10);
    find<QPushButton>(b.picture(), "referenceStore")->click();
    QCOMPARE(find<QLineEdit>(b.picture(), "referenceX")->text(), QString("10"));
    setCursorPosition(b.bench, 13, 8);
    const int pictures = b.listener.pictures;
    find<QPushButton>(b.picture(), "referenceShift")->click();
    ShiftSetting expected;
    expected.right = 1;
    expected.wholeX = 3;
    expected.up = 1;
    expected.wholeY = 2;
    QCOMPARE(b.bench.control.manual.setting, expected);
    QCOMPARE(b.listener.pictures, pictures + 1);
  }

  void validRangeKindsAndEdits() {
    Bench b;
    QVERIFY(b.openSamples());
    find<QRadioButton>(b.picture(), "validMargin")->click();
    QCOMPARE(b.bench.control.validRange.kind, 2);
    find<QLineEdit>(b.picture(), "marginEdit")->setText("10");
    find<QPushButton>(b.picture(), "validApply")->click();
    QCOMPARE(b.bench.control.validRectangles[0], (Rect{10, 10, 309, 229}));

    find<QRadioButton>(b.picture(), "validRectangle")->click();
    find<QLineEdit>(b.picture(), "rectLeft")->setText("300");
    find<QLineEdit>(b.picture(), "rectTop")->setText("5");
    find<QLineEdit>(b.picture(), "rectRight")->setText("20");
    find<QLineEdit>(b.picture(), "rectBottom")->setText("400");
    find<QPushButton>(b.picture(), "validApply")->click();
    QCOMPARE(b.bench.control.validRectangles[1], (Rect{20, 5, 300, 239}));
    QCOMPARE(find<QLineEdit>(b.picture(), "rectLeft")->text(), QString("20"));

    setCursorPosition(b.bench, 7, 9);
    find<QPushButton>(b.picture(), "takeBottomRight")->click();
    QCOMPARE(find<QLineEdit>(b.picture(), "rectRight")->text(), QString("7"));
    QCOMPARE(find<QLineEdit>(b.picture(), "rectBottom")->text(), QString("9"));
    QCOMPARE(b.bench.control.validRange.rectangle, (Rect{20, 5, 300, 239}));  // not applied yet
  }

  void divisionSelectorsShowTheOptionsBeforeAnyPicture() {
    // As after a restart with "1/4": the record still holds the defaults' finer steps.
    Workbench bench;
    bench.options.ShiftUnit = 4;
    QCOMPARE(bench.control.alignment.precision, 16);
    QCOMPARE(bench.control.manual.padStep, 16);
    RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    PictureControlWindow window(bench, user, busy, progress, nullptr);
    auto* precision = find<QComboBox>(&window, "precision");
    auto* padStep = find<QComboBox>(&window, "padStep");
    QCOMPARE(precision->count(), 2);
    QCOMPARE(precision->currentText(), QString("1/4"));
    QCOMPARE(padStep->count(), 3);
    QCOMPARE(padStep->currentText(), QString("1/4"));
    // A coarser record is shown as it is.
    bench.control.alignment.precision = 2;
    bench.control.manual.padStep = 0;
    window.refresh();
    QCOMPARE(precision->currentText(), QString("1/2"));
    QCOMPARE(padStep->currentText(), utf8("1画素単位"));
  }

  void automaticAlignmentFindsTheKnownShift() {
    Bench b;
    QVERIFY(b.openShiftedPair());
    emit find<QComboBox>(b.picture(), "criterion")->activated(1);  // "標準"
    QCOMPARE(b.bench.control.alignment.criterion, 1);
    find<QCheckBox>(b.picture(), "manual")->click();
    find<QCheckBox>(b.picture(), "automatic")->click();
    QVERIFY(b.bench.control.alignment.enabled);
    QVERIFY(!b.bench.control.manual.enabled);
    const AlignmentResult& result = b.bench.control.alignmentResult;
    QVERIFY(result.valid);
    // Picture 2's content sits 3 pixels right of picture 1's: it moves back left by 3.
    QCOMPARE(result.xFlag, 0);
    QCOMPARE(result.wholeX, 3);
    QCOMPARE(result.stepsX, 0);
    QCOMPARE(result.wholeY + result.stepsY, 0);
    QCOMPARE(find<QLineEdit>(b.picture(), "alignmentResult")->text(),
             utf8("左：3+0/16 上下：なし"));
    // The valid rectangles shrink by the search range + 2 = 7.
    QCOMPARE(b.bench.control.validRectangles[0], (Rect{7, 7, 56, 40}));

    QVERIFY(find<QPushButton>(b.picture(), "copyAutomatic")->isEnabled());
    find<QPushButton>(b.picture(), "copyAutomatic")->click();
    QCOMPARE(b.bench.control.manual.target, 1);
    QCOMPARE(b.bench.control.manual.setting.left, 1);
    QCOMPARE(b.bench.control.manual.setting.wholeX, 3);
  }

  void runAtTheCursorSearchesTheSamples() {
    Bench b;
    QVERIFY(b.openSamples());
    emit find<QComboBox>(b.picture(), "criterion")->activated(1);  // "標準"
    auto* range = find<QLineEdit>(b.picture(), "searchRange");
    range->setText("40");  // read with the next command, corrected to 32
    find<QCheckBox>(b.picture(), "automatic")->click();
    QCOMPARE(b.bench.control.alignment.range, 32);
    QCOMPARE(range->text(), QString("32"));
    range->setText("5");
    const int pictures = b.listener.pictures;
    find<QPushButton>(b.picture(), "runAtCursor")->click();
    QCOMPARE(b.bench.control.alignment.range, 5);
    QCOMPARE(b.listener.pictures, pictures + 1);
    QVERIFY(b.bench.control.alignmentResult.valid);
    QVERIFY(!b.bench.control.cursorSearch.pending);
    // The sample pair: Picture 2 lies about two pixels right of and one pixel above Picture 1,
    // so it moves back left and down.
    const QString text = find<QLineEdit>(b.picture(), "alignmentResult")->text();
    QVERIFY2(text.startsWith(utf8("左：")), qPrintable(text));
    QVERIFY2(text.contains(utf8("下：")), qPrintable(text));
    QCOMPARE(b.bench.control.validRectangles[0], (Rect{7, 7, 312, 232}));
    QVERIFY(b.user.messages.isEmpty());

    find<QPushButton>(b.picture(), "rerun")->click();
    QVERIFY(b.bench.control.alignmentResult.valid);
    QCOMPARE(b.listener.pictures, pictures + 2);
  }
};

QTEST_MAIN(ControlWindowsTest)
#include "test_control_windows.moc"
