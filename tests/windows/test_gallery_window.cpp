// The gallery's normal form and list window through their controls, and the main window's
// command 40114 that shows and hides them.
#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>
#include <QtTest>

#include "picture/bitmap.h"
#include "support/gallery_window_fixture.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/workbench_window.h"
#include "workbench/commands/command_ids.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/gallery_startup.h"

using namespace vemla;

namespace {

// The shared started gallery, with its slot records at hand.
struct Bench : vemla::testing::GalleryBench {
  const persist::GallerySlot& slot(int n) const {
    return bench.settings.gallery->info.slotRecords[static_cast<std::size_t>(n)];
  }
};

QStringList enabledItems(QMenu& menu) {
  QStringList items;
  for (QAction* action : menu.actions()) {
    if (action->isEnabled() && !action->isSeparator()) items << action->text();
  }
  return items;
}

// A drag entering `widget` at `at`, then the drop; both must be taken.
void sendDrop(QWidget* widget, QPoint at, QMimeData& data) {
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(widget, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(widget, &drop);
  QVERIFY(drop.isAccepted());
}

}  // namespace

class GalleryWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void pagesFollowButtonsStripAndWheel() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    const auto click = [&](const char* name) { gallery.findChild<QPushButton*>(name)->click(); };
    click("nextPage");
    QCOMPARE(gallery.firstShownSlot(), 4);
    click("lastPage");
    QCOMPARE(gallery.firstShownSlot(), 12);
    click("nextPage");  // stays on the last page
    QCOMPARE(gallery.firstShownSlot(), 12);
    click("number7");
    QCOMPARE(gallery.firstShownSlot(), 4);
    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, -120), Qt::NoButton, {},
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&gallery, &down);
    QCOMPARE(gallery.firstShownSlot(), 8);
    click("firstPage");
    QCOMPARE(gallery.findChild<QLineEdit*>("title0")->text(), QString("a"));
    QCOMPARE(gallery.findChild<QLineEdit*>("size1")->text(), QString::fromUtf8("64ﾊﾞｲﾄ"));
    // The list window: a click on a cell shows its page.
    GalleryListWindow* list = gallery.listWindow();
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(72 * 5 + 10, 96 + 40));  // #14
    QCOMPARE(gallery.firstShownSlot(), 12);
  }

  void transferAndRenameFromTheControls() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    auto* target = gallery.findChild<QComboBox*>("target0");
    target->setCurrentIndex(target->findData(3));
    gallery.findChild<QRadioButton*>("mode1_0")->setChecked(true);  // move
    gallery.findChild<QPushButton*>("run0")->click();
    QCOMPARE(b.slot(0).kind, kSlotEmpty);
    QCOMPARE(QString::fromStdString(b.slot(3).title), QString("a"));
    gallery.findChild<QLineEdit*>("title3")->setText("renamed");
    gallery.findChild<QPushButton*>("rename3")->click();
    QCOMPARE(QString::fromStdString(b.slot(3).title), QString("renamed"));
  }

  void theSlotMenuFollowsTheSlotKind() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    const auto picture = gallery.slotMenu(0, &gallery);
    const QStringList forPicture = enabledItems(*picture);
    QVERIFY(forPicture.contains(QString::fromUtf8("ｸﾞﾚｰｽｹｰﾙ化")));
    QVERIFY(forPicture.contains(QString::fromUtf8("ﾃﾞｰﾀ情報化")));
    QVERIFY(!forPicture.contains(QString::fromUtf8("画像情報化")));
    QVERIFY(!forPicture.contains(QString::fromUtf8("画像１からコピー")));  // no pictures open
    const auto data = gallery.slotMenu(1, &gallery);
    QCOMPARE(data->actions().front()->text(), QString::fromUtf8("ｱﾌﾟﾘｹｰｼｮﾝから開く"));
    QVERIFY(enabledItems(*data).contains(QString::fromUtf8("関連付け")));
    QVERIFY(!enabledItems(*data).contains(QString::fromUtf8("ｸﾞﾚｰｽｹｰﾙ化")));
  }

  // Two files dropped on list cell #6 land in #6 and #7; on a thumbnail, in its slot.
  void droppedFilesFillSlotsFromTheDropPoint() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    QList<QUrl> urls;
    const std::vector<std::uint8_t> grey(64, 3);
    for (const char* name : {"p.bmp", "q.bmp"}) {
      const std::string path = b.folder.file(name);
      QCOMPARE(writeBitmap(path, 8, 8, 1, grey.data(), nullptr), 0);
      urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    QMimeData data;
    data.setUrls(urls);
    sendDrop(gallery.listWindow(), QPoint(72 * 5 + 30, 50), data);
    QCOMPARE(QString::fromStdString(b.slot(5).title), QString("p"));
    QCOMPARE(QString::fromStdString(b.slot(6).title), QString("q"));
    data.setUrls({urls.back()});
    sendDrop(gallery.findChild<QLabel*>("thumbnail2"), QPoint(10, 10), data);
    QCOMPARE(QString::fromStdString(b.slot(2).title), QString("q"));
  }

  void command40114ShowsAndHidesTheGallery() {
    Bench b;
    b.bench.gallery.available = true;
    b.bench.settings.gallery->info.header.displayForm = 0;  // the normal form
    WorkbenchWindow window(b.bench, b.user, QSize(1280, 1024));
    window.runCommand(kGallery);
    auto* gallery = window.findChild<GalleryWindow*>("Gallery");
    QVERIFY(gallery != nullptr && gallery->isVisible());
    QVERIFY(b.bench.gallery.shown);
    QVERIFY(window.menuAction(kGallery)->isChecked());
    window.runCommand(kGallery);
    QVERIFY(!gallery->isVisible());
    QVERIFY(!window.menuAction(kGallery)->isChecked());
    // Closed by its own close box, the check mark follows at once.
    window.runCommand(kGallery);
    QVERIFY(window.menuAction(kGallery)->isChecked());
    gallery->close();
    QVERIFY(!b.bench.gallery.shown);
    QVERIFY(!window.menuAction(kGallery)->isChecked());
  }
};

QTEST_MAIN(GalleryWindowTest)
#include "test_gallery_window.moc"
