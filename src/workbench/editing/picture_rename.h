#pragma once
// "画像%s名称の設定" on the workbench: the pseudo-name stored and the titles rebuilt.
#include <string_view>

#include "editing/picture_rename.h"
#include "ports/ports.h"
#include "workbench/workbench.h"

namespace vemla {

// Stores "<text>" as the name of `picture` and rebuilds the titles, then tells the listeners.
// Characters the name field cannot hold are stored as "?" with the notice
// "保存できない文字を ? に置き換えました". Returns 0, or -1 after the message of
// checkRenameText (the name is unchanged).
int setPseudoName(Workbench& bench, PictureSlot picture, std::string_view text, UserPort& user);

}  // namespace vemla
