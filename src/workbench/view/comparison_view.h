#pragma once
// The comparison views of the image panes: blink ("交互表示") and swipe ("分割表示"). Turning
// one on makes the pane's image "画像１" and keeps "画像２" beside it, both rendered on every
// rendering, so a flip or a divider move only repaints; turning it off gives back the kind the
// pane had. The divider's position is kept per pane while the program runs.
#include <string>

#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// Puts image `image`'s pane into `mode` (Off gives back its kind), recreating its images
// keeping the view; nothing when it is already in that mode.
void setComparisonMode(Workbench& bench, ImageSlot image, ComparisonMode mode, UserPort& user,
                       BusyPort& busy, ProgressPort& progress);
// The controls' toggle: `mode` on, or off when the pane is in it already.
void toggleComparisonMode(Workbench& bench, ImageSlot image, ComparisonMode mode, UserPort& user,
                          BusyPort& busy, ProgressPort& progress);

// Blink: shows the other picture (the timer and Space). False when the pane does not blink.
bool flipBlink(Workbench& bench, ImageSlot image);
// Blink rate in tenths of a flip per second, limited to 0.5..10.
void setBlinkRate(Workbench& bench, int tenths);
// The time one picture stays, in milliseconds.
int blinkIntervalMs(const Workbench& bench);

// Swipe: the divider at view column (row, for a horizontal divider) `position`, kept inside the
// pane (1..511); false when the pane does not swipe or nothing moved.
bool moveSwipeDivider(Workbench& bench, ImageSlot image, int position);
// A horizontal divider (Picture 1 above, Picture 2 below) or a vertical one.
void setSwipeHorizontal(Workbench& bench, ImageSlot image, bool horizontal);

}  // namespace vemla
