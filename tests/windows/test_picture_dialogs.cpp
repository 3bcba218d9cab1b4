// Window tests, run offscreen: the raw size, size change, rename and text export dialogs driven
// without exec(), and the core operations they end in.
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <deque>
#include <fstream>
#include <sstream>

#include "editing/grey_value_text.h"
#include "editing/small_dialogs.h"
#include "support/recording_port.h"
#include "support/widget_fit.h"
#include "windows/dialogs/picture_dialogs.h"
#include "windows/dialogs/raw_size_dialog.h"
#include "windows/main/quick_help.h"
#include "workbench/editing/picture_rename.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/settings/live_records.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::labelOf;
using vemla::testing::RecordingPort;

namespace {

const QString kDiscard = QString::fromUtf8(kDiscardEditsQuestion);

std::uint8_t sourceValue(int x, int y) {
  return static_cast<std::uint8_t>(1 + (x * 7 + y * 13) % 254);
}

// A workbench holding two 640 x 480 pictures with values that are never 0.
void loadPictures(Workbench& bench, UserPort& user) {
  QVERIFY(bench.store.allocate(1024, 1024));
  std::vector<std::uint8_t> pixels(640 * 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) pixels[static_cast<std::size_t>(y) * 640 + x] = sourceValue(x, y);
  }
  MemoryPictures pictures;
  pictures.width = 640;
  pictures.height = 480;
  pictures.pixels = {pixels.data(), pixels.data()};
  pictures.names = {"/pictures/a.bmp", "<Import2>"};
  QCOMPARE(setPicturesFromMemory(bench, user, pictures), 0);
}

QString readText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return QString::fromStdString(text.str());
}

}  // namespace

class PictureDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void rawSizeDialogRefusesWidthSevenAndANegativeOffset() {
    RecordingPort user;
    RawSizeDialog dialog(user, "a.raw", 4096, RawSize{64, 64, 0}, 1024, 1024);
    auto* width = dialog.findChild<QLineEdit*>("width");
    auto* offset = dialog.findChild<QLineEdit*>("offset");
    QCOMPARE(quickHelpOf(width), QString::fromStdString(rawSizeHelpText(1024, 1024)));
    width->setText("7");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    width->setText("8");
    offset->setText("-1");
    dialog.accept();
    QCOMPARE(user.messages,
             (QStringList{QString::fromUtf8("幅／高さの指定に誤りがあります(8ｘ8～1024ｘ1024)"),
                          QString::fromUtf8("読み込み開始位置に誤りがあります")}));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void sizeChangeScalesBothPicturesAndRemembersTheMode() {
    QWidget window;
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    NoBusyPort busy;
    NoProgressPort progress;
    {
      auto dialog = makeSizeChangeDialog(&window, bench, user);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->windowTitle(), QString::fromUtf8("画像ｻｲｽﾞの変更"));
      auto* width = dialog->findChild<QLineEdit*>("width");
      auto* height = dialog->findChild<QLineEdit*>("height");
      QCOMPARE(width->text(), QString("640"));
      QCOMPARE(height->text(), QString("480"));
      QVERIFY(dialog->findChild<QRadioButton*>("cropOrPad")->isChecked());
      dialog->show();
      width->setText("800");
      height->setText("600");
      dialog->findChild<QRadioButton*>("scale")->setChecked(true);
      QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
      QCOMPARE(dialog->result(), int(QDialog::Accepted));
      finishSizeChange(*dialog, bench, user, busy, progress);
    }
    QVERIFY(user.messages.isEmpty());
    QCOMPARE(bench.pictures.width, 800);
    QCOMPARE(bench.pictures.height, 600);
    // 600 x 450 at (100, 75) of a black frame: the rectangle's column 300 and row 225 read
    // source column 300 * 640 / 600 = 320 and row 225 * 480 / 450 = 240.
    const std::uint8_t* picture = bench.store.plane(kPicture2);
    QCOMPARE(int(picture[300 * 800 + 400]), int(sourceValue(320, 240)));
    QCOMPARE(int(picture[300 * 800 + 99]), 0);
    QCOMPARE(int(picture[74 * 800 + 400]), 0);
    // The next dialog starts with the new size and the remembered mode.
    auto again = makeSizeChangeDialog(&window, bench, user);
    QCOMPARE(again->findChild<QLineEdit*>("width")->text(), QString("800"));
    QVERIFY(again->findChild<QRadioButton*>("scale")->isChecked());
  }

  void sizeChangeRefusesOutOfRangeAndCropsOrPads() {
    QWidget window;
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    NoBusyPort busy;
    NoProgressPort progress;
    auto dialog = makeSizeChangeDialog(&window, bench, user);
    auto* width = dialog->findChild<QLineEdit*>("width");
    auto* height = dialog->findChild<QLineEdit*>("height");
    width->setText("1025");
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(user.messages,
             QStringList{QString::fromUtf8("幅／高さの指定に誤りがあります(8ｘ8～1024ｘ1024)")});
    width->setText("320");
    height->setText("960");
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    finishSizeChange(*dialog, bench, user, busy, progress);
    QCOMPARE(bench.pictures.width, 320);
    const std::uint8_t* picture = bench.store.plane(kPicture1);
    QCOMPARE(int(picture[479 * 320 + 319]), int(sourceValue(319, 479)));
    QCOMPARE(int(picture[480 * 320]), 0);
    QCOMPARE(int(picture[959 * 320 + 319]), 0);
  }

  void sizeChangeIsRefusedWhileAPictureIsEdited() {
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    bench.pictures.editing = true;
    QVERIFY(makeSizeChangeDialog(nullptr, bench, user) == nullptr);
    QCOMPARE(user.messages,
             QStringList{QString::fromUtf8("画像の編集中はこの機能が使用できません")});
  }

  void enterPressesOkAndEscAsksBeforeEditsAreLost() {
    RecordingPort user;
    SizeChangeDialog dialog(user, 640, 480, ResizeMode::CropOrPad, 1024, 1024);
    dialog.show();
    auto* width = dialog.findChild<QLineEdit*>("width");
    // Nothing edited: Esc leaves at once.
    QTest::keyClick(width, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(user.questions.isEmpty());

    dialog.show();
    width->setText("700");
    user.yesNoAnswers = {false};
    QTest::keyClick(width, Qt::Key_Escape);
    QCOMPARE(user.questions, QStringList{kDiscard});
    QVERIFY(dialog.isVisible());
    // The window's close button asks the same question.
    user.yesNoAnswers = {false};
    dialog.close();
    QCOMPARE(user.questions.size(), 2);
    QVERIFY(dialog.isVisible());
    // Enter in a field presses "OK", the only default.
    QTest::keyClick(width, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.newWidth(), 700);
    QVERIFY(user.unscripted.isEmpty());

    SizeChangeDialog other(user, 640, 480, ResizeMode::CropOrPad, 1024, 1024);
    other.show();
    other.findChild<QRadioButton*>("scale")->setChecked(true);
    user.yesNoAnswers = {true};
    QTest::mouseClick(other.findChild<QPushButton*>("cancel"), Qt::LeftButton);
    QCOMPARE(user.questions.size(), 3);
    QVERIFY(!other.isVisible());
    QCOMPARE(other.result(), int(QDialog::Rejected));
  }

  void renameShowsThePseudoNameAndStoresAngleBrackets() {
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    auto second = makeRenameDialog(nullptr, bench, PictureSlot::Second, user);
    QCOMPARE(second->windowTitle(), QString::fromUtf8("画像２名称の設定"));
    QCOMPARE(second->findChild<QLineEdit*>("name")->text(), QString("Import2"));

    auto first = makeRenameDialog(nullptr, bench, PictureSlot::First, user);
    auto* field = first->findChild<QLineEdit*>("name");
    QCOMPARE(labelOf(field), QString::fromUtf8("ﾀｲﾄﾙ名称"));
    QCOMPARE(field->text(), QString());  // a file name is not offered for editing
    first->accept();
    QCOMPARE(first->result(), int(QDialog::Accepted));
    QCOMPARE(setPseudoName(bench, PictureSlot::First, first->text(), user), 0);
    QCOMPARE(bench.pictures.pictures[0].name, std::string("<>"));
    QCOMPARE(QString::fromStdString(bench.titles.pane[0]), QString::fromUtf8("画像１<>"));
    QVERIFY(user.messages.isEmpty());
  }

  void renameRefusesTextTheNameFieldCannotHold() {
    RecordingPort user;
    RenameDialog dialog(user, PictureSlot::First, "");
    auto* field = dialog.findChild<QLineEdit*>("name");
    // 300 characters fit the field's 507, but as 600 CP932 bytes not the name.
    field->setText(QString(300, QChar(0x3042)));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(user.messages, QStringList{QString::fromUtf8("ﾌｧｲﾙ名が長すぎます")});
    field->setText(QString(600, 'a'));
    QCOMPARE(field->text().size(), 507);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void textExportWritesOnePixelAndKeepsItsFields() {
    QWidget window;
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    QTemporaryDir folder;
    const QString path = folder.filePath("one.txt");
    QStringList titles;
    bench.view.centreX = 5;
    bench.view.centreY = 4;
    {
      auto dialog = makeTextExportDialog(&window, bench, user);
      QCOMPARE(dialog->windowTitle(), QString::fromUtf8("階調値ﾃｷｽﾄ保存"));
      dialog->setFileChooser([&](const QString& title, const QString&) {
        titles << title;
        return path;
      });
      dialog->show();
      dialog->findChild<QRadioButton*>("source1")->setChecked(true);
      dialog->findChild<QLineEdit*>("halfSize")->setText("2");
      QTest::mouseClick(dialog->findChild<QPushButton*>("takeCursor"), Qt::LeftButton);
      QCOMPARE(dialog->findChild<QLineEdit*>("left")->text(), QString("3"));
      QCOMPARE(dialog->findChild<QLineEdit*>("top")->text(), QString("2"));
      QCOMPARE(dialog->findChild<QLineEdit*>("right")->text(), QString("7"));
      QCOMPARE(dialog->findChild<QLineEdit*>("bottom")->text(), QString("6"));

      dialog->findChild<QLineEdit*>("right")->setText("3");
      dialog->findChild<QLineEdit*>("bottom")->setText("2");
      QTest::mouseClick(dialog->findChild<QPushButton*>("execute"), Qt::LeftButton);
      QCOMPARE(titles, QStringList{QString::fromUtf8("階調値ﾃｷｽﾄ保存ﾌｧｲﾙの選択(画像2:1 x 1)")});
      // Picture 2's shifted picture at (3, 2): 1 + (21 + 26) % 254 = 48.
      QCOMPARE(readText(path), QString(" 48\n"));
      QVERIFY(dialog->isVisible());  // open for further exports
      QTest::mouseClick(dialog->findChild<QPushButton*>("close"), Qt::LeftButton);
      QVERIFY(!dialog->isVisible());
      finishTextExport(*dialog, bench);
    }
    QVERIFY(user.messages.isEmpty());
    QCOMPARE(QString::fromStdString(bench.shell.lastFiles.greyValueText), path);
    persist::putProgramRecord(bench);
    QCOMPARE(bench.settings.program.textExport, (std::array<std::int32_t, 2>{1, 2}));
    auto again = makeTextExportDialog(&window, bench, user);
    QVERIFY(again->findChild<QRadioButton*>("source1")->isChecked());
    QCOMPARE(again->findChild<QLineEdit*>("right")->text(), QString("3"));
    QCOMPARE(again->findChild<QLineEdit*>("separator")->text(), QString(","));
  }

  void textExportRefusesABadRectangleAndEnterRunsTheExport() {
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    TextExportSettings settings;
    settings.rectangle = {0, 0, 640, 0};  // one column beyond the picture
    settings.halfSize = 3;
    TextExportDialog dialog(bench, user, settings);
    int chosen = 0;
    dialog.setFileChooser([&](const QString&, const QString&) {
      ++chosen;
      return QString();  // cancelled
    });
    dialog.show();
    dialog.execute();
    QCOMPARE(user.messages, QStringList{QString::fromUtf8("指定の範囲に誤りがあります")});
    QCOMPARE(chosen, 0);

    dialog.findChild<QLineEdit*>("right")->setText("639");
    // Enter in the half size field runs the export; "≪" is not pressed by it.
    QTest::keyClick(dialog.findChild<QLineEdit*>("halfSize"), Qt::Key_Return);
    QCOMPARE(chosen, 1);
    QCOMPARE(dialog.findChild<QLineEdit*>("left")->text(), QString("0"));
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(dialog.isVisible());
    // Esc leaves without a question: the fields are kept, nothing is lost.
    QTest::keyClick(dialog.findChild<QLineEdit*>("halfSize"), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QVERIFY(user.questions.isEmpty());
  }

  void textExportTellsWhenTheFileCannotBeCreated() {
    RecordingPort user;
    Workbench bench;
    loadPictures(bench, user);
    TextExportSettings settings;
    settings.rectangle = {0, 0, 0, 0};
    TextExportDialog dialog(bench, user, settings);
    QTemporaryDir folder;
    dialog.setFileChooser(
        [&](const QString&, const QString&) { return folder.filePath("missing/a.txt"); });
    dialog.execute();
    QCOMPARE(user.messages, QStringList{QString::fromUtf8("ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました")});
  }

  void commandsDoNothingWithoutPictures() {
    RecordingPort user;
    Workbench bench;
    QVERIFY(bench.store.allocate(1024, 1024));
    QVERIFY(makeSizeChangeDialog(nullptr, bench, user) == nullptr);
    QVERIFY(makeRenameDialog(nullptr, bench, PictureSlot::First, user) == nullptr);
    QVERIFY(makeTextExportDialog(nullptr, bench, user) == nullptr);
    QVERIFY(user.messages.isEmpty());
  }
};

QTEST_MAIN(PictureDialogsTest)
#include "test_picture_dialogs.moc"
