#pragma once
// The gradation value tool on the workbench: its settings (state word and operators of the
// program settings), the requests of its window, and its content.
#include <array>
#include <cstdint>

#include "tools/tool_words.h"
#include "workbench/workbench.h"

namespace vemla {

tools::GradationWord gradationSettings(const Workbench& bench);
// Stores the settings and shows them (the content is computed again).
void setGradationSettings(Workbench& bench, const tools::GradationWord& settings);

// Operator `number` 1..4 with its absolute-value flag, as the settings hold it.
tools::GradationOperator gradationOperator(const Workbench& bench, int number);
void setGradationOperator(Workbench& bench, int number, const tools::GradationOperator& op);

// "最大" / "最小": the cells equal to the extremes of the shown block are highlighted until the
// content changes.
void highlightGradationExtreme(Workbench& bench, bool maximum);

// A click on grid cell `cell` of the tool window: the cursor moves to that image position
// (fine position m/2, view re-centred) and everything refreshes. A cell outside the image
// leaves the cursor (false).
bool clickGradationCell(Workbench& bench, tools::GridCell cell);

// The block of `image` around the cursor as the settings show it.
tools::GradationGrid gradationGridOf(const Workbench& bench, ImageSlot image);
// Computes the tool's content (the shown block, and image 1's in pair display).
void updateGradationContent(Workbench& bench);

}  // namespace vemla
