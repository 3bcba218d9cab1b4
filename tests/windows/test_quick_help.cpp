// Window tests, run offscreen: the quick-help window (line limit, placement inside the owner,
// menu items) and the progress window with the wait cursor.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QToolBar>
#include <QtTest>

#include "windows/main/progress_window.h"
#include "windows/main/quick_help.h"

using namespace vemla;

namespace {

QString lines(int count) {
  QStringList list;
  for (int i = 0; i < count; ++i) list << QString("line %1").arg(i);
  return list.join('\n');
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
