#pragma once
// Kinds of a gallery slot and of an archive item (an archive never holds Over).
namespace vemla {

enum SlotKind : int {
  kSlotEmpty = 0,    // 空き
  kSlotPicture = 1,  // 画像
  kSlotData = 2,     // ﾃﾞｰﾀ
  kSlotOver = 3,     // outside the current limits: listed, never copied, saved or expanded
};

}  // namespace vemla
