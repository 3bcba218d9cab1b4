#pragma once
// The texts of the panes' title strips.
#include <string>

#include "workbench/workbench.h"

namespace vemla {

// The label of a pane's title strip: "画像１(a.bmp)", "ｲﾒｰｼﾞ1（平均） x8".
std::string paneTitleText(const Workbench& bench, int pane);
// The explanation of a pane ("機能説明" and the quick help of its strip).
std::string paneHelpText(const Workbench& bench, int pane, bool grabScrollEnabled);

}  // namespace vemla
