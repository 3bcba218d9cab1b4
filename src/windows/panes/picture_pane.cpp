#include "windows/panes/picture_pane.h"

#include <QMouseEvent>
#include <QPainter>

#include "windows/panes/picture_image.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// An option colour (0x00BBGGRR) for drawing.
QColor colourOf(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

PicturePane::PicturePane(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                         PaneHost& host, PictureSlot picture, QWidget* parent)
    : PaneWidget(bench, user, busy, progress, host, paneOf(picture), parent), picture_(picture) {
  setObjectName(picture == PictureSlot::First ? "Port1" : "Port2");
  setFixedSize(kPictureThumbnailWidth, kPictureThumbnailHeight);
  setMouseTracking(true);  // the image scope follows the mouse
  refresh();
}

const PictureThumbnail& PicturePane::thumbnail() const {
  return bench_.view.thumbnails[index(picture_)];
}

void PicturePane::refresh() {
  const PictureState& pictures = bench_.pictures;
  const Palette& palette =
      pictures.picturesPresent ? pictures.pictures[index(picture_)].palette : greyRamp();
  image_ = pictureImage(thumbnail().pixels.data(), kPictureThumbnailWidth, kPictureThumbnailHeight,
                        palette);
  update();
}

std::optional<ThumbnailOutline> PicturePane::outline() const {
  if (!bench_.pictures.picturesPresent) return std::nullopt;
  return thumbnailOutline(thumbnail(), bench_.pictures.width, bench_.pictures.height,
                          viewSettingsOf(bench_), bench_.view.placement);
}

void PicturePane::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(0, 0, image_);
  if (const std::optional<ThumbnailOutline> frame = outline()) {
    // The outline as four one-pixel bands: filled rectangles cover whole screen pixels at any
    // whole scale factor, where a pen's line would straddle two at 200 %.
    const QColor colour = colourOf(bench_.options.RangeFrameColour);
    const int left = frame->left, top = frame->top, w = frame->width, h = frame->height;
    painter.fillRect(QRect(left, top, w + 1, 1), colour);
    painter.fillRect(QRect(left, top + h, w + 1, 1), colour);
    painter.fillRect(QRect(left, top, 1, h + 1), colour);
    painter.fillRect(QRect(left + w, top, 1, h + 1), colour);
  }
}

void PicturePane::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    clickThumbnail(bench_, thumbnail(), at.x(), at.y());
  } else if (event->button() == Qt::RightButton) {
    openMenu(at, {});
  }
}

void PicturePane::mouseMoveEvent(QMouseEvent* event) {
  if (!bench_.shell.imageScope || !bench_.pictures.picturesPresent) return;
  const QPoint at = event->position().toPoint();
  if (const std::optional<PicturePoint> point = thumbnailPicturePoint(
          thumbnail(), bench_.pictures.width, bench_.pictures.height, at.x(), at.y())) {
    host_.showScope(picture_ == PictureSlot::First ? ScopeSource::Picture1 : ScopeSource::Picture2,
                    mapToGlobal(at), point->x, point->y);
  }
}

}  // namespace vemla
