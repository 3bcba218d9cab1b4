#pragma once
// The gallery's small form: one strip of slot numbers and "All". Holding the left button on a
// number shows that slot's picture in a preview beside the strip; the preview closes when the
// button is released anywhere but on it, and stays open when the pointer slid into it, where it
// takes the thumbnail's mouse actions (slot menu, double click) and file drops. "All" opens the
// list window; its right click offers the functions of the whole gallery.
#include <QWidget>
#include <vector>

#include "windows/gallery/gallery_window.h"

class QLabel;

namespace vemla {

class GallerySlotPreview;

class GallerySmallWindow : public QWidget {
  Q_OBJECT
 public:
  GallerySmallWindow(Workbench& bench, GalleryWindow& gallery, QWidget* parent);
  void refresh();
  GallerySlotPreview* preview() const { return preview_; }
  // The number label of `slot` (0-based), or "All" for -1.
  QLabel* numberLabel(int slot) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  Workbench& bench_;
  GalleryWindow& gallery_;
  std::vector<QLabel*> numbers_;
  QLabel* all_ = nullptr;
  GallerySlotPreview* preview_ = nullptr;
};

// The preview of one slot: its thumbnail at full size (or "Idle", "Data", "Over") under its list
// line.
class GallerySlotPreview : public QWidget {
  Q_OBJECT
 public:
  GallerySlotPreview(Workbench& bench, GalleryWindow& gallery, QWidget* parent);
  // Shows slot `slot` below `anchor` (kept on the anchor's screen).
  void showSlot(int slot, QWidget* anchor);
  int slot() const { return slot_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  Workbench& bench_;
  GalleryWindow& gallery_;
  int slot_ = -1;
  bool inMenu_ = false;  // a pop-up menu of the preview is open: leaving does not close it
};

}  // namespace vemla
