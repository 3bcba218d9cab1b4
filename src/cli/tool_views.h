#pragma once
// What the tool verbs (values, profile, measure) share: IMAGE1 [IMAGE2] opened as one open,
// each image showing its picture, rendered into the pane views with render's view options and
// defaults; the pixel sizes; comma-separated lists of whole numbers.
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace vemla::cli {

// The value flags every tool verb accepts (with the switch --reduced where views matter).
inline const std::set<std::string> kToolViewFlags{
    "--cursor", "--fine", "--mag", "--zoom-interp", "--fill", "--max", "--pixel-size"};
inline constexpr const char* kToolViewHelp =
    "  --cursor X,Y                  cursor position (default the centre W/2,H/2)\n"
    "  --fine FX,FY                  fine position 0..m-1 (default m/2)\n"
    "  --mag M                       magnification 1..64 (default 1)\n"
    "  --reduced                     the 1/n display (x1, a picture larger than 512)\n"
    "  --zoom-interp off|linear|cubic  interpolation of the magnification (default off)\n"
    "  --fill V                      value around the picture, 0..255 (default 0)\n"
    "  --pixel-size PX,PY            length units of one pixel, above 0 (default "
    "{PixelSizeX},{PixelSizeY})\n"
    "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, multiples of "
    "4\n"
    "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still win)\n";

// Opens `files` (one or two 8-bit .bmp) into `bench`: image 1 shows picture 1 and image 2
// picture 2, both rendered with the view flags and the fill, the pixel sizes set. False after
// the message when a file is refused or cannot be read (exit 1).
bool openToolImages(const std::vector<std::string>& files, const Arguments& args, Workbench& bench,
                    Context& io);

// "A,B,…": whole numbers in [low, high]; a count outside minCount..maxCount is a usage error.
std::vector<int> parseIntList(const std::string& text, int low, int high, std::size_t minCount,
                              std::size_t maxCount, const std::string& what);

}  // namespace vemla::cli
