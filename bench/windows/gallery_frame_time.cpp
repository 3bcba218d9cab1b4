// Frame time, run offscreen: turning a page of the normal form and painting the list window,
// both with 32 slots holding pictures. QBENCHMARK reports the time of a page turn with the
// window's painting and of the list's painting (a frame is 16 ms); nothing is asserted about
// time.
#include <QPushButton>
#include <QtTest>
#include <vector>

#include "gallery/thumbnail.h"
#include "support/gallery_window_fixture.h"
#include "windows/gallery/gallery_window.h"

using namespace vemla;

namespace {

// 32 picture slots with their thumbnails (painting reads no slot file).
struct FullGallery {
  testing::GalleryBench b{0, 32};
  FullGallery() {
    persist::HeldGallery& gallery = *b.bench.settings.gallery;
    for (std::size_t slot = 0; slot < 32; ++slot) {
      persist::GallerySlot& record = gallery.info.slotRecords[slot];
      record.kind = kSlotPicture;
      record.width = record.height = 256;
      record.title = "p";
      for (std::size_t i = 0; i < 256; ++i) {
        for (std::size_t c = 0; c < 3; ++c)
          record.palette[4 * i + c] = static_cast<std::uint8_t>(i);
      }
      for (std::size_t i = 0; i < kThumbnailBytes; ++i) {
        gallery.thumbnails[slot * kThumbnailBytes + i] =
            static_cast<std::uint8_t>(i * (slot + 1) / 97);
      }
    }
  }
};

}  // namespace

class GalleryFrameTime : public QObject {
  Q_OBJECT
 private slots:
  void pageTurn() {
    FullGallery g;
    QCOMPARE(galleryCount(g.b.bench), 32);
    GalleryWindow gallery(g.b.bench, g.b.user, {});
    gallery.showGallery();
    auto* next = gallery.findChild<QPushButton*>("nextPage");
    auto* first = gallery.findChild<QPushButton*>("firstPage");
    QImage frame(gallery.size(), QImage::Format_RGB32);
    int turns = 0;
    QBENCHMARK {
      (++turns % 8 == 0 ? first : next)->click();
      gallery.render(&frame);
    }
    QVERIFY(gallery.firstShownSlot() % 4 == 0);
  }

  void listWindowWith32Slots() {
    FullGallery g;
    GalleryWindow gallery(g.b.bench, g.b.user, {});
    GalleryListWindow* list = gallery.listWindow();
    list->show();
    QImage frame(list->size(), QImage::Format_RGB32);
    frame.fill(Qt::red);
    QBENCHMARK {
      list->render(&frame);
    }
    QVERIFY(frame.pixelColor(10, 10) != QColor(Qt::red));  // the list was painted
  }
};

QTEST_MAIN(GalleryFrameTime)
#include "gallery_frame_time.moc"
