#pragma once
// What the picture edit dialog keeps while the program runs (its fields and the conversion
// table), and the state of one editing session.
#include <set>
#include <string>
#include <utility>

#include "editing/edit_value.h"
#include "editing/picture_edit.h"
#include "picture/picture_slot.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kEditTitle1 = text::N_("画像１の編集");
inline constexpr const char* kEditTitle2 = text::N_("画像２の編集");

struct EditSettings {
  CoordinateRange range;  // "座標範囲", "範囲内"/"範囲外" and the corners
  GreyRange grey;         // "階調範囲(演算実行時のみ有効)"
  EditOperation operation = EditOperation::Set;
  std::string operand = "0";  // the value field, at most kMaxOperandText characters
  int angle = 90;             // "回転", 0..359 degrees clockwise
  // "ｼﾌﾄ": right instead of left, down instead of up, whole pixels and sub-steps (0..n-1).
  bool right = false, down = false;
  int pixelsX = 0, stepsX = 0, pixelsY = 0, stepsY = 0;
  std::string leftValue = "255", rightValue = "0";  // the click values
  bool hexadecimal = false;                         // "16進表示"
  GreyTable table = identityTable();                // "階調値の変換"
};

// One opening of the dialog, from 40034/40035 to "終了" or "ｷｬﾝｾﾙ".
struct EditSession {
  PictureSlot picture = PictureSlot::First;
  bool modified = false;
  std::string snapshot;  // the "$VE" temporary file holding the picture's bytes
  std::set<std::pair<int, int>> changedCells;  // direct entries since the last snapshot
};

struct PictureEditMemory {
  EditSettings settings;
  EditSession session;
  int openedWidth = 0, openedHeight = 0;  // the picture size at the previous opening
  EditWork work;
};

}  // namespace vemla
