#include "cli/control_flags.h"

#include <cmath>
#include <cstdlib>

#include "cli/option_flags.h"
#include "processing/valid_range.h"
#include "text/decimal_text.h"

namespace vemla::cli {
namespace {

std::pair<std::string, std::string> splitAt(const std::string& text, char separator,
                                            const std::string& what) {
  const auto at = text.find(separator);
  if (at == std::string::npos) throw UsageError(what + ": expected '" + separator + "' in " + text);
  return {text.substr(0, at), text.substr(at + 1)};
}

}  // namespace

// A signed decimal number of pixels as a whole count of 1/n steps: "-3.5" with n = 16 is -56.
// Refused unless it is an exact multiple of 1/n.
long long parseSteps(const std::string& text, int n, const std::string& what) {
  std::size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  long long whole = 0;
  std::size_t digits = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
    whole = whole * 10 + (text[at] - '0');
    if (whole > 4096) throw UsageError(what + ": more than 4096 pixels: " + text);
  }
  std::string fraction;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) fraction += text[at];
  }
  if (at != text.size() || (digits == 0 && fraction.empty())) {
    throw UsageError(what + ": not a decimal number: " + text);
  }
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  // 1/256 needs eight decimals; anything longer is no multiple of 1/n.
  if (fraction.size() > 8)
    throw UsageError(what + ": " + text + " is not a multiple of 1/" + std::to_string(n));
  long long numerator = 0, denominator = 1;
  for (const char digit : fraction) {
    numerator = numerator * 10 + (digit - '0');
    denominator *= 10;
  }
  if (numerator * n % denominator != 0) {
    throw UsageError(what + ": " + text + " is not a multiple of 1/" + std::to_string(n));
  }
  const long long steps = whole * n + numerator * n / denominator;
  return negative ? -steps : steps;
}

namespace {

void parseValid(const std::string& text, ControlFlags& flags) {
  if (text == "whole") {
    flags.validKind = kValidWhole;
  } else if (text.rfind("rect:", 0) == 0) {
    flags.validKind = kValidRectangle;
    const auto [left, rest] = splitAt(text.substr(5), ',', "--valid rect");
    const auto [top, rest2] = splitAt(rest, ',', "--valid rect");
    const auto [right, bottom] = splitAt(rest2, ',', "--valid rect");
    flags.rectangle = {
        parseInt(left, 0, 4095, "--valid rect"), parseInt(top, 0, 4095, "--valid rect"),
        parseInt(right, 0, 4095, "--valid rect"), parseInt(bottom, 0, 4095, "--valid rect")};
    if (flags.rectangle.left > flags.rectangle.right ||
        flags.rectangle.top > flags.rectangle.bottom) {
      throw UsageError("--valid rect: needs L <= R and T <= B");
    }
  } else if (text.rfind("margin:", 0) == 0) {
    flags.validKind = kValidMargin;
    flags.margin = parseInt(text.substr(7), 0, 1 << 30, "--valid margin");
  } else {
    throw UsageError("--valid must be whole, rect:L,T,R,B or margin:M");
  }
}

}  // namespace

std::pair<int, int> parsePair(const std::string& text, int low, int high, const std::string& what) {
  const auto [first, second] = splitAt(text, ',', what);
  return {parseInt(first, low, high, what), parseInt(second, low, high, what)};
}

double parseReal(const std::string& text, const std::string& what) {
  const std::optional<double> value = text::readWholeNumber(text);
  if (!value || !std::isfinite(*value)) throw UsageError(what + ": not a number: " + text);
  return *value;
}

ControlFlags parseControlFlags(const Arguments& args, std::optional<int> defaultCriterion,
                               const Options& base) {
  ControlFlags flags;
  flags.division = base.ShiftUnit;
  flags.interpolation = base.ShiftInterpolation;
  if (const auto n = args.value("--division")) {
    flags.division = parseOptionInt(*n, "ShiftUnit", "--division");
    if (!isAllowedDivision(flags.division)) {
      throw UsageError(withOptionValues("--division must be 2, 4, 8, ... {ShiftUnit:high}"));
    }
  }
  if (const auto mode = args.value("--shift-interp")) {
    if (*mode == "linear") {
      flags.interpolation = 0;
    } else if (*mode != "cubic") {
      throw UsageError("--shift-interp must be linear or cubic");
    }
  }
  if (const auto valid = args.value("--valid")) parseValid(*valid, flags);
  if (const auto shift = args.value("--shift")) {
    const auto [target, amounts] = splitAt(*shift, ':', "--shift");
    const auto [dx, dy] = splitAt(amounts, ',', "--shift");
    flags.shift = ManualShiftFlag{parseInt(target, 1, 2, "--shift picture") - 1,
                                  parseSteps(dx, flags.division, "--shift DX"),
                                  parseSteps(dy, flags.division, "--shift DY")};
  }

  flags.precision = std::min(16, flags.division);
  if (const auto criterion = args.value("--align")) {
    if (*criterion == "fast") {
      flags.criterion = kAlignFast;
    } else if (*criterion == "standard") {
      flags.criterion = kAlignStandard;
    } else {
      throw UsageError("--align must be fast or standard");
    }
  } else {
    flags.criterion = defaultCriterion;
  }
  if (flags.criterion && flags.shift)
    throw UsageError("--shift and the automatic alignment exclude each other");
  for (const char* flag :
       {"--align-target", "--precision", "--range", "--align-at", "--cursor-range"}) {
    if (args.has(flag) && !flags.criterion) throw UsageError(std::string(flag) + " needs --align");
  }
  if (const auto target = args.value("--align-target"))
    flags.alignTarget = parseInt(*target, 1, 2, "--align-target") - 1;
  if (const auto precision = args.value("--precision")) {
    flags.precision = parseInt(*precision, 2, flags.division, "--precision");
    if (!isAllowedDivision(flags.precision)) throw UsageError("--precision must be a power of two");
  }
  if (const auto range = args.value("--range"))
    flags.range = parseInt(*range, 1, kMaxAlignmentRange, "--range");
  if (const auto at = args.value("--align-at"))
    flags.alignAt = parsePair(*at, 0, 4095, "--align-at");
  if (const auto rc = args.value("--cursor-range")) {
    if (!flags.alignAt) throw UsageError("--cursor-range needs --align-at");
    flags.cursorRange = parseInt(*rc, 0, 4096, "--cursor-range");
  }
  return flags;
}

void applyControlFlags(const ControlFlags& flags, Workbench& bench) {
  const int width = bench.pictures.width;
  const int height = bench.pictures.height;
  bench.options.ShiftUnit = flags.division;
  bench.options.ShiftInterpolation = flags.interpolation;
  PictureControlState& control = bench.control;
  control = {};
  control.manual.padStep = flags.division;
  control.validRange.kind = flags.validKind;
  control.validRange.margin = flags.margin;
  if (flags.validKind == kValidRectangle) {
    if (flags.rectangle.right >= width || flags.rectangle.bottom >= height) {
      throw UsageError("--valid rect: outside the " + std::to_string(width) + "x" +
                       std::to_string(height) + " pictures");
    }
    setValidRectangle(control.validRange, flags.rectangle.left, flags.rectangle.top,
                      flags.rectangle.right, flags.rectangle.bottom, width, height);
  }
  if (flags.shift) {
    const long long n = flags.division;
    const long long x = std::llabs(flags.shift->stepsX), y = std::llabs(flags.shift->stepsY);
    if (x > width * n || y > height * n) throw UsageError("--shift: more than the picture size");
    ShiftSetting& setting = control.manual.setting;
    setting.right = flags.shift->stepsX > 0;
    setting.left = flags.shift->stepsX < 0;
    setting.down = flags.shift->stepsY > 0;
    setting.up = flags.shift->stepsY < 0;
    setting.wholeX = static_cast<int>(x / n);
    setting.stepsX = static_cast<int>(x % n);
    setting.wholeY = static_cast<int>(y / n);
    setting.stepsY = static_cast<int>(y % n);
    control.manual.target = flags.shift->target;
    setManualShiftEnabled(control, true);
  }
  if (flags.criterion) {
    AlignmentSettings& alignment = control.alignment;
    alignment.criterion = *flags.criterion;
    alignment.target = flags.alignTarget;
    alignment.precision = flags.precision;
    alignment.range = flags.range;
    alignment.cursorRange = correctedCursorRange(flags.cursorRange, width, height);
    setAlignmentEnabled(control, true);
    if (flags.alignAt) {
      if (flags.alignAt->first >= width || flags.alignAt->second >= height) {
        throw UsageError("--align-at: outside the " + std::to_string(width) + "x" +
                         std::to_string(height) + " pictures");
      }
      requestCursorSearch(control, flags.alignAt->first, flags.alignAt->second);
    }
  }
}

}  // namespace vemla::cli
