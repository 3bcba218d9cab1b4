#include "workbench/view/view_controls.h"

#include <algorithm>

#include "processing/reduced_display.h"
#include "processing/view_rendering.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr int kMinGridWidth = 1, kMaxGridWidth = 20;

bool reducedPossible(const Workbench& bench) {
  return bench.pictures.picturesPresent && !fitsPane(bench.pictures.width, bench.pictures.height);
}

bool showsReducedDisplay(const Workbench& bench) {
  return showsReduced(viewSettingsOf(bench), bench.pictures.width, bench.pictures.height);
}

// Sets m unless the view already shows it; false when nothing changed.
bool changeMagnification(Workbench& bench, int magnification) {
  magnification = std::clamp(magnification, 1, kMaxMagnification);
  if (!showsReducedDisplay(bench) && bench.view.magnification == magnification) return false;
  setMagnification(bench, magnification);
  return true;
}

}  // namespace

void setCursorShown(Workbench& bench, bool on) {
  bench.view.cursorShown = on;
  bench.notifyPanesChanged();
}

void setFineMovement(Workbench& bench, bool on) {
  bench.view.fineMovement = on;
}

void setColourBars(Workbench& bench, bool on) {
  bench.view.colourBars = on;
  bench.notifyPanesChanged();
}

void setZoomInterpolation(Workbench& bench, bool on) {
  bench.view.zoomInterpolation = on;
  renderPanes(bench, true);
}

void setGridWidth(Workbench& bench, int width) {
  ViewState& view = bench.view;
  view.gridWidth = std::clamp(width, kMinGridWidth, kMaxGridWidth);
  const int span = view.gridWidth * std::clamp(view.magnification, 1, kMaxMagnification);
  view.gridOffsetX = ((view.gridOffsetX % span) + span) % span;
  view.gridOffsetY = ((view.gridOffsetY % span) + span) % span;
  paintPanes(bench);
}

int magnificationSliderValue(const Workbench& bench) {
  if (showsReducedDisplay(bench)) return 0;
  return std::clamp(bench.view.magnification, 1, kMaxMagnification);
}

std::string magnificationFieldText(const Workbench& bench) {
  if (showsReducedDisplay(bench)) {
    return "1/" + reductionText(bench.pictures.width, bench.pictures.height);
  }
  return std::to_string(std::clamp(bench.view.magnification, 1, kMaxMagnification));
}

bool enterReducedDisplay(Workbench& bench, UserPort& user, bool measurementToolOpen) {
  if (!reducedPossible(bench)) return false;
  if (showsReducedDisplay(bench)) return false;
  setReducedDisplay(bench);
  bool& warned = bench.view.reducedMeasureWarned;
  if (measurementToolOpen && !warned) {
    warned = true;
    user.tell(Icon::Warning, text::tr(msg::kReducedMeasureWarning));
  }
  return true;
}

bool applyMagnificationSlider(Workbench& bench, int value, UserPort& user,
                              bool measurementToolOpen) {
  if (value <= 0 && reducedPossible(bench)) {
    return enterReducedDisplay(bench, user, measurementToolOpen);
  }
  return changeMagnification(bench, std::max(value, 1));
}

bool stepMagnification(Workbench& bench, bool up, UserPort& user, bool measurementToolOpen) {
  const bool reduced = showsReducedDisplay(bench);
  const int magnification = std::clamp(bench.view.magnification, 1, kMaxMagnification);
  if (up) return changeMagnification(bench, reduced ? 1 : magnification + 1);
  if (reduced) return false;
  if (magnification == 1) return enterReducedDisplay(bench, user, measurementToolOpen);
  return changeMagnification(bench, magnification - 1);
}

}  // namespace vemla
