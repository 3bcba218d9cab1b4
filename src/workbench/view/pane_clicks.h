#pragma once
// Clicks on the panes: the picture cell under a point of an image pane, and the cursor moves
// of a left click on an image pane or a picture pane's thumbnail.
#include <optional>

#include "processing/picture_thumbnail.h"
#include "processing/view_rendering.h"
#include "workbench/workbench.h"

namespace vemla {

// The picture cell under view point (u, v) of an image pane and the fine position in it. In
// the reduced display the point goes through the inverse reduction (fine position 0); else the
// cell is (OX + c + u div m, OY + d + v div m) with the fine position (u mod m, v mod m). None
// outside the pane or outside the picture.
struct PaneCell {
  int x = 0, y = 0;
  int fineX = 0, fineY = 0;
  bool reduced = false;
  bool operator==(const PaneCell&) const = default;
};
std::optional<PaneCell> imagePaneCell(int width, int height, const ViewSettings& settings,
                                      const ViewPlacement& placement, int u, int v);
std::optional<PaneCell> imagePaneCellOf(const Workbench& bench, int u, int v);

// The cursor takes the cell; the view is re-centred with `centre` and always in the reduced
// display, else only the cross moves.
void placeCursorAtCell(Workbench& bench, const PaneCell& cell, bool centre);

// A left click on an image pane: the cursor takes the cell and its fine position. Without
// `centre` only the cross moves (the view stays), with it the view is re-centred on the
// cursor; the reduced display always re-centres. False (nothing changed) without pictures or
// outside the picture.
bool clickImagePane(Workbench& bench, int u, int v, bool centre);

// A left click on a picture pane's thumbnail: the cursor moves to the picture point, fine
// position m/2, view re-centred. False without pictures.
bool clickThumbnail(Workbench& bench, const PictureThumbnail& thumbnail, int u, int v);

}  // namespace vemla
