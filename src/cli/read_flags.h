#pragma once
// The flags of every verb that reads pictures (--max, --raw, --true-colour, --ratios,
// --sixteen), the workbench they start, and a picture read alone as picture 1 is read.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/user_port.h"
#include "options/options.h"
#include "picture/sixteen_bit.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla::cli {

inline const std::set<std::string> kReadFlagNames{"--max", "--raw", "--true-colour", "--ratios",
                                                  "--sixteen"};
inline constexpr const char* kReadFlagsHelp =
    "  --raw WxH[+OFF]               size and start offset of .raw pictures\n"
    "  --true-colour quantize|grey   how colour pictures become 8-bit (default quantize)\n"
    "  --ratios R,G,B                grey conversion ratios (default "
    "{GreyRatioR},{GreyRatioG},{GreyRatioB})\n"
    "  --sixteen auto|top|window:LO,HI  how 16-bit grey becomes 8-bit: the significant bits the\n"
    "                                file declares (default), the top 8 bits, or LO..HI\n"
    "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, multiples of "
    "4\n"
    "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still win)\n";

struct ReadFlags {
  std::string settingsFolder;  // --settings, else empty
  Options options{};  // from --settings, else the factory options; the fields below override
  int maxWidth = Options{}.MaxPictureWidth;
  int maxHeight = Options{}.MaxPictureHeight;
  std::optional<RawSize> raw;
  int trueColourMode = kTrueColourQuantize;
  RgbRatio ratios{};
  SixteenBitConversion sixteenBit{};
};
ReadFlags parseReadFlags(const Arguments& args);

// A workbench started as vemla starts, from the --settings folder (or the factory options) with
// the maximum size, true-colour mode and ratios of the flags; false (after the message) when the
// picture store cannot be had.
bool prepareWorkbench(Workbench& bench, const ReadFlags& flags, UserPort& user);

// Reads one picture as picture 1 is opened (the same readers and messages) and keeps its
// pixels: a picture that goes with a pair (a user program result, a mask), read before the
// pair itself is opened. False after the message.
bool readPictureAlone(Workbench& bench, CliUserPort& user, const std::string& name,
                      std::vector<std::uint8_t>& pixels, int& width, int& height);

}  // namespace vemla::cli
