// Window tests, run offscreen: the gallery's edit dialog (drags, finish, cancel, a failed
// backup), the archive panels "ギャラリーの保存" / "ギャラリーへ展開" driven to their flows, the
// continuous paste of the slot menu, and the panes' copies to and from the gallery.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>

#include "gallery/archive.h"
#include "gallery/messages.h"
#include "picture/bitmap.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "support/tool_window_fixture.h"
#include "windows/gallery/gallery_archive_dialogs.h"
#include "windows/gallery/gallery_edit_dialog.h"
#include "windows/gallery/gallery_window.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/picture_pane.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/gallery_startup.h"

using namespace vemla;
using vemla::testing::readBytes;

namespace {

// A started gallery of 16 slots: #1 a grey 8 x 8 picture "a" (all 9), #2 data "d.txt",
// #3 a grey 8 x 8 picture "c" (all 5).
struct Bench {
  vemla::testing::TempDir folder;
  Workbench bench;
  vemla::testing::RecordingPort user;
  Bench() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.settings.gallery.emplace();
    startGallery(bench, user);
    storeGrey(0, "a", 9);
    storeDataInSlot(bench, user, 1, std::vector<std::uint8_t>(10, 1), "d.txt");
    storeGrey(2, "c", 5);
  }
  void storeGrey(int n, const char* title, int value) {
    const std::vector<std::uint8_t> grey(64, static_cast<std::uint8_t>(value));
    SlotPicture picture;
    picture.pixels = grey;
    picture.width = picture.height = 8;
    picture.title = title;
    storePictureInSlot(bench, user, n, picture);
  }
  const persist::GallerySlot& slot(int n) const {
    return bench.settings.gallery->info.slotRecords[static_cast<std::size_t>(n)];
  }
  std::vector<std::uint8_t> slotBytes(int n) const {
    return readBytes(slotFilePath(folder.path(), n));
  }
  bool backupExists() const { return std::filesystem::exists(folder.file("VemlaGinf.bak")); }
};

GalleryEditDialog* editDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<GalleryEditDialog*>(widget); dialog && dialog->isVisible()) {
      return dialog;
    }
  }
  return nullptr;
}

// A left-button drag in the edit dialog from one point to another.
void drag(QWidget* dialog, QPoint from, QPoint to) {
  QTest::mousePress(dialog, Qt::LeftButton, {}, from);
  QTest::mouseMove(dialog, to);
  QTest::mouseRelease(dialog, Qt::LeftButton, {}, to);
}
void dragSlot(QWidget* dialog, int from, int to) {
  drag(dialog, GalleryEditDialog::slotArea(from).center(),
       GalleryEditDialog::slotArea(to).center());
}

// Deleted dialogs go at once, not with an event loop the test does not run.
void flushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Enters `name` in the embedded chooser's field, in `folder` (as a paste would: typed letters
// would be completed to the existing names).
void enterName(QFileDialog* chooser, const QString& folder, const QString& name) {
  chooser->setDirectory(folder);
  auto* field = chooser->findChild<QLineEdit*>("fileNameEdit");
  QVERIFY(field != nullptr);
  field->setText(name);
}

void pressChooser(QFileDialog* chooser, QDialogButtonBox::StandardButton which) {
  QPushButton* button = chooser->findChild<QDialogButtonBox*>()->button(which);
  QVERIFY(button != nullptr && button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
}

QStringList titlesIn(const std::string& archive) {
  std::vector<ArchiveItemInfo> items;
  readArchiveDirectory(archive, items);
  QStringList titles;
  for (const ArchiveItemInfo& item : items) titles << QString::fromStdString(item.title);
  return titles;
}

QAction* itemIn(QMenu& menu, const QString& submenu, const QString& text) {
  for (QAction* action : menu.actions()) {
    if (action->menu() == nullptr) continue;
    if (action->text() == submenu) {
      for (QAction* inner : action->menu()->actions()) {
        if (inner->text() == text) return inner;
      }
    }
    if (QAction* inner = itemIn(*action->menu(), submenu, text)) return inner;
  }
  return nullptr;
}

}  // namespace

class GalleryEditTest : public QObject {
  Q_OBJECT
 private slots:
  void dragsCopyMoveSwapAndDeleteWhileTheMainWindowIsInert() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    gallery.show();
    gallery.listWindow()->show();
    gallery.findChild<QPushButton*>("edit")->click();
    GalleryEditDialog* dialog = editDialog();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QString::fromUtf8("ギャラリーの編集"));
    QVERIFY(!gallery.isEnabled());
    QVERIFY(!gallery.listWindow()->isVisible());
    QVERIFY(b.backupExists());
    QCOMPARE(dialog->height(), 96 * 2 + 88);

    dragSlot(dialog, 0, 4);  // copy #1 -> #5
    QCOMPARE(b.slot(4).title, std::string("a"));
    QCOMPARE(b.slotBytes(4), b.slotBytes(0));
    dialog->findChild<QRadioButton*>("editMove")->click();
    dragSlot(dialog, 2, 5);  // move #3 -> #6
    QCOMPARE(b.slot(2).kind, kSlotEmpty);
    QCOMPARE(b.slot(5).title, std::string("c"));
    dialog->findChild<QRadioButton*>("editSwap")->click();
    dragSlot(dialog, 0, 1);  // swap #1 <-> #2
    QCOMPARE(b.slot(0).kind, kSlotData);
    QCOMPARE(b.slot(1).title, std::string("a"));
    QCOMPARE(b.slotBytes(1), std::vector<std::uint8_t>(64, 9));
    drag(dialog, GalleryEditDialog::slotArea(5).center(), GalleryEditDialog::deleteArea().center());
    QCOMPARE(b.slot(5).kind, kSlotEmpty);
    QCOMPARE(b.slot(5).title, std::string());
    // A drop beside every slot does nothing.
    drag(dialog, GalleryEditDialog::slotArea(1).center(), QPoint(dialog->width() - 2, 60));
    QCOMPARE(b.slot(1).title, std::string("a"));
    QCOMPARE(gallery.findChild<QLineEdit*>("title1")->text(), QString("a"));

    dialog->findChild<QPushButton*>("finish")->click();
    flushDeletes();
    QVERIFY(editDialog() == nullptr);
    QVERIFY(gallery.isEnabled());
    QVERIFY(!b.backupExists());
    QCOMPARE(b.slot(1).title, std::string("a"));
    QCOMPARE(b.user.unscripted, QStringList());
  }

  void cancelAfterChangesAsksAndRestoresTheBackup() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    gallery.findChild<QPushButton*>("edit")->click();
    GalleryEditDialog* dialog = editDialog();
    QVERIFY(dialog != nullptr);
    dialog->findChild<QRadioButton*>("editSwap")->click();
    dragSlot(dialog, 0, 2);
    QCOMPARE(b.slot(0).title, std::string("c"));
    // "No" keeps the dialog and the change.
    b.user.yesNoAnswers = {false, true};
    QTest::keyClick(dialog, Qt::Key_Escape);
    QCOMPARE(editDialog(), dialog);
    QCOMPARE(b.slot(0).title, std::string("c"));
    dialog->findChild<QPushButton*>("cancel")->click();
    QCOMPARE(b.user.questions,
             QStringList(2, QString::fromUtf8("編集した情報が失われますが良いですか？")));
    flushDeletes();
    QVERIFY(editDialog() == nullptr);
    QCOMPARE(b.slot(0).title, std::string("a"));
    QCOMPARE(b.slot(2).title, std::string("c"));
    QCOMPARE(b.slotBytes(0), std::vector<std::uint8_t>(64, 9));
    QCOMPARE(b.slotBytes(2), std::vector<std::uint8_t>(64, 5));
    QCOMPARE(gallery.findChild<QLineEdit*>("title0")->text(), QString("a"));
    QVERIFY(gallery.isEnabled());
    QVERIFY(!b.backupExists());

    // Without changes nothing is asked.
    gallery.findChild<QPushButton*>("edit")->click();
    QTest::keyClick(editDialog(), Qt::Key_Escape);
    flushDeletes();
    QVERIFY(editDialog() == nullptr);
    QCOMPARE(b.user.questions.size(), 2);
    QVERIFY(!b.backupExists());
  }

  void aFailedBackupKeepsTheDialogShut() {
    Bench b;
    // A folder where the backup of slot #3 must go: the copy fails.
    std::filesystem::create_directories(b.folder.file("~~VemlaG002.bak") + "/in-the-way");
    GalleryWindow gallery(b.bench, b.user, {});
    gallery.findChild<QPushButton*>("edit")->click();
    QVERIFY(editDialog() == nullptr);
    QCOMPARE(b.user.messages, QStringList{QString::fromUtf8("ｷﾞｬﾗﾘｰ情報の退避に失敗しました")});
    QVERIFY(gallery.isEnabled());
    QVERIFY(!b.backupExists());
    QCOMPARE(b.slot(2).title, std::string("c"));
    QCOMPARE(b.slot(2).kind, kSlotPicture);
  }

  void thePanelChoicesReachTheArchiveFlows() {
    Bench b;
    // What the expand list's double clicks hand to the main window.
    std::vector<std::uint8_t> viewed;
    QString opened;
    GalleryHost host;
    host.viewPicture = [&](std::span<const std::uint8_t> content, const ArchiveItemInfo& item) {
      QCOMPARE(item.width * item.height, static_cast<int>(content.size()));
      viewed.assign(content.begin(), content.end());
    };
    host.openData = [&](int slot, const QString& path, const QString&, bool program) {
      QCOMPARE(slot, -1);
      QVERIFY(!program);
      opened = path;
    };
    GalleryWindow gallery(b.bench, b.user, std::move(host));
    const QString folder = QString::fromStdString(b.folder.path());
    const std::string archive = b.folder.file("set.vla");

    // Save #1 and #3, then append #2 and the empty #4.
    gallery.findChild<QPushButton*>("save")->click();
    auto* save = gallery.findChild<GallerySaveForm*>();
    QVERIFY(save != nullptr && save->isVisible());
    QCOMPARE(save->windowTitle(), QString::fromUtf8("ギャラリーの保存"));
    QCOMPARE(save->slotList()->count(), 16);
    QCOMPARE(save->slotList()->item(1)->text(), QString::fromUtf8("#2  (ﾃﾞｰﾀ) d.txt (10ﾊﾞｲﾄ)"));
    // A second dialog is refused while this one is open.
    gallery.findChild<QPushButton*>("expand")->click();
    QCOMPARE(b.user.messages, QStringList{QString::fromUtf8("現在ＶｅｍＬＡファイルの選択中です")});
    QCOMPARE(gallery.findChildren<GallerySaveForm*>().size() +
                 gallery.findChildren<GalleryExpandForm*>().size(),
             1);
    save->slotList()->item(0)->setSelected(true);
    save->slotList()->item(2)->setSelected(true);
    enterName(save->fileChooser(), folder, "set.vla");
    pressChooser(save->fileChooser(), QDialogButtonBox::Save);
    QVERIFY(!save->appendBox()->isEnabled());  // a new file
    flushDeletes();
    QCOMPARE(titlesIn(archive), (QStringList{"a", "c"}));

    gallery.saveToArchive();
    save = gallery.findChild<GallerySaveForm*>();
    QVERIFY(save != nullptr);
    save->slotList()->item(1)->setSelected(true);
    save->slotList()->item(3)->setSelected(true);
    enterName(save->fileChooser(), folder, "set.vla");
    QVERIFY(save->appendBox()->isEnabled());  // an existing archive
    save->appendBox()->setChecked(true);
    save->skipEmptyBox()->setChecked(true);
    pressChooser(save->fileChooser(), QDialogButtonBox::Save);
    flushDeletes();
    QCOMPARE(titlesIn(archive), (QStringList{"a", "c", "d.txt"}));  // the empty #4 skipped
    QVERIFY(b.bench.gallery.saveAppend && b.bench.gallery.saveSkipEmpty);

    // Expand items 3 and 2 of the listed file from slot #10, its page shown afterwards.
    gallery.findChild<QPushButton*>("expand")->click();
    auto* expand = gallery.findChild<GalleryExpandForm*>();
    QVERIFY(expand != nullptr);
    QCOMPARE(expand->windowTitle(), QString::fromUtf8("ギャラリーへ展開"));
    enterName(expand->fileChooser(), folder, "set.vla");
    QCOMPARE(expand->itemList()->count(), 3);
    QCOMPARE(expand->itemList()->item(0)->text(), QString::fromUtf8("#1  (画像) a (8x8)"));
    // Double clicks show a picture line and open a data line, leaving the selection as it was.
    const auto doubleClick = [&](int row) {
      QListWidget* list = expand->itemList();
      const bool selected = list->item(row)->isSelected();
      const QPoint at = list->visualItemRect(list->item(row)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      QCOMPARE(list->item(row)->isSelected(), selected);
    };
    doubleClick(1);
    QCOMPARE(viewed, std::vector<std::uint8_t>(64, 5));
    doubleClick(2);
    QVERIFY(opened.endsWith("/d.txt"));
    QCOMPARE(readBytes(opened.toStdString()), b.slotBytes(1));
    expand->itemList()->clearSelection();
    expand->itemList()->item(1)->setSelected(true);
    expand->itemList()->item(2)->setSelected(true);
    expand->startSlotBox()->setCurrentIndex(9);
    pressChooser(expand->fileChooser(), QDialogButtonBox::Open);
    flushDeletes();
    QCOMPARE(b.slot(9).title, std::string("c"));
    QCOMPARE(b.slotBytes(9), std::vector<std::uint8_t>(64, 5));
    QCOMPARE(b.slot(10).kind, kSlotData);
    QCOMPARE(b.slot(11).kind, kSlotEmpty);
    QCOMPARE(gallery.firstShownSlot(), 8);
    QCOMPARE(gallery.findChild<QLineEdit*>("title1")->text(), QString("c"));
    QVERIFY(!archiveDialogOpen());
    QCOMPARE(b.user.messages.size(), 1);

    // A chosen file that is no archive lists nothing and is told as such.
    vemla::testing::writeBytes(b.folder.file("junk.vla"), {'N', 'O', 'P', 'E', 0, 0, 0, 0});
    gallery.expandFromArchive();
    expand = gallery.findChild<GalleryExpandForm*>();
    enterName(expand->fileChooser(), folder, "junk.vla");
    QCOMPARE(expand->itemList()->count(), 0);
    pressChooser(expand->fileChooser(), QDialogButtonBox::Open);
    flushDeletes();
    QCOMPARE(b.user.messages.last(), QString::fromUtf8("VemLAﾌｫｰﾏｯﾄﾌｧｲﾙではありません"));
    QCOMPARE(b.slot(0).title, std::string("a"));
  }

  void continuousPasteStopsAtTheFirstFailureAndTheLastSlot() {
    Bench b;
    GalleryWindow gallery(b.bench, b.user, {});
    QList<QUrl> urls;
    for (const char* name : {"p.bmp", "q.bmp", "r.bmp"}) {
      const std::string path = b.folder.file(name);
      const std::vector<std::uint8_t> grey(64, 3);
      QCOMPARE(writeBitmap(path, 8, 8, 1, grey.data(), nullptr), 0);
      urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    const auto paste = [&](int slot) {
      auto* data = new QMimeData;
      data->setUrls(urls);
      QApplication::clipboard()->setMimeData(data);
      const auto menu = gallery.slotMenu(slot, &gallery);
      for (QAction* action : menu->actions()) {
        if (action->text() == QString::fromUtf8("貼り付け(連続)")) action->trigger();
      }
    };
    paste(14);  // #15 and #16, then the gallery ends
    QCOMPARE(b.slot(14).title, std::string("p"));
    QCOMPARE(b.slot(15).title, std::string("q"));
    QCOMPARE(gallery.firstShownSlot(), 12);  // #16 is a multiple of 4
    urls.insert(1, QUrl::fromLocalFile(QString::fromStdString(b.folder.file("missing.bmp"))));
    paste(5);  // #6, then the missing file stops it
    QCOMPARE(b.slot(5).title, std::string("p"));
    QCOMPARE(b.slot(6).kind, kSlotEmpty);
    QCOMPARE(b.slot(7).kind, kSlotEmpty);
    QCOMPARE(b.user.messages.size(), 1);
  }

  void thePanesCopyToAndFromTheGallery() {
    vemla::testing::ToolWindowFixture f;
    f.bench.settings.gallery.emplace();
    QVERIFY(startGallery(f.bench, f.user));
    const std::vector<std::uint8_t> slotPixels(256, 42);
    SlotPicture picture;
    picture.pixels = slotPixels;
    picture.width = picture.height = 16;
    picture.title = "s";
    QCOMPARE(storePictureInSlot(f.bench, f.user, 0, picture), 0);
    QCOMPARE(storeDataInSlot(f.bench, f.user, 1, slotPixels, "d.bin"), 0);
    f.openPair(
        16, 16, [](int x, int y) { return x + y; }, 7);

    // Picks an item of a submenu when it is enabled; `offered` tells whether it was.
    bool offered = false;
    const auto choose = [&offered](const char* submenu, const char* line) {
      return [=, &offered](QMenu& menu, const QPoint&) -> QAction* {
        QAction* action = itemIn(menu, QString::fromUtf8(submenu), QString::fromUtf8(line));
        offered = action != nullptr && action->isEnabled();
        return offered ? action : nullptr;
      };
    };
    PicturePane* port2 = f.window->picturePane(PictureSlot::Second);
    port2->setMenuRunner(choose("ギャラリーへコピー", "＃3  (空き)"));
    QTest::mouseClick(port2, Qt::RightButton, {}, QPoint(100, 100));
    QVERIFY(offered);
    QCOMPARE(f.bench.settings.gallery->info.slotRecords[2].kind, kSlotPicture);
    QCOMPARE(readBytes(slotFilePath(f.folder.path(), 2)), f.second);

    ImagePane* image1 = f.window->imagePane(ImageSlot::First);
    image1->setMenuRunner(choose("ギャラリーへコピー", "＃4  (空き)"));
    QTest::mouseClick(image1, Qt::RightButton, {}, QPoint(100, 100));
    QCOMPARE(f.bench.settings.gallery->info.slotRecords[3].title, std::string("ｲﾒｰｼﾞ1よりｺﾋﾟｰ"));

    // Data is no source of a picture; a picture slot replaces Picture 1.
    PicturePane* port1 = f.window->picturePane(PictureSlot::First);
    port1->setMenuRunner(choose("ギャラリーからコピー", "＃2  (ﾃﾞｰﾀ) d.bin (256ﾊﾞｲﾄ)"));
    QTest::mouseClick(port1, Qt::RightButton, {}, QPoint(100, 100));
    QVERIFY(!offered);
    port1->setMenuRunner(choose("ギャラリーからコピー", "＃1  (画像) s (16x16)"));
    QTest::mouseClick(port1, Qt::RightButton, {}, QPoint(100, 100));
    QVERIFY(offered);
    QTRY_COMPARE(f.bench.pictures.pictures[0].name, std::string("<s>"));
    const std::uint8_t* plane = f.bench.store.plane(kPicture1);
    QVERIFY(std::vector<std::uint8_t>(plane, plane + 256) == slotPixels);
    QCOMPARE(f.user.unscripted, QStringList());
  }
};

QTEST_MAIN(GalleryEditTest)
#include "test_gallery_edit.moc"
