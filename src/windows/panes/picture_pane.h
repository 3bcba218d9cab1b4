#pragma once
#include <QImage>
#include <optional>

#include "processing/picture_thumbnail.h"
#include "windows/panes/pane_menus.h"

namespace vemla {

// A picture pane (Port1, Port2): the thumbnail of the shifted picture the refresh chain built,
// drawn through the picture's palette, with the outline of what the image panes show in
// RangeFrameColour. A left click moves the cursor there; a right click opens the pane menu; files
// may be dropped on it.
class PicturePane final : public PaneWidget {
  Q_OBJECT
 public:
  PicturePane(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
              PaneHost& host, PictureSlot picture, QWidget* parent = nullptr);

  // Draws the workbench's thumbnail again and repaints (after every picture or view change).
  void refresh();

  const PictureThumbnail& thumbnail() const;
  // The outline as it is drawn now, if any.
  std::optional<ThumbnailOutline> outline() const;
  // The raster as it is drawn (before the outline).
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  PictureSlot picture_;
  QImage image_;
};

}  // namespace vemla
