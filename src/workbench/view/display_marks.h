#pragma once
// The four display-position marks of the image control ("1".."4" with "≪") and the image pane
// menus ("マーク１設定" .. "マーク４移動"): each holds a cursor position, kept in the program
// settings record so that it survives the session.
#include <array>
#include <string>

#include "workbench/workbench.h"

namespace vemla {

inline constexpr int kDisplayMarkCount = 4;

// "≪": mark `index` (0..3) takes the cursor position and the listeners are told, so that every
// window listing the marks shows it. An index outside 0..3 is ignored.
void storeDisplayMark(Workbench& bench, int index);

// The mark button: a valid mark moves the cursor there (clamped into the picture, fine position
// m / 2, view re-centred, both images rendered). False for an empty mark, an index outside
// 0..3, or while no pictures are loaded; nothing changes then.
bool restoreDisplayMark(Workbench& bench, int index);

// "表示ﾏｰｸ情報のｸﾘｱ(&D)"; the listeners are told.
void clearDisplayMarks(Workbench& bench);

// The pair of edits beside a mark, X then Y; both empty while the mark is not valid.
std::array<std::string, 2> displayMarkTexts(const Workbench& bench, int index);

}  // namespace vemla
