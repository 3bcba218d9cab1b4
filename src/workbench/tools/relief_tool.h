#pragma once
// The 3D tool on the workbench: its settings for the session, its switches, and its rasters
// drawn from the pane views after every rendering, with the pane's colour table.
#include <array>
#include <optional>
#include <string>

#include "tools/relief.h"
#include "workbench/workbench.h"

namespace vemla {

// The settings in effect (the tool options' angles, luminance and widths until the first
// change).
tools::ReliefSettings reliefSettings(const Workbench& bench);
// Stores the settings brought into their ranges and draws again.
void setReliefSettings(Workbench& bench, const tools::ReliefSettings& settings);
// "ﾘｾｯﾄ" of "視点": the angles of the tool options, depth 256, height ratio 16, base 80.
void resetReliefView(Workbench& bench);
// "ﾘｾｯﾄ" of "表示ﾓｰﾄﾞ": luminance and widths of the tool options.
void resetReliefMode(Workbench& bench);

struct ReliefSwitches {
  bool viewDirection = false, whole = false, otherPane = false, secondImage = false;
  bool operator==(const ReliefSwitches&) const = default;
};
ReliefSwitches reliefSwitches(const Workbench& bench);
// "視点表示", "全体表示", "相手側", "⇔"; the panes repaint for the view direction.
void setReliefSwitches(Workbench& bench, const ReliefSwitches& switches);

// The whole display's title, in the language in use.
std::string reliefWholeTitle(const Workbench& bench);
// "現在値" of the option sheet: X angle, Z angle, luminance, wire width and polygon width of
// the 3D view, once the tool has been used in this session.
std::optional<std::array<int, 5>> currentReliefValues(const Workbench& bench);

// Draws the block (and the whole display while it is open) from the pane views.
void updateReliefContent(Workbench& bench);

}  // namespace vemla
