// Window tests, run offscreen: the selection dialog "Ｖｌａファイルを開く" on its own (the item
// lines, the picture selection rule, the expand choices and how it starts) and driven by the
// opening of archive items as Picture 1 and 2.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <vector>

#include "gallery/archive.h"
#include "support/fake_progress_port.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/archive/archive_open_dialog.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/gallery_startup.h"

using namespace vemla;
using vemla::testing::FakeProgressPort;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

// A workbench with its settings in a temporary program folder, with or without a gallery of
// 16 slots.
struct Bench {
  TempDir folder;
  Workbench bench;
  RecordingPort user;
  bool ready = false;
  explicit Bench(bool withGallery) {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    ready = bench.store.allocate(1024, 1024);
    if (withGallery) {
      bench.settings.gallery.emplace();
      ready = ready && startGallery(bench, user);
    }
  }
};

std::vector<std::uint8_t> counting(std::size_t count, int step) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * step);
  return bytes;
}

// Entry i of the palette is (i, 0, 255 - i, 0): not the grey ramp.
Palette bluePalette() {
  Palette palette{};
  for (int i = 0; i < 256; ++i) {
    palette[static_cast<std::size_t>(4 * i)] = static_cast<std::uint8_t>(i);
    palette[static_cast<std::size_t>(4 * i + 2)] = static_cast<std::uint8_t>(255 - i);
  }
  return palette;
}

// The archive of every test:
//   1 grey picture 16 x 16 "first", pixel i = i
//   2 data of 10 bytes "notes.txt"
//   3 empty
//   4 grey picture 16 x 16 without a title, pixel i = 3 i, blue palette
//   5 grey picture 4 x 4 "tiny" (below the 8 x 8 minimum)
//   6 true-colour picture 16 x 16 "colour", 3 bytes per pixel
struct Archive {
  std::string path;
  std::vector<std::uint8_t> first = counting(256, 1);
  std::vector<std::uint8_t> fourth = counting(256, 3);
  Palette palette = bluePalette();

  explicit Archive(const TempDir& folder) : path(folder.file("items.vla")) {
    std::vector<std::uint8_t> work(1 << 16);
    ok = createArchive(path) == 0;
    ok = ok && append(picture(16, 16, 1, "first", greyRamp()), first, work) == 1;
    ArchiveItemInfo data;
    data.kind = kSlotData;
    data.width = 10;
    data.height = 1;
    data.title = "notes.txt";
    ok = ok && append(data, counting(10, 7), work) == 2;
    ok = ok && append(ArchiveItemInfo{}, {}, work) == 3;
    ok = ok && append(picture(16, 16, 1, "", palette), fourth, work) == 4;
    ok = ok && append(picture(4, 4, 1, "tiny", greyRamp()), counting(16, 1), work) == 5;
    ok = ok && append(picture(16, 16, 3, "colour", greyRamp()), counting(768, 1), work) == 6;
  }
  static ArchiveItemInfo picture(int width, int height, int bytesPerPixel, const std::string& title,
                                 const Palette& palette) {
    ArchiveItemInfo info;
    info.kind = kSlotPicture;
    info.width = width;
    info.height = height;
    info.bytesPerPixel = bytesPerPixel;
    info.title = title;
    info.hasPalette = true;
    info.palette = palette;
    return info;
  }
  int append(const ArchiveItemInfo& info, const std::vector<std::uint8_t>& content,
             std::vector<std::uint8_t>& work) const {
    return appendArchiveItem(path, info, content, work);
  }
  bool ok = false;
};

// The item lines as the lists must show them ("#%-2d" pads the number to two places).
const QStringList kLines{QString::fromUtf8("#1  (画像) first (16x16)"),
                         QString::fromUtf8("#2  (ﾃﾞｰﾀ) notes.txt (10ﾊﾞｲﾄ)"),
                         QString::fromUtf8("#3  (空き)"),
                         QString::fromUtf8("#4  (画像) 名無しさん (16x16)"),
                         QString::fromUtf8("#5  (Over) tiny (4x4)"),
                         QString::fromUtf8("#6  (画像) colour (T 16x16)")};

QStringList linesOf(const QListWidget* list) {
  QStringList lines;
  for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
  return lines;
}

QList<int> selectedNumbers(const QListWidget* list) {
  QList<int> numbers;
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->isSelected()) numbers << row + 1;
  }
  return numbers;
}

// Clicks the line of item `number`, toggling its selection.
void clickItem(QListWidget* list, int number) {
  QListWidgetItem* item = list->item(number - 1);
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// Clicks a check box on its indicator (the box may be wider than its text).
void clickBox(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// Presses a button of the embedded file chooser.
void pressChooserButton(QFileDialog* chooser, QDialogButtonBox::StandardButton which) {
  const auto* buttons = chooser->findChild<QDialogButtonBox*>();
  QPushButton* button = buttons != nullptr ? buttons->button(which) : nullptr;
  QVERIFY(button != nullptr);
  QVERIFY(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
}

ArchiveOpenChoice initialFor(const std::string& path) {
  ArchiveOpenChoice initial;
  initial.path = path;
  return initial;
}

}  // namespace

class ArchiveOpenDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void listsEveryItemInBothListsWithTheListLines() {
    Bench b(true);
    QVERIFY(b.ready);
    const Archive archive(b.folder);
    QVERIFY(archive.ok);
    ArchiveOpenForm form(nullptr, b.bench, initialFor(archive.path));
    QCOMPARE(form.windowTitle(), QString::fromUtf8("Ｖｌａファイルを開く"));
    QCOMPARE(linesOf(form.pictureList()), kLines);
    QCOMPARE(linesOf(form.expandList()), kLines);
    QCOMPARE(form.choice().itemCount, 6);
    QCOMPARE(form.choice().path, archive.path);

    // A file that is not an archive lists nothing and leaves the count open.
    const std::string other = b.folder.file("other.vla");
    vemla::testing::writeBytes(other, {'N', 'O', 'P', 'E'});
    form.showArchive(QString::fromStdString(other));
    QCOMPARE(form.pictureList()->count(), 0);
    QCOMPARE(form.expandList()->count(), 0);
    QCOMPARE(form.choice().itemCount, -1);
    QCOMPARE(form.choice().path, other);
  }

  void aTypedFileNameIsListedAtOnce() {
    Bench b(true);
    QVERIFY(b.ready);
    const Archive archive(b.folder);
    QVERIFY(archive.ok);
    const std::string second = b.folder.file("second.vla");
    std::vector<std::uint8_t> work(1 << 12);
    QCOMPARE(createArchive(second), 0);
    QCOMPARE(appendArchiveItem(second, Archive::picture(8, 8, 1, "only", greyRamp()),
                               counting(64, 1), work),
             1);
    ArchiveOpenForm form(nullptr, b.bench, initialFor(archive.path));
    auto* nameField =
        form.findChild<QFileDialog*>("archiveFiles")->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(nameField != nullptr);
    nameField->selectAll();  // the chooser shows the initial file's name
    QTest::keyClicks(nameField, "second.vla");
    QCOMPARE(linesOf(form.pictureList()), QStringList{QString::fromUtf8("#1  (画像) only (8x8)")});
    QCOMPARE(form.choice().itemCount, 1);
    QCOMPARE(form.choice().path, second);
  }

  void theTwoLowestSelectedItemsBecomePicture1AndPicture2() {
    Bench b(true);
    const Archive archive(b.folder);
    QVERIFY(b.ready && archive.ok);
    ArchiveOpenForm form(nullptr, b.bench, initialFor(archive.path));
    form.show();
    QListWidget* list = form.pictureList();
    clickItem(list, 6);
    QCOMPARE(form.choice().picture1, 6);
    QCOMPARE(form.choice().picture2, 0);
    clickItem(list, 4);
    clickItem(list, 1);
    QCOMPARE(selectedNumbers(list), (QList<int>{1, 4, 6}));
    // 1 and 4 are the lowest; 6 is ignored.
    QCOMPARE(form.choice().picture1, 1);
    QCOMPARE(form.choice().picture2, 4);
    clickItem(list, 1);  // deselects 1
    QCOMPARE(form.choice().picture1, 4);
    QCOMPARE(form.choice().picture2, 6);
  }

  void startsFromTheInitialChoiceAndReportsTheExpandChoices() {
    Bench b(true);
    const Archive archive(b.folder);
    QVERIFY(b.ready && archive.ok);
    ArchiveOpenChoice initial = initialFor(archive.path);
    initial.picture1 = 4;
    initial.picture2 = 1;
    initial.expand = true;
    initial.startSlot = 5;
    initial.skipEmpty = false;
    initial.expandNumbers = {2, 3, 9};  // 9 does not exist in this file
    ArchiveOpenForm form(nullptr, b.bench, initial);
    QCOMPARE(selectedNumbers(form.pictureList()), (QList<int>{1, 4}));
    QCOMPARE(selectedNumbers(form.expandList()), (QList<int>{2, 3}));
    QVERIFY(form.expandBox()->isEnabled());
    QVERIFY(form.expandBox()->isChecked());
    QVERIFY(!form.skipEmptyBox()->isChecked());
    QCOMPARE(form.startSlotBox()->count(), 16);
    QCOMPARE(form.startSlotBox()->itemText(0), QString("#1"));
    QCOMPARE(form.startSlotBox()->itemText(15), QString("#16"));
    QCOMPARE(form.startSlotBox()->currentText(), QString("#6"));

    form.show();
    form.startSlotBox()->setCurrentIndex(12);
    clickBox(form.skipEmptyBox());
    clickItem(form.expandList(), 3);  // deselects 3
    clickItem(form.expandList(), 6);
    const ArchiveOpenChoice chosen = form.choice();
    QCOMPARE(chosen.picture1, 1);
    QCOMPARE(chosen.picture2, 4);
    QVERIFY(chosen.expand);
    QCOMPARE(chosen.startSlot, 12);
    QVERIFY(chosen.skipEmpty);
    QCOMPARE(chosen.expandNumbers, (std::vector<int>{2, 6}));
    QCOMPARE(chosen.itemCount, 6);

    // Another file is listed with the initial numbers that exist in it selected.
    const std::string small = b.folder.file("small.vla");
    std::vector<std::uint8_t> work(1 << 12);
    QCOMPARE(createArchive(small), 0);
    QCOMPARE(
        appendArchiveItem(small, Archive::picture(8, 8, 1, "a", greyRamp()), counting(64, 1), work),
        1);
    QCOMPARE(appendArchiveItem(small, ArchiveItemInfo{}, {}, work), 2);
    form.showArchive(QString::fromStdString(small));
    QCOMPARE(linesOf(form.pictureList()), (QStringList{QString::fromUtf8("#1  (画像) a (8x8)"),
                                                       QString::fromUtf8("#2  (空き)")}));
    QCOMPARE(selectedNumbers(form.pictureList()), QList<int>{1});
    QCOMPARE(selectedNumbers(form.expandList()), QList<int>{2});
    QCOMPARE(form.choice().itemCount, 2);
  }

  void withoutAGalleryTheExpandControlsAreOff() {
    Bench b(false);
    const Archive archive(b.folder);
    QVERIFY(b.ready && archive.ok);
    ArchiveOpenChoice initial = initialFor(archive.path);
    initial.expand = true;
    initial.startSlot = 3;
    ArchiveOpenForm form(nullptr, b.bench, initial);
    QVERIFY(!form.expandBox()->isEnabled());
    QVERIFY(!form.expandBox()->isChecked());
    QVERIFY(!form.expandList()->isEnabled());
    QCOMPARE(form.startSlotBox()->count(), 0);
    QVERIFY(!form.choice().expand);
    QCOMPARE(form.choice().startSlot, 0);
  }

  void openingThroughTheWindowSetsThePicturesAndExpandsTheChosenItems() {
    Bench b(true);
    const Archive archive(b.folder);
    QVERIFY(b.ready && archive.ok);
    FakeProgressPort progress;
    ArchiveOpenWindow window(nullptr, b.bench);
    int asked = 0;
    window.setRun([&](ArchiveOpenForm& form) {
      ++asked;
      form.show();
      // The options preselect items 1 and 2; this choice is 4 and 1.
      QList<int> preselected = selectedNumbers(form.pictureList());
      if (preselected != QList<int>{1, 2}) return false;
      form.pictureList()->clearSelection();
      clickItem(form.pictureList(), 4);
      clickItem(form.pictureList(), 1);
      if (!form.expandBox()->isChecked()) clickBox(form.expandBox());
      form.startSlotBox()->setCurrentIndex(2);
      clickItem(form.expandList(), 1);
      clickItem(form.expandList(), 2);
      // "Open" of the file chooser ends the dialog with the chosen file.
      pressChooserButton(form.fileChooser(), QDialogButtonBox::Open);
      return form.result() == QDialog::Accepted;
    });
    const int result =
        openArchiveAsPictures(b.bench, b.user, progress, progress, window, archive.path, false);
    QCOMPARE(result, 0);
    QCOMPARE(asked, 1);
    QCOMPARE(b.user.messages, QStringList());

    const PictureState& pictures = b.bench.pictures;
    QVERIFY(pictures.picturesPresent);
    QCOMPARE(pictures.width, 16);
    QCOMPARE(pictures.height, 16);
    QCOMPARE(pictures.pictures[0].name, std::string("<first>"));
    QCOMPARE(pictures.pictures[1].name, std::string("<名無しさん>"));
    const std::uint8_t* plane2 = b.bench.store.plane(kPicture2);
    QVERIFY(std::vector<std::uint8_t>(plane2, plane2 + 256) == archive.fourth);
    QVERIFY(pictures.pictures[1].palette == archive.palette);

    // Items 1 and 2 went into slots #3 and #4; the choice is remembered.
    const auto& records = b.bench.settings.gallery->info.slotRecords;
    QCOMPARE(records[2].kind, kSlotPicture);
    QCOMPARE(records[2].title, std::string("first"));
    QCOMPARE(records[3].kind, kSlotData);
    QCOMPARE(records[3].width, 10);
    QCOMPARE(records[4].kind, kSlotEmpty);
    QVERIFY(b.bench.gallery.lastOpenChoice.has_value());
    QCOMPARE(b.bench.gallery.lastOpenChoice->expandNumbers, (std::vector<int>{1, 2}));
  }

  void aRefusedChoiceIsToldAndAskedAgainFromIt() {
    Bench b(true);
    const Archive archive(b.folder);
    QVERIFY(b.ready && archive.ok);
    FakeProgressPort progress;
    ArchiveOpenWindow window(nullptr, b.bench);
    QList<QList<int>> startedWith;
    window.setRun([&](ArchiveOpenForm& form) {
      startedWith << selectedNumbers(form.pictureList());
      if (startedWith.size() > 1) return false;  // cancel the second time
      form.show();
      form.pictureList()->clearSelection();
      clickItem(form.pictureList(), 1);
      clickItem(form.pictureList(), 5);
      pressChooserButton(form.fileChooser(), QDialogButtonBox::Open);
      return form.result() == QDialog::Accepted;
    });
    const int result =
        openArchiveAsPictures(b.bench, b.user, progress, progress, window, archive.path, false);
    QCOMPARE(result, kSlotAbandoned);
    QCOMPARE(
        b.user.messages,
        QStringList{QString::fromUtf8("指定された画像情報がサイズ許容範囲外です(8x8～1024x1024)")});
    // The first question starts from the options (items 1 and 2), the second from the choice.
    QCOMPARE(startedWith, (QList<QList<int>>{{1, 2}, {1, 5}}));
    QVERIFY(!b.bench.pictures.picturesPresent);
  }

  void cancellingTheChooserChangesNothing() {
    Bench b(true);
    const Archive archive(b.folder);
    QVERIFY(b.ready && archive.ok);
    FakeProgressPort progress;
    ArchiveOpenWindow window(nullptr, b.bench);
    window.setRun([&](ArchiveOpenForm& form) {
      form.show();
      clickItem(form.pictureList(), 1);
      pressChooserButton(form.fileChooser(), QDialogButtonBox::Cancel);
      return form.result() == QDialog::Accepted;
    });
    QCOMPARE(
        openArchiveAsPictures(b.bench, b.user, progress, progress, window, archive.path, false),
        kSlotAbandoned);
    QVERIFY(!b.bench.pictures.picturesPresent);
    QCOMPARE(b.user.messages, QStringList());
  }
};

QTEST_MAIN(ArchiveOpenDialogTest)
#include "test_archive_open_dialog.moc"
