#include <cstdint>
#include <string>
#include <tuple>

#include "cli/verbs.h"
#include "gallery/archive.h"
#include "gallery/messages.h"
#include "gallery/work_memory.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/memory_item.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "picture/picture_state.h"
#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla::cli {
namespace {

int refuse(Context& io, const std::string& message, const std::string& name) {
  io.err << text::format(msg::kWithName, text::tr(message).c_str(), name.c_str()) << '\n';
  return 1;
}

// The workbench's text for an archive result; a failed write names no code (the caller names
// the archive).
std::string archiveMessage(int result, bool writing) {
  switch (result) {
    case kArchiveNotArchive:
      return msg::kNotArchive;
    case kArchiveFull: {
      std::string text = text::format(text::tr(msg::kSaveLimitWarning), kArchiveMaxItems);
      if (!text.empty() && text.back() == '\n') text.pop_back();
      return text;
    }
    case kArchiveNoSuchItem:
      return msg::kNumberMissing;
    case kArchiveTooLarge:
      return writing ? msg::kGalleryStoreFailed : msg::kItemTooLarge;
    default:
      return writing ? msg::kGalleryStoreFailed : msg::kArchivePictureReadFailed;
  }
}

SlotLimits limitsOf(const Arguments& args) {
  const Options options = settingsOptions(args);
  SlotLimits limits{options.MaxPictureWidth, options.MaxPictureHeight};
  if (const auto max = args.value("--max")) {
    std::tie(limits.maxWidth, limits.maxHeight) = parseMaxSize(*max);
  }
  return limits;
}

int create(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("create takes FILE");
  const std::string& file = args.positional[1];
  const int result = createArchive(file);
  return result == 0 ? 0 : refuse(io, archiveMessage(result, true), file);
}

// A picture item as the file holds it (8-bit with its palette, colour as 3/4 bytes per pixel);
// 0 or 1 after the message.
int readPictureItem(const std::string& name, const SlotLimits& limits,
                    const SixteenBitConversion& sixteen, std::span<std::uint8_t> buffer,
                    ArchiveItemInfo& item, Context& io) {
  const int bits = probePicture(name);
  if (bits == kReadError) return refuse(io, msg::kReadFailed, name);
  if (bits == kUnsupported) return refuse(io, msg::kUnsupported, name);
  if (bits != 8 && bits != 24 && bits != 32) return refuse(io, msg::kNot8Or24Or32, name);
  PictureRead read;
  const int bytesPerPixel =
      readPictureIntoMemory(name, buffer, limits.maxWidth, limits.maxHeight, sixteen, read);
  if (bytesPerPixel == kTooLarge) {
    io.err << text::format(text::tr(msg::kTooLargeWithName), text::tr(msg::kTooLarge),
                           limits.maxWidth, limits.maxHeight, name.c_str())
           << '\n';
    return 1;
  }
  if (bytesPerPixel == kUnsupported) return refuse(io, msg::kUnsupported, name);
  if (bytesPerPixel < 0) return refuse(io, msg::kReadFailed, name);
  if (read.width < kMinPictureSize || read.height < kMinPictureSize) {
    io.err << text::format(text::tr(msg::kItemTooSmall), text::tr(msg::kTooSmall), kMinPictureSize,
                           kMinPictureSize, name.c_str())
           << '\n';
    return 1;
  }
  item.kind = kSlotPicture;
  item.width = read.width;
  item.height = read.height;
  item.bytesPerPixel = bytesPerPixel;
  item.hasPalette = bytesPerPixel == 1;
  item.palette = bytesPerPixel == 1 ? read.palette : greyRamp();
  return 0;
}

// Any other file is a data item of all its bytes, up to the data limit.
int readDataItem(const std::string& name, const SlotLimits& limits, std::span<std::uint8_t> buffer,
                 ArchiveItemInfo& item, Context& io) {
  const auto bytes = readWholeFile(name, limits.dataLimit());
  if (!bytes) {
    const std::int64_t size = fileSize(name);
    const bool tooLarge = size >= 0 && static_cast<std::uint64_t>(size) > limits.dataLimit();
    return refuse(io, tooLarge ? msg::kItemTooLarge : msg::kReadFailed, name);
  }
  std::copy(bytes->begin(), bytes->end(), buffer.begin());
  item.kind = kSlotData;
  item.width = static_cast<int>(bytes->size());
  item.height = 1;
  return 0;
}

int add(const Arguments& args, Context& io) {
  const bool empty = args.has("--empty");
  if (args.positional.size() != (empty ? 2u : 3u)) {
    throw UsageError("add takes FILE and either ITEM or --empty");
  }
  const std::string& file = args.positional[1];
  const SlotLimits limits = limitsOf(args);
  ArchiveItemInfo item;
  WorkMemory content(empty ? 0 : limits.dataLimit());
  WorkMemory work(empty ? 0 : limits.dataLimit());
  if (!content.ok() || !work.ok()) return refuse(io, msg::kGalleryNoMemory, file);
  if (!empty) {
    const std::string& name = args.positional[2];
    const bool picture = isPictureName(name);
    const int read = picture ? readPictureItem(name, limits, settingsOptions(args).SixteenBit,
                                               content.span(), item, io)
                             : readDataItem(name, limits, content.span(), item, io);
    if (read != 0) return read;
    item.title = titleFromFileName(name, picture);
  }
  if (const auto title = args.value("--title")) {
    // Stored as every title is: a character CP932 cannot hold becomes "?".
    if (text::utf8ToCp932Replacing(*title).size() >= kArchiveTitleBytes) {
      throw UsageError("--title must fit 127 bytes of CP932");
    }
    item.title = *title;
  }
  const int result = appendArchiveItem(file, item, content.span(), work.span());
  if (result < 0) return refuse(io, archiveMessage(result, true), file);
  io.out << result << '\n';
  return 0;
}

int list(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("list takes FILE");
  return listArchive(args.positional[1], args, io);
}

int extract(const Arguments& args, Context& io) {
  if (args.positional.size() != 4) throw UsageError("extract takes FILE N OUT");
  const std::string& file = args.positional[1];
  const int number = parseInt(args.positional[2], 1, kArchiveMaxItems, "N");
  const std::string& out = args.positional[3];
  const SlotLimits limits = limitsOf(args);
  WorkMemory content(limits.dataLimit());
  WorkMemory work(limits.dataLimit());
  if (!content.ok() || !work.ok()) return refuse(io, msg::kGalleryNoMemory, file);
  ArchiveItemRead read;
  const int result = readArchiveItem(file, number, read, content.span(), work.span());
  if (result != 0) return refuse(io, archiveMessage(result, false), file);
  const ArchiveItemInfo& item = read.info;
  if (item.kind == kSlotEmpty) return refuse(io, msg::kNumberMissing, file);
  if (item.kind == kSlotData) {
    const std::span<const std::uint8_t> bytes =
        content.span().first(static_cast<std::size_t>(item.width));
    return writeFileAtomically(out, bytes) ? 0 : refuse(io, msg::kSaveFailed, out);
  }
  if (!checkOutputName(out, io)) return 1;
  if (writePictureFile(out, item.width, item.height, item.bytesPerPixel, content.data(),
                       &item.palette) != 0) {
    return refuse(io, msg::kSaveFailed, out);
  }
  return 0;
}

int archive(const Arguments& args, Context& io) {
  if (args.positional.empty()) throw UsageError("archive takes create, add, list or extract");
  const std::string& action = args.positional[0];
  if (action != "add" && (args.has("--title") || args.has("--empty"))) {
    throw UsageError("--title and --empty belong to add");
  }
  if (action == "create") return create(args, io);
  if (action == "add") return add(args, io);
  if (action == "list") return list(args, io);
  if (action == "extract") return extract(args, io);
  throw UsageError("unknown archive action '" + action + "'");
}

}  // namespace

int listArchive(const std::string& file, const Arguments& args, Context& io) {
  const SlotLimits limits = limitsOf(args);
  std::vector<ArchiveItemInfo> items;
  const int count = readArchiveDirectory(file, items);
  if (count < 0) return refuse(io, archiveMessage(count, false), file);
  io.out << "items=" << count << '\n';
  for (std::size_t index = 0; index < items.size(); ++index) {
    io.out << archiveListLine(static_cast<int>(index) + 1, items[index], limits) << '\n';
  }
  return 0;
}

Command archiveCommand() {
  return {"archive",
          "create, fill, list and unpack archive files (.vla)",
          "usage: vemla-cli archive create FILE\n"
          "       vemla-cli archive add FILE [--title T] (--empty | ITEM)\n"
          "       vemla-cli archive list FILE\n"
          "       vemla-cli archive extract FILE N OUT\n"
          "  create   writes an archive without items (an existing file is replaced)\n"
          "  add      appends ITEM: a .bmp becomes a picture item (8-bit with its palette,\n"
          "           24/32-bit kept as 3/4 bytes per pixel), any other file a data item;\n"
          "           --empty appends an empty item. Prints the new item count.\n"
          "           --title T   the item's title (default: the file name; a picture's\n"
          "                       without its extension), at most 127 bytes of CP932\n"
          "  list     prints 'items=N' and one line per item as the gallery lists them\n"
          "  extract  writes item N (1..256): a picture as a bitmap (.bmp; a grey picture may\n"
          "           also go to .raw), a data item as its bytes; an empty item is refused\n"
          "  --max WxH  maximum picture size, {MaxPictureWidth:range}, multiples of 4 (items and "
          "buffers\n"
          "             are limited to it as in the workbench)\n"
          "  --settings FOLDER  options from FOLDER/VemlaPinf.dat (the flags still win)\n",
          {"--title", "--max"},
          {"--empty"},
          archive};
}

}  // namespace vemla::cli
