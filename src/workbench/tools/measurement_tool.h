#pragma once
// The measurement tool on the workbench: its settings for the session, the pane input that
// enters its shapes, and its results for both images, measured after every rendering on what
// the panes show (the automatic length on the extraction around the cursor).
#include <array>
#include <string>
#include <vector>

#include "workbench/workbench.h"

namespace vemla {

// Stores the settings; a new function or shape starts the entry afresh.
void setMeasureSettings(Workbench& bench, const tools::MeasureSettings& settings);
int measureEdgeLevel(const Workbench& bench);

// Pane input while the measurement tool is active: a left click (manual length and rectangle:
// start or fix; polygon: one more vertex, at most 1024, or a new polygon after a closed one;
// automatic length: measure at the cursor the click set), a move (the end follows) and a
// double click (closes a polygon of three or more vertices). True when the tool took it.
bool measurePaneClick(Workbench& bench, ViewPoint at);
bool measurePaneMove(Workbench& bench, ViewPoint at);
bool measurePaneDoubleClick(Workbench& bench);

// "▼": copies the current results of one row (0 length, 1 area, 2 volume, 3 centroid) of both
// images into the reference.
void copyMeasureReference(Workbench& bench, int row);

// The text the pane of `image` writes beside the shape: " %.4f " (image 2 with a valid
// automatic length of image 1: " %.4f (%.4f) "), " X:%.4f Y:%.4f " while a rectangle is
// dragged, " 面積:%.4f  体積:%d  重心:(%.4f,%.4f) " once an area is fixed (the centroid's
// places empty when it was not measured); empty otherwise (no shape entered: kept values are
// shown in the table only).
std::string measureText(const Workbench& bench, ImageSlot image);

// The results table of the tool window, 8 rows of a label and seven values each: a header
// row, then one row each for the length, the area and the volume: image 1, image 2, their
// absolute difference ("差"), the "基準" values of both images and each current value's
// absolute difference from its reference; then the centroid's header ("ｲﾒｰｼﾞ1Ｘ" … "差ＸＹ"),
// its current row, its "基準" row and its "差" row (each coordinate's distance from its
// reference). Lengths, areas and centroids print "%.4f", volumes "%d"; a value not measured,
// and every difference involving it, is empty.
inline constexpr int kMeasureTableRows = 8, kMeasureTableColumns = 8;
using MeasureTable = std::array<std::array<std::string, kMeasureTableColumns>, kMeasureTableRows>;
// The current rows of the length, area, volume and centroid, whose "▼" copies them into "基準".
inline constexpr std::array<int, 4> kMeasureCopyRows{1, 2, 3, 5};
MeasureTable measureTable(const Workbench& bench);
// The table as tab-separated lines for the clipboard ("コピー"), trailing empty cells left off.
std::string measureTableText(const MeasureTable& table);

// Measures the entered shape on both images. Only the current function's values change, and
// only when a shape is entered: switching between length and area, or leaving the tool and
// coming back, keeps every value until it is measured again.
void updateMeasureContent(Workbench& bench);

}  // namespace vemla
