#include "processing/picture_control.h"

#include <algorithm>

namespace vemla {
namespace {

int clampDivision(int value, int division) {
  int corrected = kDivisions.front();
  for (const int allowed : kDivisions) {
    if (allowed <= value && allowed <= division) corrected = allowed;
  }
  return corrected;
}

int clampSteps(int steps, int division) {
  return std::clamp(steps, 0, division - 1);
}

void correctSetting(ShiftSetting& setting, int division, int width, int height) {
  setting.left = setting.left != 0 ? 1 : 0;
  setting.right = setting.right != 0 && setting.left == 0 ? 1 : 0;
  setting.up = setting.up != 0 ? 1 : 0;
  setting.down = setting.down != 0 && setting.up == 0 ? 1 : 0;
  setting.wholeX = std::clamp(setting.wholeX, 0, width);
  setting.wholeY = std::clamp(setting.wholeY, 0, height);
  setting.stepsX = clampSteps(setting.stepsX, division);
  setting.stepsY = clampSteps(setting.stepsY, division);
}

}  // namespace

bool setManualShiftEnabled(PictureControlState& control, bool enabled) {
  const bool changed = control.manual.enabled != enabled || control.alignment.enabled;
  control.manual.enabled = enabled;
  control.alignment.enabled = false;
  return changed;
}

bool setAlignmentEnabled(PictureControlState& control, bool enabled) {
  const bool changed = control.alignment.enabled != enabled || control.manual.enabled;
  control.alignment.enabled = enabled;
  control.manual.enabled = false;
  return changed;
}

int correctedAlignmentRange(int entry) {
  return entry <= 0 ? 1 : std::min(entry, kMaxAlignmentRange);
}

int correctedCursorRange(int entry, int width, int height) {
  return std::clamp(entry, 0, std::max({width, height, 0}));
}

bool setAlignmentCriterion(PictureControlState& control, int criterion) {
  control.alignment.criterion = criterion == kAlignStandard ? kAlignStandard : kAlignFast;
  return control.alignment.enabled;
}

bool setAlignmentPrecision(PictureControlState& control, int precision, int division) {
  control.alignment.precision = clampDivision(precision, division);
  return control.alignment.enabled;
}

bool setAlignmentTarget(PictureControlState& control, int target) {
  control.alignment.target = target == 0 ? 0 : 1;
  return control.alignment.enabled;
}

bool rerunAlignment(PictureControlState& control) {
  control.alignmentResult.valid = false;
  return control.alignment.enabled;
}

void requestCursorSearch(PictureControlState& control, int cursorX, int cursorY) {
  control.cursorSearch = {true, cursorX, cursorY};
}

void correctPictureControl(PictureControlState& control, int division, int width, int height) {
  AlignmentSettings& alignment = control.alignment;
  if (alignment.enabled && control.manual.enabled) control.manual.enabled = false;
  alignment.criterion = alignment.criterion == kAlignStandard ? kAlignStandard : kAlignFast;
  alignment.precision = clampDivision(alignment.precision, division);
  alignment.range = correctedAlignmentRange(alignment.range);
  alignment.target = alignment.target == 0 ? 0 : 1;
  alignment.cursorRange = correctedCursorRange(alignment.cursorRange, width, height);

  ManualShift& manual = control.manual;
  manual.target = manual.target == 0 ? 0 : 1;
  correctSetting(manual.setting, division, width, height);
  if (manual.padStep != 0) manual.padStep = clampDivision(manual.padStep, division);
  for (ShiftMark& mark : control.marks) {
    mark.valid = mark.valid != 0 ? 1 : 0;
    mark.target = mark.target == 0 ? 0 : 1;
    mark.xDirection = std::clamp(mark.xDirection, 0, 2);
    mark.yDirection = std::clamp(mark.yDirection, 0, 2);
    mark.wholeX = std::clamp(mark.wholeX, 0, width);
    mark.wholeY = std::clamp(mark.wholeY, 0, height);
    mark.stepsX = clampSteps(mark.stepsX, division);
    mark.stepsY = clampSteps(mark.stepsY, division);
  }
  AlignmentResult& result = control.alignmentResult;
  result.xFlag = result.xFlag != 0 ? 1 : 0;
  result.yFlag = result.yFlag != 0 ? 1 : 0;
  result.wholeX = std::clamp(result.wholeX, 0, width);
  result.wholeY = std::clamp(result.wholeY, 0, height);
  result.stepsX = clampSteps(result.stepsX, division);
  result.stepsY = clampSteps(result.stepsY, division);
  control.validRange.kind = std::clamp(control.validRange.kind, 0, 2);
  control.validRange.margin = std::max(control.validRange.margin, 0);
}

}  // namespace vemla
