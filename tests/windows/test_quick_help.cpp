// Window tests: the quick-help window (line limit, placement inside the owner, menu items, the
// real pointer on an X display) and the progress window with the wait cursor.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>
#include <optional>

#include "support/gallery_window_fixture.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/progress_window.h"
#include "windows/main/quick_help.h"
#include "windows/main/workbench_window.h"
#include "workbench/commands/command_ids.h"
#include "workbench/picture/open_pictures.h"

using namespace vemla;

namespace {

QString lines(int count) {
  QStringList list;
  for (int i = 0; i < count; ++i) list << QString("line %1").arg(i);
  return list.join('\n');
}

// A point beside `control` where the pointer is on the control's parent itself, so that moving
// there leaves the control and enters nothing new.
std::optional<QPoint> besideOnParent(const QWidget* control) {
  const QRect box(control->mapToGlobal(QPoint(0, 0)), control->size());
  for (const QPoint& at : {QPoint(box.left() - 2, box.center().y()),
                           QPoint(box.right() + 2, box.center().y()),
                           QPoint(box.center().x(), box.top() - 2),
                           QPoint(box.center().x(), box.bottom() + 2)}) {
    if (QApplication::widgetAt(at) == control->parentWidget()) return at;
  }
  return std::nullopt;
}

}  // namespace

class QuickHelpTest : public QObject {
  Q_OBJECT
 private slots:
  void showsAtMostThirtyTwoLines() {
    QWidget owner;
    owner.resize(1280, 1024);
    owner.show();
    bool on = true;
    QuickHelp help(&owner, on);
    QWidget* window = help.show(&owner, lines(32));
    QVERIFY(window != nullptr);
    QCOMPARE(window->objectName(), QString("HelpMessage"));
    const int height32 = window->height();
    window = help.show(&owner, lines(40));
    QCOMPARE(window->height(), height32);
    // Showing another text replaced the first window (closed ones are hidden at once and freed
    // once the event that closed them is over).
    const auto shown = owner.findChildren<QWidget*>("HelpMessage");
    QCOMPARE(std::count_if(shown.begin(), shown.end(), [](QWidget* w) { return w->isVisible(); }),
             1);
    QVERIFY(help.show(&owner, "") == nullptr);
    QVERIFY(help.current() == nullptr);
  }

  void nearTheLowerRightCornerItStaysInsideTheOwner() {
    QWidget owner;
    owner.resize(1280, 1024);
    auto* anchor = new QWidget(&owner);
    anchor->setGeometry(1200, 980, 70, 40);
    owner.show();
    bool on = true;
    QuickHelp help(&owner, on);
    QWidget* window = help.show(anchor, lines(10) + "\nA long line that makes the window wide");
    QVERIFY(window != nullptr);
    QCOMPARE(window->parentWidget(), &owner);
    QCOMPARE(window->geometry().right() + 1, 1280 - 32);
    QCOMPARE(window->geometry().bottom() + 1, 1024 - 32);
  }

  void menuItemsShowTheirTextOnlyWhileQuickHelpIsOn() {
    QWidget owner;
    bool on = false;
    QuickHelp help(&owner, on);
    QMenu menu;
    QAction* action = menu.addAction("item");
    setQuickHelpOn(action, QString::fromUtf8("説明"));
    help.watchMenu(&menu);
    emit menu.hovered(action);
    QVERIFY(help.current() == nullptr);
    on = true;
    emit menu.hovered(action);
    QVERIFY(help.current() != nullptr);
    QVERIFY(help.current()->parentWidget() == nullptr);  // a pop-up at the pointer
    help.close();
    QVERIFY(help.current() == nullptr);
  }

  // A toolbar button shows the text of its action; a control of a dialog shows its help inside
  // that dialog, not behind it in the main window.
  void toolbarButtonsAndDialogControlsShowTheirTextInTheirOwnWindow() {
    QWidget owner;
    auto* toolbar = new QToolBar(&owner);
    QAction* action = toolbar->addAction("1");
    setQuickHelpOn(action, QString::fromUtf8("画像を開きます"));
    owner.show();
    QDialog sheet(&owner);
    auto* field = new QLineEdit(&sheet);
    setQuickHelp(field, QString::fromUtf8("範囲を指定します"));
    sheet.show();
    bool on = true;
    QuickHelp help(&owner, on);
    for (QWidget* control : {toolbar->widgetForAction(action), static_cast<QWidget*>(field)}) {
      QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
      QApplication::sendEvent(control, &enter);
      QVERIFY(help.current() != nullptr);
      QCOMPARE(help.current()->parentWidget(), control->window());
    }
  }

  // F1 shows the help of the focused control (or the nearest parent with one) with quick help
  // off; it goes when the focus moves.
  void f1ShowsTheFocusedControlsHelpUntilTheFocusMoves() {
    QWidget owner;
    bool on = false;
    QuickHelp help(&owner, on);
    QDialog dialog;
    auto* box = new QGroupBox(&dialog);
    setQuickHelp(box, QString::fromUtf8("ｷﾞｬﾗﾘｰの最大数を選択します"));
    auto* inBox = new QLineEdit(box);
    auto* plain = new QLineEdit(&dialog);
    plain->move(0, 100);
    dialog.show();
    dialog.activateWindow();  // without a window manager nothing else activates it on X
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    inBox->setFocus();
    QTest::keyClick(inBox, Qt::Key_F1);
    QVERIFY(help.current() != nullptr);
    QCOMPARE(help.current()->parentWidget(), &dialog);
    QCOMPARE(dialog.focusWidget(), inBox);  // the help window did not take the keyboard
    plain->setFocus();
    QVERIFY(help.current() == nullptr);
    QTest::keyClick(plain, Qt::Key_F1);  // nothing to tell
    QVERIFY(help.current() == nullptr);
  }

  // On a real display the help window lies over the control the pointer rests on: moving the
  // real pointer by one pixel there, and off again, keeps and then closes the help, for a tool
  // bar button, a button of the image control window and a gallery button.
  void theRealPointerRestsMovesAndLeaves() {
    if (QGuiApplication::platformName() != "xcb") QSKIP("needs a real pointer (xcb)");
    vemla::testing::GalleryBench b(0);  // the gallery's normal form
    b.bench.gallery.available = true;
    QVERIFY(b.bench.store.allocate(1024, 1024));
    const std::vector<std::uint8_t> grey(64, 100);
    MemoryPictures pictures;
    pictures.width = pictures.height = 8;
    pictures.pixels = {grey.data(), grey.data()};
    QCOMPARE(setPicturesFromMemory(b.bench, b.user, pictures), 0);
    WorkbenchWindow window(b.bench, b.user, QSize(1280, 1024));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.runCommand(kQuickHelp);
    QVERIFY(b.bench.shell.quickHelp);
    const auto restMoveAndLeave = [&](const char* name, QWidget* control) {
      QVERIFY2(control != nullptr && control->isVisible(), name);
      const QPoint centre = control->mapToGlobal(control->rect().center());
      QCOMPARE(QApplication::widgetAt(centre), control);
      QCursor::setPos(centre);
      QTRY_VERIFY2(window.quickHelp().current() != nullptr, name);
      QWidget* help = window.quickHelp().current();
      QCOMPARE(help->parentWidget(), control->window());
      QCursor::setPos(centre + QPoint(1, 1));
      QTest::qWait(100);
      QVERIFY2(window.quickHelp().current() == help && help->isVisible(), name);
      QCOMPARE(QApplication::widgetAt(centre + QPoint(1, 1)), control);  // not the help window
      const std::optional<QPoint> off = besideOnParent(control);
      QVERIFY2(off.has_value(), name);
      QCursor::setPos(*off);
      QTRY_VERIFY2(window.quickHelp().current() == nullptr, name);
    };
    auto* toolbar = window.findChild<QToolBar*>("Toolbar");
    restMoveAndLeave("tool bar", toolbar->widgetForAction(window.toolbarAction(kQuickHelp)));
    if (QTest::currentTestFailed()) return;
    restMoveAndLeave("Ｘ４", window.findChild<QPushButton*>("zoom4"));
    if (QTest::currentTestFailed()) return;
    window.runCommand(kGallery);
    auto* gallery = window.findChild<GalleryWindow*>("Gallery");
    QVERIFY(gallery != nullptr);
    gallery->move(0, 0);
    QVERIFY(QTest::qWaitForWindowExposed(gallery));
    restMoveAndLeave("←", gallery->findChild<QPushButton*>("from0_0"));
  }

  void progressWindowCountsAndGivesBackTheCursor() {
    QWidget owner;
    ProgressWindow progress(&owner);
    progress.setText("ｲﾒｰｼﾞ作成中");
    progress.start(10);
    auto* dialog = owner.findChild<QProgressDialog*>("Progress");
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->labelText(), QString::fromUtf8("ｲﾒｰｼﾞ作成中"));
    QCOMPARE(dialog->maximum(), 100);  // whole percent
    QVERIFY(QApplication::overrideCursor() != nullptr);
    progress.report(4);
    QCOMPARE(dialog->value(), 40);
    progress.report(3);  // never backwards
    QCOMPARE(dialog->value(), 40);
    progress.report(25);  // never past the total
    QCOMPARE(dialog->value(), 100);
    progress.finish();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->labelText(), QString());  // finishing empties the text
    QCOMPARE(dialog->value(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    progress.finish();  // a second finish changes nothing
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // Without a total the bar is a busy animation that reports do not stop.
    progress.setText("待機中");
    progress.start(0);
    QCOMPARE(dialog->maximum(), 0);
    progress.report(5);
    QCOMPARE(dialog->maximum(), 0);
    progress.finish();
    QVERIFY(QApplication::overrideCursor() == nullptr);

    WaitCursor busy;
    busy.begin();
    busy.begin();
    busy.end();
    QVERIFY(QApplication::overrideCursor() != nullptr);
    busy.end();
    QVERIFY(QApplication::overrideCursor() == nullptr);
    busy.end();  // unbalanced: nothing to give back
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

QTEST_MAIN(QuickHelpTest)
#include "test_quick_help.moc"
