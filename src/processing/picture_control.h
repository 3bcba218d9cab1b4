#pragma once
// The state of the picture control ("画像制御情報"): valid range, manual shift with its marks
// and reference position, and the automatic alignment with its result and cache keys. One
// record per workbench; the shifted pictures and valid rectangles are always derived from it
// by preparePictures.
#include <array>

#include "processing/rect.h"

namespace vemla {

// The sub-pixel divisions n offered by `ShiftUnit` (and the alignment precisions p <= n).
inline constexpr std::array<int, 8> kDivisions{2, 4, 8, 16, 32, 64, 128, 256};
inline bool isAllowedDivision(int n) {
  for (const int division : kDivisions) {
    if (division == n) return true;
  }
  return false;
}

// One shift setting: at most one of left/right and one of up/down is 1; whole pixels >= 0,
// sub-steps 0..n-1 in units of 1/n pixel.
struct ShiftSetting {
  int left = 0, right = 0, up = 0, down = 0;
  int wholeX = 0, wholeY = 0;
  int stepsX = 0, stepsY = 0;
  bool operator==(const ShiftSetting&) const = default;
};

struct ManualShift {
  bool enabled = false;  // "手動"
  int target = 0;        // 0 picture 1, 1 picture 2
  ShiftSetting setting{};
  // Direction-pad step: 0 = one whole pixel ("1画素単位"), otherwise k of the 1/k choice.
  int padStep = 16;
  bool operator==(const ManualShift&) const = default;
};

// Direction codes of the marks: 0 none, 1 left/up, 2 right/down.
struct ShiftMark {
  int valid = 0;
  int target = 0;
  int xDirection = 0, wholeX = 0, stepsX = 0;
  int yDirection = 0, wholeY = 0, stepsY = 0;
  bool operator==(const ShiftMark&) const = default;
};

// The point "S" of the manual shift, in picture coordinates.
struct ReferencePosition {
  bool valid = false;
  int x = 0, y = 0;
  bool operator==(const ReferencePosition&) const = default;
};

enum ValidRangeKind : int { kValidWhole = 0, kValidRectangle = 1, kValidMargin = 2 };

struct ValidRangeSetting {
  int kind = kValidWhole;
  int setWidth = 0, setHeight = 0;  // picture size the rectangle was set for
  Rect rectangle{};                 // "範囲指定", inclusive
  int margin = 0;                   // "外枠から"
  bool operator==(const ValidRangeSetting&) const = default;
};

enum AlignmentCriterion : int { kAlignFast = 0, kAlignStandard = 1 };  // "高速", "標準"

inline constexpr int kMaxAlignmentRange = 32;

struct AlignmentSettings {
  bool enabled = false;  // "自動"
  int criterion = kAlignFast;
  int precision = 16;  // p: 2..n, a power of two
  int range = 5;       // R: 1..32, the same for X and Y
  int target = 1;      // the picture that is shifted ("ｼﾌﾄ画像"): 0 picture 1, 1 picture 2
  int cursorRange = 32;  // Rc of "実行"
  bool operator==(const AlignmentSettings&) const = default;
};

// Flags: 1 = the target's content moves right (X) or down (Y). Sub-steps in units of 1/n of
// the division the result was found with (keys.division).
struct AlignmentResult {
  int xFlag = 0, yFlag = 0;
  int wholeX = 0, wholeY = 0;
  int stepsX = 0, stepsY = 0;
  bool valid = false;
  bool operator==(const AlignmentResult&) const = default;
};

// What a stored result was found for; a preparation whose values all match reuses it.
struct AlignmentKeys {
  Rect validRectangle{};
  int criterion = 0, range = 0, target = 0, division = 0, precision = 0;
  bool operator==(const AlignmentKeys&) const = default;
};

// A pending "実行": one search over the region around (x, y) at the next preparation.
struct CursorSearch {
  bool pending = false;
  int x = 0, y = 0;
};

struct PictureControlState {
  ValidRangeSetting validRange{};
  std::array<Rect, 2> validRectangles{};  // VR1, VR2
  ManualShift manual{};
  std::array<ShiftMark, 2> marks{};
  ReferencePosition reference{};
  AlignmentSettings alignment{};
  AlignmentResult alignmentResult{};
  AlignmentKeys alignmentKeys{};
  CursorSearch cursorSearch{};
};

// The commands of the picture control that only change this record. Each returns whether the
// pictures must be prepared again (when pictures are loaded).

// "手動" and "自動": switching either of them on or off switches the other off.
bool setManualShiftEnabled(PictureControlState& control, bool enabled);
bool setAlignmentEnabled(PictureControlState& control, bool enabled);

// Alignment settings. Range entries above 32 become 32, entries <= 0 become 1; cursor-range
// entries below 0 become 0 and entries above the larger picture side become that side (larger
// values only overflow the region arithmetic). A precision above n becomes n; one that is not
// a power of two becomes the next lower one.
int correctedAlignmentRange(int entry);
int correctedCursorRange(int entry, int width, int height);
bool setAlignmentCriterion(PictureControlState& control, int criterion);
bool setAlignmentPrecision(PictureControlState& control, int precision, int division);
bool setAlignmentTarget(PictureControlState& control, int target);
// "再実行": drops the stored result; true when the alignment is on (then prepare).
bool rerunAlignment(PictureControlState& control);
// "実行": one search over the region around the cursor at the next preparation.
void requestCursorSearch(PictureControlState& control, int cursorX, int cursorY);

// Brings every value into its range (the record may come from a settings or state file):
// run before each preparation.
void correctPictureControl(PictureControlState& control, int division, int width, int height);

}  // namespace vemla
