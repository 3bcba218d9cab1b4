#pragma once
// The tool frame on the workbench: which tool the tool area shows, choosing it, what the panes
// and control windows ask of it, the mouse input of the image panes that goes to the active
// tool, and the tool content computed after every rendering (the windows only paint it).
#include <optional>
#include <string>
#include <vector>

#include "picture/picture_slot.h"
#include "tools/tool_state.h"
#include "workbench/workbench.h"

namespace vemla {

// Makes `tool` the active tool: the previous tool's extra windows close (the gradation pair
// display is turned off), the profile's segment and the measurement's entry start afresh, the
// content is computed and the views refresh. Nothing happens (false) when `tool` is already
// active, and tools other than none need the pictures.
bool selectTool(Workbench& bench, tools::Tool tool);

// What follows the base title of the main window, in the language in use: "（階調値）" …
// "（部分比較）", with "イメージ２" after the gradation tool's name in pair display; empty
// without a tool.
std::string toolTitleSuffix(const Workbench& bench);

// The active-tool queries of the panes and the control windows.
bool profileOr3DActive(const Workbench& bench);
// Gradation values, profile and 3D follow the cursor, and the partial comparison while it
// takes a part.
bool toolFollowsCursor(const Workbench& bench);

// The mouse in an image pane, told to the active tool: a left click and a move (true when the
// tool took the move, so that the pane does not slide the view). Only the profile in its
// arbitrary direction and the measurement take them.
bool toolPaneClick(Workbench& bench, int u, int v);
bool toolPaneMove(Workbench& bench, int u, int v);
// A double click: its first press already came as a click (and added its polygon vertex).
bool toolPaneDoubleClick(Workbench& bench);

// What the image pane of `image` draws over the image for the active tool: the profile's
// arbitrary segment, the measurement's length, rectangle or polygon (closed when `closed`),
// with the measurement's text beside its last point.
struct ToolOverlay {
  std::vector<ViewPoint> points;
  bool closed = false;
  std::string text;
};
std::optional<ToolOverlay> toolOverlayOf(const Workbench& bench, ImageSlot image);

// Computes the active tool's content from the images as they are now. The workbench calls it
// before it tells its listeners of a change.
void updateToolContent(Workbench& bench);

}  // namespace vemla
