#pragma once
// The manual shift of the picture control ("手動" group): direction buttons and amounts, the
// direction pad, the two marks, the reference position "S", copying the automatic result, and
// the rescaling when the sub-pixel division changes. Whole amounts are kept within 0..W
// (0..H): a shift of the full size already gives an all-zero picture, and larger values would
// overflow the pad arithmetic.
#include <array>
#include <optional>
#include <string>

#include "processing/picture_control.h"

namespace vemla {

enum class ShiftDirection { Left, Right, Up, Down };

// The picture the commands work on: whether pictures are loaded, W, H and the division n.
struct ShiftContext {
  bool picturesPresent = false;
  int width = 0, height = 0;
  int division = 16;
};

// The picture the manual shift moves (0 picture 1, otherwise picture 2): true when it changed
// while the manual shift is on (then prepare the pictures).
bool setManualTarget(PictureControlState& control, int target);
// The direction pad's step chosen by its selector's row: row 0 "1画素単位" (one whole pixel),
// row k the step 1/2^k.
void selectPadStep(PictureControlState& control, int row);

// Direction buttons "←", "→", "↑", "↓": the pressed button's flag takes the button state and
// the opposite flag is cleared.
void setDirectionButton(ShiftSetting& setting, ShiftDirection direction, bool pressed);

// "適用" of the amount edits: whole amounts below 0 become 0 (above W, H: W, H); a sub-step
// outside 0..n-1 is ignored (the previous value stays).
void applyAmountEdits(ShiftSetting& setting, int wholeX, int wholeY, int stepsX, int stepsY,
                      const ShiftContext& context);

// "ｸﾘｱ".
inline void clearShift(ShiftSetting& setting) {
  setting = {};
}

// The 32 x 32 direction pad split by its diagonals; points on a diagonal press nothing.
std::optional<ShiftDirection> padDirectionAt(int x, int y);

// A pad press: adds the pad step (one pixel, or 1/k) in the pressed direction to the signed
// totals of the current setting. Acts only while the manual shift is on and pictures are
// loaded; true when it acted (then prepare the pictures).
bool pressDirectionPad(PictureControlState& control, ShiftDirection direction,
                       const ShiftContext& context);

// The signed totals of a setting in 1/n steps (X: right positive; Y: up positive) and back.
struct SignedSteps {
  long long x = 0, y = 0;
};
SignedSteps signedSteps(const ShiftSetting& setting, int division);
ShiftSetting settingFromSignedSteps(SignedSteps steps, int division);

// Marks "1" and "2" (index 0, 1): "≪" stores the current setting and target; the mark button
// restores a valid mark (false for an empty one).
void storeMark(PictureControlState& control, int index);
bool restoreMark(PictureControlState& control, int index);
// "ｼﾌﾄ ﾏｰｸ情報のｸﾘｱ(&S)".
void clearMarks(PictureControlState& control);
// The two texts of a mark, X then Y: "%d+%d  (%d%s)"; empty for direction code 0 or an empty
// mark.
std::array<std::string, 2> markTexts(const ShiftMark& mark);

// Reference position: "≪" stores the cursor; "S" sets the manual shift that moves the content
// at the reference to the cursor (true when a reference exists: then apply when the manual
// shift is on).
void storeReference(PictureControlState& control, int cursorX, int cursorY);
bool shiftReferenceToCursor(PictureControlState& control, int cursorX, int cursorY,
                            const ShiftContext& context);
// The two reference edits, empty while no reference is stored.
std::array<std::string, 2> referenceTexts(const ReferencePosition& reference);

// "自動結果をｺﾋﾟｰ": the alignment result becomes the manual setting (target included); false
// when there is no result.
bool copyAlignmentResult(PictureControlState& control, const ShiftContext& context);

// `ShiftUnit` changed from `oldDivision` to `newDivision`: rescales the manual, mark and
// alignment-result sub-steps, switches the manual shift off, lowers the alignment precision (clearing the
// result and switching the alignment off) when it exceeds the new division, and resets the pad
// step to 1/newDivision.
void changeDivision(PictureControlState& control, int oldDivision, int newDivision);

}  // namespace vemla
