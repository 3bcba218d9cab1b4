#pragma once
// Message texts of the user program launcher, shared by its dialog, vemla-cli and the tests.
#include "text/translate.h"

namespace vemla::launcher_msg {

inline constexpr const char* kBadProgram = text::N_("起動ﾌﾟﾛｸﾞﾗﾑ名称に誤りがあります");
inline constexpr const char* kBadFileArgument = text::N_("引数の %s が示すﾌｧｲﾙ名に誤りがあります");
inline constexpr const char* kBadGalleryNumber = text::N_("ｷﾞｬﾗﾘｰ番号の指定に誤りがあります");
inline constexpr const char* kGalleryNotGrey = text::N_("ｷﾞｬﾗﾘｰが256色の画像情報ではありません");
inline constexpr const char* kTwoOutputs = text::N_("引数に <OUT> が複数指定されています");
inline constexpr const char* kOutputNeeded =
    text::N_("ﾌﾟﾛｸﾞﾗﾑからの出力がある場合は <OUT> の指定が必要です");
inline constexpr const char* kGalleryReadFailed =
    text::N_("ｷﾞｬﾗﾘｰ#%d ﾌｧｲﾙの読み込みに失敗しました\n%s");
inline constexpr const char* kTemporaryFailed = text::N_("ﾃﾝﾎﾟﾗﾘﾌｧｲﾙの作成に失敗しました\n%s");
inline constexpr const char* kNoOutput = text::N_("（警告）ﾌﾟﾛｸﾞﾗﾑからの出力がありません");
inline constexpr const char* kExitStatus = text::N_("（終了ｺｰﾄﾞ） %d");
inline constexpr const char* kEndedBySignal = text::N_("（異常終了） ｼｸﾞﾅﾙ %d");

// Reading the program's output back.
inline constexpr const char* kOutputBitmap = text::N_("出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ");
inline constexpr const char* kOutputNot256 = text::N_("が256色ではありません\n%s");
inline constexpr const char* kOutputUnsupported = text::N_("はｻﾎﾟｰﾄされていない形式です\n%s");
inline constexpr const char* kOutputReadFailed = text::N_("の読み込みに失敗しました\n%s");
inline constexpr const char* kOutputSize =
    text::N_("のｻｲｽﾞが状態と一致しません\nX:%d Y:%d で作成して下さい");
inline constexpr const char* kOutputRawFailed =
    text::N_("出力されたRAWﾌｧｲﾙの読み込みに失敗しました\n%s");

// Launch files.
inline constexpr const char* kFileReadError = text::N_("ﾌｧｲﾙの読み込みｴﾗｰが発生しました\n%s");
inline constexpr const char* kNotLaunchFile =
    text::N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ起動情報のﾌｧｲﾙではありません\n%s");
inline constexpr const char* kFileWriteError = text::N_("ﾌｧｲﾙの書き込みｴﾗｰが発生しました\n%s");

}  // namespace vemla::launcher_msg
