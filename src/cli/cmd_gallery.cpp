#include <filesystem>

#include "cli/user_port.h"
#include "cli/verbs.h"
#include "gallery/gallery.h"
#include "gallery/messages.h"
#include "gallery/work_memory.h"
#include "persist/gallery_info.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/gallery_startup.h"

namespace vemla::cli {
namespace {

int refuse(Context& io, const char* message) {
  io.err << text::tr(message) << '\n';
  return 1;
}

// The gallery of FOLDER as the first running copy would start it, sized and repaired in memory
// only: nothing in FOLDER is written. The limits are FOLDER's options unless --settings or --max
// name others.
bool openGallery(const Arguments& args, const std::string& folder, Workbench& bench,
                 UserPort& user) {
  if (!std::filesystem::is_directory(folder)) throw UsageError(folder + " is not a folder");
  Arguments options = args;
  if (!options.has(kSettingsFlag)) options.values[kSettingsFlag] = folder;
  bench.options = settingsOptions(options);
  if (const auto max = args.value("--max")) {
    std::tie(bench.options.MaxPictureWidth, bench.options.MaxPictureHeight) = parseMaxSize(*max);
  }
  bench.settings.folder = folder;
  persist::HeldGallery gallery;
  gallery.info.header.galleryCount = bench.options.GalleryCount;
  bool keepBad = false;
  // Without VemlaGinf.dat the folder's gallery is empty, of the count the window would start it
  // with; the file is not created.
  const persist::LoadStatus status =
      persist::loadGalleryInformation(folder, gallery.info, user, false, keepBad);
  if (status != persist::LoadStatus::Loaded && status != persist::LoadStatus::Absent) return false;
  bench.settings.gallery = std::move(gallery);
  return startGallery(bench, user, allocateThumbnails, false);
}

int gallery(const Arguments& args, Context& io) {
  if (args.positional.size() < 2) throw UsageError("gallery takes list or extract, then FOLDER");
  const std::string& action = args.positional[0];
  const std::string& folder = args.positional[1];
  if (action == "list" && args.positional.size() != 2) throw UsageError("list takes FOLDER");
  if (action == "extract" && args.positional.size() != 4) {
    throw UsageError("extract takes FOLDER N OUT");
  }
  if (action != "list" && action != "extract") {
    throw UsageError("unknown gallery action '" + action + "'");
  }
  CliUserPort user(io.err, std::nullopt, RgbRatio{});
  Workbench bench;
  if (!openGallery(args, folder, bench, user)) {
    io.err << text::format(msg::kWithName, text::tr(msg::kGalleryReadFailed),
                           inFolder(folder, "VemlaGinf.dat").c_str())
           << '\n';
    return 1;
  }
  const persist::HeldGallery& held = *liveGallery(bench);
  const int count = galleryCount(bench);
  if (action == "list") {
    io.out << "slots=" << count << '\n';
    for (int slot = 0; slot < count; ++slot) {
      io.out << slotListLine(slot, held.info.slotRecords[static_cast<std::size_t>(slot)]) << '\n';
    }
    return 0;
  }
  const int number = parseInt(args.positional[2], 1, count, "N");
  const std::string& out = args.positional[3];
  const persist::GallerySlot& record = held.info.slotRecords[static_cast<std::size_t>(number - 1)];
  if (record.kind != kSlotPicture && record.kind != kSlotData) {
    return refuse(io, msg::kNumberMissing);
  }
  if (record.kind == kSlotPicture && !checkOutputName(out, io)) return 1;
  WorkMemory content(static_cast<std::uint64_t>(slotContentBytes(record)));
  if (!content.ok()) return refuse(io, msg::kGalleryNoMemory);
  if (readSlot(bench, number - 1, content.span()) != 0) return refuse(io, msg::kGalleryReadFailed);
  if (record.kind == kSlotData) {
    if (writeFileAtomically(out, content.span())) return 0;
  } else if (writePictureFile(out, record.width, record.height, slotBytesPerPixel(record),
                              content.data(), &record.palette) == 0) {
    return 0;
  }
  io.err << text::format(msg::kWithName, text::tr(msg::kSaveFailed), out.c_str()) << '\n';
  return 1;
}

}  // namespace

Command galleryCommand() {
  return {"gallery",
          "list or extract the gallery of a program folder, writing nothing there",
          "usage: vemla-cli gallery list FOLDER\n"
          "       vemla-cli gallery extract FOLDER N OUT\n"
          "  Reads FOLDER's VemlaGinf.dat and slot files as the first running copy starts its\n"
          "  gallery (sizing and repair in memory only; the repair message goes to stderr).\n"
          "  list     prints slots=%d, then one line per slot as \"ギャラリーの保存\" lists them\n"
          "  extract  writes slot N (1..count): a picture as a bitmap (.bmp, or .raw for a grey\n"
          "           picture) with its palette, a data item as its bytes\n"
          "  --max WxH                     maximum picture size (default FOLDER's options)\n"
          "  --settings DIR                options from DIR/VemlaPinf.dat instead of FOLDER's\n",
          {"--max", "--settings"},
          {},
          gallery};
}

}  // namespace vemla::cli
