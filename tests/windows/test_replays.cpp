// Sequences of random input that once brought the window down, played again through the real
// widgets, the real menus and Qt's own mouse dispatch (events handed to the window, so that Qt
// picks the receiver under the pointer and sends the enter and leave events itself).
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include "support/gallery_window_fixture.h"
#include "windows/gallery/gallery_small_window.h"
#include "windows/main/quick_help.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "workbench/commands/command_ids.h"
#include "workbench/commands/window_layout.h"

using namespace vemla;
using vemla::testing::GalleryBench;

namespace {

const QString kSamples = QStringLiteral(VEMLA_SAMPLES);

// A mouse action at `widget`'s point `at`, handed to its top-level window as the window system
// hands it over.
void mouseAt(QTest::MouseAction action, QWidget* widget, QPoint at,
             Qt::MouseButton button = Qt::LeftButton) {
  QWidget* top = widget->window();
  QTest::mouseEvent(action, top->windowHandle(), button, {}, widget->mapTo(top, at));
}

}  // namespace

class ReplaysTest : public QObject {
  Q_OBJECT
 private slots:
  // A right click on Image 1 with its pop-up menu left by the keyboard, quick help switched on
  // from the menu, a press on a number of the small gallery strip, then a double click in the
  // image control window: the help shown for the control lay under the pointer, and the
  // control's leave event freed it while Qt was still delivering the press to it.
  void paneMenuQuickHelpGalleryStripAndImageControlDoubleClick() {
    GalleryBench b;
    b.bench.gallery.available = true;
    if (!b.bench.store.allocate(1024, 1024)) QFAIL("no picture store");
    WorkbenchWindow window(b.bench, b.user, QSize(kLayoutWidth, kLayoutHeight));
    window.move(0, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.requestOpen({kSamples + "/scene1.bmp", kSamples + "/scene2.bmp"}, OpenMode::Both, true);
    QTRY_VERIFY(b.bench.pictures.picturesPresent);
    window.runCommand(kGallery);
    GallerySmallWindow* strip = window.findChild<GalleryWindow*>("Gallery")->smallForm();
    QVERIFY(strip->isVisible());

    // The pane's own menu, opened by the right button and left with Escape.
    ImagePane* image1 = window.imagePane(ImageSlot::First);
    bool menuShown = false;
    QTimer::singleShot(200, [&menuShown] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        menuShown = qobject_cast<QMenu*>(popup) != nullptr;
        QTest::keyClick(popup, Qt::Key_Escape);
      }
    });
    mouseAt(QTest::MousePress, image1, QPoint(190, 393), Qt::RightButton);
    mouseAt(QTest::MouseRelease, image1, QPoint(190, 393), Qt::RightButton);
    QVERIFY(menuShown);

    window.menuAction(kQuickHelp)->trigger();
    QVERIFY(b.bench.shell.quickHelp);

    QLabel* number = strip->numberLabel(11);
    const QPoint middle = number->rect().center();
    mouseAt(QTest::MouseMove, number, middle);
    mouseAt(QTest::MousePress, number, middle);
    mouseAt(QTest::MouseRelease, number, middle);

    // The control under the replay's point, entered from outside, then double-clicked low in
    // its lower half, where the help window goes.
    QWidget* imageControl = window.layoutElement("ImageControl");
    QWidget* control = imageControl->childAt(100, 129);
    QVERIFY(control != nullptr);
    const QPoint low(control->width() / 2, control->height() * 3 / 4);
    mouseAt(QTest::MouseMove, imageControl, QPoint(2, 2));
    mouseAt(QTest::MouseMove, control, low);
    mouseAt(QTest::MouseMove, control, low + QPoint(1, 0));
    mouseAt(QTest::MouseDClick, control, low + QPoint(1, 0));
    mouseAt(QTest::MouseMove, control, low + QPoint(2, 1));
    QTest::qWait(50);
    QVERIFY(window.isVisible());
  }
};

QTEST_MAIN(ReplaysTest)
#include "test_replays.moc"
