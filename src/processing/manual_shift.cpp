#include "processing/manual_shift.h"

#include <algorithm>
#include <cstdlib>

#include "text/format.h"

namespace vemla {
namespace {

constexpr int kPadSize = 32;

// A whole amount kept within the picture side; the sub-steps stay as they are.
void clampWhole(ShiftSetting& setting, const ShiftContext& context) {
  setting.wholeX = std::clamp(setting.wholeX, 0, std::max(context.width, 0));
  setting.wholeY = std::clamp(setting.wholeY, 0, std::max(context.height, 0));
}

int rescale(int steps, int oldDivision, int newDivision) {
  return newDivision < oldDivision ? steps / (oldDivision / newDivision)
                                   : steps * (newDivision / oldDivision);
}

}  // namespace

bool setManualTarget(PictureControlState& control, int target) {
  const int chosen = target == 0 ? 0 : 1;
  const bool changed = control.manual.target != chosen;
  control.manual.target = chosen;
  return changed && control.manual.enabled;
}

void selectPadStep(PictureControlState& control, int row) {
  control.manual.padStep = row <= 0 ? 0 : 1 << row;
}

void setDirectionButton(ShiftSetting& setting, ShiftDirection direction, bool pressed) {
  const int state = pressed ? 1 : 0;
  switch (direction) {
    case ShiftDirection::Left:
      setting.left = state;
      setting.right = 0;
      break;
    case ShiftDirection::Right:
      setting.right = state;
      setting.left = 0;
      break;
    case ShiftDirection::Up:
      setting.up = state;
      setting.down = 0;
      break;
    case ShiftDirection::Down:
      setting.down = state;
      setting.up = 0;
      break;
  }
}

void applyAmountEdits(ShiftSetting& setting, int wholeX, int wholeY, int stepsX, int stepsY,
                      const ShiftContext& context) {
  setting.wholeX = wholeX;
  setting.wholeY = wholeY;
  clampWhole(setting, context);
  if (stepsX >= 0 && stepsX < context.division) setting.stepsX = stepsX;
  if (stepsY >= 0 && stepsY < context.division) setting.stepsY = stepsY;
}

std::optional<ShiftDirection> padDirectionAt(int x, int y) {
  if (x < 0 || y < 0 || x >= kPadSize || y >= kPadSize) return std::nullopt;
  const int sum = x + y;
  if (y < x && sum < kPadSize) return ShiftDirection::Up;
  if (x < y && sum > kPadSize) return ShiftDirection::Down;
  if (x < y && sum < kPadSize) return ShiftDirection::Left;
  if (y < x && sum > kPadSize) return ShiftDirection::Right;
  return std::nullopt;
}

SignedSteps signedSteps(const ShiftSetting& setting, int division) {
  const long long x = static_cast<long long>(setting.wholeX) * division + setting.stepsX;
  const long long y = static_cast<long long>(setting.wholeY) * division + setting.stepsY;
  return {setting.right ? x : setting.left ? -x : 0, setting.up ? y : setting.down ? -y : 0};
}

ShiftSetting settingFromSignedSteps(SignedSteps steps, int division) {
  ShiftSetting setting;
  setting.right = steps.x > 0 ? 1 : 0;
  setting.left = steps.x < 0 ? 1 : 0;
  setting.up = steps.y > 0 ? 1 : 0;
  setting.down = steps.y < 0 ? 1 : 0;
  const long long x = steps.x < 0 ? -steps.x : steps.x;
  const long long y = steps.y < 0 ? -steps.y : steps.y;
  setting.wholeX = static_cast<int>(std::min<long long>(x / division, 1 << 30));
  setting.stepsX = static_cast<int>(x % division);
  setting.wholeY = static_cast<int>(std::min<long long>(y / division, 1 << 30));
  setting.stepsY = static_cast<int>(y % division);
  return setting;
}

bool pressDirectionPad(PictureControlState& control, ShiftDirection direction,
                       const ShiftContext& context) {
  if (!control.manual.enabled || !context.picturesPresent) return false;
  const int n = context.division;
  const int padStep = control.manual.padStep;
  const int step = padStep == 0 ? n : n / std::clamp(padStep, 1, n);
  SignedSteps totals = signedSteps(control.manual.setting, n);
  switch (direction) {
    case ShiftDirection::Right:
      totals.x += step;
      break;
    case ShiftDirection::Left:
      totals.x -= step;
      break;
    case ShiftDirection::Up:
      totals.y += step;
      break;
    case ShiftDirection::Down:
      totals.y -= step;
      break;
  }
  control.manual.setting = settingFromSignedSteps(totals, n);
  clampWhole(control.manual.setting, context);
  return true;
}

void storeMark(PictureControlState& control, int index) {
  const ShiftSetting& setting = control.manual.setting;
  ShiftMark& mark = control.marks[static_cast<std::size_t>(index)];
  mark.valid = 1;
  mark.target = control.manual.target;
  mark.xDirection = setting.left ? 1 : setting.right ? 2 : 0;
  mark.wholeX = setting.wholeX;
  mark.stepsX = setting.stepsX;
  mark.yDirection = setting.up ? 1 : setting.down ? 2 : 0;
  mark.wholeY = setting.wholeY;
  mark.stepsY = setting.stepsY;
}

bool restoreMark(PictureControlState& control, int index) {
  const ShiftMark& mark = control.marks[static_cast<std::size_t>(index)];
  if (!mark.valid) return false;
  ShiftSetting setting;
  setting.left = mark.xDirection == 1 ? 1 : 0;
  setting.right = mark.xDirection == 2 ? 1 : 0;
  setting.up = mark.yDirection == 1 ? 1 : 0;
  setting.down = mark.yDirection == 2 ? 1 : 0;
  setting.wholeX = mark.wholeX;
  setting.stepsX = mark.stepsX;
  setting.wholeY = mark.wholeY;
  setting.stepsY = mark.stepsY;
  control.manual.setting = setting;
  control.manual.target = mark.target;
  return true;
}

void clearMarks(PictureControlState& control) {
  control.marks = {};
}

std::array<std::string, 2> markTexts(const ShiftMark& mark) {
  std::array<std::string, 2> texts;
  if (!mark.valid) return texts;
  const int picture = mark.target + 1;
  if (mark.xDirection != 0) {
    texts[0] = text::format("%d+%d  (%d%s)", mark.wholeX, mark.stepsX, picture,
                            mark.xDirection == 1 ? "←" : "→");
  }
  if (mark.yDirection != 0) {
    texts[1] = text::format("%d+%d  (%d%s)", mark.wholeY, mark.stepsY, picture,
                            mark.yDirection == 1 ? "↑" : "↓");
  }
  return texts;
}

void storeReference(PictureControlState& control, int cursorX, int cursorY) {
  control.reference = {true, cursorX, cursorY};
}

bool shiftReferenceToCursor(PictureControlState& control, int cursorX, int cursorY,
                            const ShiftContext& context) {
  const ReferencePosition& reference = control.reference;
  if (!reference.valid) return false;
  ShiftSetting setting;
  setting.left = cursorX < reference.x ? 1 : 0;
  setting.right = cursorX > reference.x ? 1 : 0;
  setting.wholeX = static_cast<int>(
      std::min<long long>(std::llabs(static_cast<long long>(cursorX) - reference.x), 1 << 30));
  setting.up = cursorY < reference.y ? 1 : 0;
  setting.down = cursorY > reference.y ? 1 : 0;
  setting.wholeY = static_cast<int>(
      std::min<long long>(std::llabs(static_cast<long long>(cursorY) - reference.y), 1 << 30));
  clampWhole(setting, context);
  control.manual.setting = setting;
  return true;
}

std::array<std::string, 2> referenceTexts(const ReferencePosition& reference) {
  if (!reference.valid) return {};
  return {std::to_string(reference.x), std::to_string(reference.y)};
}

bool copyAlignmentResult(PictureControlState& control, const ShiftContext& context) {
  const AlignmentResult& result = control.alignmentResult;
  const AlignmentKeys& keys = control.alignmentKeys;
  if (!result.valid) return false;
  // The result counts sub-steps in 1/n of the division it was found with, a multiple of n/p;
  // bring them to the current division through 1/p (p never exceeds the current division).
  const auto toCurrent = [&](int steps) {
    if (keys.division <= 0 || keys.precision <= 0) return 0;
    return steps * keys.precision / keys.division * (context.division / keys.precision);
  };
  ShiftSetting setting;
  if (result.wholeX != 0 || result.stepsX != 0) {
    setting.right = result.xFlag ? 1 : 0;
    setting.left = result.xFlag ? 0 : 1;
    setting.wholeX = result.wholeX;
    setting.stepsX = toCurrent(result.stepsX);
  }
  if (result.wholeY != 0 || result.stepsY != 0) {
    setting.down = result.yFlag ? 1 : 0;
    setting.up = result.yFlag ? 0 : 1;
    setting.wholeY = result.wholeY;
    setting.stepsY = toCurrent(result.stepsY);
  }
  control.manual.target = control.alignment.target;
  control.manual.setting = setting;
  return true;
}

void changeDivision(PictureControlState& control, int oldDivision, int newDivision) {
  if (!isAllowedDivision(oldDivision) || !isAllowedDivision(newDivision)) return;
  if (newDivision < control.alignment.precision) {
    control.alignment.precision = newDivision;
    control.alignment.enabled = false;
    control.alignmentResult = {};
  }
  control.manual.enabled = false;
  ShiftSetting& setting = control.manual.setting;
  setting.stepsX = rescale(setting.stepsX, oldDivision, newDivision);
  setting.stepsY = rescale(setting.stepsY, oldDivision, newDivision);
  for (ShiftMark& mark : control.marks) {
    if (!mark.valid) continue;
    mark.stepsX = rescale(mark.stepsX, oldDivision, newDivision);
    mark.stepsY = rescale(mark.stepsY, oldDivision, newDivision);
  }
  // A kept result was found at a precision the new division still holds, so it rescales
  // exactly and stays valid for the division it is now counted in.
  AlignmentResult& result = control.alignmentResult;
  if (result.valid) {
    result.stepsX = rescale(result.stepsX, oldDivision, newDivision);
    result.stepsY = rescale(result.stepsY, oldDivision, newDivision);
    control.alignmentKeys.division = newDivision;
  }
  control.manual.padStep = newDivision;
}

}  // namespace vemla
