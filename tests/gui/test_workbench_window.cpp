// Window tests, run offscreen: the minimal workbench window, the Qt user port's message boxes
// and the raw size and RGB ratio dialogs.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "editing/ui/raw_size_dialog.h"
#include "editing/ui/rgb_ratio_dialog.h"
#include "shell/qt_user_port.h"
#include "processing/refresh_chain.h"
#include "shell/workbench_window.h"
#include "views/picture_image.h"

using namespace vemla;

namespace {

// Records messages; every prompt is answered with cancel.
class RecordingPort : public UserPort {
 public:
  QStringList messages;
  void tell(Icon, std::string_view text, std::string_view) override {
    messages << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  bool askYesNo(std::string_view) override { return false; }
  Answer askYesNoCancel(std::string_view, Icon) override { return Answer::Cancel; }
  std::optional<RawSize> askRawSize(std::string_view, std::int64_t, RawSize) override { return std::nullopt; }
  std::optional<RgbRatio> askRgbRatio(std::string_view, RgbRatio) override { return std::nullopt; }
};

const QString kSamples = QStringLiteral(VEMLA_SAMPLES);

}  // namespace

class WorkbenchWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheOpenedPicturesWithTheirTitles() {
    Workbench bench;
    QVERIFY(bench.store.allocate(1024, 1024));
    RecordingPort user;
    WorkbenchWindow window(bench, user);
    QCOMPARE(window.windowTitle(), QString("Vemla"));
    QCOMPARE(window.paneTitle(0)->text(), QString::fromUtf8("画像１"));

    QCOMPARE(window.openNames({kSamples + "/scene1.bmp", kSamples + "/scene2.bmp"}), 0);
    QVERIFY(user.messages.isEmpty());
    QCOMPARE(window.windowTitle(), QString("scene1.bmp scene2.bmp - Vemla"));
    QCOMPARE(window.paneTitle(1)->text(), QString::fromUtf8("画像２(scene2.bmp)"));
    const QImage shown = window.pane(0)->pixmap().toImage();
    QCOMPARE(shown.size(), QSize(320, 240));
  }

  void showsImageOneAndTheAbsoluteDifferenceRendered() {
    Workbench bench;
    QVERIFY(bench.store.allocate(1024, 1024));
    RecordingPort user;
    WorkbenchWindow window(bench, user);
    QCOMPARE(window.imageTitle(0)->text(), QString::fromUtf8("ｲﾒｰｼﾞ1"));
    QVERIFY(window.imagePane(0)->pixmap().isNull());

    QCOMPARE(window.openNames({kSamples + "/scene1.bmp", kSamples + "/scene2.bmp"}), 0);
    QCOMPARE(window.imageTitle(0)->text(), QString::fromUtf8("ｲﾒｰｼﾞ1（画像１） x1"));
    QCOMPARE(window.imageTitle(1)->text(), QString::fromUtf8("ｲﾒｰｼﾞ2（階調差） x1"));
    const QImage image1 = window.imagePane(0)->pixmap().toImage();
    const QImage image2 = window.imagePane(1)->pixmap().toImage();
    QCOMPARE(image1.size(), QSize(512, 512));
    QCOMPARE(image2.size(), QSize(512, 512));
    // The 320 x 240 samples sit at (96, 136) of the pane with black around them; pane pixels
    // show the difference of the shifted pictures through the pane's colour table.
    QCOMPARE(image2.pixel(95, 136), qRgb(0, 0, 0));
    const std::uint8_t* shifted1 = bench.store.plane(kShifted1);
    const std::uint8_t* shifted2 = bench.store.plane(kShifted2);
    for (const auto& [x, y] : {std::pair{10, 20}, {200, 100}, {319, 239}}) {
      const std::size_t at = static_cast<std::size_t>(y) * 320 + static_cast<std::size_t>(x);
      const int difference = std::abs(shifted1[at] - shifted2[at]);
      QCOMPARE(image2.pixel(96 + x, 136 + y), argbOf(bench.view.panes[1].colours[difference]));
      QCOMPARE(image1.pixel(96 + x, 136 + y), argbOf(bench.view.panes[0].colours[shifted1[at]]));
    }
    // The cursor cross at the centre of the picture: dotted black over white.
    const QRgb cross = image1.pixel(96 + 160 - 5, 136 + 120);
    QVERIFY(cross == qRgb(0, 0, 0) || cross == qRgb(255, 255, 255));

    // A cursor step re-renders the panes.
    setMagnification(bench, 8);
    QCOMPARE(window.imageTitle(1)->text(), QString::fromUtf8("ｲﾒｰｼﾞ2（階調差） x8"));
    QVERIFY(window.imagePane(1)->pixmap().toImage() != image2);
    QVERIFY(user.messages.isEmpty());
  }

  void refusedOpenShowsTheMessageAndKeepsThePictures() {
    Workbench bench;
    QVERIFY(bench.store.allocate(1024, 1024));
    RecordingPort user;
    WorkbenchWindow window(bench, user);
    QCOMPARE(window.openNames({kSamples + "/scene1.bmp"}), 0);
    QCOMPARE(window.openNames({kSamples + "/missing.bmp"}), -1);
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(user.messages[0].startsWith(QString::fromUtf8("ﾌｧｲﾙの読み込みに失敗しました\n")));
    QCOMPARE(window.windowTitle(), QString("scene1.bmp - Vemla"));
  }

  void pictureImageCarriesPixelsAndPalette() {
    const std::uint8_t pixels[] = {0, 1, 2, 3, 4, 5};
    Palette palette = greyRamp();
    palette[4 * 5 + 2] = 200;  // red of entry 5
    const QImage image = pictureImage(pixels, 3, 2, palette);
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QCOMPARE(image.pixelIndex(2, 1), 5);
    QCOMPARE(qRed(image.color(5)), 200);
    QCOMPARE(qGreen(image.color(5)), 5);
  }

  void messageBoxesShowPlainText() {
    Options options;
    QtUserPort port(nullptr, options);
    QString seenText;
    Qt::TextFormat seenFormat = Qt::RichText;
    QString seenTitle;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      seenText = box->text();
      seenFormat = box->textFormat();
      seenTitle = box->windowTitle();
      box->accept();
    });
    port.tell(Icon::Warning, "画像１<b>");
    QCOMPARE(seenText, QString::fromUtf8("画像１<b>"));
    QCOMPARE(seenFormat, Qt::PlainText);
    QCOMPARE(seenTitle, QString("Vemla"));
  }

  void rawSizeDialogRefusesOutOfRangeValues() {
    RecordingPort messages;
    RawSizeDialog dialog(messages, "a.raw", 4096, RawSize{64, 64, 0}, 1024, 1024);
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("RAW ﾌｧｲﾙ情報"));
    QCOMPARE(dialog.findChild<QLabel*>("bytes")->text(), QString::fromUtf8("4096ﾊﾞｲﾄ"));
    auto* width = dialog.findChild<QLineEdit*>("width");
    auto* offset = dialog.findChild<QLineEdit*>("offset");
    QCOMPARE(width->text(), QString("64"));

    width->setText("7");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(messages.messages, QStringList{QString::fromUtf8("幅／高さの指定に誤りがあります(8ｘ8～1024ｘ1024)")});

    width->setText("32");
    offset->setText("-1");
    dialog.accept();
    QCOMPARE(messages.messages.last(), QString::fromUtf8("読み込み開始位置に誤りがあります"));
    offset->setText("x");
    dialog.accept();
    QCOMPARE(messages.messages.size(), 3);

    offset->setText("16");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.value(), (RawSize{32, 64, 16}));
  }

  void rgbRatioDialogShowsShortenedRatiosAndPresets() {
    RgbRatioDialog dialog(QString::fromUtf8("(ﾌｧｲﾙ1)"), RgbRatio{}, RgbRatio{0.25, 0.5, 0.25});
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("TrueColor RGB比(ﾌｧｲﾙ1)"));
    auto* red = dialog.findChild<QLineEdit*>("red");
    QCOMPARE(red->text(), QString("0.299"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("presetR"), Qt::LeftButton);
    QCOMPARE(red->text(), QString("1.0"));
    QCOMPARE(dialog.findChild<QLineEdit*>("green")->text(), QString("0.0"));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8("preset標準")), Qt::LeftButton);
    QCOMPARE(red->text(), QString("0.25"));
    dialog.findChild<QLineEdit*>("blue")->setText("0.125");
    dialog.accept();
    QCOMPARE(dialog.value(), (RgbRatio{0.25, 0.5, 0.125}));
  }
};

QTEST_MAIN(WorkbenchWindowTest)
#include "test_workbench_window.moc"
