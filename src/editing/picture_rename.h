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
// once stored ("ﾌｧｲﾙ名が長すぎます"). A name is never cut.
std::optional<std::string> checkRenameText(std::string_view text);

// The text as the name field stores it: a control character (a zero byte above all, which
// would cut the name) and a character CP932 cannot hold become "?"; `replaced` tells whether
// any did.
std::string storedRenameText(std::string_view text, bool* replaced);

}  // namespace vemla
