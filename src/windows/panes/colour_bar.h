#pragma once
// The colour bar ("ImageColor") at the left of an image pane: which colour each grey value of
// the image is painted with, while "ﾊﾟﾚｯﾄ" is on.
#include <QImage>
#include <QWidget>

#include "workbench/workbench.h"

namespace vemla {

// 32 x 512: the ramp in the image's colour table (without the grid), 255 at the top, labelled
// white on black on its right, with a short mark at the value under the cursor while the cursor
// is shown.
QImage colourBarImage(const Workbench& bench, ImageSlot image);

class ColourBar : public QWidget, public WorkbenchListener {
 public:
  ColourBar(Workbench& bench, ImageSlot image, QWidget* parent);
  ~ColourBar() override;
  void picturesChanged() override { refresh(); }
  void panesChanged() override { refresh(); }
  void viewFlipped(ImageSlot image) override {
    if (isVisible() && image == image_) refresh();
  }
  // Shown while "ﾊﾟﾚｯﾄ" is on; repainted from the current colours and cursor.
  void refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Workbench& bench_;
  ImageSlot image_;
};

}  // namespace vemla
