#pragma once
// Message texts of the picture files, shared by the windows, vemla-cli and the tests.
#include "text/translate.h"

namespace vemla::msg {

inline constexpr const char* kEditing = text::N_("画像の編集中です");
inline constexpr const char* kEditingCommand = text::N_("画像の編集中はこの機能が使用できません");
inline constexpr const char* kUnsupported = text::N_("ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです");
inline constexpr const char* kNot8Or24Or32 =
    text::N_("256色(8ﾋﾞｯﾄ)またはTrueColor(24/32ﾋﾞｯﾄ)ではありません");
inline constexpr const char* kReadFailed = text::N_("ﾌｧｲﾙの読み込みに失敗しました");
inline constexpr const char* kTooLarge = text::N_("画像ｻｲｽﾞが大きすぎます");
inline constexpr const char* kTooSmall = text::N_("画像ｻｲｽﾞが小さすぎます");
inline constexpr const char* kSizesDiffer = text::N_("画像ｻｲｽﾞが異なります");
inline constexpr const char* kSaveFailed = text::N_("保存できません");
inline constexpr const char* kItemTooLarge = text::N_("画像／ﾃﾞｰﾀのｻｲｽﾞが大きすぎます");
// A name that does not fit its 512-byte field, or (where it must be stored exactly, as the
// user program launcher's texts) holds characters the field cannot store.
inline constexpr const char* kNameTooLong = text::N_("ﾌｧｲﾙ名が長すぎます");
inline constexpr const char* kNameUnstorable = text::N_("ﾌｧｲﾙ名に使用できない文字が含まれています");
// A typed title or name was stored with the characters its field cannot hold written as "?".
inline constexpr const char* kCharactersReplaced =
    text::N_("保存できない文字を ? に置き換えました");

// "%s\n%s": a message followed by the file name.
inline constexpr const char* kWithName = "%s\n%s";
inline constexpr const char* kTooLargeWithName = text::N_("%s(最大 %dｘ%d)\n%s");
inline constexpr const char* kMinimumSuffix = text::N_("(最小 %dｘ%d)");
// A file read as a gallery or archive item below the minimum size: message, minimum, name.
inline constexpr const char* kItemTooSmall = text::N_("%s (%dx%d以上が必要)\n%s ");
inline constexpr const char* kMaximumSuffix = text::N_("(最大 %dｘ%d)");

}  // namespace vemla::msg
