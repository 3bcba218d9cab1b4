#pragma once
// The picture editor's actions on one picture plane ("画像%sの編集"): the coordinate range,
// the table pass of "演算実行", "階調" and "実行", the flips, the rotation, the shift and the
// direct entry of single values. Nothing here writes outside the W x H picture.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/edit_value.h"
#include "editing/picture_edit_kernels.h"
#include "processing/rect.h"
#include "processing/shift.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kOutsideRefused = text::N_("座標範囲外の指定はできません");
inline constexpr int kMaxRotationAngle = 359;

// The unshifted picture being edited: W x H bytes, rows top-down.
struct EditPlane {
  std::uint8_t* pixels = nullptr;
  int width = 0, height = 0;
};

// "座標範囲": off selects every pixel; on selects the rectangle's pixels ("範囲内") or the
// others ("範囲外").
struct CoordinateRange {
  bool on = false;
  bool outside = false;
  Rect rectangle{};
};

// The rectangle the geometric actions work on: the range's rectangle (corners limited to the
// picture and put in order) while the range is on, else the whole picture.
Rect actionRectangle(const CoordinateRange& range, int width, int height);

// Replaces every pixel the range selects by table[v]: "演算実行", "階調" and the conversion's
// "実行" are all one pass of this.
void applyTable(EditPlane plane, const CoordinateRange& range, const GreyTable& table);
// The same with a chosen kernel variant (tests and benchmarks), as are the overloads below.
void applyTable(const EditKernels& kernels, EditPlane plane, const CoordinateRange& range,
                const GreyTable& table);

// Work memory of the geometric actions, kept between calls.
struct EditWork {
  std::vector<std::uint8_t> rectangle, result;
  std::vector<std::int32_t> scratch;
};

// "左右" and "上下": mirror the rectangle's rows or columns. "範囲外" is refused (the message
// is returned; nullptr on success), as it is by rotateRectangle and shiftRectangle.
const char* flipHorizontal(EditPlane plane, const CoordinateRange& range);
const char* flipHorizontal(const EditKernels& kernels, EditPlane plane,
                           const CoordinateRange& range);
const char* flipVertical(EditPlane plane, const CoordinateRange& range);

// "回転": the w x h rectangle sits in the middle of a square of side S = max(w, h) at
// ((S - w) / 2, (S - h) / 2), black elsewhere; the square turns clockwise by `angle` (limited
// to 0..359) and its middle w x h goes back into the rectangle. 90, 180 and 270 degrees map
// indices exactly; other angles send each square point, row by row, through the 3D tool's flat
// projection (a later point overwriting an earlier one; points never hit are black). The
// square is walked, never built, so S * S may exceed a plane. The quarter turns may share
// their rows out through `parallel`; the result is the same.
const char* rotateRectangle(EditPlane plane, const CoordinateRange& range, int angle,
                            EditWork& work, const ParallelFor& parallel = {});
const char* rotateRectangle(const EditKernels& kernels, EditPlane plane,
                            const CoordinateRange& range, int angle, EditWork& work,
                            const ParallelFor& parallel = {});

// "ｼﾌﾄ": the rectangle as a w x h picture through shiftPicture (its zero bands and cubic frame
// fall inside the rectangle), whose rows may be shared out through `parallel`.
const char* shiftRectangle(EditPlane plane, const CoordinateRange& range, int division,
                           int interpolation, const ShiftAmount& amount, EditWork& work,
                           const ParallelFor& parallel = {});

// Direct entry of one value: a position outside the picture is ignored. True when the pixel
// changed.
bool setPixel(EditPlane plane, int x, int y, std::uint8_t value);

// The value grid: 17 x 17 cells around the cursor.
inline constexpr int kEditGridCells = 17;
inline constexpr int kEditGridHalf = kEditGridCells / 2;
// One cell's text: " %3d", "  %02X" with hexadecimal display, " ‥ " outside the picture.
std::string editCellText(const EditPlane& plane, int x, int y, bool hexadecimal);

// A click value ("左ｸﾘｯｸ", "右ｸﾘｯｸ"): decimal, or "0x" and hexadecimal, at most 6
// characters; limited to 0..255, and 0 for a text that is no number.
inline constexpr std::size_t kMaxClickValueText = 6;
std::uint8_t clickValue(std::string_view text);

}  // namespace vemla
