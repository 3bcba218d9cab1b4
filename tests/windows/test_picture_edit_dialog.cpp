// Window tests, run offscreen: the picture edit dialog through the real menu, its effect on the
// main window's commands and on drops, the questions of "ｷｬﾝｾﾙ", direct entry in the grid, the
// corrected fields, "階調値の変換" and the dialog on a 1024 x 768 screen.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <set>

#include "gallery/archive.h"
#include "support/tool_window_fixture.h"
#include "windows/editing/picture_edit_dialog.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::find;
using vemla::testing::ToolWindowFixture;

namespace {

QString u(const char* text) {
  return QString::fromUtf8(text);
}

// Chooses the item of `id` in MAINMENU as the operator does; false when it is disabled.
bool chooseMenuItem(WorkbenchWindow& window, int id) {
  window.updateCommandStates();
  auto* action = window.menuBar()->findChild<QAction*>(QString::number(id));
  if (action == nullptr || !action->isEnabled()) return false;
  action->trigger();
  return true;
}

void click(QWidget* parent, const char* name) {
  QTest::mouseClick(find<QPushButton>(parent, name), Qt::LeftButton);
}

// Drops `file` on `widget` as a file manager does.
void dropFile(QWidget* widget, const std::string& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
  QVERIFY(drop.isAccepted());
}

// An archive of two 16 x 8 pictures.
void makeArchive(const std::string& path) {
  QCOMPARE(createArchive(path), 0);
  ArchiveItemInfo item;
  item.kind = kSlotPicture;
  item.width = 16;
  item.height = 8;
  item.bytesPerPixel = 1;
  const std::vector<std::uint8_t> pixels(128, 7);
  std::vector<std::uint8_t> work(128 + 4096);
  for (int i = 0; i < 2; ++i) QVERIFY(appendArchiveItem(path, item, pixels, work) > 0);
}

std::set<int> enabledToolbarCommands(WorkbenchWindow& window) {
  window.updateCommandStates();
  std::set<int> enabled;
  for (int id = 40001; id <= 40117; ++id)
    if (QAction* action = window.toolbarAction(id); action != nullptr && action->isEnabled())
      enabled.insert(id);
  return enabled;
}

struct EditFixture : ToolWindowFixture {
  EditFixture() {
    openPair(
        40, 30, [](int x, int y) { return x + 40 * y; }, 90);
  }
  PictureEditDialog* dialog() const { return pictureEditDialog(window.get()); }
  std::vector<std::uint8_t> picture(int plane) const {
    const std::uint8_t* p = bench.store.plane(plane);
    return {p, p + 40 * 30};
  }
};

}  // namespace

class PictureEditDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void editingDisablesThePictureCommandsUntilTheDialogEnds() {
    EditFixture f;
    const std::set<int> before = enabledToolbarCommands(*f.window);
    QVERIFY(chooseMenuItem(*f.window, kEdit1));
    PictureEditDialog* dialog = f.dialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), u("画像１の編集"));
    QVERIFY(f.bench.pictures.editing);

    std::set<int> lost;
    const std::set<int> during = enabledToolbarCommands(*f.window);
    for (int id : before)
      if (during.count(id) == 0) lost.insert(id);
    std::set<int> expected;
    for (int id :
         {40001, 40002, 40112, 40034, 40035, 40040, 40015, 40018, 40043, 40023, 40024, 40025})
      if (before.count(id) != 0) expected.insert(id);
    QCOMPARE(lost, expected);
    QVERIFY(!chooseMenuItem(*f.window, kEdit2));

    // A drop (or any open) while editing is refused.
    const QString none = QString::fromStdString(f.folder.file("none.bmp"));
    f.window->requestOpen({none, none}, OpenMode::Both, false);
    QTRY_VERIFY(f.user.messages.contains(u("画像の編集中です")));
    // So is an archive dropped on a pane, which would replace the picture being edited.
    const std::string archive = f.folder.file("pair.vla");
    makeArchive(archive);
    f.bench.options.ArchiveSelectOnDrop = false;  // opened at once, without its dialog
    dropFile(find<QWidget>(f.window.get(), "Port1"), archive);
    QTRY_COMPARE(f.user.messages.count(u("画像の編集中です")), qsizetype(2));
    QCOMPARE(f.picture(kPicture1), f.first);
    QCOMPARE(f.bench.pictures.width, 40);

    click(dialog, "Finish");  // "終了": message 5002
    QVERIFY(!dialog->isVisible());
    QVERIFY(!f.bench.pictures.editing);
    QCOMPARE(enabledToolbarCommands(*f.window), before);
    QVERIFY(f.user.unscripted.isEmpty());
  }

  void escapeAndClosingTheMainWindowAskAsCancel() {
    EditFixture f;
    QVERIFY(chooseMenuItem(*f.window, kEdit2));
    PictureEditDialog* dialog = f.dialog();
    QCOMPARE(dialog->windowTitle(), u("画像２の編集"));
    find<QLineEdit>(dialog, "Operand")->setText(" 0x10 ");
    QTest::mouseClick(find<QRadioButton>(dialog, "Operation1"), Qt::LeftButton);  // "加算"
    click(dialog, "Operate");
    QCOMPARE(f.picture(kPicture2), std::vector<std::uint8_t>(40 * 30, 106));
    QCOMPARE(f.picture(kShifted2)[15 * 40 + 20], 106);  // the refresh chain ran

    f.user.yesNoAnswers = {false};
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    QCOMPARE(f.user.questions, QStringList{u("編集した内容が失われますがよいですか")});

    f.user.yesNoAnswers = {false, true};
    QVERIFY(!f.window->close());  // declined: both stay
    QVERIFY(f.bench.pictures.editing);
    QVERIFY(f.window->close());
    QVERIFY(!f.bench.pictures.editing);
    QCOMPARE(f.picture(kPicture2), f.second);
    QVERIFY(f.user.unscripted.isEmpty());
  }

  void fieldsAreCorrectedAndTheGridTakesDirectEntry() {
    EditFixture f;
    QVERIFY(chooseMenuItem(*f.window, kEdit1));
    PictureEditDialog* dialog = f.dialog();
    auto* angle = find<QLineEdit>(dialog, "Angle");
    angle->setText("400");
    find<QLineEdit>(dialog, "Right")->setText("-3");  // left of the left corner
    click(dialog, "Redisplay");
    QCOMPARE(angle->text(), QString("359"));
    QCOMPARE(f.bench.shell.pictureEdit.settings.angle, 359);
    QCOMPARE(find<QLineEdit>(dialog, "Right")->text(), find<QLineEdit>(dialog, "Left")->text());

    // The cursor is at the picture's centre (20, 15): the middle cell is that pixel, the cell
    // left and up by 8 is (12, 7).
    setCursorPosition(f.bench, 20, 15);
    auto* grid = find<EditGrid>(dialog, "EditGrid");
    find<QLineEdit>(dialog, "LeftValue")->setText("0xFF");
    find<QLineEdit>(dialog, "RightValue")->setText("7");
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(8, 8).center());
    QTest::mouseClick(grid, Qt::RightButton, {}, grid->cellRect(0, 0).center());
    QCOMPARE(int(f.picture(kPicture1)[15 * 40 + 20]), 255);
    QCOMPARE(int(f.picture(kPicture1)[7 * 40 + 12]), 7);
    QTRY_COMPARE(int(f.picture(kShifted1)[15 * 40 + 20]), 255);  // one refresh after the turn

    // Near the corner the grid reaches past the picture; those cells take nothing.
    setCursorPosition(f.bench, 0, 0);
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, 0).center());
    QCOMPARE(f.bench.shell.pictureEdit.session.changedCells.size(), std::size_t{2});

    // With key entry: arrows move the cursor, Space writes the left value, Shift+Space the right.
    find<QCheckBox>(dialog, "KeyEntry")->setChecked(true);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(f.bench.view.centreX, 1);
    QTest::keyClick(grid, Qt::Key_Space, Qt::ShiftModifier);
    QCOMPARE(int(f.picture(kPicture1)[1 * 40 + 1]), 7);
    click(dialog, "Finish");
  }

  void theConversionTableScrollsInTensAndRuns() {
    EditFixture f;
    QVERIFY(chooseMenuItem(*f.window, kEdit1));
    click(f.dialog(), "Conversion");
    auto* conversion = find<GreyConversionDialog>(f.dialog(), "GreyConversion");
    QVERIFY(conversion->isVisible());
    QCOMPARE(conversion->windowTitle(), u("階調値の変換"));
    conversion->scrollTo(160);
    QCOMPARE(conversion->field(9, 5)->text(), QString("255"));
    QVERIFY(conversion->field(9, 6)->text().isEmpty());
    QVERIFY(!conversion->field(9, 6)->isEnabled());
    conversion->scrollTo(0);
    conversion->field(0, 0)->setText("300");  // corrected to 255
    emit conversion->field(0, 0)->editingFinished();
    QCOMPARE(conversion->field(0, 0)->text(), QString("255"));
    click(conversion, "Execute");
    QCOMPARE(int(f.picture(kPicture1)[0]), 255);
    QCOMPARE(int(f.picture(kPicture1)[1]), 1);
    click(conversion, "Reset");
    QCOMPARE(conversion->field(0, 0)->text(), QString("0"));
    click(conversion, "Close");
    QVERIFY(!conversion->isVisible());
    click(f.dialog(), "Finish");
  }

  void theDialogFitsASmallScreen() {
    vemla::testing::TempDir folder;
    Workbench bench;
    bench.settings.folder = folder.path();
    bench.options = Options{};
    QVERIFY(bench.store.allocate(1024, 1024));
    vemla::testing::RecordingPort user;
    WorkbenchWindow window(bench, user, QSize(1024, 768));
    window.show();
    std::vector<std::uint8_t> pixels(64 * 64, 3);
    MemoryPictures pictures;
    pictures.width = pictures.height = 64;
    pictures.pixels = {pixels.data(), pixels.data()};
    QCOMPARE(setPicturesFromMemory(bench, user, pictures), 0);
    QVERIFY(chooseMenuItem(window, kEdit1));
    PictureEditDialog* dialog = pictureEditDialog(&window);
    const QSize size = dialog->sizeHint();
    QVERIFY2(size.width() <= 1024 && size.height() <= 768,
             qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
    click(dialog, "Cancel");  // unmodified: no question
    QVERIFY(!bench.pictures.editing);
    QVERIFY(user.questions.isEmpty());
  }
};

QTEST_MAIN(PictureEditDialogTest)
#include "test_picture_edit_dialog.moc"
