// Window tests, run offscreen: the main window's layout (on a large and on a small screen),
// its toolbar faces, its menu and toolbar states, the open paths (file dialogs, clipboard,
// queued requests, history), saving, every picture command of the menu for both pictures, and
// the quick help.
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QToolBar>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <vector>

#include "picture/file_names.h"
#include "support/picture_encoders.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "support/widget_fit.h"
#include "windows/editors/memo_editor.h"
#include "windows/main/drawn_icons.h"
#include "windows/main/quick_help.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/picture_pane.h"
#include "workbench/commands/command_handlers.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/comparison_view.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;
using vemla::testing::controlHiddenAtItsCentre;

namespace {

const QSize kLargeScreen(1920, 1200);

// A 16 x 16 grey bitmap whose pixels depend on `seed`.
std::string writePicture(const TempDir& folder, const std::string& name, int seed) {
  const std::string path = folder.file(name);
  vemla::testing::writeBytes(
      path, vemla::testing::makeBitmap(16, 16, 8, [seed](int x, int y) {
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x * 8 + y + seed)};
      }));
  return path;
}

// A workbench with its settings in a temporary program folder.
struct Bench {
  TempDir folder;
  Workbench bench;
  Bench() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    QVERIFY(bench.store.allocate(1024, 1024));
  }
};

// File dialogs that hand out prepared answers in order and remember their titles.
struct ScriptedDialogs {
  QList<QStringList> opens;
  QStringList saves;
  QStringList titles;
  FileDialogs dialogs() {
    return {[this](const QString& title, const QString&, bool, const QString&) {
              titles << title;
              return opens.isEmpty() ? QStringList() : opens.takeFirst();
            },
            [this](const QString& title, const QString&, const QString&) {
              titles << title;
              return saves.isEmpty() ? QString() : saves.takeFirst();
            }};
  }
};

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

// "1つの画像で開く(&1)" with `path` chosen in its dialog.
void openOneByDialog(WorkbenchWindow& window, const std::string& path) {
  ScriptedDialogs dialogs;
  dialogs.opens = {{q(path)}};
  window.setFileDialogs(dialogs.dialogs());
  window.runCommand(kOpenOne);
  // `dialogs` ends here: later dialogs choose nothing.
  window.setFileDialogs(
      {[](const QString&, const QString&, bool, const QString&) { return QStringList(); },
       [](const QString&, const QString&, const QString&) { return QString(); }});
}

// Chooses the item of `id` in MAINMENU as the operator does: the menu states are brought up to
// date (as opening a menu does) and the item's own action is triggered. False when MAINMENU has
// no such item or it is disabled.
bool chooseMenuItem(WorkbenchWindow& window, int id) {
  window.updateCommandStates();
  auto* action = window.menuBar()->findChild<QAction*>(QString::number(id));
  if (action == nullptr || !action->isEnabled()) {
    qWarning("menu item %d is missing or disabled", id);
    return false;
  }
  action->trigger();
  return true;
}

// What a picture command may change of a picture.
struct PictureFacts {
  std::string name;
  std::vector<std::uint8_t> pixels;  // unshifted
  Palette palette;
  bool operator==(const PictureFacts&) const = default;
};

std::vector<std::uint8_t> planePixels(const Workbench& bench, Plane plane) {
  const std::uint8_t* start = bench.store.plane(plane);
  return {start, start + bench.pictures.width * bench.pictures.height};
}

PictureFacts factsOf(const Workbench& bench, PictureSlot picture) {
  const PictureMeta& meta = bench.pictures.pictures[index(picture)];
  return {meta.name, planePixels(bench, unshiftedPlane(picture)), meta.palette};
}

// The pixels of a picture file as the program reads them.
std::vector<std::uint8_t> filePixels(const std::string& path) {
  Workbench reader;
  RecordingPort user;
  if (!reader.store.allocate(64, 64) ||
      openPictureFiles(reader, user, &path, nullptr, OpenMode::Both) != 0) {
    return {};
  }
  return planePixels(reader, kPicture1);
}

// A window with a.bmp as Picture 1 and c.bmp as Picture 2 (different pixels, non-grey palettes).
struct OpenedWindow {
  Bench b;
  RecordingPort user;
  WorkbenchWindow window{b.bench, user, kLargeScreen};
  ScriptedDialogs dialogs;
  std::array<std::string, 2> files;
  std::array<PictureFacts, 2> before;

  OpenedWindow() {
    files = {writePicture(b.folder, "a.bmp", 0), writePicture(b.folder, "c.bmp", 50)};
    dialogs.opens = {{q(files[0]), q(files[1])}};
    window.setFileDialogs(dialogs.dialogs());
    window.runCommand(kOpenTwo);
    dialogs.titles.clear();
    before = {factsOf(b.bench, PictureSlot::First), factsOf(b.bench, PictureSlot::Second)};
  }
  PictureFacts now(PictureSlot picture) const { return factsOf(b.bench, picture); }
  // The picture a command was to leave alone is as it was.
  bool keeps(PictureSlot picture) const { return now(picture) == before[index(picture)]; }
};

// The opened window shown and active, so that the keyboard focus can move inside it.
struct ActiveWindow : OpenedWindow {
  ActiveWindow() {
    window.show();
    QApplication::setActiveWindow(&window);
  }
  QWidget* control(const char* element, const char* name) const {
    auto* found = window.layoutElement(element)->findChild<QWidget*>(QString::fromUtf8(name));
    if (found == nullptr) qFatal("no control named %s", name);
    return found;
  }
  // The focus is on the Image 1 pane and the Up key there moves the cursor one pixel up and
  // nothing else.
  bool upKeyMovesTheCursor() {
    QWidget* focus = QApplication::focusWidget();
    if (focus != window.imagePane(ImageSlot::First)) {
      qWarning("the focus is on %s",
               focus == nullptr ? "nothing" : qPrintable(focus->objectName()));
      return false;
    }
    setCursorPosition(b.bench, b.bench.view.centreX, b.bench.pictures.height - 1);  // room above
    const ViewState before = b.bench.view;
    QTest::keyClick(focus, Qt::Key_Up);
    const ViewState& after = b.bench.view;
    return after.centreY == before.centreY - 1 && after.centreX == before.centreX &&
           after.magnification == before.magnification;
  }
};

constexpr int kOverwrite[] = {kOverwrite1, kOverwrite2};
constexpr int kSaveAsPicture[] = {kSaveAsPicture1, kSaveAsPicture2};
constexpr int kSaveAsImage[] = {kSaveAsImage1, kSaveAsImage2};
constexpr int kReplace[] = {kReplace1, kReplace2};
constexpr int kReopen[] = {kReopen1, kReopen2};
constexpr int kPasteTo[] = {kPasteToPicture1, kPasteToPicture2};
constexpr int kGreyScale[] = {kGreyScale1, kGreyScale2};
constexpr int kCopyFrom[] = {kCopy1To2, kCopy2To1};
constexpr int kRename[] = {kRename1, kRename2};
constexpr const char* kDigits[] = {"１", "２"};

// What a pane shows on the screen, and the columns of an image, for comparing renderings.
QImage shownBy(QWidget* pane) {
  return pane->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
QImage rgb(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}
QImage columnOf(const QImage& image, int x) {
  return image.copy(x, 0, 1, image.height());
}
QLabel* imageStrip(const WorkbenchWindow& window, ImageSlot image) {
  const QString start = QString::fromUtf8(image == ImageSlot::First ? "ｲﾒｰｼﾞ1（" : "ｲﾒｰｼﾞ2（");
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->objectName().startsWith("TitleStrip") && label->text().startsWith(start))
      return label;
  }
  return nullptr;
}

// Takes the URLs QDesktopServices would hand to the desktop.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened << url; }
};

}  // namespace

class WorkbenchWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void layoutFollowsTheFixedTableOnALargeScreen() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    QVERIFY(!window.usesBaseWindow());
    QCOMPARE(window.objectName(), QString("Vemla"));
    QCOMPARE(window.menuBar()->objectName(), QString("MAINMENU"));
    QCOMPARE(window.windowTitle(), QString("Vemla"));
    QCOMPARE(window.layoutElement("Port1")->geometry(), QRect(2, 52, 232, 246));
    QCOMPARE(window.layoutElement("Port2")->geometry(), QRect(2, 322, 232, 246));
    QCOMPARE(window.layoutElement("Image1")->geometry(), QRect(236, 52, 516, 516));
    QCOMPARE(window.layoutElement("Image2")->geometry(), QRect(754, 52, 516, 516));
    QCOMPARE(window.layoutElement("PictureControl")->geometry(), QRect(2, 593, 313, 355));
    QCOMPARE(window.layoutElement("ImageControl")->geometry(), QRect(316, 593, 437, 388));
    QCOMPARE(window.layoutElement("ToolSelection")->geometry(), QRect(754, 913, 517, 68));
    // The panes sit centred in their frames: 232 x 244 and 512 x 512.
    QCOMPARE(window.picturePane(PictureSlot::First)->objectName(), QString("Port1"));
    QCOMPARE(window.picturePane(PictureSlot::First)->geometry(), QRect(0, 1, 232, 244));
    QCOMPARE(window.imagePane(ImageSlot::Second)->objectName(), QString("Image2"));
    QCOMPARE(window.imagePane(ImageSlot::Second)->geometry(), QRect(2, 2, 512, 512));
    QCOMPARE(window.imagePane(ImageSlot::Second)->parentWidget(), window.layoutElement("Image2"));
    QCOMPARE(window.titleStrip(7)->geometry(), QRect(754, 890, 517, 24));
    QCOMPARE(window.titleStrip(7)->text(), QString::fromUtf8("ツール機能選択"));
    QCOMPARE(window.titleStrip(2)->text(), QString::fromUtf8("ｲﾒｰｼﾞ1"));
    // The corner buttons exist only with the base window.
    QVERIFY(window.toolbarAction(kLayoutTopLeft) == nullptr);
    QVERIFY(window.toolbarAction(kOpenTwo) != nullptr);
    // A button's tip names its picture and what it does.
    QCOMPARE(window.toolbarAction(kOverwrite2)->toolTip(), QString::fromUtf8("画像2を上書き保存"));
    QCOMPARE(window.toolbarAction(kSwap)->toolTip(), QString::fromUtf8("入れ替え"));
  }

  void aSmallScreenCarriesTheLayoutInTheScrollingBaseWindow() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, QSize(1024, 768));
    QVERIFY(window.usesBaseWindow());
    QVERIFY(window.findChild<QWidget*>("BaseWinName") != nullptr);
    QCOMPARE(window.scrollRange(), (LayoutOffset{248, 252}));
    // Every element sits 30 higher.
    QCOMPARE(window.layoutElement("Port1")->geometry(), QRect(2, 22, 232, 246));
    QCOMPARE(window.titleStrip(0)->geometry(), QRect(2, 0, 233, 24));

    QVERIFY(window.toolbarAction(kLayoutBottomRight) != nullptr);
    window.runCommand(kLayoutBottomRight);
    QCOMPARE(window.layoutOffset(), (LayoutOffset{248, 252}));
    QWidget* canvas = window.layoutElement("Port1")->parentWidget();
    QCOMPARE(canvas->objectName(), QString("Layout"));
    QCOMPARE(canvas->pos(), QPoint(-248, -252));
    window.runCommand(kLayoutTopRight);
    QCOMPARE(window.layoutOffset(), (LayoutOffset{248, 0}));

    // Grab scrolling moves the layout with the mouse, within the scroll range.
    QVERIFY(window.grabScrollEnabled());
    window.grabScroll(QPoint(100, -500));
    QCOMPARE(window.layoutOffset(), (LayoutOffset{148, 252}));
    window.grabScroll(QPoint(1000, 0));
    QCOMPARE(window.layoutOffset(), (LayoutOffset{0, 252}));
  }

  // Toolbar buttons and the two window icons: each drawn (not empty) at 16 px and unlike the
  // others, drawn at the size asked for (48 px on a 200 % toolbar), greyed when disabled.
  void everyToolbarButtonShowsADrawingOfItsOwn() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, QSize(1024, 768));  // with the corner buttons
    std::vector<std::pair<QString, QIcon>> icons{{"application", applicationIcon()},
                                                 {"viewer", viewerIcon()}};
    std::vector<int> buttons(kToolbarCornerButtons.begin(), kToolbarCornerButtons.end());
    for (int id : toolbarLayout()) {
      if (id != kToolbarSeparator) buttons.push_back(id);
    }
    for (int id : buttons) {
      icons.emplace_back(QString("button %1").arg(id), window.toolbarAction(id)->icon());
    }
    QList<QImage> faces;
    for (const auto& [name, icon] : icons) {
      const QImage face = icon.pixmap(16, 16).toImage();
      QCOMPARE(face.size(), QSize(16, 16));
      bool drawn = false;
      for (int y = 0; y < face.height() && !drawn; ++y) {
        for (int x = 0; x < face.width() && !drawn; ++x) drawn = qAlpha(face.pixel(x, y)) > 0;
      }
      QVERIFY2(drawn, qPrintable(name + " has an empty face"));
      QVERIFY2(!faces.contains(face), qPrintable(name + " looks like another"));
      faces << face;
      QCOMPARE(icon.pixmap(48, 48).size(), QSize(48, 48));
      QVERIFY2(icon.pixmap(16, 16, QIcon::Disabled).toImage() != face,
               qPrintable(name + " looks the same disabled"));
    }
  }

  void lockedDisplayPositionKeepsTheLayoutOutOfTheBaseWindow() {
    Bench b;
    b.bench.options.LockDisplayPosition = true;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, QSize(1024, 768));
    QVERIFY(!window.usesBaseWindow());
    QVERIFY(!window.grabScrollEnabled());
    QCOMPARE(window.layoutElement("Port1")->geometry(), QRect(2, 52, 232, 246));
  }

  // "概要-Web" opens the page shipped with the program, and is disabled with its reason when
  // there is none.
  void webPageOpensTheShippedOverviewOrSaysWhyItCannot() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    QAction* web = window.menuAction(kWebPage);
    window.setOverviewPage("");
    QVERIFY(!web->isEnabled());
    QVERIFY(web->toolTip().contains("vemla-overview.html"));
    const QString page = q(b.folder.file("overview.html"));
    vemla::testing::writeBytes(page.toStdString(), {'<', 'p', '>'});
    window.setOverviewPage(page);
    QVERIFY(web->isEnabled());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    web->trigger();
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(page)});
  }

  // "メモ" hands the memo file to the desktop; where nothing takes it, the built-in editor
  // opens it (a CP932 memo read as such), asks before changes are lost and saves as UTF-8.
  void memoWithoutADesktopEditorOpensTheBuiltInOne() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    QList<QUrl> handed;
    window.setDesktopOpener([&handed](const QUrl& url) {
      handed << url;
      return false;
    });
    const std::string memo = memoPath(b.bench);
    vemla::testing::writeBytes(memo, {0x83, 0x81, 0x83, 0x82});  // "メモ" in CP932
    window.menuAction(kMemo)->trigger();
    QCOMPARE(handed, QList<QUrl>{QUrl::fromLocalFile(q(memo))});
    auto* editor = window.findChild<MemoEditor*>("MemoEditor");
    QVERIFY(editor != nullptr && editor->isVisible());
    QCOMPARE(editor->text()->toPlainText(), QString::fromUtf8("メモ"));
    editor->text()->appendPlainText(QString::fromUtf8("追記"));
    user.yesNoCancelAnswers = {Answer::Cancel, Answer::Yes};
    editor->reject();
    QVERIFY(editor->isVisible());
    editor->reject();
    const std::vector<std::uint8_t> saved = vemla::testing::readBytes(memo);
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(saved.data()), saved.size()),
             QString::fromUtf8("メモ\n追記"));

    // A memo name that is not a text file never goes to the desktop; a missing one is created.
    b.bench.options.MemoFile = b.folder.file("notes.sh");
    handed.clear();
    window.menuAction(kMemo)->trigger();
    QVERIFY(handed.isEmpty());
    QVERIFY(fileExists(b.bench.options.MemoFile));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.findChildren<MemoEditor*>().size(), 1);  // the first one closed itself
  }

  // A real middle click in the built-in editor pastes the primary selection's text at the
  // pointer, and nothing while no program holds a selection.
  void memoPastesTheSelectionOrClipboardIfAny() {
    if (QGuiApplication::platformName() != "xcb") QSKIP("needs a real display (xcb)");
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) QSKIP("needs xdotool");
    Bench b;
    RecordingPort user;
    MemoEditor editor(q(b.folder.file("memo.txt")), user);
    editor.move(0, 0);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QPlainTextEdit* text = editor.text();
    text->setPlainText("ab");
    QClipboard* clipboard = QGuiApplication::clipboard();
    QVERIFY(clipboard->supportsSelection());
    const auto middleClickAtEnd = [&] {
      QTextCursor end = text->textCursor();
      end.movePosition(QTextCursor::End);
      const QRect at = text->cursorRect(end);
      QCursor::setPos(text->viewport()->mapToGlobal(at.center() + QPoint(4, 0)));
      QTest::qWait(50);
      QCOMPARE(QProcess::execute("xdotool", {"click", "2"}), 0);
      QTest::qWait(300);
    };
    clipboard->clear(QClipboard::Selection);
    middleClickAtEnd();  // nobody holds a selection
    QCOMPARE(text->toPlainText(), QString("ab"));
    clipboard->setText("x", QClipboard::Selection);
    middleClickAtEnd();
    QCOMPARE(text->toPlainText(), QString("abx"));
    // The keyboard's paste goes the same careful way, with and without a clipboard owner.
    text->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    clipboard->clear(QClipboard::Clipboard);
    QCOMPARE(QProcess::execute("xdotool", {"key", "ctrl+v"}), 0);
    QTest::qWait(300);
    QCOMPARE(text->toPlainText(), QString("abx"));
    clipboard->setText("y", QClipboard::Clipboard);
    QCOMPARE(QProcess::execute("xdotool", {"key", "ctrl+v"}), 0);
    QTest::qWait(300);
    QVERIFY(text->toPlainText().contains('y'));
  }

  void commandsOfMissingSubsystemsAreShownDisabled() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    window.updateCommandStates();
    for (int id :
         {kEdit1, kEdit2, kUserProgram, kRememberState1, kGradationTool, kImageScope, kGallery}) {
      QAction* action = window.menuAction(id);
      QVERIFY2(action != nullptr, qPrintable(QString::number(id)));
      QVERIFY2(!action->isEnabled(), qPrintable(QString::number(id)));
    }
    QCOMPARE(window.menuAction(kOpenTwo)->text(), QString::fromUtf8("２つの画像で開く(&2)"));
    QCOMPARE(window.menuAction(kOpenArchive)->text(), QString::fromUtf8("Vlaファイルを開く(&Q)"));
    // Without pictures: open and options enabled, picture commands disabled.
    QVERIFY(window.menuAction(kOpenTwo)->isEnabled());
    QVERIFY(window.menuAction(kOptions)->isEnabled());
    QVERIFY(!window.menuAction(kSwap)->isEnabled());
    QVERIFY(!window.toolbarAction(kOverwrite1)->isEnabled());
    QVERIFY(window.toolbarAction(kQuickHelp)->isEnabled());
  }

  void everyCommandTheWindowCarriesOutHasItsHandler() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    int count = 0;
    for (const Command& command : commandTable()) {
      if (!command.inWindow) continue;
      ++count;
      QVERIFY2(window.handlesInWindow(command.id), qPrintable(QString::number(command.id)));
    }
    QVERIFY(count > 0);
  }

  void openingTwoFilesByDialogRecordsTheHistory() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    const std::string c = writePicture(b.folder, "c.bmp", 50);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    ScriptedDialogs dialogs;
    dialogs.opens = {{q(a), q(c)}, {q(a), q(c)}};
    window.setFileDialogs(dialogs.dialogs());

    window.runCommand(kOpenTwo);
    QVERIFY2(user.messages.isEmpty(), qPrintable(user.messages.join('|')));
    QCOMPARE(dialogs.titles.front(), QString::fromUtf8("画像１－画像２ﾌｧｲﾙの選択"));
    QVERIFY(b.bench.pictures.picturesPresent);
    QCOMPARE(window.windowTitle(), QString("a.bmp c.bmp - Vemla"));
    QCOMPARE(window.titleStrip(1)->text(), QString::fromUtf8("画像２(c.bmp)"));
    QCOMPARE(window.titleStrip(2)->text(), QString::fromUtf8("ｲﾒｰｼﾞ1（画像１） x1"));
    QVERIFY(window.menuAction(651) != nullptr);
    QCOMPARE(window.menuAction(651)->text(), " 1. " + q(a));
    QCOMPARE(window.menuAction(652)->text(), "    " + q(c));
    QVERIFY(window.menuAction(kSwap)->isEnabled());
    QVERIFY(window.menuAction(kOverwrite1)->isEnabled());

    // The same pair again stays one entry.
    window.runCommand(kOpenTwo);
    QVERIFY(window.menuAction(651) != nullptr);
    QVERIFY(window.menuAction(653) == nullptr);
    QCOMPARE(b.bench.shell.fileHistory.history[1].used, 0);
    // The history was written to the program folder.
    QVERIFY(std::filesystem::exists(b.folder.file("VemlaUinf.dat")));
  }

  // A PNG and a three-page 16-bit TIFF chosen in the open dialog, whose first filter takes
  // every picture file: both open, the pane titles say what was converted.
  void pngAndSixteenBitTiffOpenThroughTheOpenDialog() {
    Bench b;
    std::vector<std::uint16_t> samples(16 * 16);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint16_t>(i);
    const std::string a = b.folder.file("a.png");
    const std::string c = b.folder.file("c.tif");
    vemla::testing::writeBytes(a, vemla::testing::encodePng({.width = 16, .height = 16}, samples));
    for (auto& sample : samples) sample = static_cast<std::uint16_t>(sample * 16);
    vemla::testing::writeBytes(
        c,
        vemla::testing::encodeTiff(
            {.width = 16, .height = 16, .bits = 16, .maxSampleValue = 4095, .pages = 3}, samples));
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    QStringList filters;
    window.setFileDialogs(
        {[&](const QString&, const QString& filter, bool, const QString&) {
           filters << filter;
           return QStringList{q(a), q(c)};
         },
         [](const QString&, const QString&, const QString&) { return QString(); }});

    window.runCommand(kOpenTwo);
    QVERIFY2(user.messages.isEmpty(), qPrintable(user.messages.join('|')));
    QVERIFY(filters.front().startsWith(
        QString::fromUtf8("画像ﾌｧｲﾙ (*.bmp *.png *.tif *.tiff *.jpg *.jpeg *.pgm *.ppm *.raw)")));
    QCOMPARE(window.windowTitle(), QString("a.png c.tif - Vemla"));
    QCOMPARE(window.titleStrip(0)->text(), QString::fromUtf8("画像１(a.png)"));
    QCOMPARE(window.titleStrip(1)->text(), QString::fromUtf8("画像２(c.tif [1/3] [16→8 0–4095])"));
    const std::uint8_t* first = b.bench.store.plane(kPicture1);
    const std::uint8_t* second = b.bench.store.plane(kPicture2);
    QCOMPARE(int{first[17]}, 17);
    QCOMPARE(int{second[255]}, (255 * 16 * 255 + 2047) / 4095);
    QCOMPARE(window.menuAction(651)->text(), " 1. " + q(a));
  }

  void onePictureByDialogLeavesPictureTwoEmpty() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    openOneByDialog(window, a);
    QVERIFY(b.bench.pictures.picturesPresent);
    QCOMPARE(b.bench.pictures.pictures[1].name, std::string());
    window.updateCommandStates();
    // Replacing Picture 1 needs a Picture 2 name, replacing Picture 2 a Picture 1 name.
    QVERIFY(!window.menuAction(kReplace1)->isEnabled());
    QVERIFY(window.menuAction(kReplace2)->isEnabled());
    QVERIFY(window.menuAction(kOverwrite1)->isEnabled());
    QVERIFY(!window.menuAction(kOverwrite2)->isEnabled());
    QVERIFY(!window.menuAction(kReopenBoth)->isEnabled());
  }

  void moreThanTwoFilesAreRefused() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    ScriptedDialogs dialogs;
    dialogs.opens = {{q(a), q(a), q(a)}};
    window.setFileDialogs(dialogs.dialogs());
    window.runCommand(kOpenTwo);
    QCOMPARE(user.messages, QStringList{QString::fromUtf8("指定のﾌｧｲﾙ数が多すぎます")});
    QVERIFY(!b.bench.pictures.picturesPresent);
  }

  void pastingTwoFilesOpensBoth() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    const std::string c = writePicture(b.folder, "c.bmp", 9);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(q(a)), QUrl::fromLocalFile(q(c))});
    QApplication::clipboard()->setMimeData(data);
    window.updateCommandStates();
    QVERIFY(window.menuAction(kPaste)->isEnabled());
    window.runCommand(kPaste);
    QVERIFY(b.bench.pictures.picturesPresent);
    QCOMPARE(b.bench.pictures.pictures[1].name, c);
    QApplication::clipboard()->clear();
  }

  void paneRequestsRunFromTheEventLoop() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    const std::string c = writePicture(b.folder, "c.bmp", 9);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    window.requestOpen({q(a), q(c)}, OpenMode::Both, false);
    QVERIFY(!b.bench.pictures.picturesPresent);  // never inside the caller (a drop, a menu)
    QTRY_VERIFY(b.bench.pictures.picturesPresent);
    QCOMPARE(b.bench.pictures.pictures[0].name, a);
    // Kept out of the history on request.
    QCOMPARE(b.bench.shell.fileHistory.history[0].used, 0);
  }

  void aRequestArrivingDuringACommandWaitsForIt() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    const std::string c = writePicture(b.folder, "c.bmp", 9);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    bool ranInside = false;
    // The dialog stands for any long work that lets events in (the progress window does).
    window.setFileDialogs({[&](const QString&, const QString&, bool, const QString&) {
                             window.requestOpen({q(c), q(a)}, OpenMode::Both, false);
                             QCoreApplication::processEvents();
                             QTest::qWait(100);
                             ranInside = b.bench.pictures.picturesPresent;
                             return QStringList{q(a), q(c)};
                           },
                           {}});
    window.runCommand(kOpenTwo);
    QVERIFY(!ranInside);
    QCOMPARE(b.bench.pictures.pictures[0].name, a);
    QTRY_COMPARE(b.bench.pictures.pictures[0].name, c);
  }

  void anImportedPictureIsSavedAsButNeverOverwritten() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    std::vector<std::uint8_t> pixels(32 * 16, 77);
    MemoryPictures pictures;
    pictures.width = 32;
    pictures.height = 16;
    pictures.pixels = {pixels.data(), pixels.data()};
    pictures.names = {"<Import1>", "<Import2>"};
    QCOMPARE(setPicturesFromMemory(b.bench, user, pictures), 0);
    window.updateCommandStates();
    QVERIFY(!window.menuAction(kOverwrite1)->isEnabled());
    QVERIFY(!window.toolbarAction(kOverwrite1)->isEnabled());
    QVERIFY(window.menuAction(kSaveAsPicture1)->isEnabled());

    ScriptedDialogs dialogs;
    const std::string target = b.folder.file("saved.bmp");
    dialogs.saves = {q(target)};
    window.setFileDialogs(dialogs.dialogs());
    window.runCommand(kSaveAsPicture1);
    QCOMPARE(dialogs.titles, QStringList{QString::fromUtf8("名前を付けて保存（画像１）")});
    QVERIFY(std::filesystem::exists(target));
    QCOMPARE(b.bench.pictures.pictures[0].name, target);
    QVERIFY(window.menuAction(kOverwrite1)->isEnabled());
    QVERIFY(user.messages.isEmpty());
  }

  void clearingTheHistoryAsksFirst() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    openOneByDialog(window, a);
    QVERIFY(window.menuAction(651) != nullptr);

    user.yesNoAnswers = {false, true};
    window.runCommand(kClearHistory);
    QVERIFY(window.menuAction(651) != nullptr);
    window.runCommand(kClearHistory);
    QCOMPARE(user.questions.last(), QString::fromUtf8("ﾌｧｲﾙの履歴をｸﾘｱしてもよいですか"));
    QVERIFY(window.menuAction(651) == nullptr);
    QCOMPARE(b.bench.shell.fileHistory.history[0].used, 0);
    QCOMPARE(b.bench.shell.fileHistory.recent[0].used, 0);
    QVERIFY(user.unscripted.isEmpty());
  }

  void resettingTheColoursAsksFirstThenRestoresTheDefaults() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    ImageControlSelections& selections = b.bench.images.selections;
    selections.kindColours[0][0] = 3;
    selections.intensity[1] = 9;
    selections.brightness[2] = 17;
    const ImageControlSelections changed = selections;

    user.yesNoAnswers = {false, true};
    QVERIFY(chooseMenuItem(window, kResetColours));
    QCOMPARE(user.questions.last(),
             QString::fromUtf8("ｲﾒｰｼﾞとｶﾗｰの関連付けや各ｶﾗｰでの表示強度及び輝度を\n"
                               "ﾌﾟﾛｸﾞﾗﾑの既定値で初期化してもよいですか"));
    QVERIFY(selections == changed);  // "いいえ" changes nothing
    QVERIFY(chooseMenuItem(window, kResetColours));
    QVERIFY(selections == ImageControlSelections{});
    QVERIFY(user.unscripted.isEmpty());
  }

  void quickHelpShowsAStripsTextOnlyWhileOn() {
    Bench b;
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    window.show();
    QLabel* strip = window.titleStrip(0);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(strip, &enter);
    QVERIFY(window.quickHelp().current() == nullptr);

    window.runCommand(kQuickHelp);
    QVERIFY(b.bench.shell.quickHelp);
    window.updateCommandStates();
    QVERIFY(window.menuAction(kQuickHelp)->isChecked());
    QApplication::sendEvent(strip, &enter);
    QWidget* help = window.quickHelp().current();
    QVERIFY(help != nullptr);
    QCOMPARE(help->objectName(), QString("HelpMessage"));
    // Beside the strip: its left edge, below its vertical middle.
    QCOMPARE(help->mapToGlobal(QPoint(0, 0)).x(), strip->mapToGlobal(QPoint(0, 0)).x());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(strip, &leave);
    QTRY_VERIFY(window.quickHelp().current() == nullptr);

    window.runCommand(kQuickHelp);
    QVERIFY(!b.bench.shell.quickHelp);
  }

  void imageControlsGiveTheFocusBackToImage1() {
    ActiveWindow w;
    QVERIFY(QApplication::activeWindow() == &w.window);
    const auto click = [&](const char* name) {
      QTest::mouseClick(w.control("ImageControl", name), Qt::LeftButton);
    };
    click("zoom4");
    QCOMPARE(w.b.bench.view.magnification, 4);
    QVERIFY(w.upKeyMovesTheCursor());
    click("kindButton3");  // "階調差" for image 2
    QCOMPARE(w.b.bench.images.kind[1], 3);
    QVERIFY(w.upKeyMovesTheCursor());
    click("colour");
    QVERIFY(w.b.bench.view.colourDisplay);
    QVERIFY(w.upKeyMovesTheCursor());
    // A click on the groove, right of the handle at 0.
    auto* brightness = static_cast<QSlider*>(w.control("ImageControl", "brightness1"));
    const int brightnessBefore = brightness->value();
    QTest::mouseClick(brightness, Qt::LeftButton, Qt::NoModifier,
                      QPoint(brightness->width() - 3, brightness->height() / 2));
    QVERIFY(brightness->value() > brightnessBefore);
    QVERIFY(w.upKeyMovesTheCursor());
    // A selector chosen from the keyboard.
    auto* selector = static_cast<QComboBox*>(w.control("ImageControl", "kindSelector1"));
    selector->setFocus();
    QTest::keyClick(selector, Qt::Key_Down);
    QCOMPARE(w.b.bench.images.kind[0], 1);
    QVERIFY(w.upKeyMovesTheCursor());
    // The upper arrow of the magnification spin, pressed and released.
    QWidget* spin = w.control("ImageControl", "magnificationSpin");
    QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, QPoint(spin->width() / 2, 3));
    QCOMPARE(w.b.bench.view.magnification, 5);
    QVERIFY(w.upKeyMovesTheCursor());
    // "再表示" after a typed position.
    auto* positionX = w.control("ImageControl", "positionX");
    positionX->setFocus();
    QTest::keyClick(positionX, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(positionX, "3");
    QCOMPARE(QApplication::focusWidget(), positionX);  // typing keeps the focus
    click("redisplay");
    QCOMPARE(w.b.bench.view.centreX, 3);
    QVERIFY(w.upKeyMovesTheCursor());
  }

  void pictureControlsGiveTheFocusBackToImage1() {
    ActiveWindow w;
    QTest::mouseClick(w.control("PictureControl", "manual"), Qt::LeftButton);
    QVERIFY(w.b.bench.control.manual.enabled);
    QVERIFY(w.upKeyMovesTheCursor());
    QTest::mouseClick(w.control("PictureControl", "shiftPad"), Qt::LeftButton, Qt::NoModifier,
                      QPoint(28, 16));  // the right quarter
    QVERIFY(w.b.bench.control.manual.setting.right == 1);
    QVERIFY(w.upKeyMovesTheCursor());
    auto* precision = static_cast<QComboBox*>(w.control("PictureControl", "precision"));
    precision->setFocus();
    QTest::keyClick(precision, Qt::Key_Up);
    QCOMPARE(w.b.bench.control.alignment.precision, 8);
    QVERIFY(w.upKeyMovesTheCursor());
  }

  void fileInformationNamesTheFiles() {
    Bench b;
    const std::string a = writePicture(b.folder, "a.bmp", 0);
    RecordingPort user;
    WorkbenchWindow window(b.bench, user, kLargeScreen);
    openOneByDialog(window, a);
    window.runCommand(kFileInformation);
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(user.messages[0].startsWith(QString::fromUtf8("（画像１）\n") + q(a) + "\n"));
    QVERIFY(user.messages[0].endsWith(QString::fromUtf8("大きさ　16 x 16")));
    QCOMPARE(user.titles[0], QString::fromUtf8("画像ﾌｧｲﾙ情報"));
  }

  // Every picture command of the File, Edit and Picture menus, chosen in MAINMENU for Picture 1
  // and for Picture 2: the picture the item names changes, the other stays as it was.
  void overwriteWritesThatPicturesFile() {
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      // Both files change on disk; overwriting puts back only the chosen picture's pixels.
      const std::vector<std::uint8_t> changed = filePixels(writePicture(w.b.folder, "x.bmp", 99));
      for (const std::string& file : w.files)
        writePicture(w.b.folder, std::string(fileNamePart(file)), 99);
      w.user.yesNoAnswers = {true};
      QVERIFY(chooseMenuItem(w.window, kOverwrite[index(picture)]));
      QCOMPARE(w.user.questions, QStringList{QString::fromUtf8("画像") + kDigits[index(picture)] +
                                             QString::fromUtf8("を上書きしてもよいですか\n") +
                                             q(w.files[index(picture)])});
      QCOMPARE(filePixels(w.files[index(picture)]), w.before[index(picture)].pixels);
      QCOMPARE(filePixels(w.files[index(other(picture))]), changed);
    }
  }

  void saveAsWritesThatPictureOrImage() {
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      const std::string target = w.b.folder.file("saved.bmp");
      w.dialogs.saves = {q(target)};
      QVERIFY(chooseMenuItem(w.window, kSaveAsPicture[index(picture)]));
      QCOMPARE(w.dialogs.titles, QStringList{QString::fromUtf8("名前を付けて保存（画像") +
                                             kDigits[index(picture)] + QString::fromUtf8("）")});
      QCOMPARE(filePixels(target), w.before[index(picture)].pixels);
      QCOMPARE(w.now(picture).name, target);
      QVERIFY(w.keeps(other(picture)));
    }
    for (ImageSlot image : kImageSlots) {
      OpenedWindow w;
      const std::vector<std::uint8_t> shown = planePixels(w.b.bench, imagePlane(image));
      const std::string target = w.b.folder.file("image.bmp");
      w.dialogs.saves = {q(target)};
      QVERIFY(chooseMenuItem(w.window, kSaveAsImage[index(image)]));
      QCOMPARE(w.dialogs.titles, QStringList{QString::fromUtf8("名前を付けて保存（イメージ") +
                                             kDigits[index(image)] + QString::fromUtf8("）")});
      QCOMPARE(filePixels(target), shown);
      QVERIFY(w.keeps(PictureSlot::First) && w.keeps(PictureSlot::Second));
    }
  }

  void replaceReopenAndPasteOpenOnlyThatPicture() {
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      const std::string other = writePicture(w.b.folder, "e.bmp", 150);
      w.dialogs.opens = {{q(other)}};
      QVERIFY(chooseMenuItem(w.window, kReplace[index(picture)]));
      QVERIFY(w.dialogs.titles.value(0).endsWith(QString("(%1)へ入れ替え").arg(number(picture))));
      QCOMPARE(w.now(picture).name, other);
      QCOMPARE(w.now(picture).pixels, filePixels(other));
      QVERIFY(w.keeps(vemla::other(picture)));
    }
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      for (const std::string& file : w.files)
        writePicture(w.b.folder, std::string(fileNamePart(file)), 99);
      QVERIFY(chooseMenuItem(w.window, kReopen[index(picture)]));
      QCOMPARE(w.now(picture).pixels, filePixels(w.files[index(picture)]));
      QVERIFY(w.keeps(other(picture)));
    }
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      const std::string pasted = writePicture(w.b.folder, "e.bmp", 150);
      auto* data = new QMimeData;
      data->setUrls({QUrl::fromLocalFile(q(pasted))});
      QApplication::clipboard()->setMimeData(data);
      QVERIFY(chooseMenuItem(w.window, kPasteTo[index(picture)]));
      QApplication::clipboard()->clear();
      QCOMPARE(w.now(picture).name, pasted);
      QVERIFY(w.keeps(other(picture)));
    }
  }

  void imagesReplaceTheNamedPictures() {
    struct Case {
      int id;
      std::vector<std::pair<ImageSlot, PictureSlot>> copies;
    };
    const Case cases[] = {
        {kImage1ToPicture1, {{ImageSlot::First, PictureSlot::First}}},
        {kImage1ToPicture2, {{ImageSlot::First, PictureSlot::Second}}},
        {kImage2ToPicture1, {{ImageSlot::Second, PictureSlot::First}}},
        {kImage2ToPicture2, {{ImageSlot::Second, PictureSlot::Second}}},
        {kImagesToPictures,
         {{ImageSlot::First, PictureSlot::First}, {ImageSlot::Second, PictureSlot::Second}}},
        {kImagesToPicturesCrossed,
         {{ImageSlot::First, PictureSlot::Second}, {ImageSlot::Second, PictureSlot::First}}},
    };
    for (const Case& test : cases) {
      OpenedWindow w;
      // Image 1 shows "画像１" and Image 2 "画像２", so each image holds its picture's pixels.
      std::array<std::vector<std::uint8_t>, 2> images;
      for (ImageSlot image : kImageSlots) {
        images[index(image)] = planePixels(w.b.bench, imagePlane(image));
      }
      QVERIFY2(chooseMenuItem(w.window, test.id), qPrintable(QString::number(test.id)));
      std::array<bool, 2> replaced{};
      for (const auto& [image, picture] : test.copies) {
        replaced[index(picture)] = true;
        QCOMPARE(w.now(picture).pixels, images[index(image)]);
        QCOMPARE(w.now(picture).name,
                 std::string(image == ImageSlot::First ? "<画像１>" : "<画像２>"));
      }
      for (PictureSlot picture : kPictureSlots) {
        if (!replaced[index(picture)]) QVERIFY(w.keeps(picture));
      }
    }
  }

  void greyScaleCopyAndRenameChangeTheNamedPicture() {
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      QVERIFY(w.before[index(picture)].palette != greyRamp());
      QVERIFY(chooseMenuItem(w.window, kGreyScale[index(picture)]));
      QCOMPARE(w.now(picture).palette, greyRamp());
      QCOMPARE(w.now(picture).pixels, w.before[index(picture)].pixels);
      QVERIFY(w.keeps(other(picture)));
    }
    for (PictureSlot from : kPictureSlots) {
      OpenedWindow w;
      QVERIFY(chooseMenuItem(w.window, kCopyFrom[index(from)]));
      QCOMPARE(w.now(other(from)).pixels, w.before[index(from)].pixels);
      QVERIFY(w.keeps(from));
    }
    for (PictureSlot picture : kPictureSlots) {
      OpenedWindow w;
      QList<PictureSlot> asked;
      w.window.setNameDialog([&asked](PictureSlot named) -> std::optional<QString> {
        asked << named;
        return QString::fromUtf8("比較");
      });
      QVERIFY(chooseMenuItem(w.window, kRename[index(picture)]));
      QCOMPARE(asked, QList<PictureSlot>{picture});
      QCOMPARE(w.now(picture).name, std::string("<比較>"));
      QVERIFY(w.keeps(other(picture)));
      QCOMPARE(w.window.titleStrip(index(picture))->text(),
               QString::fromUtf8("画像") + kDigits[index(picture)] + QString::fromUtf8("<比較>"));
    }
  }

  // Blink through the image control's "交互": the pane keeps both renderings and its timer
  // flips between them; Space flips too; the menu turns it off and the kind comes back.
  void blinkFlipsBetweenBothRenderingsAndGivesTheKindBack() {
    ActiveWindow w;
    Workbench& bench = w.b.bench;
    QTest::mouseClick(w.control("ImageControl", "kindButton3"), Qt::LeftButton);  // "階調差"
    ImagePane* pane = w.window.imagePane(ImageSlot::Second);
    QTest::mouseClick(w.control("ImageControl", "blink2"), Qt::LeftButton);
    QCOMPARE(bench.view.comparison[1].mode, ComparisonMode::Blink);
    QCOMPARE(bench.images.kind[1], 0);
    const QImage first = rgb(pane->pixmap()), second = rgb(pane->secondPixmap());
    QVERIFY(!second.isNull() && first != second);
    QCOMPARE(shownBy(pane), first);
    QVERIFY(imageStrip(w.window, ImageSlot::Second)->text().contains(QString::fromUtf8("画像１")));

    auto* rate = static_cast<QDoubleSpinBox*>(w.control("ImageControl", "blinkRate"));
    rate->setValue(10.0);
    QCOMPARE(pane->blinkTimer().interval(), 100);
    QTRY_COMPARE_WITH_TIMEOUT(shownBy(pane), second, 2000);
    QVERIFY(imageStrip(w.window, ImageSlot::Second)->text().contains(QString::fromUtf8("画像２")));
    QCOMPARE(rgb(pane->pixmap()), first);  // nothing was rendered again
    QCOMPARE(rgb(pane->secondPixmap()), second);

    rate->setValue(0.5);  // two seconds a picture: Space alone flips now
    QCOMPARE(pane->blinkTimer().interval(), 2000);
    pane->setFocus();
    const bool wasSecond = bench.view.comparison[1].second;
    QTest::keyClick(pane, Qt::Key_Space);
    QCOMPARE(bench.view.comparison[1].second, !wasSecond);
    QCOMPARE(shownBy(pane), wasSecond ? first : second);

    QVERIFY(chooseMenuItem(w.window, kBlinkImage2));  // off again
    QCOMPARE(bench.view.comparison[1].mode, ComparisonMode::Off);
    QCOMPARE(bench.images.kind[1], 3);
    QVERIFY(!pane->blinkTimer().isActive());
    QVERIFY(pane->secondPixmap().isNull());
    QVERIFY(imageStrip(w.window, ImageSlot::Second)->text().contains(QString::fromUtf8("階調差")));
  }

  // Swipe from the menu: Picture 1 before the divider, Picture 2 from it; a drag moves the
  // divider and never out of the pane; Shift+arrows move it; "分割" turns it off.
  void swipeDividerFollowsADragAndStaysInsideThePane() {
    ActiveWindow w;
    Workbench& bench = w.b.bench;
    NoBusyPort busy;
    NoProgressPort progress;
    setImageKind(bench, ImageSlot::First, 2, 0, w.user, busy, progress);  // "平均"
    QVERIFY(chooseMenuItem(w.window, kSwipeImage1));
    QCOMPARE(bench.view.comparison[0].mode, ComparisonMode::Swipe);
    ImagePane* pane = w.window.imagePane(ImageSlot::First);
    const QImage first = rgb(pane->pixmap()), second = rgb(pane->secondPixmap());
    const auto splitAt = [&](int divider) {
      const QImage shown = shownBy(pane);
      return columnOf(shown, divider - 2) == columnOf(first, divider - 2) &&
             columnOf(shown, divider + 1) == columnOf(second, divider + 1);
    };
    QVERIFY(splitAt(256));
    QVERIFY(columnOf(first, 257) != columnOf(second, 257));  // the picture lies there

    const int row = 100, cursorX = bench.view.centreX;
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, QPoint(257, row));
    struct Step {
      int x;
      int divider;
    };
    for (const Step step : {Step{252, 252}, Step{-40, 1}, Step{700, 511}, Step{260, 260}}) {
      QMouseEvent move(QEvent::MouseMove, QPointF(step.x, row),
                       QPointF(pane->mapToGlobal(QPoint(step.x, row))), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(pane, &move);
      QCOMPARE(bench.view.comparison[0].divider, step.divider);
    }
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, QPoint(260, row));
    QVERIFY(splitAt(260));
    QCOMPARE(bench.view.centreX, cursorX);  // the drag moved the divider, not the cursor
    QTest::keyClick(pane, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(bench.view.comparison[0].divider, 252);
    QVERIFY(splitAt(252));

    QTest::mouseClick(w.control("ImageControl", "swipe1"), Qt::LeftButton);
    QCOMPARE(bench.view.comparison[0].mode, ComparisonMode::Off);
    QCOMPARE(bench.images.kind[0], 2);
    QCOMPARE(shownBy(pane), rgb(pane->pixmap()));
    QVERIFY(chooseMenuItem(w.window, kSwipeImage1));  // the divider stays where it was left
    QCOMPARE(bench.view.comparison[0].divider, 252);
  }

  // The same drag with the real pointer of an X server.
  void swipeDividerFollowsTheRealPointer() {
    if (QGuiApplication::platformName() != "xcb") QSKIP("needs a real pointer (xcb)");
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) QSKIP("needs xdotool");
    ActiveWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(chooseMenuItem(w.window, kSwipeImage2));
    ImagePane* pane = w.window.imagePane(ImageSlot::Second);
    const auto xdotool = [](const QStringList& arguments) {
      QCOMPARE(QProcess::execute("xdotool", arguments), 0);
      QTest::qWait(100);
    };
    const QPoint start = pane->mapToGlobal(QPoint(256, 300));
    QCursor::setPos(start);
    QTest::qWait(100);
    xdotool({"mousedown", "1"});
    const QPoint end = pane->mapToGlobal(QPoint(120, 300));
    xdotool({"mousemove", QString::number(end.x()), QString::number(end.y())});
    QTRY_COMPARE(w.b.bench.view.comparison[1].divider, 120);
    const QPoint outside = pane->mapToGlobal(QPoint(-30, 300));
    xdotool({"mousemove", QString::number(std::max(outside.x(), 0)), QString::number(outside.y())});
    QTRY_COMPARE(w.b.bench.view.comparison[1].divider, 1);
    xdotool({"mouseup", "1"});

    // The image control's buttons take real clicks where they are drawn.
    QVERIFY2(controlHiddenAtItsCentre(&w.window).isEmpty(),
             qPrintable(controlHiddenAtItsCentre(&w.window)));
    const auto clickAtCentre = [&](const char* name) {
      QWidget* button = w.control("ImageControl", name);
      const QPoint centre = button->mapToGlobal(button->rect().center());
      xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y())});
      xdotool({"click", "1"});
    };
    clickAtCentre("swipe2");
    QTRY_COMPARE(w.b.bench.view.comparison[1].mode, ComparisonMode::Off);
    clickAtCentre("blink1");
    QTRY_COMPARE(w.b.bench.view.comparison[0].mode, ComparisonMode::Blink);
  }
};

QTEST_MAIN(WorkbenchWindowTest)
#include "test_workbench_window.moc"
