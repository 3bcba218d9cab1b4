#pragma once
// "階調値ﾃｷｽﾄ保存" on the workbench: the chosen source plane written as text.
#include <string>

#include "editing/grey_value_text.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// "実行" after the file was chosen: checks the rectangle against the current size, writes the
// file and tells the operator of a failure ("指定の範囲に誤りがあります",
// "ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました", or "ﾌｧｲﾙの書き込みができません\n<path>"). True when written.
bool writeGreyValueFile(Workbench& bench, const TextExportSettings& settings,
                        const std::string& path, UserPort& user);

}  // namespace vemla
