#pragma once
// Argument parsing for vemla-cli: positional words, "--flag VALUE" and "--switch". Malformed
// or out-of-range values are usage errors (exit 2); nothing is silently corrected.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ports/ports.h"

namespace vemla::cli {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::set<std::string> switches;
  // Every value of a repeatable flag, in order (`values` holds the last one).
  std::map<std::string, std::vector<std::string>> repeated;

  bool has(const std::string& flag) const { return values.count(flag) != 0 || switches.count(flag) != 0; }
  std::optional<std::string> value(const std::string& flag) const;
};

// Value flags that may be given more than once ("--file N:PATH" of launch, "--interpolate" of
// edit, "--ignore" of compare).
inline const std::set<std::string> kRepeatableFlags{"--file", "--interpolate", "--ignore"};

// `valueFlags` take the next word as their value; `switchFlags` stand alone. Any other word
// beginning with "--" is a usage error, as is a flag given twice (unless repeatable).
Arguments parseArguments(const std::vector<std::string>& words, const std::set<std::string>& valueFlags,
                         const std::set<std::string>& switchFlags);

// A whole decimal number in [low, high].
int parseInt(const std::string& text, int low, int high, const std::string& what);
// "WxH".
std::pair<int, int> parseSize(const std::string& text, const std::string& what);
// "WxH[+OFFSET]", checked against the maximum picture size like the raw file size dialog.
RawSize parseRawSize(const std::string& text, int maxWidth, int maxHeight);
// "R,G,B" as three decimal numbers.
RgbRatio parseRatios(const std::string& text);
// "--max WxH": in the range of MaxPictureWidth and MaxPictureHeight, multiples of 4.
std::pair<int, int> parseMaxSize(const std::string& text);

}  // namespace vemla::cli
