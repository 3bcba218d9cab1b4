#pragma once
// The profile tool on the workbench: its settings (the state word of the program settings and
// the session's grid steps), the requests of its window and its content, sampled from the pane
// views after every rendering.
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"
#include "tools/tool_words.h"
#include "workbench/workbench.h"

namespace vemla {

tools::ProfileWord profileSettings(const Workbench& bench);
// Stores the settings (bounds limited to 0 <= lower < upper <= 255) and shows them. A new
// direction clears the read-out marks; the arbitrary direction also clears the segment.
void setProfileSettings(Workbench& bench, tools::ProfileWord settings);

// The grid steps in effect: the session's, or the tool options' until the first change.
int profileGreyStep(const Workbench& bench);
int profilePixelStep(const Workbench& bench);
// "再表示": grey step 1..255, pixel step 1..512 (nearest valid value); clears the marks.
void setProfileGrid(Workbench& bench, int greyStep, int pixelStep);
// "グリッド移動": moves the grid offset by `delta`, wrapping within m x pixel step.
void moveProfileGrid(Workbench& bench, int delta);
// "自動": the range and grey step of the drawn profiles.
void automaticProfileRange(Workbench& bench);
// "ﾘｾｯﾄ": range 0..255, steps from the tool options, offset 0, no marks.
void resetProfile(Workbench& bench);

// A click at (x, y) of the tool window: inside the graph a left click sets the one mark, a
// right click with one mark set adds the second. None in the arbitrary direction without a
// fixed segment. True when a mark was set.
bool clickProfileGraph(Workbench& bench, int x, int y, bool right);
// The read-out text of the marks: one mark "1：%3d  2：%3d  差：%3d" or "階調値:%3d", two
// marks "距離: %.4f"; empty without marks or without a value at the mark. `translated`: in the
// language in use (the window), else the system's own words (vemla-cli).
std::string profileReadout(const Workbench& bench, bool translated = false);

// The graph spacing of the pixel grid: the pixel step as the pane shows it.
double profilePixelSpacing(const Workbench& bench);

// The samples of the drawn profiles: number k, view point, distance k x step and the value of
// each image (none where that image is not drawn).
struct ProfileSampleRow {
  int k = 0;
  ViewPoint at;
  double distance = 0;
  std::optional<int> first, second;
};
std::vector<ProfileSampleRow> profileSampleRows(const Workbench& bench);
// "CSVで保存": a header line "k,u,v,distance,image1,image2", then one line per sample
// ("%d,%d,%d,%.4f,%d,%d", an empty field for an image not drawn). Written atomically; a failure
// tells "ﾌｧｲﾙの書き込みができません\n<path>" and leaves a previous file as it was.
std::string profileCsv(const Workbench& bench);
bool saveProfileCsv(const Workbench& bench, const std::string& path, UserPort& user);

// Samples the shown images' pane views (applying the automatic range while "全自動" is on).
void updateProfileContent(Workbench& bench);

}  // namespace vemla
