#pragma once
// Drag sliding of the magnified view in the image panes.
#include <optional>

#include "processing/view_rendering.h"
#include "workbench/workbench.h"

namespace vemla {

// Whether the view shows less than the whole image: magnified, or a picture larger than the
// pane in some direction, and not the reduced display.
bool viewCanSlide(int width, int height, const ViewSettings& settings);

struct DragState {
  bool active = false;
  int lastU = 0, lastV = 0;  // the mouse point of the press or of the last slide
};

// The placement after the mouse moved to (u, v) with the cursor at (cursorX, cursorY): the
// view only slides when it can, the mouse has moved at least `minimumMove` view pixels in u or
// v since `drag`'s last point, and the cell under it is inside the picture and is not the
// cursor's. The cursor's point then comes under the mouse: along an axis where the picture is
// larger than 512 the extraction origin moves first, limited to the picture, and the magnified
// window takes what is left, limited to the extraction. None when nothing would move.
std::optional<ViewPlacement> slidPlacement(int width, int height, const ViewSettings& settings,
                                           const ViewPlacement& placement, int cursorX, int cursorY,
                                           const DragState& drag, int u, int v, int minimumMove);

// A mouse move with the left button held during a drag: slides the view (DragMovesImage,
// DragMinimumMove) and renders both images keeping it; the drag's point follows each slide.
bool slideView(Workbench& bench, DragState& drag, int u, int v);

}  // namespace vemla
