#include "net/transfer_messages.h"

#include "text/format.h"
#include "text/translate.h"

namespace vemla::net {
namespace {

Notice failure(int code, const char* passwordMismatch) {
  if (code == kTimedOut) return {Icon::Warning, text::tr(msg::kTimedOut)};
  if (code == kPasswordMismatch) return {Icon::Warning, text::tr(passwordMismatch)};
  return {Icon::Warning, text::format(text::tr(msg::kTransferFailed), code)};
}

}  // namespace

Notice exportNotice(int code, std::string_view userName, std::string_view address) {
  if (code == 0) {
    return {Icon::Info, text::format(text::tr(msg::kExported), std::string(userName).c_str(),
                                     std::string(address).c_str())};
  }
  return failure(code, msg::kExporterPasswordMismatch);
}

Notice importNotice(int code) {
  return failure(code, msg::kImporterPasswordMismatch);
}

Notice payloadNotice(PayloadCheck check) {
  return {Icon::Warning,
          text::tr(check == PayloadCheck::TooLarge ? msg::kReceivedTooLarge
                                                   : msg::kReceivedBadData)};
}

}  // namespace vemla::net
