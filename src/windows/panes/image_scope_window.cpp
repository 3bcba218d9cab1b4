#include "windows/panes/image_scope_window.h"

#include <QPainter>
#include <QRegion>
#include <cstring>

#include "picture/picture_store.h"

namespace vemla {
namespace {

Plane planeOf(ScopeSource source) {
  switch (source) {
    case ScopeSource::Picture1:
      return shiftedPlane(PictureSlot::First);
    case ScopeSource::Picture2:
      return shiftedPlane(PictureSlot::Second);
    case ScopeSource::Image1:
      return kImage1;
    case ScopeSource::Image2:
      return kImage2;
  }
  return kImage1;
}

}  // namespace

ImageScopeWindow::ImageScopeWindow(const Workbench& bench, QWidget* parent)
    : QWidget(parent),
      bench_(bench),
      raster_(static_cast<std::size_t>(kScopeSize) * kScopeSize, 0) {
  setObjectName("ImageScope");
  setFixedSize(kScopeSize, kScopeSize);
  setMask(QRegion(0, 0, kScopeSize, kScopeSize, QRegion::Ellipse));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  image_ = QImage(kScopeSize, kScopeSize, QImage::Format_Indexed8);
  QList<QRgb> colours;
  for (const Rgb& entry : scopePalette()) colours << qRgb(entry.red, entry.green, entry.blue);
  image_.setColorTable(colours);
  hide();
}

void ImageScopeWindow::showFor(ScopeSource source, QPoint topLeft, int x, int y) {
  const PictureState& pictures = bench_.pictures;
  if (!pictures.picturesPresent || x < 0 || y < 0 || x >= pictures.width || y >= pictures.height)
    return;
  source_ = source;
  x_ = x;
  y_ = y;
  move(topLeft);
  show();
  raise();
  update();
}

void ImageScopeWindow::paintRaster() {
  ScopeRequest request;
  request.pixels = bench_.store.plane(planeOf(source_));
  request.width = bench_.pictures.width;
  request.height = bench_.pictures.height;
  request.x = x_;
  request.y = y_;
  request.magnification = bench_.options.ScopeMagnification;
  request.interpolate = bench_.view.zoomInterpolation;
  request.zoomMode = bench_.options.ZoomInterpolation;
  paintScope(request, raster_.data(), work_);
  for (int row = 0; row < kScopeSize; ++row) {
    std::memcpy(image_.scanLine(row), raster_.data() + static_cast<std::size_t>(row) * kScopeSize,
                kScopeSize);
  }
}

void ImageScopeWindow::paintEvent(QPaintEvent*) {
  // Magnification and pictures may have changed since the request: paint from the workbench
  // as it is now.
  if (bench_.pictures.picturesPresent && x_ < bench_.pictures.width &&
      y_ < bench_.pictures.height) {
    paintRaster();
  }
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
  if (focusTarget_ != nullptr && focusTarget_->isVisible()) focusTarget_->setFocus();
}

void ImageScopeWindow::enterEvent(QEnterEvent*) {
  hide();
  if (focusTarget_ != nullptr && focusTarget_->isVisible()) focusTarget_->setFocus();
}

}  // namespace vemla
