#include "gallery/gallery.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "gallery/messages.h"
#include "gallery/thumbnail.h"
#include "gallery/work_memory.h"
#include "picture/byte_source.h"
#include "picture/field_codec.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/memory_item.h"
#include "picture/messages.h"
#include "picture/true_colour.h"
#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla {

std::uint64_t SlotLimits::dataLimit() const {
  return dataItemLimit(maxWidth, maxHeight);
}

bool SlotLimits::pictureFits(std::int64_t width, std::int64_t height) const {
  return width >= kMinPictureSize && height >= kMinPictureSize && width <= maxWidth &&
         height <= maxHeight;
}

SlotLimits slotLimits(const Options& options) {
  return {options.MaxPictureWidth, options.MaxPictureHeight};
}

int slotBytesPerPixel(const persist::GallerySlot& slot) {
  return slot.trueColourCode == 1 ? 3 : slot.trueColourCode == 2 ? 4 : 1;
}

int trueColourCodeOf(int bytesPerPixel) {
  return bytesPerPixel == 3 ? 1 : bytesPerPixel == 4 ? 2 : 0;
}

std::int64_t slotContentBytes(const persist::GallerySlot& slot) {
  if (slot.kind == kSlotData) return slot.width;
  // Two 32-bit factors fit 63 bits with their sign; the third (at most 4) could overflow, so a
  // size that large saturates (no file is ever that long).
  const std::int64_t pixels = static_cast<std::int64_t>(slot.width) * slot.height;
  const int bytesPerPixel = slotBytesPerPixel(slot);
  if (pixels > std::numeric_limits<std::int64_t>::max() / bytesPerPixel) {
    return std::numeric_limits<std::int64_t>::max();
  }
  if (pixels < std::numeric_limits<std::int64_t>::min() / bytesPerPixel) {
    return std::numeric_limits<std::int64_t>::min();
  }
  return pixels * bytesPerPixel;
}

std::string slotFileName(int slot) {
  return text::format("%s%03d%s", "~~VemlaG", slot, ".dat");
}

std::string slotFilePath(const std::string& folder, int slot) {
  return inFolder(folder, slotFileName(slot));
}

std::string slotBackupPath(const std::string& folder, int slot) {
  return inFolder(folder, text::format("%s%03d%s", "~~VemlaG", slot, ".bak"));
}

std::string fitSlotTitle(std::string_view utf8, bool* replaced) {
  if (replaced != nullptr) text::utf8ToCp932Replacing(utf8, replaced);
  const std::string cp932 = fitCp932(utf8, kSlotTitleBytes);
  return text::cp932ToUtf8(cp932).value_or(std::string());
}

std::string titleFromFileName(std::string_view path, bool picture) {
  const std::string_view name = fileNamePart(stripQuotes(path));
  return fitSlotTitle(picture ? stripPictureExtension(name) : std::string(name));
}

std::string titleFromPictureName(std::string_view name) {
  if (!name.empty() && name.front() == '<') {
    return fitSlotTitle(name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view());
  }
  return titleFromFileName(name, true);
}

std::string shownTitle(const std::string& title) {
  return title.empty() ? text::tr(msg::kUntitled) : title;
}

std::string titleOrUntitled(const std::string& title) {
  return title.empty() ? msg::kUntitled : title;
}

std::string slotListLine(int slot, const persist::GallerySlot& record, bool translated) {
  const int number = slot + 1;
  const std::string title = translated ? shownTitle(record.title) : titleOrUntitled(record.title);
  const char* mark = record.trueColourCode != 0 ? msg::kTrueColourMark : "";
  switch (record.kind) {
    case kSlotPicture:
      return text::format(text::trWhen(translated, msg::kListPicture), number, title.c_str(), mark,
                          record.width, record.height);
    case kSlotData:
      return text::format(text::trWhen(translated, msg::kListData), number, title.c_str(),
                          record.width);
    case kSlotOver:
      if (record.height == 1)
        return text::format(text::trWhen(translated, msg::kListOverData), number, title.c_str(),
                            record.width);
      return text::format(msg::kListOverPicture, number, title.c_str(), mark, record.width,
                          record.height);
    default:
      return text::format(text::trWhen(translated, msg::kListEmpty), number);
  }
}

std::string titleExtension(std::string_view title) {
  const std::size_t dot = title.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view extension = title.substr(dot + 1);
  if (extension.empty() || extension.size() > 8) return {};
  for (const char c : extension) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return {};
  }
  return std::string(extension);
}

const persist::ExtensionAssociation* findAssociation(const persist::AssociationTable& table,
                                                     std::string_view extension) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  for (const persist::ExtensionAssociation& entry : table) {
    if (entry.extension.empty() || entry.extension.size() != extension.size()) continue;
    if (std::equal(extension.begin(), extension.end(), entry.extension.begin(),
                   [&](char a, char b) { return lower(a) == lower(b); })) {
      return &entry;
    }
  }
  return nullptr;
}

std::string slotMenuLine(int slot, const persist::GallerySlot& record) {
  return text::tr("＃") + slotListLine(slot, record, true).substr(1);
}

}  // namespace vemla
