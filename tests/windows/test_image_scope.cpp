// Window tests of the image scope, run offscreen through the main window: the switch, the
// scope following the mouse and the arrow keys, its placements, and the ways it hides.
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QtTest>

#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/image_scope_window.h"
#include "windows/panes/picture_pane.h"
#include "workbench/commands/command_ids.h"
#include "workbench/view/pane_clicks.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

void moveMouse(QWidget* widget, QPoint at) {
  QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// A main window with two 300 x 200 pictures open.
struct Setup {
  TempDir folder;
  Workbench bench;
  RecordingPort user;
  std::unique_ptr<WorkbenchWindow> window;
  Setup() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.store.allocate(1024, 1024);
    const std::string name = folder.file("p.bmp");
    vemla::testing::writeBytes(
        name, vemla::testing::makeBitmap(300, 200, 8, [](int x, int y) {
          return std::vector<std::uint8_t>{static_cast<std::uint8_t>((x + 2 * y) % 256)};
        }));
    window = std::make_unique<WorkbenchWindow>(bench, user, QSize(1920, 1200));
    window->show();
    // Active as on a desktop (on X without a window manager nothing else activates it).
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("the main window is not active");
    // The pointer moves are sent to the panes; a real pointer (on X) waits in the corner, off
    // the panes and off the scope, whose own "pointer over me" would hide it.
    QCursor::setPos(0, 0);
    window->requestOpen({QString::fromStdString(name), QString::fromStdString(name)}, OpenMode::Both, false);
    QTRY_VERIFY(bench.pictures.picturesPresent);
  }
  ImageScopeWindow& scope() const { return window->imageScope(); }
  ImagePane* image(ImageSlot slot) const { return window->imagePane(slot); }
  QPoint inCanvas(QWidget* widget, QPoint at) const {
    return scope().parentWidget()->mapFromGlobal(widget->mapToGlobal(at));
  }
};

}  // namespace

class ImageScopeTest : public QObject {
  Q_OBJECT
 private slots:
  void followsTheMouseAndTheArrowKeysWhileSwitchedOn() {
    Setup s;
    ImagePane* pane = s.image(ImageSlot::First);
    moveMouse(pane, {200, 250});
    QVERIFY(s.scope().isHidden());  // switched off

    s.window->runCommand(kImageScope);
    QVERIFY(s.window->menuAction(kImageScope)->isChecked());
    moveMouse(pane, {200, 250});
    QVERIFY(s.scope().isVisible());
    QCOMPARE(s.scope().source(), ScopeSource::Image1);
    const std::optional<PaneCell> cell = imagePaneCellOf(s.bench, 200, 250);
    QVERIFY(cell.has_value());
    QCOMPARE(s.scope().pixel(), QPoint(cell->x, cell->y));
    // "追従型": the top-left corner at the mouse.
    QCOMPARE(s.scope().pos(), s.inCanvas(pane, {200, 250}));
    // The round window leaves its corners to the pane below.
    QVERIFY(!s.scope().mask().contains(QPoint(0, 0)));
    QVERIFY(s.scope().mask().contains(QPoint(128, 128)));

    // The arrow keys move the cursor and the scope follows it.
    const int cursorX = s.bench.view.centreX;
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_Right);
    QCOMPARE(s.scope().pixel(), QPoint(cursorX + 1, s.bench.view.centreY));

    // Image 2's scope lies to the left of the mouse.
    ImagePane* second = s.image(ImageSlot::Second);
    moveMouse(second, {300, 300});
    QCOMPARE(s.scope().source(), ScopeSource::Image2);
    QCOMPARE(s.scope().pos(), s.inCanvas(second, {300, 300}) - QPoint(256, 0));

    // What is painted is the scope raster: "(" of the coordinates at (107, 32) in white.
    s.scope().grab();
    QCOMPARE(s.scope().raster().pixelIndex(107, 32), 255);

    s.window->runCommand(kImageScope);
    QVERIFY(s.scope().isHidden());
  }

  void fixedPlacesAndTheWaysItHides() {
    Setup s;
    s.bench.options.ScopePosition = 0;  // "固定型"
    s.window->runCommand(kImageScope);
    PicturePane* port2 = s.window->picturePane(PictureSlot::Second);
    moveMouse(port2, {100, 100});
    QVERIFY(s.scope().isVisible());
    QCOMPARE(s.scope().source(), ScopeSource::Picture2);
    QCOMPARE(s.scope().pos(), s.inCanvas(s.image(ImageSlot::First), {0, 256}));

    // The mouse over the scope hides it and the focus goes back to image pane 1.
    QEnterEvent enter(QPointF(128, 128), QPointF(128, 128), QPointF(128, 128));
    QApplication::sendEvent(&s.scope(), &enter);
    QVERIFY(s.scope().isHidden());
    QTRY_VERIFY(s.image(ImageSlot::First)->hasFocus());

    // The mouse over the main window's own area hides it too.
    moveMouse(port2, {100, 100});
    QVERIFY(s.scope().isVisible());
    moveMouse(s.scope().parentWidget(), {5, 1000});
    QVERIFY(s.scope().isHidden());
  }
};

QTEST_MAIN(ImageScopeTest)
#include "test_image_scope.moc"
