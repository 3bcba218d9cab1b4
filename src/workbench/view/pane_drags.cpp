#include "workbench/view/pane_drags.h"

#include <algorithm>
#include <cstdlib>

#include "processing/reduced_display.h"
#include "workbench/view/pane_clicks.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// One axis of a slide: the picture point `cursor` comes to cell `cell` of the view. Where the
// picture is larger than the pane the extraction origin moves first; the magnified window takes
// what the origin's limits leave.
void slideAxis(int size, int cursor, int cell, int visible, int& origin, int& window) {
  if (size > kViewSize) origin = std::clamp(cursor - cell - window, 0, size - kViewSize);
  window = std::clamp(cursor - cell - origin, 0, kViewSize - visible);
}

}  // namespace

bool viewCanSlide(int width, int height, const ViewSettings& settings) {
  if (showsReduced(settings, width, height)) return false;
  return settings.magnification > 1 || width > kViewSize || height > kViewSize;
}

std::optional<ViewPlacement> slidPlacement(int width, int height, const ViewSettings& settings,
                                           const ViewPlacement& placement, int cursorX, int cursorY,
                                           const DragState& drag, int u, int v, int minimumMove) {
  if (!viewCanSlide(width, height, settings)) return std::nullopt;
  if (std::abs(u - drag.lastU) < minimumMove && std::abs(v - drag.lastV) < minimumMove) {
    return std::nullopt;
  }
  const std::optional<PaneCell> cell = imagePaneCell(width, height, settings, placement, u, v);
  if (!cell || (cell->x == cursorX && cell->y == cursorY)) return std::nullopt;
  const int m = std::clamp(settings.magnification, 1, kMaxMagnification);
  const int visible = visibleCells(m);
  const ViewPlacement kept = keptPlacement(placement, m);
  ViewPlacement slid = kept;
  slideAxis(width, cursorX, u / m, visible, slid.originX, slid.windowColumn);
  slideAxis(height, cursorY, v / m, visible, slid.originY, slid.windowRow);
  if (slid == kept) return std::nullopt;
  return slid;
}

bool slideView(Workbench& bench, DragState& drag, int u, int v) {
  if (!drag.active || !bench.pictures.picturesPresent || !bench.options.DragMovesImage) {
    return false;
  }
  const std::optional<ViewPlacement> slid = slidPlacement(
      bench.pictures.width, bench.pictures.height, viewSettingsOf(bench), bench.view.placement,
      bench.view.centreX, bench.view.centreY, drag, u, v, bench.options.DragMinimumMove);
  if (!slid) return false;
  bench.view.placement = *slid;
  drag.lastU = u;
  drag.lastV = v;
  renderPanes(bench, true);
  return true;
}

}  // namespace vemla
