// Window tests, run offscreen on injected screens: the main window at the design size of
// 1280 x 1024 and on a 1024 x 768 screen, and every dialog kept inside the free area of a small
// screen with its buttons in reach.
#include <QAbstractButton>
#include <QApplication>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "platform/user_program.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "windows/archive/archive_open_dialog.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/dialogs/picture_dialogs.h"
#include "windows/dialogs/raw_size_dialog.h"
#include "windows/dialogs/rgb_ratio_dialog.h"
#include "windows/editors/calculator_window.h"
#include "windows/editors/user_colour_editor.h"
#include "windows/editors/user_processing_editor.h"
#include "windows/exchange/exchange_windows.h"
#include "windows/extensions/launcher_dialog.h"
#include "windows/gallery/gallery_archive_dialogs.h"
#include "windows/gallery/gallery_edit_dialog.h"
#include "windows/gallery/gallery_window.h"
#include "windows/main/screen_fit.h"
#include "windows/main/workbench_window.h"
#include "windows/tools/gradation_window.h"
#include "windows/tools/tool_area.h"
#include "workbench/commands/command_ids.h"
#include "workbench/editing/picture_dialog_memory.h"
#include "workbench/gallery/gallery_startup.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

const QRect kSmallScreen(0, 0, 1024, 768);
const QRect kDesignScreen(0, 0, 1280, 1024);

struct Bench {
  TempDir folder;
  Workbench bench;
  RecordingPort user;
  NoBusyPort busy;
  NoProgressPort progress;
  Bench() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.gallery.available = true;
  }
};

// `widget`'s rectangle in `window`'s coordinates, cut to every parent's visible area on the way
// up (a scroll area's viewport hides what lies outside it).
QRect visibleRect(const QWidget* widget, const QWidget* window) {
  QRect rect = widget->rect();
  for (const QWidget* at = widget; at != window; at = at->parentWidget()) {
    rect = rect.translated(at->pos()) & at->parentWidget()->rect();
  }
  return rect;
}

// Every button of the dialog that is meant to be seen lies wholly inside it.
void checkButtonsInReach(const QWidget& dialog) {
  for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (!button->isVisible()) continue;
    if (button->objectName().startsWith("qt_")) continue;
    bool scrolled = false;  // reached by scrolling its area
    for (const QWidget* at = button; at != &dialog; at = at->parentWidget()) {
      scrolled = scrolled || at->inherits("QScrollArea");
    }
    if (scrolled) continue;
    QVERIFY2(visibleRect(button, &dialog).size() == button->size(),
             qPrintable(dialog.objectName() + ": " + button->text()));
  }
}

// The dialog with its usual frame lies inside `area`; on X without a window manager (the tests'
// Xvfb) windows have no frame at all, and a window moved to (x, y) has its client area there.
void checkFits(const QWidget& dialog, const QRect& area) {
  const bool unframed = QGuiApplication::platformName() == "xcb" &&
                        dialog.isVisible() && dialog.frameGeometry() == dialog.geometry();
  const QRect framed =
      unframed ? dialog.geometry() : dialog.geometry().marginsAdded(frameAllowance(dialog));
  QVERIFY2(
      area.contains(framed),
      qPrintable(dialog.objectName() + QString(" %1x%2").arg(framed.width()).arg(framed.height())));
}

}  // namespace

class SmallScreensTest : public QObject {
  Q_OBJECT
 private slots:
  // Run once per language (the ctest entry test_small_screens_en sets VEMLA_LANG=en).
  void initTestCase() { QVERIFY(vemla::testing::useLanguageOfTestRun()); }

  void atTheDesignSizeTheLayoutShowsWholeWithoutScrollBars() {
    Bench b;
    WorkbenchWindow window(b.bench, b.user, kDesignScreen.size());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.usesBaseWindow());
    for (const QScrollBar* bar : window.findChildren<QScrollBar*>()) QVERIFY(!bar->isVisible());
    const QWidget* client = window.centralWidget();
    for (const char* name : {"Image2", "ToolSelection", "ImageControl", "Port2"}) {
      const QWidget* element = window.layoutElement(name);
      QVERIFY2(visibleRect(element, client).size() == element->size(), name);
    }
  }

  void onASmallScreenEveryElementCanBeScrolledIntoSight() {
    Bench b;
    WorkbenchWindow window(b.bench, b.user, kSmallScreen.size());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.usesBaseWindow());
    checkFits(window, kSmallScreen);
    // The rule's ranges (248, 252) are the least; the far corner comes wholly into sight.
    QVERIFY(window.scrollRange().dx >= 248 && window.scrollRange().dy >= 252);
    const QWidget* viewport = window.layoutElement("Port1")->parentWidget()->parentWidget();
    const auto inSight = [&](const char* name) {
      const QWidget* element = window.layoutElement(name);
      return visibleRect(element, viewport).size() == element->size();
    };
    window.runCommand(kLayoutTopRight);
    QVERIFY(inSight("Image2"));
    window.runCommand(kLayoutBottomRight);
    QVERIFY(inSight("ToolSelection"));
    window.runCommand(kLayoutBottomLeft);
    QVERIFY(inSight("PictureControl"));
    window.runCommand(kLayoutTopLeft);
    QVERIFY(inSight("Port1"));
  }

  // The gradation pair window goes to the left of the main window, which stands at the
  // screen's left edge: it is moved in wholly onto the screen, the first time and when it
  // comes back to a remembered place that is off the screen.
  void theGradationPairWindowOpensWhollyOnTheScreen() {
    vemla::testing::ToolWindowFixture f;
    f.openPair(40, 30, [](int x, int y) { return x + y; }, 200);
    f.window->move(0, 0);
    f.window->runCommand(kGradationTool);
    auto* gradation =
        f.window->findChild<ToolInformation*>("ToolInformation")->gradationWindow();
    QPushButton* pairButton = vemla::testing::find<QPushButton>(gradation, "Pair");
    QTest::mouseClick(pairButton, Qt::LeftButton);
    QWidget* pair = gradation->pairWindow();
    QVERIFY(pair != nullptr);
    const QRect area = pair->screen()->availableGeometry();
    QVERIFY(area.contains(pair->frameGeometry()));
    pair->move(area.right() - 20, area.top() + 10);
    QTest::mouseClick(pairButton, Qt::LeftButton);
    QVERIFY(gradation->pairWindow() == nullptr);
    QTest::mouseClick(pairButton, Qt::LeftButton);
    QVERIFY(area.contains(gradation->pairWindow()->frameGeometry()));
  }

  void theOptionSheetScrollsItsPagesAndKeepsItsButtonsOnASmallScreen() {
    for (const QRect& area : {kSmallScreen, kDesignScreen}) {
      Bench b;
      ScreenFit fit([&area](const QWidget&) { return area; });
      qApp->installEventFilter(&fit);
      OptionSheet sheet(b.bench, b.user, b.busy, b.progress);
      sheet.show();
      QVERIFY(QTest::qWaitForWindowExposed(&sheet));
      checkFits(sheet, area);
      auto* pages = sheet.findChild<QTabWidget*>("pages");
      int scrolling = 0;
      for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
        checkButtonsInReach(sheet);
        const auto* fields = pages->currentWidget()->findChild<QScrollArea*>("fields");
        if (fields->verticalScrollBar()->maximum() > 0) ++scrolling;
      }
      // Some pages are taller than 768 less the frame; none needs to scroll at the design size.
      QCOMPARE(scrolling > 0, area == kSmallScreen);
      qApp->removeEventFilter(&fit);
    }
  }

  void everyOtherDialogFitsASmallScreen() {
    Bench b;
    QVERIFY(b.bench.store.allocate(1024, 1024));
    ScreenFit fit([](const QWidget&) { return kSmallScreen; });
    qApp->installEventFilter(&fit);
    int selection = 0;
    platform::PosixProgramRunner runner;
    const std::vector<std::function<std::unique_ptr<QWidget>()>> dialogs = {
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<RawSizeDialog>(b.user, "raw.dat", 4096, RawSize{64, 64}, 4096,
                                                 4096);
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<RgbRatioDialog>("", RgbRatio{}, RgbRatio{});
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<SizeChangeDialog>(b.user, 64, 64, ResizeMode{}, 4096, 4096);
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<RenameDialog>(b.user, PictureSlot::First, "a.bmp");
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<TextExportDialog>(b.bench, b.user, initialTextExport(b.bench));
        },
        [&]() -> std::unique_ptr<QWidget> { return std::make_unique<CalculatorWindow>(); },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<UserProcessingEditorDialog>(b.bench, selection, b.user, b.busy,
                                                              b.progress);
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<UserColourEditorDialog>(b.bench, b.user,
                                                          UserColourEditorDialogs{});
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<ImportDialog>(nullptr, b.bench, b.user, b.busy, b.progress);
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<ArchiveOpenForm>(nullptr, b.bench, ArchiveOpenChoice{});
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<GalleryWindow>(b.bench, b.user, GalleryHost{});
        },
        [&]() -> std::unique_ptr<QWidget> {
          return std::make_unique<LauncherDialog>(b.bench, b.user, b.busy, b.progress, runner,
                                                  FileDialogs{}, [](const QString&) {});
        },
    };
    for (const auto& make : dialogs) {
      const std::unique_ptr<QWidget> dialog = make();
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
      checkFits(*dialog, kSmallScreen);
      checkButtonsInReach(*dialog);
    }
    qApp->removeEventFilter(&fit);
  }

  void theGalleryEditAndArchiveDialogsFitASmallScreen() {
    Bench b;
    b.bench.settings.gallery.emplace();
    b.bench.settings.gallery->info.header.galleryCount = 32;
    QVERIFY(startGallery(b.bench, b.user));
    ScreenFit fit([](const QWidget&) { return kSmallScreen; });
    qApp->installEventFilter(&fit);
    QWidget inert;
    std::unique_ptr<QWidget> edit(GalleryEditDialog::open(b.bench, b.user, &inert, {}));
    QVERIFY(edit != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
    checkFits(*edit, kSmallScreen);
    checkButtonsInReach(*edit);
    // Every slot's thumbnail lies inside the dialog.
    QVERIFY(edit->rect().contains(GalleryEditDialog::slotArea(31)));
    const std::vector<std::unique_ptr<QWidget>> panels = [&] {
      std::vector<std::unique_ptr<QWidget>> made;
      made.push_back(std::make_unique<GallerySaveForm>(nullptr, b.bench));
      made.push_back(std::make_unique<GalleryExpandForm>(nullptr, b.bench, 0));
      return made;
    }();
    for (const std::unique_ptr<QWidget>& panel : panels) {
      panel->show();
      QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
      checkFits(*panel, kSmallScreen);
      checkButtonsInReach(*panel);
    }
    qApp->removeEventFilter(&fit);
  }
};

QTEST_MAIN(SmallScreensTest)
#include "test_small_screens.moc"
