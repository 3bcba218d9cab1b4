// The gallery's two forms: the small form's press-and-hold preview and "All", switching forms
// (minimise, maximise, the menu item), the header's form, place and close-after-copy kept in
// VemlaGinf.dat (hostile stored values fall back), and command 40111's standard position.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <climits>

#include "picture/bitmap.h"
#include "support/gallery_window_fixture.h"
#include "windows/gallery/gallery_small_window.h"
#include "windows/main/quick_help.h"
#include "windows/main/workbench_window.h"
#include "workbench/commands/command_ids.h"

using namespace vemla;
using vemla::testing::GalleryBench;

namespace {

constexpr QPoint kHome(500, 40);

// A gallery on an injected 1024 x 768 screen whose standard position is kHome; it records what
// it asks of the main window.
struct Gallery {
  GalleryBench b;
  QList<int> viewed, copied;
  QRect area;
  GalleryWindow window;
  explicit Gallery(int form = 1, QSize screen = QSize(1024, 768))
      : b(form), area(QPoint(0, 0), screen), window(b.bench, b.user, host()) {}
  GalleryHost host() {
    GalleryHost host;
    host.viewSlot = [this](int slot) { viewed << slot; };
    host.copyToPicture = [this](int slot, PictureSlot) { copied << slot; };
    host.homePosition = [](QSize) { return kHome; };
    host.screenArea = area;
    return host;
  }
  QAction* item(QMenu& menu, const char* text) {
    for (QAction* action : menu.actions()) {
      if (action->text() == QString::fromUtf8(text)) return action;
    }
    return nullptr;
  }
};

}  // namespace

class GalleryFormsTest : public QObject {
  Q_OBJECT
 private slots:
  // Holding the button on a number shows the slot; releasing it there closes the preview,
  // releasing it on the preview keeps it, where double clicks and drops act on that slot.
  void smallFormPreviewAndAll() {
    Gallery g;
    g.window.showGallery();
    GallerySmallWindow* small = g.window.smallForm();
    QVERIFY(small->isVisible() && !g.window.isVisible());
    QVERIFY(g.b.bench.gallery.shown);
    QLabel* one = small->numberLabel(0);
    GallerySlotPreview* preview = small->preview();
    QTest::mousePress(one, Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->slot(), 0);
    QTest::mouseRelease(one, Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(!preview->isVisible());

    QLabel* three = small->numberLabel(2);
    QTest::mousePress(three, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(three, Qt::LeftButton, {},
                        three->mapFromGlobal(preview->frameGeometry().center()));
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->slot(), 2);
    const std::string path = g.b.folder.file("p.bmp");
    const std::vector<std::uint8_t> grey(64, 5);
    QCOMPARE(writeBitmap(path, 8, 8, 1, grey.data(), nullptr), 0);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(20, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(preview, &enter);
    QDropEvent drop(QPointF(20, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(preview, &drop);
    QCOMPARE(g.b.bench.settings.gallery->info.slotRecords[2].kind, kSlotPicture);
    QTest::mouseDClick(preview, Qt::LeftButton, {}, QPoint(20, 40));
    QCOMPARE(g.viewed, QList<int>{2});

    // "All" opens the list; its menu holds the whole gallery's functions and the other form.
    QTest::mousePress(small->numberLabel(-1), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(g.window.listWindow()->isVisible());
    const auto whole = g.window.galleryMenu(small);
    for (const char* text : {"一覧", "全ｸﾘｱ", "説明"}) QVERIFY(g.item(*whole, text)->isEnabled());
    QCOMPARE(whole->actions().back()->text(), QString::fromUtf8("通常型"));
    g.b.user.yesNoAnswers.push_back(false);
    g.item(*whole, "全ｸﾘｱ")->trigger();  // the bottom row's button runs
    QVERIFY(g.b.user.questions.last().contains(QString::fromUtf8("全てのｷﾞｬﾗﾘｰ情報")));
  }

  // The small form's slot menu: no file loading or title editing, the close-after-copy check
  // (kept in the header's flags), and the copy that hides the gallery when it is on.
  void closeAfterCopyFromTheSmallForm() {
    Gallery g;
    g.window.showGallery();
    const auto fromSmall = g.window.slotMenu(0, g.window.smallForm(), GalleryForm::Small);
    QVERIFY(g.item(*fromSmall, "ﾌｧｲﾙから開く") == nullptr);
    QVERIFY(g.item(*fromSmall, "ﾀｲﾄﾙの変更") == nullptr);
    QVERIFY(g.window.slotMenu(0, &g.window)->findChild<QAction*>("closeAfterCopy") == nullptr);
    auto* check = fromSmall->findChild<QAction*>("closeAfterCopy");
    QVERIFY(check != nullptr && !check->isChecked());
    check->trigger();
    QCOMPARE(g.b.storedHeader().flags, 1);
    // From the normal form's menu the gallery stays.
    g.item(*g.window.slotMenu(0, &g.window), "画像１へコピー")->trigger();
    QVERIFY(g.window.galleryShown());
    g.item(*g.window.slotMenu(0, g.window.smallForm(), GalleryForm::Small), "画像２へコピー")
        ->trigger();
    QCOMPARE(g.copied, (QList<int>{0, 0}));
    QVERIFY(!g.window.galleryShown());
    QVERIFY(!g.b.bench.gallery.shown);
  }

  // Minimise gives the small form, maximise the normal one, and so does the menu item; each
  // switch is in the file at once, and the new form takes the old one's place.
  void formsSwitchAndTheHeaderKeepsThem() {
    Gallery g(0);
    g.window.showGallery();
    QVERIFY(g.window.isVisible());
    QCOMPARE(g.window.pos(), kHome);  // never placed: the standard position
    g.window.move(200, 150);
    g.window.saveHeaderNow();
    QCOMPARE(g.b.storedHeader().windowLeft, 200);
    QCOMPARE(g.b.storedHeader().windowTop, 150);
    g.window.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(g.window.smallForm()->isVisible());
    QVERIFY(!g.window.isVisible());
    QCOMPARE(g.window.smallForm()->pos(), QPoint(200, 150));
    QCOMPARE(g.b.storedHeader().displayForm, 1);
    g.window.smallForm()->setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(g.window.isVisible());
    QVERIFY(!g.window.smallForm()->isVisible());
    QCOMPARE(g.b.storedHeader().displayForm, 0);
    const auto menu = g.window.slotMenu(1, &g.window);
    QCOMPARE(menu->actions().back()->text(), QString::fromUtf8("小型"));
    menu->actions().back()->trigger();
    QVERIFY(g.window.smallForm()->isVisible());
    QVERIFY(g.b.bench.gallery.shown);
    QCOMPARE(g.b.storedHeader().displayForm, 1);
  }

  // A header from the file with values out of range: the default form, page 0, and the
  // standard position.
  void hostileHeaderValuesFallBack() {
    GalleryBench b;
    persist::GalleryInformation hostile = b.bench.settings.gallery->info;
    hostile.header.displayForm = 7;
    hostile.header.firstShownSlot = 13;
    hostile.header.windowLeft = INT_MIN;
    hostile.header.windowTop = INT_MAX;
    bool keepBad = false;
    QVERIFY(persist::saveGalleryInformation(b.folder.path(), hostile, {}, b.user, keepBad));
    QCOMPARE(persist::loadGalleryInformation(b.folder.path(), b.bench.settings.gallery->info,
                                             b.user, false, keepBad),
             persist::LoadStatus::Loaded);
    QVERIFY(startGallery(b.bench, b.user));
    GalleryHost host;
    host.homePosition = [](QSize) { return kHome; };
    host.screenArea = QRect(0, 0, 1024, 768);
    GalleryWindow gallery(b.bench, b.user, host);
    gallery.showGallery();
    QCOMPARE(gallery.form(), GalleryForm::Small);
    QCOMPARE(gallery.firstShownSlot(), 0);
    QCOMPARE(gallery.smallForm()->pos(), kHome);
  }

  // A stored place is taken when the title bar starts on the screen, moved in so that the
  // whole form lies on it; else the standard position.
  void storedPositionsAreMovedOntoTheScreen_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QPoint>("expected");  // (-1, -1): moved in against the right or bottom
    QTest::newRow("unset") << 0 << 0 << kHome;
    QTest::newRow("inside") << 200 << 150 << QPoint(200, 150);
    QTest::newRow("bottom edge") << 100 << 744 << QPoint(-1, -1);
    QTest::newRow("below") << 100 << 745 << kHome;
    QTest::newRow("right edge") << 960 << 10 << QPoint(-1, -1);
    QTest::newRow("right") << 961 << 10 << kHome;
    QTest::newRow("left") << -3000 << 10 << kHome;
    QTest::newRow("extremes") << INT_MAX << INT_MIN << kHome;
  }
  void storedPositionsAreMovedOntoTheScreen() {
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QPoint, expected);
    Gallery g;
    g.b.header().windowLeft = left;
    g.b.header().windowTop = top;
    g.window.showGallery();
    const QRect placed = g.window.smallForm()->frameGeometry();
    QVERIFY(g.area.contains(placed));
    if (expected != QPoint(-1, -1)) {
      QCOMPARE(placed.topLeft(), expected);
    } else {
      QVERIFY(placed.left() == left || placed.top() == top);
      QVERIFY(placed.right() == g.area.right() || placed.bottom() == g.area.bottom());
    }
  }

  // "通常型" from a small form at the screen's right or bottom edge: the wider normal form
  // takes the small form's place moved in, wholly on the screen; so does the way back.
  void switchedFormsLieWhollyOnTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1024x768") << QSize(1024, 768);
    QTest::newRow("1280x1024") << QSize(1280, 1024);
  }
  void switchedFormsLieWhollyOnTheScreen() {
    QFETCH(QSize, screen);
    Gallery g(1, screen);
    g.window.showGallery();
    QWidget* small = g.window.smallForm();
    small->move(screen.width() - small->frameGeometry().width(),
                screen.height() - small->frameGeometry().height());
    QVERIFY(g.area.contains(small->frameGeometry()));
    g.item(*g.window.slotMenu(0, small, GalleryForm::Small), "通常型")->trigger();
    QVERIFY(g.window.isVisible());
    QVERIFY2(g.area.contains(g.window.frameGeometry()),
             qPrintable(QString("normal form at %1,%2 %3x%4")
                            .arg(g.window.frameGeometry().x())
                            .arg(g.window.frameGeometry().y())
                            .arg(g.window.frameGeometry().width())
                            .arg(g.window.frameGeometry().height())));
    g.window.move(screen.width() - 40, 0);  // the title bar's start still on the screen
    g.item(*g.window.slotMenu(0, &g.window), "小型")->trigger();
    QVERIFY(small->isVisible());
    QVERIFY(g.area.contains(small->frameGeometry()));
  }

  // Every control of both forms and every item of the pop-up menus explains itself.
  void everyControlAndMenuItemHasQuickHelp() {
    Gallery g(0);
    QStringList missing;
    for (QWidget* control : g.window.findChildren<QWidget*>()) {
      const QString name = control->objectName();
      const bool isControl = qobject_cast<QAbstractButton*>(control) != nullptr ||
                             qobject_cast<QComboBox*>(control) != nullptr ||
                             qobject_cast<QLineEdit*>(control) != nullptr ||
                             name.startsWith("thumbnail") || name.startsWith("small") ||
                             name == "all" || name == "GalleryPreview";
      if (isControl && quickHelpOf(control).isEmpty()) missing << name;
    }
    for (const auto& menu :
         {g.window.slotMenu(0, &g.window), g.window.slotMenu(1, &g.window),
          g.window.slotMenu(0, &g.window, GalleryForm::Small), g.window.galleryMenu(&g.window)}) {
      for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->property(kQuickHelpProperty).toString().isEmpty()) {
          missing << action->text();
        }
      }
    }
    QCOMPARE(missing, QStringList());
  }

  // 40111: the gallery's top-right corner at the main window's, just below the top row of
  // title strips, on the screen, covering no pane's title; the place is stored.
  void command40111PutsTheGalleryBelowTheTitles_data() {
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1024x768") << QSize(1024, 768);
    QTest::newRow("1280x1024") << QSize(1280, 1024);
  }
  void command40111PutsTheGalleryBelowTheTitles() {
    QFETCH(QSize, screen);
    GalleryBench b;
    b.bench.gallery.available = true;
    WorkbenchWindow window(b.bench, b.user, screen);
    window.show();
    QVERIFY(window.menuAction(kGalleryHome)->isEnabled());
    window.runCommand(kGalleryHome);
    auto* gallery = window.findChild<GalleryWindow*>("Gallery");
    QWidget* small = gallery->smallForm();
    QVERIFY(small->isVisible());
    const QRect placed = small->frameGeometry();
    const QLabel* image2 = window.titleStrip(3);
    QCOMPARE(placed.top(), image2->mapToGlobal(QPoint(0, image2->height())).y());
    QCOMPARE(placed.right(), std::min(window.frameGeometry().right(), screen.width() - 1));
    for (const QLabel* strip : window.findChildren<QLabel*>(
             QRegularExpression("^TitleStrip"), Qt::FindChildrenRecursively)) {
      const QRect title(strip->mapToGlobal(QPoint(0, 0)), strip->size());
      QVERIFY2(!title.intersects(placed), qPrintable(strip->text()));
    }
    QVERIFY(QRect(QPoint(0, 0), screen).contains(placed));
    QCOMPARE(b.storedHeader().windowLeft, placed.left());
    QCOMPARE(b.storedHeader().windowTop, placed.top());
  }
};

QTEST_MAIN(GalleryFormsTest)
#include "test_gallery_forms.moc"
