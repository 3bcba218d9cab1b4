#include "picture/memory_item.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "picture/bitmap.h"
#include "picture/byte_source.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "picture/raw.h"
#include "text/format.h"

namespace vemla {
namespace {

// Rows of `rowLength` bytes in file order become top-down rows of `width` bytes, in place.
void compactRows(std::uint8_t* pixels, int width, int height, int rowLength, bool topDown) {
  for (int row = 1; row < height; ++row) {
    std::memmove(pixels + static_cast<std::size_t>(row) * width,
                 pixels + static_cast<std::size_t>(row) * rowLength, width);
  }
  if (topDown) return;
  for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(pixels + static_cast<std::size_t>(top) * width,
                     pixels + static_cast<std::size_t>(top + 1) * width,
                     pixels + static_cast<std::size_t>(bottom) * width);
  }
}

int readBitmapItem(const MemoryItemRequest& request, UserPort& user,
                   std::span<std::uint8_t> destination, std::span<std::uint8_t> scratch,
                   MemoryItem& item) {
  const int bits = probePicture(request.name);
  if (bits < 0) return bits;
  if (bits != 8 && bits != 24 && bits != 32) return kUnsupported;
  PictureRead read;
  if (bits != 8 && request.convertTo8Bit) {
    const bool grey = request.trueColourMode == 1;
    RgbRatio ratios = request.ratios;
    if (grey && request.askRatio) {
      const std::optional<RgbRatio> asked =
          user.askRgbRatio(std::string(fileNamePart(request.name)), ratios);
      if (!asked) return kItemAbandoned;
      ratios = *asked;
    }
    const int rowLength =
        readPicture(request.name, destination, request.maxWidth, request.maxHeight, grey, ratios,
                    request.sixteen, scratch, read);
    if (rowLength < 0) return rowLength;
    compactRows(destination.data(), read.width, read.height, rowLength, read.topDown);
    item.bytesPerPixel = 1;
  } else {
    const int bytesPerPixel = readPictureIntoMemory(request.name, destination, request.maxWidth,
                                                    request.maxHeight, request.sixteen, read);
    if (bytesPerPixel < 0) return bytesPerPixel;
    item.bytesPerPixel = bytesPerPixel;
  }
  item.kind = kItemBitmap;
  item.width = read.width;
  item.height = read.height;
  item.palette = read.palette;
  return 0;
}

int readRawItem(const MemoryItemRequest& request, UserPort& user, RawSize& rawSize,
                std::span<std::uint8_t> destination, MemoryItem& item) {
  const std::optional<RawSize> asked =
      user.askRawSize(fileNamePart(request.name), fileSize(request.name), rawSize);
  if (!asked) return kItemAbandoned;
  if (asked->width < 1 || asked->height < 1 || asked->offset < 0) return kUnsupported;
  rawSize = *asked;
  if (asked->width > request.maxWidth || asked->height > request.maxHeight) return kTooLarge;
  item.kind = kItemRaw;
  item.bytesPerPixel = 1;
  item.width = asked->width;
  item.height = asked->height;
  item.palette = greyRamp();
  const std::size_t bytes =
      static_cast<std::size_t>(asked->width) * static_cast<std::size_t>(asked->height);
  if (bytes > destination.size()) return kTooLarge;
  if (readRawPicture(request.name, asked->offset, destination.first(bytes)) != 1) return kReadError;
  return 0;
}

int readDataItem(const MemoryItemRequest& request, std::span<std::uint8_t> destination,
                 MemoryItem& item) {
  const std::uint64_t limit = std::min<std::uint64_t>(
      dataItemLimit(request.maxWidth, request.maxHeight), destination.size());
  FileSource in(request.name);
  if (!in.isOpen()) return kReadError;
  // Read at most limit + 1 bytes: the file may grow after its size was taken.
  const std::size_t got = in.read(destination.data(), limit);
  std::uint8_t extra = 0;
  if (got == limit && in.read(&extra, 1) == 1) return kTooLarge;
  item.kind = kItemData;
  item.bytesPerPixel = 1;
  item.width = static_cast<int>(got);
  item.height = 1;
  item.palette = greyRamp();
  return 0;
}

void reportFailure(const MemoryItemRequest& request, UserPort& user, int result, bool dataItem) {
  const char* name = request.name.c_str();
  switch (result) {
    case kItemTooSmall:
      user.tell(Icon::Warning, text::format(text::tr(msg::kItemTooSmall), text::tr(msg::kTooSmall),
                                            request.minWidth, request.minHeight, name));
      return;
    case kTooLarge:
      if (dataItem) {
        user.tell(Icon::Warning,
                  text::format(text::tr("%s (%lluﾊﾞｲﾄ以内)\n%s"), text::tr(msg::kItemTooLarge),
                               static_cast<unsigned long long>(
                                   dataItemLimit(request.maxWidth, request.maxHeight)),
                               name));
      } else {
        user.tell(Icon::Warning,
                  text::format(text::tr("%s (%dx%d以内)\n%s"), text::tr(msg::kItemTooLarge),
                               request.maxWidth, request.maxHeight, name));
      }
      return;
    case kUnsupported:
      user.tell(Icon::Warning, text::format(msg::kWithName, text::tr(msg::kUnsupported), name));
      return;
    default:
      user.tell(Icon::Warning, text::format(msg::kWithName, text::tr(msg::kReadFailed), name));
      return;
  }
}

}  // namespace

std::uint64_t dataItemLimit(int maxWidth, int maxHeight) {
  return 4ULL * static_cast<std::uint64_t>(std::max(maxWidth, 0)) *
         static_cast<std::uint64_t>(std::max(maxHeight, 0));
}

int readFileIntoMemoryItem(const MemoryItemRequest& request, UserPort& user, RawSize& rawSize,
                           std::span<std::uint8_t> destination, std::span<std::uint8_t> scratch,
                           MemoryItem& item) {
  int result = 0;
  bool dataItem = false;
  // Picture files by their extension; which reader takes them, by their first bytes.
  if (isPictureName(request.name)) {
    result = readBitmapItem(request, user, destination, scratch, item);
  } else if (isRawName(request.name)) {
    result = readRawItem(request, user, rawSize, destination, item);
  } else if (request.noData) {
    return kItemNotPicture;
  } else {
    dataItem = true;
    result = readDataItem(request, destination, item);
  }
  if (result == 0 && !dataItem &&
      (item.width < request.minWidth || item.height < request.minHeight)) {
    result = kItemTooSmall;
  }
  if (result < 0 && request.report) reportFailure(request, user, result, dataItem);
  return result;
}

}  // namespace vemla
