// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "support/gallery_window_fixture.h"
#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "support/widget_fit.h"
#include "windows/archive/archive_open_dialog.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/exchange/exchange_windows.h"
#include "windows/gallery/gallery_archive_dialogs.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/text_fit.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::japaneseTexts;
using vemla::testing::ToolWindowFixture;

namespace {

QString listed(const QStringList& texts) {
  return texts.join('\n');
}

// Gallery: the first visible push button, check box, radio button or label of `window` whose
// words need more width than it has (a push button its text and margins, as buttonWidthFor sizes
// it; the others their size hint). Texts without letters and the file chooser's own controls
// are passed over.
QString clippedText(const QWidget* window) {
  for (const QWidget* control : window->findChildren<QWidget*>()) {
    if (!control->isVisible()) continue;
    bool chooser = false;
    for (const QWidget* w = control; w != window; w = w->parentWidget()) {
      chooser = chooser || w->inherits("QFileDialog");
    }
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    const auto* label = qobject_cast<const QLabel*>(control);
    const QString text = button != nullptr ? button->text() : label != nullptr ? label->text() : "";
    if (chooser || !text.contains(QRegularExpression("[A-Za-z]"))) continue;
    int needed = control->sizeHint().width();
    if (const auto* push = qobject_cast<const QPushButton*>(control)) needed = buttonWidthFor(push);
    if (label != nullptr && label->wordWrap()) needed = 0;
    if (control->width() < needed) {
      return control->objectName() + " \"" + text + "\" " + QString::number(control->width()) +
             " < " + QString::number(needed);
    }
  }
  return {};
}

}  // namespace

class EnglishTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(vemla::testing::useEnglish()); }

  // The main window with a pair open: menus, tool bar, panes' titles and both control windows.
  void mainWindowReadsInEnglish() {
    ToolWindowFixture f;
    f.openPair(64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    const QStringList left = japaneseTexts(f.window.get());
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    const QMenuBar* bar = f.window->findChild<QMenuBar*>();
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->actions().first()->text().remove('&'), QString("File"));
  }

  // The option sheet's first page, with the language choice under its own names.
  void optionSheetFirstPageReadsInEnglish() {
    ToolWindowFixture f;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(f.bench, f.user, busy, progress, f.window.get());
    sheet.show();
    const auto* languages = sheet.findChild<QComboBox*>("DisplayLanguage");
    QVERIFY(languages != nullptr);
    QCOMPARE(languages->itemText(0), QString("Automatic"));
    QCOMPARE(languages->itemText(1), QString::fromUtf8("日本語"));
    const QStringList left = japaneseTexts(&sheet, {QString::fromUtf8("日本語")});
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
  }

  // ---- Gallery -----------------------------------------------------------------------------
  // The normal form (with the small form and the list inside it), a picture slot's menu, a data
  // slot's menu and the whole gallery's menu: English, every text whole, untitled slots named
  // in English.
  void galleryReadsInEnglish() {
    vemla::testing::GalleryBench b(0);
    GalleryWindow gallery(b.bench, b.user, {});
    gallery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gallery));
    QStringList left = japaneseTexts(&gallery);
    const auto pictureMenu = gallery.slotMenu(0, &gallery);
    const auto dataMenu = gallery.slotMenu(1, &gallery);
    const auto smallMenu = gallery.slotMenu(0, &gallery, GalleryForm::Small);
    const auto wholeMenu = gallery.galleryMenu(&gallery);
    for (const QMenu* menu :
         {pictureMenu.get(), dataMenu.get(), smallMenu.get(), wholeMenu.get()}) {
      left << japaneseTexts(menu);
    }
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QCOMPARE(wholeMenu->actions().first()->text(), QString("List"));
    QVERIFY2(clippedText(&gallery).isEmpty(), qPrintable(clippedText(&gallery)));
    QVERIFY2(vemla::testing::controlHiddenAtItsCentre(&gallery).isEmpty(),
             qPrintable(vemla::testing::controlHiddenAtItsCentre(&gallery)));
    QVERIFY(gallery.layout()->minimumSize().width() <= gallery.width());
  }

  // The archive save dialog: its panel in English, the slot lines in English too; then the
  // expand dialog, the archive open dialog and the import dialog.
  void galleryArchiveDialogsReadInEnglish() {
    vemla::testing::GalleryBench b(0);
    SlotPicture untitled;
    const std::vector<std::uint8_t> grey(64, 1);
    untitled.pixels = grey;
    untitled.width = untitled.height = 8;
    QCOMPARE(storePictureInSlot(b.bench, b.user, 2, untitled), 0);
    GallerySaveForm form(nullptr, b.bench);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QStringList left = japaneseTexts(&form);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QCOMPARE(form.slotList()->item(1)->text(), QString("#2  (Data) d.txt (64 bytes)"));
    QCOMPARE(form.slotList()->item(2)->text(), QString("#3  (Picture) (untitled) (8x8)"));
    QCOMPARE(form.slotList()->item(3)->text(), QString("#4  (Empty)"));
    QVERIFY2(clippedText(&form).isEmpty(), qPrintable(clippedText(&form)));

    NoBusyPort busy;
    NoProgressPort progress;
    GalleryExpandForm expand(nullptr, b.bench, 0);
    ArchiveOpenForm open(nullptr, b.bench, ArchiveOpenChoice{});
    ImportDialog import(nullptr, b.bench, b.user, busy, progress);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&expand, &open, &import}) {
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog));
      const QStringList others = japaneseTexts(dialog);
      QVERIFY2(others.isEmpty(), qPrintable(listed(others)));
      QVERIFY2(clippedText(dialog).isEmpty(), qPrintable(clippedText(dialog)));
    }
  }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
