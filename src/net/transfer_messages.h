#pragma once
// Result codes of the two transfer operations and the messages they turn into, shared by the
// windows, vemla-cli and the tests. Export gives 0 on success, import the received length;
// failures are the negative codes below.
#include <string>
#include <string_view>

#include "net/wire_format.h"
#include "ports/ports.h"
#include "text/translate.h"

namespace vemla::net {

enum TransferCode : int {
  kLibraryStartFailed = -1,  // starting the socket library (nothing to start on Linux)
  kSocketFailed = -2,
  kConnectFailed = -3,  // the importer retries it until its time is up
  kBindFailed = -4,
  kListenFailed = -5,
  kAcceptFailed = -6,
  kPasswordMismatch = -7,
  kLengthTooLarge = -8,  // the announced length exceeds the receive buffer
  kReceiveFailed = -9,
  kPeerClosed = -10,  // the peer closed the connection before all bytes arrived
  kSendFailed = -11,
  kEventCreateFailed = -12,  // event objects do not exist on Linux
  kEventSelectFailed = -13,  // likewise
  kWaitFailed = -14,
  kTimedOut = -15,
  kEventsUnreadable = -16,  // the socket's pending error cannot be read
  kUnexpectedEvent = -17,   // poll() reports only what was asked for (and errors): not on Linux
  kCancelled = -18,         // the operator cancelled the waiting window: no message follows
};

// Texts of the Export command and the import dialog, translated where they are shown (none is
// sent over the network).
namespace msg {
inline constexpr const char* kExportQuestion =
    text::N_("表示中の画像をExportします\nよろしいですか");
inline constexpr const char* kNoImportPassword = text::N_(
    "Import許可を与えるためのﾊﾟｽﾜｰﾄﾞが設定されていません\n"
    "「ｵﾌﾟｼｮﾝ情報の設定-通信」でﾊﾟｽﾜｰﾄﾞを設定して下さい");
inline constexpr const char* kExportWaiting = text::N_("Export待ち．．．");
inline constexpr const char* kImportWaiting = text::N_("Import要求待ち．．．");
inline constexpr const char* kExported = text::N_("正常にExportされました　　　\n →%s\n   [%s]");
inline constexpr const char* kExporterPasswordMismatch =
    text::N_("Import要求がありましたがﾊﾟｽﾜｰﾄﾞが一致していません");
inline constexpr const char* kImporterPasswordMismatch =
    text::N_("Export先のﾊﾟｽﾜｰﾄﾞに誤りがあります");
inline constexpr const char* kTimedOut = text::N_("タイムアウトが発生しました");
inline constexpr const char* kTransferFailed = text::N_("通信に失敗しました(ｴﾗｰｺｰﾄﾞ:%d)");
inline constexpr const char* kReceivedTooLarge =
    text::N_("受信した画像が画像最大ｻｲｽﾞを超えています");
inline constexpr const char* kReceivedBadData = text::N_("受信したﾃﾞｰﾀに誤りがあります");
inline constexpr const char* kBadAddress = text::N_("IPｱﾄﾞﾚｽに誤りがあります");
inline constexpr const char* kNoTargetPassword = text::N_("Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい");
inline constexpr const char* kNameMissing = text::N_("名前を指定して下さい");
inline constexpr const char* kTargetsFull = text::N_("これ以上登録できません");
}  // namespace msg

struct Notice {
  Icon icon = Icon::Warning;
  std::string text;
};

// After serve: 0 with the importer's user name (already made safe to show) and its address,
// or a failure code.
Notice exportNotice(int code, std::string_view userName, std::string_view address);
// After fetch: a failure code (negative).
Notice importNotice(int code);
// After fetch succeeded but the pair was refused.
Notice payloadNotice(PayloadCheck check);

}  // namespace vemla::net
