// Frame time, run offscreen: one step of a drag of the 3D tool's angle slider in the real main
// window, with the relief drawn again and its window repainted. QBENCHMARK reports the time of
// a step (a frame is 16 ms); nothing is asserted about time.
#include <QSlider>
#include <QtTest>

#include "support/tool_window_fixture.h"
#include "windows/tools/relief_window.h"
#include "windows/tools/tool_area.h"
#include "workbench/commands/command_ids.h"

using namespace vemla;

class ReliefFrameTime : public QObject {
  Q_OBJECT
 private slots:
  void sliderDragFrame() {
    testing::ToolWindowFixture f;
    f.openPair(
        64, 48, [](int x, int y) { return 2 * x + y; }, 100);
    QTest::mouseClick(f.barButton(k3DTool), Qt::LeftButton);
    ReliefWindow* relief = f.window->findChild<ToolInformation*>("ToolInformation")->reliefWindow();
    auto* slider = testing::find<QSlider>(relief, "AngleXSlider");
    int angle = 0;
    QBENCHMARK {
      slider->setValue(angle = (angle + 7) % 360);
      relief->repaint();
    }
  }
};

QTEST_MAIN(ReliefFrameTime)
#include "relief_frame_time.moc"
