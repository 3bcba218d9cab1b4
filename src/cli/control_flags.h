#pragma once
// The picture-control flags of 'image' and 'align': sub-pixel division, shift interpolation,
// valid range, manual shift and automatic alignment. Values are checked when parsed and again
// against the picture size once the pictures are open; nothing is corrected silently.
#include <optional>
#include <set>
#include <string>

#include "cli/args.h"
#include "workbench/workbench.h"

namespace vemla::cli {

inline const std::set<std::string> kControlFlagNames{
    "--division",     "--shift-interp", "--valid", "--shift",    "--align",
    "--align-target", "--precision",    "--range", "--align-at", "--cursor-range"};

inline constexpr const char* kControlFlagsHelp =
    "  --division N                  sub-pixel division n: 2, 4, ... {ShiftUnit:high} (default "
    "{ShiftUnit})\n"
    "  --shift-interp linear|cubic   interpolation of the shift (default cubic)\n"
    "  --valid whole|rect:L,T,R,B|margin:M   valid range (default whole)\n"
    "  --shift T:DX,DY               manual shift of picture T (1 or 2) in pixels, multiples\n"
    "                                of 1/n; positive DX moves right, positive DY down\n"
    "                                ('image' only)\n"
    "  --align fast|standard         automatic alignment (not with --shift)\n"
    "  --align-target 1|2            the picture the alignment shifts (default 2)\n"
    "  --precision P                 alignment precision 1/P, 2..n, a power of two (default 16)\n"
    "  --range R                     alignment search range, 1..32 pixels (default 5)\n"
    "  --align-at X,Y                one search around X,Y, as the \"実行\" button\n"
    "  --cursor-range RC             half size of that search region (default 32)\n";

struct ManualShiftFlag {
  int target = 0;                    // 0 picture 1, 1 picture 2
  long long stepsX = 0, stepsY = 0;  // signed, in 1/n; positive right / down
};

struct ControlFlags {
  int division = Options{}.ShiftUnit;
  int interpolation = Options{}.ShiftInterpolation;
  int validKind = kValidWhole;
  Rect rectangle{};
  int margin = 0;
  std::optional<ManualShiftFlag> shift;
  std::optional<int> criterion;  // set by --align
  int alignTarget = 1;
  int precision = 16;
  int range = 5;
  std::optional<std::pair<int, int>> alignAt;
  int cursorRange = 32;
};

// `defaultCriterion`: the criterion when --align is absent (the 'align' command searches
// anyway), or nullopt when the alignment flags then are a usage error.
// Division and interpolation default to `base` (the --settings options or the factory ones).
ControlFlags parseControlFlags(const Arguments& args, std::optional<int> defaultCriterion,
                               const Options& base);

// "A,B" as two whole numbers in [low, high].
std::pair<int, int> parsePair(const std::string& text, int low, int high, const std::string& what);
// A signed decimal number of pixels as a whole count of 1/n steps: "-3.5" with n = 16 is -56.
// Refused unless it is an exact multiple of 1/n.
long long parseSteps(const std::string& text, int n, const std::string& what);
// A finite decimal real number: sign, digits, point and exponent, read with a point whatever
// the process locale is.
double parseReal(const std::string& text, const std::string& what);

// Checks the flags against the open pictures (usage errors) and sets the options and the
// picture control of the workbench.
void applyControlFlags(const ControlFlags& flags, Workbench& bench);

}  // namespace vemla::cli
