// Frame time, run offscreen: while a profile segment or a measured length follows the mouse,
// one mouse move repaints the tool window and both image panes. QBENCHMARK reports the time
// of a move and its three repaints (a frame is 16 ms); nothing is asserted about time.
#include <QtTest>
#include <vector>

#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "windows/tools/tool_area.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/tools/profile_tool.h"
#include "workbench/tools/tool_frame.h"

using namespace vemla;

class ToolFrameTime : public QObject {
  Q_OBJECT
 private slots:
  void segmentFollowingTheMouse_data() {
    QTest::addColumn<int>("tool");
    QTest::newRow("profile") << static_cast<int>(tools::Tool::Profile);
    QTest::newRow("measurement") << static_cast<int>(tools::Tool::Measurement);
  }

  void segmentFollowingTheMouse() {
    QFETCH(int, tool);
    testing::TempDir folder;
    Workbench bench;
    testing::RecordingPort user;
    bench.settings.folder = folder.path();
    bench.options = Options{};
    QVERIFY(bench.store.allocate(1024, 1024));
    WorkbenchWindow window(bench, user, QSize(1920, 1200));
    window.show();
    std::vector<std::uint8_t> picture(1024 * 1024);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint8_t>(i * 7);
    MemoryPictures pictures;
    pictures.width = pictures.height = 1024;
    pictures.pixels = {picture.data(), picture.data()};
    QCOMPARE(setPicturesFromMemory(bench, user, pictures), 0);
    selectTool(bench, static_cast<tools::Tool>(tool));
    if (bench.tools.active == tools::Tool::Profile) {
      tools::ProfileWord settings = profileSettings(bench);
      settings.direction = 2;
      setProfileSettings(bench, settings);
    }
    ImagePane* first = window.imagePane(ImageSlot::First);
    ImagePane* second = window.imagePane(ImageSlot::Second);
    QWidget* toolArea = window.findChild<ToolInformation*>("ToolInformation");
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(20, 30));
    int step = 0;
    QBENCHMARK {
      const QPoint at(100 + step % 300, 400 - step % 200);
      ++step;
      QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(first->mapToGlobal(at)),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(first, &move);
      first->repaint();
      second->repaint();
      toolArea->repaint();
    }
    QVERIFY(step > 0);
  }
};

QTEST_MAIN(ToolFrameTime)
#include "tool_frame_time.moc"
