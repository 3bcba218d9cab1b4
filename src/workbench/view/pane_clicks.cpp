#include "workbench/view/pane_clicks.h"

#include <algorithm>

#include "processing/reduced_display.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

void placeCursorAtCell(Workbench& bench, const PaneCell& cell, bool centre) {
  ViewState& view = bench.view;
  view.centreX = cell.x;
  view.centreY = cell.y;
  view.fineX = cell.fineX;
  view.fineY = cell.fineY;
  if (centre || cell.reduced) {
    renderPanes(bench, false);
  } else {
    bench.notifyPanesChanged();
  }
}

std::optional<PaneCell> imagePaneCell(int width, int height, const ViewSettings& settings,
                                      const ViewPlacement& placement, int u, int v) {
  if (width <= 0 || height <= 0 || u < 0 || v < 0 || u >= kViewSize || v >= kViewSize) {
    return std::nullopt;
  }
  if (showsReduced(settings, width, height)) {
    const ReducedGeometry geometry = reducedGeometry(width, height);
    const int du = u - geometry.left, dv = v - geometry.top;
    if (du < 0 || dv < 0 || du >= geometry.width || dv >= geometry.height) return std::nullopt;
    return PaneCell{static_cast<int>(static_cast<long long>(du) * width / geometry.width),
                    static_cast<int>(static_cast<long long>(dv) * height / geometry.height), 0, 0,
                    true};
  }
  const int m = std::clamp(settings.magnification, 1, kMaxMagnification);
  const ViewPlacement kept = keptPlacement(placement, m);
  const long long x = static_cast<long long>(kept.originX) + kept.windowColumn + u / m;
  const long long y = static_cast<long long>(kept.originY) + kept.windowRow + v / m;
  if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
  return PaneCell{static_cast<int>(x), static_cast<int>(y), u % m, v % m, false};
}

std::optional<PaneCell> imagePaneCellOf(const Workbench& bench, int u, int v) {
  if (!bench.pictures.picturesPresent) return std::nullopt;
  return imagePaneCell(bench.pictures.width, bench.pictures.height, viewSettingsOf(bench),
                       bench.view.placement, u, v);
}

bool clickImagePane(Workbench& bench, int u, int v, bool centre) {
  const std::optional<PaneCell> cell = imagePaneCellOf(bench, u, v);
  if (!cell) return false;
  placeCursorAtCell(bench, *cell, centre);
  return true;
}

bool clickThumbnail(Workbench& bench, const PictureThumbnail& thumbnail, int u, int v) {
  if (!bench.pictures.picturesPresent) return false;
  const std::optional<PicturePoint> point =
      thumbnailPicturePoint(thumbnail, bench.pictures.width, bench.pictures.height, u, v);
  if (!point) return false;
  setCursorPosition(bench, point->x, point->y);
  return true;
}

}  // namespace vemla
