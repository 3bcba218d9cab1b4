// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QtTest>

#include "platform/user_program.h"
#include "support/gallery_window_fixture.h"
#include "support/recording_port.h"
#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "support/widget_fit.h"
#include "windows/archive/archive_open_dialog.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/editing/picture_edit_dialog.h"
#include "windows/editors/calculator_window.h"
#include "windows/editors/user_processing_editor.h"
#include "windows/exchange/exchange_windows.h"
#include "windows/extensions/launcher_dialog.h"
#include "windows/gallery/gallery_archive_dialogs.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/text_fit.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/picture_pane.h"
#include "workbench/commands/command_ids.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::clippedRow;
using vemla::testing::holdsJapanese;
using vemla::testing::japaneseTexts;
using vemla::testing::RecordingPort;
using vemla::testing::ToolWindowFixture;

namespace {

QString listed(const QStringList& texts) {
  return texts.join('\n');
}

// The access keys of `actions` ("&F" in "&File"; "&&" is a plain "&") that more than one of them
// takes.
QStringList sharedAccessKeys(const QList<QAction*>& actions) {
  QStringList keys, shared;
  for (const QAction* action : actions) {
    const QString text = QString(action->text()).replace("&&", "");
    const qsizetype at = text.indexOf('&');
    if (at < 0 || at + 1 >= text.size()) continue;
    const QString key = text.mid(at + 1, 1).toLower();
    if (keys.contains(key)) shared << action->text();
    keys << key;
  }
  return shared;
}

// Every text of `menu` and its submenus, depth first, as a pop-up menu shows them.
QStringList menuTexts(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    texts << action->text();
    if (action->menu() != nullptr) texts << menuTexts(*action->menu());
  }
  return texts;
}

// The first visible text of `window` that does not fit where it is shown, as "name: text": a
// field or selector row cut short, or a label or button narrower than its text (a push button
// needs its text and margins, as buttonWidthFor sizes it; a word-wrapped label its height);
// empty when all fit. The standard file chooser's own controls and texts without a letter are
// passed over.
QString clippedText(QWidget* window) {
  const auto inChooser = [window](const QWidget* control) {
    for (const QWidget* w = control; w != nullptr && w != window; w = w->parentWidget()) {
      if (w->inherits("QFileDialog")) return true;
    }
    return false;
  };
  for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
    if (edit->isVisible() && !inChooser(edit) &&
        !edit->parentWidget()->inherits("QAbstractSpinBox") && !vemla::testing::showsWhole(edit))
      return edit->objectName() + ": " + edit->text();
  }
  for (const QComboBox* selector : window->findChildren<QComboBox*>()) {
    const QString row = clippedRow(selector);
    if (selector->isVisible() && !inChooser(selector) && !row.isEmpty())
      return selector->objectName() + ": " + row;
  }
  for (const QWidget* control : window->findChildren<QWidget*>()) {
    const auto* label = qobject_cast<const QLabel*>(control);
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    if ((label == nullptr && button == nullptr) || !control->isVisible() || inChooser(control))
      continue;
    // Numbers and signs read the same in both languages; their room is not this test's matter.
    if (!control->property("text").toString().contains(QRegularExpression("[A-Za-z]"))) continue;
    bool fits = true;
    if (const auto* push = qobject_cast<const QPushButton*>(control)) {
      fits = push->width() >= buttonWidthFor(push);
    } else if (label != nullptr && label->wordWrap()) {
      fits = label->height() >= label->heightForWidth(label->width());
    } else {
      fits = control->width() >= control->minimumSizeHint().width();
    }
    if (!fits) return control->objectName() + ": " + control->property("text").toString();
  }
  return {};
}

// ---- Tool windows ----

// The first control or table cell of a tool window whose text its place cannot hold, or that
// lies outside the fixed tool area, as "name: text"; empty when everything shows whole.
QString clippedInToolWindow(const QWidget* window) {
  const auto named = [](const QWidget* w, const QString& text) {
    return w->objectName() + " (" + w->metaObject()->className() + "): " + text;
  };
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    const QRect placed(w->mapTo(window, QPoint(0, 0)), w->size());
    if (!window->rect().contains(placed)) return named(w, "outside the tool area");
    const QFontMetrics metrics = w->fontMetrics();
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
      const QStringList lines = button->text().split('\n');
      for (const QString& line : lines) {
        if (metrics.horizontalAdvance(line) + 6 > button->width()) return named(w, line);
      }
      if (static_cast<int>(lines.size()) * metrics.lineSpacing() > button->height())
        return named(w, button->text());
    } else if (const auto* box = qobject_cast<const QAbstractButton*>(w)) {
      if (box->width() < box->sizeHint().width() || box->height() < metrics.height())
        return named(w, box->text());
    } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
      const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                          : label->width() >= label->sizeHint().width();
      if (!fits) return named(w, label->text());
    } else if (const auto* table = qobject_cast<const QTableWidget*>(w)) {
      const QFontMetrics cell(table->font());
      for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
          const QTableWidgetItem* item = table->item(row, column);
          if (item == nullptr) continue;
          if (cell.horizontalAdvance(item->text()) + 2 > table->columnWidth(column))
            return named(w, item->text());
        }
      }
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

  // ---- Main window: menus, tool bar, panes ----

  // The menu bar's titles, every menu with its submenus and quick help, and the tool bar's
  // tips; each menu (and the bar) gives every access key to one item only.
  void mainMenuBarAndToolbarReadInEnglish() {
    ToolWindowFixture f;
    const QMenuBar* bar = f.window->findChild<QMenuBar*>("MAINMENU");
    QVERIFY(bar != nullptr);
    QStringList titles;
    for (const QAction* action : bar->actions()) titles << action->text();
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Picture", "&User", "Commu&nication", "&State",
                                  "Settin&gs", "&Tools", "&Help"}));
    QVERIFY2(sharedAccessKeys(bar->actions()).isEmpty(),
             qPrintable(listed(sharedAccessKeys(bar->actions()))));
    for (const QMenu* menu : bar->findChildren<QMenu*>()) {
      const QStringList left = japaneseTexts(menu);
      QVERIFY2(left.isEmpty(), qPrintable(menu->title() + ": " + listed(left)));
      const QStringList shared = sharedAccessKeys(menu->actions());
      QVERIFY2(shared.isEmpty(), qPrintable(menu->title() + ": " + listed(shared)));
    }
    QCOMPARE(f.window->menuAction(kOpenTwo)->text(), QString("Open &two pictures…"));

    const auto* toolbar = f.window->findChild<QToolBar*>("Toolbar");
    QVERIFY(toolbar != nullptr);
    const QStringList left = japaneseTexts(toolbar);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    // A tip of its own, and a menu text without its access key.
    QCOMPARE(f.window->toolbarAction(kOverwrite1)->toolTip(), QString("Save Picture 1"));
    QCOMPARE(f.window->toolbarAction(kOpenTwo)->toolTip(), QString("Open two pictures…"));
    // The title strips this window names itself.
    for (int strip : {0, 1, 4, 5, 6, 7}) {
      QVERIFY2(!vemla::testing::holdsJapanese(f.window->titleStrip(strip)->text()),
               qPrintable(f.window->titleStrip(strip)->text()));
    }
    QCOMPARE(f.window->titleStrip(0)->text(), QString("Picture 1"));
  }

  // The pop-up menus of a picture pane and an image pane in English, whose items still carry
  // out their commands.
  void paneMenusReadInEnglish() {
    ToolWindowFixture f;
    f.openPair(64, 48, [](int x, int y) { return x + y; }, 7);
    QStringList seen;
    QString choice;
    const MenuRunner runner = [&](QMenu& menu, const QPoint&) -> QAction* {
      seen = menuTexts(menu);
      for (QAction* action : menu.actions()) {
        if (action->text() == choice) return action;
      }
      return nullptr;
    };
    PicturePane* port = f.window->picturePane(PictureSlot::First);
    port->setMenuRunner(runner);
    QTest::mouseClick(port, Qt::RightButton, {}, QPoint(20, 20));
    QVERIFY2(!seen.isEmpty() && std::ranges::none_of(seen, vemla::testing::holdsJapanese),
             qPrintable(listed(seen)));
    for (const char* text :
         {"Image scope magnification", "Paste (open alone)", "Paste (replace)",
          "Paste from history", "Clear", "Copy (within Vemla)", "View", "Help", "Cancel"}) {
      QVERIFY2(seen.contains(text), text);
    }

    ImagePane* image = f.window->imagePane(ImageSlot::First);
    image->setMenuRunner(runner);
    choice = "Magnification ×8";
    QTest::mouseClick(image, Qt::RightButton, {}, QPoint(256, 256));
    QCOMPARE(f.bench.view.magnification, 8);
    for (const char* text : {"Centre here", "Marks", "Set mark 1", "Go to mark 4", "Image",
                             "Colour", "Greyscale", "Offset colour", "Interpolation", "Blink",
                             "Swipe", "Horizontal swipe", "Magnification ×64"}) {
      QVERIFY2(seen.contains(QString::fromUtf8(text)), text);
    }
  }

  // --- The control windows and the picture edit dialog ---

  // Both control windows in English within their fixed sizes: no Japanese left, every text
  // whole and every control where it is drawn.
  void controlWindowsReadInEnglishWithinTheirSizes() {
    ToolWindowFixture f;
    f.openPair(
        64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    for (const char* name : {"PictureControl", "ImageControl"}) {
      auto* window = f.window->findChild<QWidget*>(name);
      QVERIFY2(window != nullptr && window->isVisible(), name);
      const QStringList left = japaneseTexts(window);
      QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
      const QSize least = window->layout()->minimumSize();
      QVERIFY2(least.width() <= window->width(),
               qPrintable(QString("%1: %2").arg(name).arg(least.width())));
      const QString clipped = clippedText(window);
      QVERIFY2(clipped.isEmpty(), qPrintable(clipped));
      const QString hidden = vemla::testing::controlHiddenAtItsCentre(window);
      QVERIFY2(hidden.isEmpty(), qPrintable(hidden));
    }
    auto* blink = f.window->findChild<QPushButton*>("blink1");
    QVERIFY(blink != nullptr);
    QCOMPARE(blink->text(), QString("Blink"));
  }

  // The picture edit dialog and its conversion table in English, fitting a 1024 x 768 screen.
  void pictureEditDialogReadsInEnglish() {
    ToolWindowFixture f;
    f.openPair(
        40, 30, [](int x, int y) { return x + 40 * y; }, 90);
    f.window->updateCommandStates();
    auto* edit = f.window->menuBar()->findChild<QAction*>(QString::number(kEdit1));
    QVERIFY(edit != nullptr && edit->isEnabled());
    edit->trigger();
    PictureEditDialog* dialog = pictureEditDialog(f.window.get());
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Edit picture 1"));
    auto* conversion = dialog->findChild<QPushButton*>("Conversion");
    QVERIFY(conversion != nullptr);
    conversion->click();
    auto* table = dialog->findChild<QWidget*>("GreyConversion");
    QVERIFY(table != nullptr && table->isVisible());
    const QStringList left = japaneseTexts(dialog);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    for (QWidget* window : {static_cast<QWidget*>(dialog), table}) {
      const QSize least = window->layout()->minimumSize();
      QVERIFY2(least.width() <= 1024 && least.height() <= 768, qPrintable(window->objectName()));
      const QString clipped = clippedText(window);
      QVERIFY2(clipped.isEmpty(), qPrintable(clipped));
    }
  }

  // ---- User extensions: the expression editors and the user program launcher.

  // The user processing editor and the calculator, whole in English, and the error each tells
  // of a wrong expression.
  void expressionEditorsReadInEnglish() {
    Workbench bench;
    int selection = -1;
    vemla::testing::RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    UserProcessingEditorDialog editor(bench, selection, user, busy, progress);
    editor.show();
    QStringList left = japaneseTexts(&editor);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QVERIFY2(clippedText(&editor).isEmpty(), qPrintable(clippedText(&editor)));
    editor.findChild<QLineEdit*>("name")->setText("Sum");
    editor.findChild<QRadioButton*>("expressionForm")->setChecked(true);
    editor.findChild<QPlainTextEdit*>("expression")->setPlainText("P1(0,0)+");
    editor.findChild<QPushButton*>("add")->click();
    QCOMPARE(user.messages, QStringList{"Error in the processing expression"});

    CalculatorWindow calculator;
    calculator.show();
    left = japaneseTexts(&calculator);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QVERIFY2(clippedText(&calculator).isEmpty(), qPrintable(clippedText(&calculator)));
    calculator.expressionField()->setText("2*(");
    calculator.calculate();
    QCOMPARE(calculator.resultField()->text(), QString("Error in the expression"));
  }

  // The launcher dialog whole in English; "確認" lists the temporary files by English names.
  void launcherDialogReadsInEnglish() {
    Workbench bench;
    vemla::testing::RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    platform::PosixProgramRunner runner;
    LauncherDialog dialog(bench, user, busy, progress, runner, {}, [](const QString&) {});
    dialog.show();
    const QStringList left = japaneseTexts(&dialog);
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    QVERIFY2(clippedText(&dialog).isEmpty(), qPrintable(clippedText(&dialog)));
    dialog.programField()->setText("compare");
    dialog.templateField()->setText("<P1> <OUT>");
    dialog.button("confirm")->click();
    QCOMPARE(user.messages, QStringList{"argv[0]:compare\nargv[1]:Picture 1 temporary file.bmp\n"
                                        "argv[2]:Output temporary file.bmp\n"});
    QCOMPARE(user.titles, QStringList{"Arguments"});
  }

  // ---- Tool windows ----

  // Each tool from the tool bar: its window, the bar and the main window's title read in
  // English, and every text shows whole inside the fixed tool area.
  void toolWindowsReadInEnglishAndFit() {
    ToolWindowFixture f;
    f.openPair(
        64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    const auto* bar = f.window->findChild<QWidget*>("ToolSelection");
    QVERIFY(bar != nullptr);
    const QStringList barLeft = japaneseTexts(bar);
    QVERIFY2(barLeft.isEmpty(), qPrintable(listed(barLeft)));
    const QString barClipped = clippedInToolWindow(bar);
    QVERIFY2(barClipped.isEmpty(), qPrintable(barClipped));
    struct Case {
      int command;
      const char* titleEnd;
      const char* window;
    };
    const Case cases[] = {
        {kGradationTool, " (Gradation values)", "GradationValues"},
        {kProfileTool, " (Profile)", "Profile"},
        {k3DTool, " (3D view)", "View3D"},
        {kMeasurementTool, " (Measure)", "Measurement"},
        {kPartialComparisonTool, " (Partial comparison)", "PartialComparison"},
    };
    for (const Case& c : cases) {
      QTest::mouseClick(f.barButton(c.command), Qt::LeftButton);
      const auto* window = f.window->findChild<QWidget*>(c.window);
      QVERIFY(window != nullptr && window->isVisible());
      QVERIFY2(f.window->windowTitle().endsWith(c.titleEnd), qPrintable(f.window->windowTitle()));
      const QStringList left = japaneseTexts(window);
      QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
      const QString clipped = clippedInToolWindow(window);
      QVERIFY2(clipped.isEmpty(), qPrintable(window->objectName() + " " + clipped));
      const QString hidden = vemla::testing::controlHiddenAtItsCentre(window);
      QVERIFY2(hidden.isEmpty(), qPrintable(window->objectName() + " " + hidden));
    }
    // The gradation tool's own windows: the pair display and an operator dialog.
    QTest::mouseClick(f.barButton(kGradationTool), Qt::LeftButton);
    QTest::mouseClick(vemla::testing::find<QPushButton>(f.window.get(), "Pair"), Qt::LeftButton);
    QVERIFY(f.window->windowTitle().endsWith(" (Gradation values) Image 2"));
    QTest::mouseClick(vemla::testing::find<QPushButton>(f.window.get(), "EditOperator1"),
                      Qt::LeftButton);
    for (const char* name : {"GradationPair", "OperatorDialog"}) {
      const auto* other = f.window->findChild<QWidget*>(name);
      QVERIFY2(other != nullptr && other->isVisible(), name);
      const QStringList left = japaneseTexts(other);
      QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    }
  }

  // ---- Options and dialogs ----
  // The option sheet, every page: the language choice under its own names, no Japanese left,
  // and on each page every tab title, label, button and list row whole.
  void optionSheetPagesReadInEnglish() {
    ToolWindowFixture f;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(f.bench, f.user, busy, progress, f.window.get());
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    const auto* languages = sheet.findChild<QComboBox*>("DisplayLanguage");
    QVERIFY(languages != nullptr);
    QCOMPARE(languages->itemText(0), QString("Automatic"));
    QCOMPARE(languages->itemText(1), QString::fromUtf8("日本語"));
    const QStringList left = japaneseTexts(&sheet, {QString::fromUtf8("日本語")});
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    auto* pages = sheet.findChild<QTabWidget*>("pages");
    const QTabBar* tabs = pages->tabBar();
    for (int page = 0; page < pages->count(); ++page) {
      QVERIFY2(tabs->rect().contains(tabs->tabRect(page)), qPrintable(tabs->tabText(page)));
      pages->setCurrentIndex(page);
      QApplication::processEvents();
      for (const QWidget* control : pages->currentWidget()->findChildren<QWidget*>()) {
        if (!control->isVisible()) continue;
        if (qobject_cast<const QLabel*>(control) != nullptr ||
            qobject_cast<const QAbstractButton*>(control) != nullptr) {
          QVERIFY2(control->width() >= control->minimumSizeHint().width(),
                   qPrintable(control->objectName() + ": " + control->property("text").toString()));
        }
        if (const auto* selector = qobject_cast<const QComboBox*>(control)) {
          QVERIFY2(clippedRow(selector).isEmpty(), qPrintable(clippedRow(selector)));
        }
      }
    }
  }

  // The message that closes the sheet after a change that needs a restart, in English.
  void optionSheetRestartMessageReadsInEnglish() {
    Workbench bench;
    RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(bench, user, busy, progress);
    sheet.show();
    sheet.findChild<QLineEdit*>("MaxPictureWidth")->setText("2048");
    QTest::mouseClick(sheet.findChild<QPushButton*>("ok"), Qt::LeftButton);
    QVERIFY(sheet.restartRequested());
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(user.messages[0].contains("restart"));
    QVERIFY2(!holdsJapanese(user.messages[0]), qPrintable(user.messages[0]));
  }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
