#pragma once
// Result codes of the two transfer operations and the messages they turn into, shared by the
// windows, vemla-cli and the tests. Export gives 0 on success, import the received length;
// failures are the negative codes below.
#include <string>
#include <string_view>

#include "net/wire_format.h"
#include "ports/ports.h"

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

// Texts of the Export command and the import dialog.
namespace msg {
inline constexpr const char* kExportQuestion = "表示中の画像をExportします\nよろしいですか";
inline constexpr const char* kNoImportPassword =
    "Import許可を与えるためのﾊﾟｽﾜｰﾄﾞが設定されていません\n"
    "「ｵﾌﾟｼｮﾝ情報の設定-通信」でﾊﾟｽﾜｰﾄﾞを設定して下さい";
inline constexpr const char* kExportWaiting = "Export待ち．．．";
inline constexpr const char* kImportWaiting = "Import要求待ち．．．";
inline constexpr const char* kExported = "正常にExportされました　　　\n →%s\n   [%s]";
inline constexpr const char* kExporterPasswordMismatch =
    "Import要求がありましたがﾊﾟｽﾜｰﾄﾞが一致していません";
inline constexpr const char* kImporterPasswordMismatch = "Export先のﾊﾟｽﾜｰﾄﾞに誤りがあります";
inline constexpr const char* kTimedOut = "タイムアウトが発生しました";
inline constexpr const char* kTransferFailed = "通信に失敗しました(ｴﾗｰｺｰﾄﾞ:%d)";
inline constexpr const char* kReceivedTooLarge = "受信した画像が画像最大ｻｲｽﾞを超えています";
inline constexpr const char* kReceivedBadData = "受信したﾃﾞｰﾀに誤りがあります";
inline constexpr const char* kBadAddress = "IPｱﾄﾞﾚｽに誤りがあります";
inline constexpr const char* kNoTargetPassword = "Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい";
inline constexpr const char* kNameMissing = "名前を指定して下さい";
inline constexpr const char* kTargetsFull = "これ以上登録できません";
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
