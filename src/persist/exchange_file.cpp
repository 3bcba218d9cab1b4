#include "persist/exchange_file.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "persist/settings_io.h"
#include "picture/bitmap.h"
#include "picture/field_codec.h"
#include "picture/file_helpers.h"
#include "picture/true_colour.h"
#include "text/format.h"

namespace vemla::persist {
namespace {

constexpr std::size_t kTitleBytes = 512;
constexpr int kMinimumSize = 8;

std::string exchangePath(const std::string& folder) {
  return inFolder(folder, kExchangeFile);
}

// Bytes of the payload an item announces; -1 when the announced size is impossible.
std::int64_t payloadBytes(int kind, int colourCode, int width, int height) {
  if (kind == kExchangeData) return width < 0 ? -1 : width;
  if (width < 0 || height < 0) return -1;
  return static_cast<std::int64_t>(width) * height * bytesPerPixelOfCode(colourCode);
}

// A true-colour picture to 8 bits as a true-colour file is opened; false when the ratio
// dialog was cancelled.
bool convertTo8Bit(const ExchangeRequest& request, UserPort& user, ExchangeItem& item) {
  const int bytesPerPixel = bytesPerPixelOfCode(item.colourCode);
  if (bytesPerPixel == 1) return true;
  std::vector<std::uint8_t> grey(static_cast<std::size_t>(item.width) * item.height);
  if (!trueColourTo8Bit(request.trueColourMode, request.askRatio, request.ratios, user, "",
                        item.payload.data(), bytesPerPixel, item.width, item.height, grey.data(),
                        item.palette)) {
    return false;
  }
  item.payload = std::move(grey);
  item.colourCode = 0;
  return true;
}

}  // namespace

int bytesPerPixelOfCode(int colourCode) {
  return colourCode == 1 ? 3 : colourCode == 2 ? 4 : 1;
}

int decodeExchangeItem(std::span<const std::uint8_t> bytes, const ExchangeRequest& request,
                       ExchangeItem& item) {
  if (bytes.size() < kExchangeHeaderBytes) return kExchangeFailed;
  FieldReader r(bytes.first(kExchangeHeaderBytes));
  ExchangeItem read;
  read.kind = r.int32();
  read.colourCode = r.int32();
  read.title = r.text(kTitleBytes);
  read.width = r.int32();
  read.height = r.int32();
  r.skip(48);
  r.bytes(read.palette);
  if (read.kind != kExchangePicture && read.kind != kExchangeData) return kExchangeFailed;
  if (read.colourCode < 0 || read.colourCode > 2) return kExchangeFailed;
  if (read.kind == kExchangeData) {
    if (request.pictureOnly) return kExchangeNotPicture;
    if (read.width < 0) return kExchangeFailed;
    if (static_cast<std::uint64_t>(read.width) > request.dataLimit) return kExchangeDataTooLarge;
  } else {
    if (read.width < kMinimumSize || read.height < kMinimumSize) return kExchangeTooSmall;
    if (read.width > request.maxWidth || read.height > request.maxHeight) return kExchangeTooLarge;
  }
  const std::int64_t needed = payloadBytes(read.kind, read.colourCode, read.width, read.height);
  if (needed < 0 || static_cast<std::uint64_t>(needed) > bytes.size() - kExchangeHeaderBytes) {
    return kExchangeFailed;  // a short payload
  }
  const auto payload = bytes.subspan(kExchangeHeaderBytes, static_cast<std::size_t>(needed));
  read.payload.assign(payload.begin(), payload.end());
  item = std::move(read);
  return item.kind;
}

int readExchangeItem(const std::string& folder, const ExchangeRequest& request, UserPort& user,
                     ExchangeItem& item) {
  const std::string path = exchangePath(folder);
  const std::uint64_t pictureLimit = 4ull *
                                     static_cast<std::uint64_t>(std::max(request.maxWidth, 0)) *
                                     static_cast<std::uint64_t>(std::max(request.maxHeight, 0));
  const std::uint64_t limit = kExchangeHeaderBytes + std::max(pictureLimit, request.dataLimit);
  const FileBytes file = readFileStart(path, static_cast<std::size_t>(std::min<std::uint64_t>(
                                                 limit, std::numeric_limits<std::size_t>::max())));
  ExchangeItem read;
  int result = file.state == FileBytes::State::Read ? decodeExchangeItem(file.bytes, request, read)
                                                    : kExchangeFailed;
  // The sizes in a refusal message come from the header, whatever else it holds.
  int width = 0, height = 0;
  if (file.bytes.size() >= kExchangeHeaderBytes) {
    FieldReader header(std::span(file.bytes).subspan(520, 8));
    width = header.int32();
    height = header.int32();
  }
  switch (result) {
    case kExchangeFailed:
      user.tell(Icon::Error, text::tr(msg::kExchangeReadFailed));
      // The file is moved aside rather than deleted, so a damaged item is not lost.
      if (file.state != FileBytes::State::Absent) {
        std::rename(path.c_str(), (path + kBadSuffix).c_str());
      }
      return result;
    case kExchangeNotPicture:
      user.tell(Icon::Warning, text::tr(msg::kExchangeNotPicture));
      return result;
    case kExchangeDataTooLarge:
    case kExchangeTooLarge:
    case kExchangeTooSmall: {
      const char* what = result == kExchangeDataTooLarge ? msg::kExchangeDataTooLarge
                         : result == kExchangeTooLarge   ? msg::kExchangeTooLarge
                                                         : msg::kExchangeTooSmall;
      user.tell(Icon::Warning,
                text::format(text::tr(msg::kExchangeSize), text::tr(what), width, height));
      return result;
    }
    default:
      break;
  }
  if (read.kind == kExchangePicture && request.convertTo8Bit &&
      !convertTo8Bit(request, user, read)) {
    return kExchangeCancelled;
  }
  item = std::move(read);
  return result;
}

int writeExchangeItem(const std::string& folder, const ExchangeItem& item, UserPort& user) {
  const std::int64_t needed = payloadBytes(item.kind, item.colourCode, item.width, item.height);
  const bool valid = (item.kind == kExchangePicture || item.kind == kExchangeData) &&
                     item.colourCode >= 0 && item.colourCode <= 2 && needed >= 0 &&
                     static_cast<std::uint64_t>(needed) == item.payload.size();
  std::vector<std::uint8_t> header(kExchangeHeaderBytes, 0);
  FieldWriter w(header);
  w.int32(item.kind);
  w.int32(item.colourCode);
  w.text(item.title, kTitleBytes);
  w.int32(item.width);
  w.int32(item.height);
  w.zeros(48);
  w.bytes(item.palette);
  const bool written =
      valid && writeFileAtomically(exchangePath(folder), [&](const ByteSink& sink) {
        return sink(header.data(), header.size()) && sink(item.payload.data(), item.payload.size());
      });
  if (!written) {
    user.tell(Icon::Error, text::tr(msg::kExchangeWriteFailed));
    return -1;
  }
  return 0;
}

bool exchangeItemPresent(const std::string& folder) {
  return fileExists(exchangePath(folder));
}

bool deleteExchangeFile(const std::string& folder) {
  return std::remove(exchangePath(folder).c_str()) == 0;
}

}  // namespace vemla::persist
