#pragma once
// The user colour tables ("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞ"): their text file (read and written), the import of
// an 8-bit bitmap's palette, the interpolation of a grey-value range and the checks an entry
// passes before it is stored.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "picture/byte_source.h"
#include "processing/user_entries.h"
#include "text/translate.h"

namespace vemla {

// Red, green, blue for grey 0, then grey 1, ..., grey 255.
using UserColourTable = std::array<std::uint8_t, 768>;
inline constexpr int kColourTableLines = 256;
inline constexpr std::size_t kMaxColourNameLength = 31;

namespace msg::user_colours {
inline constexpr const char* kNotPaletteBitmap = text::N_("256色のﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません\n%s");
inline constexpr const char* kUnsupportedFile = text::N_("ｻﾎﾟｰﾄされていないﾌｧｲﾙです\n%s");
inline constexpr const char* kReadFailed = text::N_("ﾌｧｲﾙの読み込みに失敗しました\n%s");
inline constexpr const char* kOpenError = text::N_("ﾌｧｲﾙのｵｰﾌﾟﾝｴﾗｰです\n%s");
inline constexpr const char* kWriteError = text::N_("ﾌｧｲﾙの書き込みができません\n%s");
// The head of the format question; the editor adds the hints and the question.
inline constexpr const char* kFormatError =
    text::N_("ﾌｧｲﾙのﾌｫｰﾏｯﾄに誤りがあります(ﾗｲﾝ番号：%d)\n%s");
inline constexpr const char* kFormatHints = text::N_(
    "\n ※1～256行目に各々階調値0～255のRGB値を指定します\n ※RGB値は0～255の範囲で指定します"
    "(区切り記号は数字以外の文字)\n ＜例＞ 1行目 「 50,100,150\n」 階調値0は R:50 G:100 "
    "B:150\n\n編集しますか？");
inline constexpr const char* kNoMoreEntries = text::N_("これ以上追加できません");
inline constexpr const char* kNoColourName = text::N_("ｶﾗｰｲﾒｰｼﾞ名の指定がありません");
inline constexpr const char* kDuplicateColourName = text::N_("ｶﾗｰｲﾒｰｼﾞ名が重複しています");
// A name the user information file cannot hold is refused rather than stored cut or emptied.
inline constexpr const char* kColourNameTooLong = text::N_("ｶﾗｰｲﾒｰｼﾞ名が長すぎます");
inline constexpr const char* kColourNameUnstorable =
    text::N_("ｶﾗｰｲﾒｰｼﾞ名に使用できない文字が含まれています");
inline constexpr const char* kColourInUse = text::N_(
    "ｲﾒｰｼﾞ作成処理でﾕｰｻﾞｶﾗｰを指定している場合は削除できません\n「設定-ｶﾗｰ情報の初期化」で関連付けを"
    "ﾘｾｯﾄしてください");
}  // namespace msg::user_colours

// What the user colour editor keeps between openings while the program runs.
struct UserColourEditorState {
  std::string path;                           // the file last read or written
  int from = 0, to = 255;                     // the interpolation range
  std::array<bool, 3> channels{true, true, true};  // red, green, blue ticked for "補間"
  std::array<std::uint8_t, 3> lastColour{};   // the colour last chosen in the picker
  std::array<std::uint32_t, 16> customColours{};  // the picker's custom colours (0x00RRGGBB)
  int selection = -1;                         // the entry last edited
};

// The text format read as a stream: each line must hold three decimal numbers 0..255 separated
// by anything that is not a digit ('-' included); what follows the third number is ignored. A
// digit run saturates, so a number of any length above 255 makes its line bad. A line of any
// length is one line, and memory stays constant whatever the input. Reading stops at the
// 256th good line or the first bad one.
class ColourTextReader {
 public:
  // Takes the next bytes of the file; false once reading has stopped.
  bool feed(std::span<const std::uint8_t> bytes);
  // The end of the file: a last line without a line feed still counts.
  void finish();
  bool complete() const { return goodLines_ == kColourTableLines; }
  // One more than the number of good lines (257 when complete).
  int failingLine() const { return goodLines_ + 1; }
  // The good lines' values; the rest is zero.
  const UserColourTable& table() const { return table_; }

 private:
  void endNumber();
  void endLine();
  bool stopped_ = false;
  int goodLines_ = 0;
  int numbers_ = 0;    // complete numbers on the current line
  int value_ = 0;      // the digit run being read, saturated at 256
  bool inNumber_ = false;
  bool badLine_ = false;
  bool lineStarted_ = false;
  std::array<int, 3> line_{};
  UserColourTable table_{};
};

enum class ColourFileStatus {
  Read,
  OpenFailed,        // the file cannot be opened
  FormatError,       // a text file without 256 good lines
  NotPaletteBitmap,  // a bitmap that is not 8-bit
  Unsupported,       // not "BM", compressed or with a bad size
  ReadFailed,        // a bitmap that ends early, a text longer than any table
};
struct ColourFileRead {
  ColourFileStatus status = ColourFileStatus::Read;
  UserColourTable table{};  // valid when Read
  int failingLine = 0;      // for FormatError
};

// A ".bmp" name as an 8-bit bitmap's palette (blue-green-red turned into red-green-blue), any
// other name as text.
ColourFileRead readColourTableFile(const std::string& path);
ColourFileRead readColourTableText(ByteSource& in);
ColourFileRead readColourTableBitmap(ByteSource& in);
// The message of a failed read with the path (for FormatError the head of the question).
std::string colourFileMessage(const ColourFileRead& read, const std::string& path);

// The 256 lines " %3d, %3d, %3d   # %d\n", written to a temporary file that replaces `path`
// only when every write and the close succeeded; false leaves the old file as it was.
std::string colourTableText(const UserColourTable& table);
bool writeColourTableFile(const std::string& path, const UserColourTable& table);

// "補間": from and to limited to 0..255 and swapped when to < from; n = to - from. With n < 1
// nothing changes; else each ticked channel (red, green, blue) of grey from + i, i = 0..n-1,
// becomes floor(s + i * d / n + 0.5) with s the channel at from and d its value at to minus s.
// The value at to stays.
void interpolateColourTable(UserColourTable& table, int from, int to,
                            const std::array<bool, 3>& channels);

// The checks of "追加", "変更", "更新" and "OK" in their order: all slots in use when adding
// (`changing` < 0), an empty name, a name the file cannot hold, a name equal to another
// entry's in use (not the one being changed). The message of the first failure.
std::optional<std::string> checkColourEntry(
    const UserColourEntry& edit, const std::array<UserColourEntry, kUserEntryCount>& table,
    int changing);

// A name as the user information file reads it back: nonempty, at most 31 CP932 bytes.
bool isStorableColourName(std::string_view name);

}  // namespace vemla
