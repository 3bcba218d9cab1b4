#pragma once
// The texts of the panes' title strips.
#include <string>

#include "workbench/view/pane_numbers.h"
#include "workbench/workbench.h"

namespace vemla {

// The label of a pane's title strip: "画像１(a.bmp)", "ｲﾒｰｼﾞ1（平均） x8".
std::string paneTitleText(const Workbench& bench, Pane pane);
// The explanation of a pane ("機能説明" and the quick help of its strip).
std::string paneHelpText(const Workbench& bench, Pane pane, bool grabScrollEnabled);

}  // namespace vemla
