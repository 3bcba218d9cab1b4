#pragma once
// Message texts of the user program launcher, shared by its dialog, vemla-cli and the tests.
namespace vemla::launcher_msg {

inline constexpr const char* kBadProgram = "起動ﾌﾟﾛｸﾞﾗﾑ名称に誤りがあります";
inline constexpr const char* kBadFileArgument = "引数の %s が示すﾌｧｲﾙ名に誤りがあります";
inline constexpr const char* kBadGalleryNumber = "ｷﾞｬﾗﾘｰ番号の指定に誤りがあります";
inline constexpr const char* kGalleryNotGrey = "ｷﾞｬﾗﾘｰが256色の画像情報ではありません";
inline constexpr const char* kTwoOutputs = "引数に <OUT> が複数指定されています";
inline constexpr const char* kOutputNeeded = "ﾌﾟﾛｸﾞﾗﾑからの出力がある場合は <OUT> の指定が必要です";
inline constexpr const char* kGalleryReadFailed = "ｷﾞｬﾗﾘｰ#%d ﾌｧｲﾙの読み込みに失敗しました\n%s";
inline constexpr const char* kTemporaryFailed = "ﾃﾝﾎﾟﾗﾘﾌｧｲﾙの作成に失敗しました\n%s";
inline constexpr const char* kNoOutput = "（警告）ﾌﾟﾛｸﾞﾗﾑからの出力がありません";
inline constexpr const char* kExitStatus = "（終了ｺｰﾄﾞ） %d";
inline constexpr const char* kEndedBySignal = "（異常終了） ｼｸﾞﾅﾙ %d";

// Reading the program's output back.
inline constexpr const char* kOutputBitmap = "出力されたﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ";
inline constexpr const char* kOutputNot256 = "が256色ではありません\n%s";
inline constexpr const char* kOutputUnsupported = "はｻﾎﾟｰﾄされていない形式です\n%s";
inline constexpr const char* kOutputReadFailed = "の読み込みに失敗しました\n%s";
inline constexpr const char* kOutputSize = "のｻｲｽﾞが状態と一致しません\nX:%d Y:%d で作成して下さい";
inline constexpr const char* kOutputRawFailed = "出力されたRAWﾌｧｲﾙの読み込みに失敗しました\n%s";

// Launch files.
inline constexpr const char* kFileReadError = "ﾌｧｲﾙの読み込みｴﾗｰが発生しました\n%s";
inline constexpr const char* kNotLaunchFile = "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ起動情報のﾌｧｲﾙではありません\n%s";
inline constexpr const char* kFileWriteError = "ﾌｧｲﾙの書き込みｴﾗｰが発生しました\n%s";

}  // namespace vemla::launcher_msg
