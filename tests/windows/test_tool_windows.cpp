// Window tests, run offscreen: the tool area and its bar in the real main window, choosing the
// gradation value tool through the menu and the bar, its grid and controls, the pair window,
// the operator dialog, the profile and measurement windows, and image pane input reaching the
// active tool.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <functional>
#include <vector>

#include "support/tool_window_fixture.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "windows/tools/gradation_window.h"
#include "windows/tools/held_spin_box.h"
#include "windows/tools/measurement_window.h"
#include "windows/tools/profile_window.h"
#include "windows/tools/tool_area.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/tools/gradation_tool.h"
#include "workbench/tools/measurement_tool.h"
#include "workbench/tools/profile_tool.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/view_controls.h"

using namespace vemla;
using vemla::testing::RecordingPort;
using vemla::testing::TempDir;

namespace {

using vemla::testing::find;

// Picture 1 of the pair holds x + y, picture 2 the constant 200.
struct Fixture : vemla::testing::ToolWindowFixture {
  void openPair() {
    ToolWindowFixture::openPair(
        40, 30, [](int x, int y) { return x + y; }, 200);
  }
  ProfileWindow* profile() const {
    return window->findChild<ToolInformation*>("ToolInformation")->profileWindow();
  }
  MeasurementWindow* measurement() const {
    return window->findChild<ToolInformation*>("ToolInformation")->measurementWindow();
  }
  GradationWindow* gradation() const {
    return window->findChild<ToolInformation*>("ToolInformation")->gradationWindow();
  }
  QWidget* focused() const { return window->focusWidget(); }
};

// A mouse move with no button held, as the pointer passes over a pane.
void hover(QWidget* widget, QPoint at) {
  QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

QPoint cellCentre(int column, int row) {
  return {36 + column * 27 + 13, 29 + row * 13 + 6};
}

}  // namespace

class ToolWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void toolsNeedPicturesAndReselectingChangesNothing() {
    Fixture f;
    QVERIFY(!f.barButton(kGradationTool)->isEnabled());
    QVERIFY(f.barButton(kMemo)->isEnabled());
    f.openPair();
    QVERIFY(f.barButton(kGradationTool)->isEnabled());
    QTest::mouseClick(f.barButton(kGradationTool), Qt::LeftButton);
    QCOMPARE(f.bench.tools.active, tools::Tool::Gradation);
    QVERIFY(f.gradation()->isVisible());
    QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（階調値）")));
    QVERIFY(f.barButton(kGradationTool)->isChecked());
    f.window->updateCommandStates();
    QVERIFY(f.window->menuAction(kGradationTool)->isChecked());
    // The menu item of the active tool: nothing changes, the button stays checked.
    const QString title = f.window->windowTitle();
    f.window->menuAction(kGradationTool)->trigger();
    QCOMPARE(f.window->windowTitle(), title);
    QVERIFY(f.barButton(kGradationTool)->isChecked());
    QCOMPARE(f.focused(), f.window->imagePane(ImageSlot::First));
  }

  void gridClickMovesTheCursorAndControlsRepaint() {
    Fixture f;
    f.openPair();
    f.window->runCommand(kGradationTool);
    setCursorPosition(f.bench, 10, 12);
    auto* grid = find<QWidget>(f.gradation(), "GradationGrid");
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellCentre(16, 0));
    QCOMPARE(f.bench.view.centreX, 18);
    QCOMPARE(f.bench.view.centreY, 4);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(20, 100));  // the row numbers: nothing
    QCOMPARE(f.bench.view.centreX, 18);
    QTest::mouseClick(find<QPushButton>(f.gradation(), "Hex"), Qt::LeftButton);
    QVERIFY(gradationSettings(f.bench).hex);
    QCOMPARE(QString::fromStdString(f.bench.tools.gradation.grid->cells[8][8].text),
             QString("  16"));  // 18 + 4
    QTest::mouseClick(find<QPushButton>(f.gradation(), "Maximum"), Qt::LeftButton);
    QVERIFY(f.bench.tools.gradation.highlightMax);
    QCOMPARE(f.focused(), f.window->imagePane(ImageSlot::First));
  }

  // The whole 17 x 17 block stays in sight: the grid keeps its full height in the tool area and
  // every button lies below it, inside the window.
  void gradationButtonsLeaveTheWholeBlockInSight() {
    Fixture f;
    f.openPair();
    f.window->runCommand(kGradationTool);
    QWidget* tool = f.gradation();
    auto* grid = find<QWidget>(tool, "GradationGrid");
    QCOMPARE(grid->height(), grid->maximumHeight());
    for (QAbstractButton* button : tool->findChildren<QAbstractButton*>()) {
      const QRect at(button->mapTo(tool, QPoint(0, 0)), button->size());
      QVERIFY2(at.top() > grid->geometry().bottom() && at.bottom() < tool->height(),
               qPrintable(button->objectName() + QString(" %1..%2 grid to %3 window %4")
                                                     .arg(at.top())
                                                     .arg(at.bottom())
                                                     .arg(grid->geometry().bottom())
                                                     .arg(tool->height())));
    }
  }

  void pairDisplayOpensImageOneBesideAndClosesWithTheTool() {
    Fixture f;
    f.openPair();
    f.window->runCommand(kGradationTool);
    // Closed by its "閉じる", or by its title bar's close button (close()): the same.
    const std::function<void(QWidget*)> closings[] = {
        [](QWidget* pair) { QTest::mouseClick(find<QPushButton>(pair, "Close"), Qt::LeftButton); },
        [](QWidget* pair) { QVERIFY(pair->close()); }};
    for (const auto& closePair : closings) {
      QTest::mouseClick(find<QPushButton>(f.gradation(), "Pair"), Qt::LeftButton);
      QWidget* pair = f.gradation()->pairWindow();
      QVERIFY(pair != nullptr && pair->isVisible());
      QCOMPARE(pair->windowTitle(), QString::fromUtf8("（階調値）イメージ１"));
      QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（階調値）イメージ２")));
      QVERIFY(!find<QPushButton>(f.gradation(), "Swap")->isEnabled());
      closePair(pair);
      QVERIFY(f.gradation()->pairWindow() == nullptr);
      QVERIFY(!gradationSettings(f.bench).pair);
      QVERIFY(!find<QPushButton>(f.gradation(), "Pair")->isChecked());
      QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（階調値）")));
      QVERIFY(find<QPushButton>(f.gradation(), "Swap")->isEnabled());
    }
    // Turned on again, then left by switching to another tool.
    QTest::mouseClick(find<QPushButton>(f.gradation(), "Pair"), Qt::LeftButton);
    QVERIFY(f.gradation()->pairWindow() != nullptr);
    selectTool(f.bench, tools::Tool::Measurement);
    QVERIFY(f.gradation()->pairWindow() == nullptr);
    QVERIFY(!f.gradation()->isVisible());
    QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（測定）")));
  }

  void operatorDialogStoresFieldsAndZeroForBadOnes() {
    Fixture f;
    f.openPair();
    f.window->runCommand(kGradationTool);
    QTest::mouseClick(find<QPushButton>(f.gradation(), "EditOperator2"), Qt::LeftButton);
    auto* dialog = find<QDialog>(f.gradation(), "OperatorDialog");
    QCOMPARE(dialog->windowTitle(), QString::fromUtf8("ｵﾍﾟﾚｰﾀ2"));
    const char* texts[9] = {"1", "x", "99999999999", "0", "-2147483648", "0", "0", "0", "7"};
    for (int i = 0; i < 9; ++i) {
      find<QLineEdit>(dialog, QString("Coefficient%1").arg(i + 1))->setText(texts[i]);
    }
    find<QCheckBox>(dialog, "Absolute")->setChecked(false);
    QTest::mouseClick(find<QPushButton>(dialog, "OK"), Qt::LeftButton);
    const tools::GradationOperator op = gradationOperator(f.bench, 2);
    const std::array<std::int32_t, 9> expected{1, 0, 0, 0, INT32_MIN, 0, 0, 0, 7};
    QVERIFY(op.coefficients == expected);
    QVERIFY(!op.absolute);
  }

  // Down the cursor's column picture 1 reads x + y and picture 2 200; "自動" fits the range,
  // a click in the graph reads the values off, the arbitrary segment comes from the panes.
  void profileFollowsTheCursorAndThePanes() {
    Fixture f;
    f.openPair();
    QTest::mouseClick(f.barButton(kProfileTool), Qt::LeftButton);
    QVERIFY(f.profile()->isVisible());
    QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（ﾌﾟﾛﾌｧｲﾙ）")));
    setCursorPosition(f.bench, 10, 12);
    QTest::mouseClick(find<QRadioButton>(f.profile(), "DirectionY"), Qt::LeftButton);
    QTest::mouseClick(find<QRadioButton>(f.profile(), "ShowImage1"), Qt::LeftButton);
    // The 30 rows sit in view rows 241..270 around the fill of the view (0).
    QCOMPARE(find<QLineEdit>(f.profile(), "Max1")->text(), QString(" 39"));
    QCOMPARE(find<QLineEdit>(f.profile(), "Max2")->text(), QString("   "));
    QTest::mouseClick(find<QPushButton>(f.profile(), "Automatic"), Qt::LeftButton);
    QCOMPARE(profileSettings(f.bench).lower, 0);
    QCOMPARE(profileSettings(f.bench).upper, 45);
    QCOMPARE(find<QSpinBox>(f.profile(), "Upper")->value(), 45);
    QTest::mouseClick(find<QCheckBox>(f.profile(), "Readout"), Qt::LeftButton);
    // Graph column 241 - 10 shows picture row 0: 10 + 0.
    QTest::mouseClick(find<QWidget>(f.profile(), "ProfilePlot"), Qt::LeftButton, {},
                      QPoint(231, 50));
    QCOMPARE(QString::fromStdString(profileReadout(f.bench)), QString::fromUtf8("階調値: 10"));
    QCOMPARE(f.focused(), f.window->imagePane(ImageSlot::First));

    QTest::mouseClick(find<QRadioButton>(f.profile(), "DirectionArbitrary"), Qt::LeftButton);
    QVERIFY(f.bench.tools.profileContent.points.empty());
    ImagePane* pane = f.window->imagePane(ImageSlot::First);
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(236, 250));
    hover(pane, QPoint(246, 250));
    QCOMPARE(f.bench.tools.profileContent.points.size(), std::size_t{10});
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(246, 250));
    QCOMPARE(f.bench.tools.profileSegment.state(), tools::LineEntry::State::Fixed);
  }

  // The profiles are drawn in "ﾌﾟﾛﾌｧｲﾙ表示色" 1 and 2: as set on the dark background; on white a
  // colour too light to read (the yellow default) is darkened, keeping its hue.
  void profileLinesUseTheProfileColourOptions() {
    Fixture f;
    f.openPair();
    f.bench.options.ProfileColour1 = rgb(0, 0, 255);
    f.bench.options.ProfileColour2 = rgb(255, 0, 255);
    f.window->runCommand(kProfileTool);
    auto* plot = find<QWidget>(f.profile(), "ProfilePlot");
    const auto count = [&](QColor colour) {
      const QImage drawn = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
      int found = 0;
      for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) found += drawn.pixelColor(x, y) == colour;
      }
      return found;
    };
    QVERIFY(count(QColor(0, 0, 255)) > 20);    // picture 1 along its row
    QVERIFY(count(QColor(255, 0, 255)) > 20);  // picture 2: 200 all along
    f.bench.options.ProfileColour2 = rgb(255, 255, 0);
    QVERIFY(count(QColor(255, 255, 0)) == 0);
    QVERIFY(count(QColor(145, 145, 0)) > 20);  // 255 * 128 / luma 225
    QTest::mouseClick(find<QPushButton>(f.profile(), "Background"), Qt::LeftButton);
    QVERIFY(count(QColor(255, 255, 0)) > 20);
  }

  // "CSVで保存" writes the samples where the chooser says.
  void profileSavesItsSamplesAsCsv() {
    Fixture f;
    f.openPair();
    f.window->runCommand(kProfileTool);
    const QString path = QString::fromStdString(f.folder.file("p.csv"));
    f.profile()->setFileChooser([&](const QString&) { return path; });
    QTest::mouseClick(find<QPushButton>(f.profile(), "SaveCsv"), Qt::LeftButton);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), profileCsv(f.bench));
    QVERIFY(f.user.messages.isEmpty());
  }

  // "測定" from the bar; the controls drive the settings, a rectangle in pane 2 (constant 200)
  // fills the table, "▼" copies a row into "基準".
  void measurementWindowShowsResultsAndDrivesTheSettings() {
    Fixture f;
    f.openPair();
    QTest::mouseClick(f.barButton(kMeasurementTool), Qt::LeftButton);
    MeasurementWindow* window = f.measurement();
    QVERIFY(window != nullptr && window->isVisible());
    QVERIFY(f.window->windowTitle().endsWith(QString::fromUtf8("（測定）")));
    // Everything fits the 517 x 296 tool area.
    QVERIFY(window->minimumSizeHint().width() <= 517);
    QVERIFY(window->minimumSizeHint().height() <= 296);

    QTest::mouseClick(find<QPushButton>(window, "Length"), Qt::LeftButton);
    QTest::mouseClick(find<QRadioButton>(window, "Automatic"), Qt::LeftButton);
    QVERIFY(f.bench.tools.measure.settings.automatic);
    QVERIFY(find<QRadioButton>(window, "AlongY")->isEnabled());
    find<QSpinBox>(window, "EdgeLevel")->setValue(60);
    QCOMPARE(measureEdgeLevel(f.bench), 60);
    QTest::mouseClick(find<QPushButton>(window, "ResetEdgeLevel"), Qt::LeftButton);
    QCOMPARE(measureEdgeLevel(f.bench), f.bench.options.MeasureEdgeLevel);

    QTest::mouseClick(find<QPushButton>(window, "Area"), Qt::LeftButton);
    QVERIFY(f.bench.tools.measure.settings.area);
    QVERIFY(!find<QRadioButton>(window, "AlongY")->isEnabled());
    QVERIFY(!find<QRadioButton>(window, "BaseFull")->isEnabled());  // needs the link
    QTest::mouseClick(find<QCheckBox>(window, "Link"), Qt::LeftButton);
    QTest::mouseClick(find<QRadioButton>(window, "BaseFull"), Qt::LeftButton);
    QCOMPARE(f.bench.tools.measure.settings.base, tools::VolumeBase::Full);

    // 3 x 2 pixels of 200 inside the picture around the view centre: 6 x 255 - 1200 = 330.
    ImagePane* pane = f.window->imagePane(ImageSlot::Second);
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(250, 250));
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(252, 251));
    auto* table = find<QTableWidget>(window, "MeasureTable");
    QCOMPARE(table->item(3, 3)->text(), QString("330"));  // volume, image 2
    QCOMPARE(table->item(3, 6)->text(), QString());       // its reference
    QTest::mouseClick(find<QPushButton>(window, "CopyReference3"), Qt::LeftButton);
    QCOMPARE(table->item(3, 6)->text(), QString("330"));
    QCOMPARE(f.focused(), f.window->imagePane(ImageSlot::First));
  }

  // The wheel takes a large picture into the reduced display: with the measurement tool open
  // the operator is warned, once.
  void reducedDisplayWarnsWhileMeasuring() {
    Fixture f;
    std::vector<std::uint8_t> large(600 * 600, 50);
    MemoryPictures pictures;
    pictures.width = pictures.height = 600;
    pictures.pixels = {large.data(), large.data()};
    QCOMPARE(setPicturesFromMemory(f.bench, f.user, pictures), 0);
    selectTool(f.bench, tools::Tool::Measurement);
    ImagePane* pane = f.window->imagePane(ImageSlot::First);
    const auto wheelTowardsUser = [&] {
      QWheelEvent wheel(QPointF(100, 100), QPointF(pane->mapToGlobal(QPoint(100, 100))), QPoint(),
                        QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(pane, &wheel);
    };
    wheelTowardsUser();
    QVERIFY(f.bench.view.reducedDisplay);
    QCOMPARE(f.user.messages, QStringList{QString::fromUtf8(msg::kReducedMeasureWarning)});
    f.window->runCommand(kMeasurementTool);  // still the active tool
    setMagnification(f.bench, 1);
    wheelTowardsUser();
    QCOMPARE(f.user.messages.size(), 1);
  }

  // Held past its threshold an arrow takes the longer step; a new press starts counting again.
  void heldSpinArrowsTakeLongerSteps() {
    HeldSpinBox spin(
        8, [] { return 4; }, nullptr);
    spin.setRange(0, 1000);
    for (int i = 0; i < 8; ++i) spin.stepBy(1);
    QCOMPARE(spin.value(), 8);
    spin.stepBy(1);
    QCOMPARE(spin.value(), 12);
    QTest::keyClick(&spin, Qt::Key_Up);  // not a repeat: counts from 1 again
    QCOMPARE(spin.value(), 13);
  }

  void imagePaneInputFeedsTheMeasurementLine() {
    Fixture f;
    f.openPair();
    selectTool(f.bench, tools::Tool::Measurement);
    ImagePane* pane = f.window->imagePane(ImageSlot::Second);
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(100, 120));
    hover(pane, QPoint(140, 150));
    QCOMPARE(f.bench.tools.measureLine.state(), tools::LineEntry::State::Following);
    QCOMPARE(f.bench.tools.measureLine.end(), (ViewPoint{140, 150}));
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(150, 160));
    QCOMPARE(f.bench.tools.measureLine.state(), tools::LineEntry::State::Fixed);
  }
};

QTEST_MAIN(ToolWindowsTest)
#include "test_tool_windows.moc"
