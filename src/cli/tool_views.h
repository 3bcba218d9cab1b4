#pragma once
// What the tool verbs share: the view flags they take from 'render', the check of their
// 8-bit bitmap inputs, and the rendering of a picture into Image 1's 512 x 512 pane view.
#include <set>
#include <string>

#include "cli/commands.h"
#include "processing/view_rendering.h"

namespace vemla::cli {

inline const std::set<std::string> kToolViewFlagNames{"--cursor", "--fine", "--mag",
                                                      "--zoom-interp", "--fill"};
inline constexpr const char* kToolViewFlagsHelp =
    "  --cursor X,Y                  cursor position (default the centre W/2,H/2)\n"
    "  --fine FX,FY                  fine position 0..m-1 (default m/2)\n"
    "  --mag M                       magnification 1..64 (default 1)\n"
    "  --reduced                     the 1/n display (x1, a picture larger than 512)\n"
    "  --zoom-interp off|linear|cubic  interpolation of the magnification (default off)\n"
    "  --fill V                      value around the picture, 0..255 (default 0)\n";

// A tool input must be an 8-bit .bmp; false after the message otherwise.
bool checkToolInput(const std::string& name, Context& io);

// Renders plane `picture` (kPicture1 or kPicture2) as Image 1 with the view state already
// set, the fill value of --fill; returns the cursor's point in the pane view.
ViewPoint renderToolView(Workbench& bench, int picture, const Arguments& args);

// The magnification as the tool titles show it: "%d", or "1/%s" in the reduced display.
std::string toolMagnificationText(const Workbench& bench);

}  // namespace vemla::cli
