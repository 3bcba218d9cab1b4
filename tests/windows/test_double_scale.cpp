// Window test at 200 % (QT_SCALE_FACTOR=2, offscreen): every raster pixel of a pane, and every
// pixel of the lines drawn over it, is an exact 2 x 2 block of screen pixels of its own colour,
// never smoothed into its neighbours or moved by half a pixel.
#include <QApplication>
#include <QtTest>

#include "support/recording_port.h"
#include "windows/main/screen_fit.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/picture_pane.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;

namespace {

class NoHost : public PaneHost {
 public:
  void requestOpen(const QStringList&, OpenMode, bool) override {}
  void requestOpenArchive(const QString&) override {}
  void requestOpenRecent(PictureSlot, int) override {}
  void showHelp(QWidget*, const QString&) override {}
  bool grabScrollEnabled() const override { return false; }
  void grabScroll(QPoint) override {}
};

// Whether `shot` (at twice the size) repeats each pixel of `raster` as a 2 x 2 block.
bool doubledExactly(const QImage& raster, const QImage& shot) {
  if (shot.size() != raster.size() * 2) return false;
  for (int y = 0; y < raster.height(); ++y) {
    for (int x = 0; x < raster.width(); ++x) {
      const QRgb want = raster.pixel(x, y);
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
          if (shot.pixel(2 * x + dx, 2 * y + dy) != want) return false;
        }
      }
    }
  }
  return true;
}

}  // namespace

class DoubleScaleTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(bench_.store.allocate(1024, 1024));
    std::string name1 = VEMLA_SAMPLES "/scene1.bmp", name2 = VEMLA_SAMPLES "/scene2.bmp";
    QCOMPARE(openPictureFiles(bench_, user_, &name1, &name2, OpenMode::Both), 0);
  }

  void imagePaneShowsEveryPixelAsAWholeBlock() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    bench_.view.magnification = 3;  // odd sizes show smoothing at once
    ImagePane image(bench_, user_, busy_, progress_, host_, ImageSlot::Second);
    image.refresh();
    QVERIFY(doubledExactly(image.pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                           image.grab().toImage().convertToFormat(QImage::Format_RGB32)));
  }

  // The thumbnail with the outline of the magnified view: the screen shot at 200 % is the
  // pane painted at 100 %, doubled.
  void pictureOutlineCoversWholeBlocks() {
    bench_.view.magnification = 4;
    PicturePane picture(bench_, user_, busy_, progress_, host_, PictureSlot::First);
    picture.refresh();
    QImage single(picture.size(), QImage::Format_RGB32);
    single.setDevicePixelRatio(1);
    picture.render(&single);
    QVERIFY(doubledExactly(single,
                           picture.grab().toImage().convertToFormat(QImage::Format_RGB32)));
  }

 private:
  Workbench bench_;
  vemla::testing::RecordingPort user_;
  NoBusyPort busy_;
  NoProgressPort progress_;
  NoHost host_;
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  useWholeScaleFactors();
  QApplication app(argc, argv);
  DoubleScaleTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_double_scale.moc"
