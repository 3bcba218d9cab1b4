// Window tests, run offscreen: the 3D tool's window and its whole display, and the partial
// comparison window, in the real main window chosen through the tool bar.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>
#include <vector>

#include "support/tool_window_fixture.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "windows/tools/partial_window.h"
#include "windows/tools/relief_window.h"
#include "windows/tools/tool_area.h"
#include "workbench/commands/command_ids.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/tools/relief_tool.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

using vemla::testing::find;

// The main window over a 64 x 48 pair: picture 1 holds 2x + y, picture 2 the constant 100.
struct Fixture : vemla::testing::ToolWindowFixture {
  Fixture() {
    openPair(
        64, 48, [](int x, int y) { return 2 * x + y; }, 100);
  }
  ToolInformation* area() const { return window->findChild<ToolInformation*>("ToolInformation"); }
  void choose(int command) const { QTest::mouseClick(barButton(command), Qt::LeftButton); }
};

}  // namespace

class ReliefPartialWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void slidersRedrawAtOnceAndTheWholeDisplayClosesItsSwitch() {
    Fixture f;
    f.choose(k3DTool);
    ReliefWindow* relief = f.area()->reliefWindow();
    QVERIFY(relief != nullptr && relief->isVisible());
    QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（３Ｄ）")));
    const std::vector<std::uint8_t> before = f.bench.tools.relief.raster;
    find<QSlider>(relief, "AngleXSlider")->setValue(90);
    QCOMPARE(reliefSettings(f.bench).angleX, 90);
    QVERIFY(f.bench.tools.relief.raster != before);
    find<QSlider>(relief, "Depth")->setValue(512);
    QCOMPARE(reliefSettings(f.bench).depth, 512);

    QTest::mouseClick(find<QCheckBox>(relief, "Whole"), Qt::LeftButton);
    ReliefWholeWindow* whole = relief->wholeWindow();
    QVERIFY(whole != nullptr && whole->isVisible());
    QCOMPARE(whole->objectName(), QString("_3DImage"));
    QVERIFY(
        whole->windowTitle().startsWith(QString::fromUtf8("(ｲﾒｰｼﾞ)  (X,Y)=(32,24) 1倍 Ｘ角度:90")));
    whole->close();
    QVERIFY(!reliefSwitches(f.bench).whole);
    QVERIFY(!find<QCheckBox>(relief, "Whole")->isChecked());

    // Choosing another tool closes the whole display.
    QTest::mouseClick(find<QCheckBox>(relief, "Whole"), Qt::LeftButton);
    QVERIFY(relief->wholeWindow()->isVisible());
    f.choose(kProfileTool);
    QVERIFY(!relief->wholeWindow()->isVisible());
    QVERIFY(!relief->isVisible());
  }

  void partialTakingFollowsTheCursorAndShiftsAfterwards() {
    Fixture f;
    f.choose(kPartialComparisonTool);
    PartialWindow* partial = f.area()->partialWindow();
    QVERIFY(partial != nullptr && partial->isVisible());
    auto* left = find<QPushButton>(partial, "ShiftLeft");
    QVERIFY(!left->isEnabled());  // nothing taken yet

    QTest::mouseClick(find<QCheckBox>(partial, "TakeReference"), Qt::LeftButton);
    const tools::Part& reference = f.bench.tools.partial.comparison.reference;
    QVERIFY(reference.taken);
    const std::vector<std::uint8_t> atCentre = reference.pixels;
    setCursorPosition(f.bench, 10, 40);  // a 64 x 48 picture fits the view: the part moves
    QVERIFY(reference.pixels != atCentre);
    QTest::mouseClick(find<QCheckBox>(partial, "TakeReference"), Qt::LeftButton);

    QTest::mouseClick(find<QCheckBox>(partial, "TakeComparison"), Qt::LeftButton);
    QVERIFY(!left->isEnabled());  // while taking
    QTest::mouseClick(find<QCheckBox>(partial, "TakeComparison"), Qt::LeftButton);
    QVERIFY(left->isEnabled());
    QTest::mouseClick(left, Qt::LeftButton);
    QCOMPARE(find<QLabel>(partial, "ShiftX")->text(), QString::fromUtf8("←0+1/16"));
    QCOMPARE(find<QLabel>(partial, "ShiftY")->text(), QString::fromUtf8("(y) 0+0"));
    QVERIFY(!find<QLineEdit>(partial, "Max")->text().isEmpty());
    QTest::mouseClick(find<QPushButton>(partial, "ShiftClear"), Qt::LeftButton);
    QCOMPARE(find<QLabel>(partial, "ShiftX")->text(), QString::fromUtf8("(x) 0+0"));

    // A click in the difference part selects it for the read-out.
    QTest::mouseClick(partial, Qt::LeftButton, {}, QPoint(338 + 20, 30));
    QCOMPARE(f.bench.tools.partial.clickedPart, 2);
    QCOMPARE(f.window->focusWidget(), f.window->imagePane(ImageSlot::First));

    // The profile read-out of the reference part draws its lines in the profile colours: the
    // reference taken again elsewhere, so the two lines differ.
    setCursorPosition(f.bench, 40, 10);
    QTest::mouseClick(find<QCheckBox>(partial, "TakeReference"), Qt::LeftButton);
    QTest::mouseClick(find<QCheckBox>(partial, "TakeReference"), Qt::LeftButton);
    f.bench.options.ProfileColour1 = rgb(0, 0, 255);
    f.bench.options.ProfileColour2 = rgb(255, 0, 255);
    QTest::mouseClick(find<QRadioButton>(partial, "ReadoutProfile"), Qt::LeftButton);
    QTest::mouseClick(partial, Qt::LeftButton, {}, QPoint(84, 84));  // the cursor's row
    const QImage drawn = find<QWidget>(partial, "PartialReadout")
                             ->grab()
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    std::array<int, 2> found{};
    for (int y = 0; y < drawn.height(); ++y) {
      for (int x = 0; x < drawn.width(); ++x) {
        found[0] += drawn.pixelColor(x, y) == QColor(0, 0, 255);
        found[1] += drawn.pixelColor(x, y) == QColor(255, 0, 255);
      }
    }
    QVERIFY2(found[0] > 50 && found[1] > 50,
             qPrintable(QString("%1 %2").arg(found[0]).arg(found[1])));
  }
};

QTEST_MAIN(ReliefPartialWindowsTest)
#include "test_relief_partial_windows.moc"
