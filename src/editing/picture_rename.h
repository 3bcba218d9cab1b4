#pragma once
// "画像%s名称の設定": gives Picture 1 or 2 a pseudo-name "<text>", which is shown in the titles
// and never taken for a file.
#include <optional>
#include <string>
#include <string_view>

#include "picture/picture_slot.h"

namespace vemla {

// The most CP932 bytes the entered text may take: with "<" and ">" it still fits the 512-byte
// name field.
inline constexpr int kRenameTextLimit = 507;

std::string renameTitle(PictureSlot picture);  // "画像１名称の設定" / "画像２名称の設定"

// What the field starts with: a pseudo-name without its angle brackets, else empty.
std::string renameFieldText(const std::string& currentName);

// nullopt when `text` can become a pseudo-name, else the message: more than 507 CP932 bytes
// ("ﾌｧｲﾙ名が長すぎます") or a character the name field cannot hold
// ("ﾌｧｲﾙ名に使用できない文字が含まれています", also for control characters). A name is never
// cut or stored lossily.
std::optional<std::string> checkRenameText(std::string_view text);

}  // namespace vemla
