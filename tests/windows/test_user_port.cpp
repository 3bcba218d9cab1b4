// Window tests, run offscreen: the Qt user port's message boxes, the raw size and RGB ratio
// dialogs and the indexed images the panes draw.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "support/recording_port.h"
#include "windows/dialogs/raw_size_dialog.h"
#include "windows/dialogs/rgb_ratio_dialog.h"
#include "windows/main/dialog_language.h"
#include "windows/main/qt_user_port.h"
#include "windows/panes/picture_image.h"

using namespace vemla;
using vemla::testing::RecordingPort;

class UserPortTest : public QObject {
  Q_OBJECT
 private slots:
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

  // Qt's own dialogs and standard buttons speak Japanese once the translation is installed.
  void standardDialogTextsAreJapanese() {
    QVERIFY(installDialogTranslation(*qApp));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    QVERIFY(
        buttons.button(QDialogButtonBox::Cancel)->text().contains(QString::fromUtf8("キャンセル")));
    QVERIFY(!buttons.button(QDialogButtonBox::Open)->text().contains("Open"));
  }

  // Qt's file dialog, dressed when shown: the type column in Japanese, the size column and the
  // sidebar as wide as their texts.
  void fileDialogNamesTypesInJapaneseAndShowsItsColumnsWhole() {
    installDialogTranslation(*qApp);
    FileDialogDress dress;
    qApp->installEventFilter(&dress);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("sub"));
    for (const char* name : {"a.bmp", "data"}) {
      QFile file(folder.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(1023, 'x'));
    }
    QFileDialog dialog(nullptr, "files", folder.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    auto* details = dialog.findChild<QTreeView*>("treeView");
    QAbstractItemModel* model = details->model();
    QTRY_COMPARE(model->rowCount(details->rootIndex()), 3);
    QMap<QString, QString> types;
    for (int row = 0; row < 3; ++row) {
      const QModelIndex name = model->index(row, 0, details->rootIndex());
      QTRY_VERIFY(!name.siblingAtColumn(2).data().toString().isEmpty());
      types[name.data().toString()] = name.siblingAtColumn(2).data().toString();
    }
    QCOMPARE(types["sub"], QString::fromUtf8("フォルダ"));
    QCOMPARE(types["a.bmp"], QString::fromUtf8("BMP ファイル"));
    QCOMPARE(types["data"], QString::fromUtf8("ファイル"));
    const QFontMetrics metrics(details->font());
    for (int r = 0; r < 3; ++r) {
      const QString text = model->index(r, 1, details->rootIndex()).data().toString();
      QVERIFY2(details->header()->sectionSize(1) > metrics.horizontalAdvance(text) + 8,
               qPrintable(text));
    }
    auto* sidebar = dialog.findChild<QListView*>("sidebar");
    // Every place's name whole: the viewport holds the widest item its delegate lays out.
    QVERIFY(sidebar->model()->rowCount() > 0);
    QVERIFY2(sidebar->viewport()->width() >= sidebar->sizeHintForColumn(0),
             qPrintable(QString("%1 < %2")
                            .arg(sidebar->viewport()->width())
                            .arg(sidebar->sizeHintForColumn(0))));
    qApp->removeEventFilter(&dress);
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
    QCOMPARE(messages.messages,
             QStringList{QString::fromUtf8("幅／高さの指定に誤りがあります(8ｘ8～1024ｘ1024)")});

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
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8("preset標準")),
                      Qt::LeftButton);
    QCOMPARE(red->text(), QString("0.25"));
    dialog.findChild<QLineEdit*>("blue")->setText("0.125");
    dialog.accept();
    QCOMPARE(dialog.value(), (RgbRatio{0.25, 0.5, 0.125}));
  }
};

QTEST_MAIN(UserPortTest)
#include "test_user_port.moc"
