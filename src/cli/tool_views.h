#pragma once
// What the tool verbs share: the view flags they take from 'render', the check of their 8-bit
// bitmap inputs, opening IMAGE1 [IMAGE2] as one open with each image showing its picture in the
// pane views (values, profile, measure), rendering one picture into Image 1's view (relief,
// partial), the pixel sizes, and comma-separated lists of whole numbers.
#include <set>
#include <string>
#include <vector>

#include "cli/command.h"
#include "processing/view_rendering.h"
#include "workbench/workbench.h"

namespace vemla::cli {

// The view flags of 'render' that every tool verb takes (with the switch --reduced).
inline const std::set<std::string> kToolViewFlagNames{"--cursor", "--fine", "--mag",
                                                      "--zoom-interp", "--fill"};
inline constexpr const char* kToolViewFlagsHelp =
    "  --cursor X,Y                  cursor position (default the centre W/2,H/2)\n"
    "  --fine FX,FY                  fine position 0..m-1 (default m/2)\n"
    "  --mag M                       magnification 1..64 (default 1)\n"
    "  --reduced                     the 1/n display (x1, a picture larger than 512)\n"
    "  --zoom-interp off|linear|cubic  interpolation of the magnification (default off)\n"
    "  --fill V                      value around the picture, 0..255 (default 0)\n";
// The verbs that measure also take the pixel sizes and the picture limits.
inline const std::set<std::string> kToolViewFlags = [] {
  std::set<std::string> flags = kToolViewFlagNames;
  flags.insert({"--max", "--pixel-size"});
  return flags;
}();
inline const std::string kToolViewHelp =
    std::string(kToolViewFlagsHelp) +
    "  --pixel-size PX,PY            length units of one pixel, above 0 (default "
    "{PixelSizeX},{PixelSizeY})\n"
    "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, multiples of "
    "4\n"
    "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still win)\n";

// Opens `files` (one or two 8-bit pictures) into `bench`: image 1 shows picture 1 and image 2
// picture 2, both rendered with the view flags and the fill, the pixel sizes set. False after
// the message when a file is refused or cannot be read (exit 1).
bool openToolImages(const std::vector<std::string>& files, const Arguments& args, Workbench& bench,
                    Context& io);

// Renders plane `picture` (kPicture1 or kPicture2) as Image 1 with the view state already
// set, the fill value of --fill; returns the cursor's point in the pane view.
ViewPoint renderToolView(Workbench& bench, int picture, const Arguments& args);

// The magnification as the tool titles show it: "%d", or "1/%s" in the reduced display.
std::string toolMagnificationText(const Workbench& bench);

// "A,B,…": whole numbers in [low, high]; a count outside minCount..maxCount is a usage error.
std::vector<int> parseIntList(const std::string& text, int low, int high, std::size_t minCount,
                              std::size_t maxCount, const std::string& what);

}  // namespace vemla::cli
