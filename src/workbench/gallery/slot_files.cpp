#include "workbench/gallery/slot_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "gallery/gallery.h"
#include "gallery/messages.h"
#include "gallery/work_memory.h"
#include "persist/exchange_file.h"
#include "persist/small_tables.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"

namespace vemla {
namespace {

persist::GallerySlot* recordOf(Workbench& bench, int slot) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return nullptr;
  return &gallery->info.slotRecords[static_cast<std::size_t>(slot)];
}

DataAssociation& handOverOf(Workbench& bench, int slot) {
  return bench.gallery.associations[static_cast<std::size_t>(slot)];
}

// This process's own folder for handed-over data, made once under $TMPDIR (else /tmp) with
// mkdtemp, so no other user or process can place or replace a file in it.
std::optional<std::string> privateFolder(Workbench& bench) {
  std::string& folder = bench.gallery.privateFolder;
  if (!folder.empty() && std::filesystem::is_directory(folder)) return folder;
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && base[0] == '/' ? base : "/tmp") + "/vemla-data-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return std::nullopt;
  folder = pattern;
  return folder;
}

}  // namespace

int copySlotToExchange(Workbench& bench, UserPort& user, int slot, bool cut) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  if (record->kind != kSlotPicture && record->kind != kSlotData) return kSlotAbandoned;
  persist::ExchangeItem item;
  item.kind = record->kind == kSlotPicture ? persist::kExchangePicture : persist::kExchangeData;
  item.colourCode = record->kind == kSlotPicture ? record->trueColourCode : 0;
  item.title = record->title;
  item.width = record->width;
  item.height = record->height;
  item.palette = record->palette;
  try {
    item.payload.resize(static_cast<std::size_t>(slotContentBytes(*record)));
  } catch (const std::bad_alloc&) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return kSlotFailed;
  }
  if (readSlot(bench, slot, item.payload) != 0) {
    user.tell(Icon::Error, text::tr(msg::kGalleryReadFailed));
    return kSlotFailed;
  }
  if (persist::writeExchangeItem(bench.settings.folder, item, user) != 0) return kSlotFailed;
  if (cut) {
    record->kind = kSlotEmpty;
    handOverOf(bench, slot) = {};
    saveGalleryNow(bench, user);
  }
  return 0;
}

int pasteExchangeToSlot(Workbench& bench, UserPort& user, int slot) {
  if (recordOf(bench, slot) == nullptr) return kSlotNotUsable;
  const SlotLimits limits = slotLimits(bench.options);
  persist::ExchangeRequest request;
  request.pictureOnly = false;
  request.maxWidth = limits.maxWidth;
  request.maxHeight = limits.maxHeight;
  request.dataLimit = limits.dataLimit();
  persist::ExchangeItem item;
  const int kind = persist::readExchangeItem(bench.settings.folder, request, user, item);
  if (kind == persist::kExchangeData)
    return storeDataInSlot(bench, user, slot, item.payload, item.title);
  if (kind != persist::kExchangePicture)
    return kind == persist::kExchangeCancelled ? kSlotAbandoned : kSlotFailed;
  SlotPicture picture;
  picture.pixels = item.payload;
  picture.width = item.width;
  picture.height = item.height;
  picture.bytesPerPixel = persist::bytesPerPixelOfCode(item.colourCode);
  picture.palette = &item.palette;
  picture.title = item.title;
  return storePictureInSlot(bench, user, slot, picture);
}

int storeFilesInSlots(Workbench& bench, UserPort& user, int slot,
                      const std::vector<std::string>& files, bool continuous) {
  const int count = galleryCount(bench);
  int stored = 0;
  for (const std::string& file : files) {
    const int target = slot + stored;
    if (target >= count || (!continuous && stored == 1)) break;
    if (storeFileInSlot(bench, user, target, file) != 0) break;
    ++stored;
    if ((target + 1) % 4 == 0) {
      liveGallery(bench)->info.header.firstShownSlot = target / 4 * 4;
    }
  }
  return stored;
}

std::optional<AssociationChoice> associationChoice(const Workbench& bench, UserPort& user,
                                                   int slot) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return std::nullopt;
  const persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
  if (record.kind != kSlotData) return std::nullopt;
  AssociationChoice choice;
  choice.extension = titleExtension(record.title);
  if (choice.extension.empty()) {
    user.tell(Icon::Warning, text::tr(msg::kAssociationBadExtension));
    return std::nullopt;
  }
  const persist::AssociationTable& table = bench.settings.associations;
  if (const persist::ExtensionAssociation* own = findAssociation(table, choice.extension)) {
    choice.entry = static_cast<int>(own - table.data());
    choice.application = own->application;
    return choice;
  }
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].extension.empty()) {
      choice.entry = static_cast<int>(i);
      break;
    }
  }
  return choice;
}

bool storeAssociation(Workbench& bench, UserPort& user, int entry, const std::string& extension,
                      const std::string& application) {
  persist::AssociationTable& table = bench.settings.associations;
  if (entry < 0 || entry >= static_cast<int>(table.size()) ||
      titleExtension("." + extension) != extension || application.empty()) {
    return false;
  }
  const persist::AssociationTable before = table;
  table[static_cast<std::size_t>(entry)] = {extension, application};
  if (!bench.secondCopy && !persist::saveAssociations(bench.settings.folder, table, user,
                                                      bench.settings.keepBad.associations)) {
    table = before;
    return false;
  }
  return true;
}

bool removeAssociation(Workbench& bench, UserPort& user, int slot) {
  const persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr) return false;
  persist::AssociationTable& table = bench.settings.associations;
  const persist::ExtensionAssociation* own = findAssociation(table, titleExtension(record->title));
  if (own == nullptr) return false;
  if (!user.askYesNo(text::format(text::tr(msg::kDissociateQuestion), own->extension.c_str(),
                                  own->application.c_str()))) {
    return false;
  }
  const persist::AssociationTable before = table;
  table[static_cast<std::size_t>(own - table.data())] = {};
  if (!bench.secondCopy && !persist::saveAssociations(bench.settings.folder, table, user,
                                                      bench.settings.keepBad.associations)) {
    table = before;
    return false;
  }
  return true;
}

std::optional<std::string> dataFileName(const std::string& title) {
  // The last component after "/"; a backslash stays in the name and refuses it.
  const std::size_t slash = title.rfind('/');
  const std::string name = slash == std::string::npos ? title : title.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f ||
        std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
      return std::nullopt;
    }
  }
  if (titleExtension(name).empty()) return std::nullopt;
  return name;
}

std::optional<DataOpening> writeDataForOpening(
    Workbench& bench, UserPort& user, const std::string& title, std::uint64_t size,
    const std::function<bool(std::span<std::uint8_t>)>& read) {
  // Only the last path component counts: a title naming folders never leaves the folder.
  const std::optional<std::string> name = dataFileName(title);
  if (!name) {
    user.tell(Icon::Warning, text::tr(msg::kDataNameUnusable));
    return std::nullopt;
  }
  DataOpening opening;
  std::string extension = titleExtension(*name);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  opening.program = extension == "exe";
  std::optional<std::string> folder;
  if (opening.program) {
    folder = inFolder(bench.settings.folder, "ExecProgram");
    std::error_code ignored;
    std::filesystem::create_directory(*folder, ignored);
    if (!std::filesystem::is_directory(*folder)) folder.reset();
  } else {
    folder = privateFolder(bench);
  }
  WorkMemory content(size);
  if (!folder || !content.ok() || !read(content.span())) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryReadFailed));
    return std::nullopt;
  }
  opening.path = inFolder(*folder, *name);
  deleteFile(opening.path);
  if (!writeFileAtomically(opening.path, content.span()) ||
      (opening.program && ::chmod(opening.path.c_str(), 0755) != 0)) {
    user.tell(Icon::Warning,
              text::format(text::tr(msg::kWithName), text::tr(msg::kFileWriteFailed), opening.path.c_str()));
    return std::nullopt;
  }
  if (const persist::ExtensionAssociation* own =
          findAssociation(bench.settings.associations, titleExtension(*name))) {
    opening.application = own->application;
  }
  return opening;
}

std::optional<DataOpening> openSlotData(Workbench& bench, UserPort& user, int slot) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr || record->kind != kSlotData) return std::nullopt;
  std::optional<DataOpening> opening = writeDataForOpening(
      bench, user, record->title, static_cast<std::uint64_t>(std::max(record->width, 0)),
      [&](std::span<std::uint8_t> content) { return readSlot(bench, slot, content) == 0; });
  if (opening) handOverOf(bench, slot) = {true, opening->path, lastWriteTime(opening->path)};
  return opening;
}

void dataOpeningFailed(Workbench& bench, UserPort& user, int slot) {
  if (recordOf(bench, slot) != nullptr) handOverOf(bench, slot) = {};
  user.tell(Icon::Warning, text::tr(msg::kApplicationFailed));
}

int applyDataUpdate(Workbench& bench, UserPort& user, int slot) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr || record->kind != kSlotData) return kSlotNotUsable;
  DataAssociation& handed = handOverOf(bench, slot);
  if (!handed.handedOver) return kSlotAbandoned;
  if (!fileExists(handed.temporaryFile)) {
    handed = {};
    return kSlotAbandoned;
  }
  const std::uint64_t limit = slotLimits(bench.options).dataLimit();
  const std::int64_t size = fileSize(handed.temporaryFile);
  if (size >= 0 && static_cast<std::uint64_t>(size) > limit) {
    user.tell(Icon::Warning, text::tr(msg::kDataLimitExceeded));
    return kSlotFailed;
  }
  const std::optional<LocalDateTime> changed = lastWriteTime(handed.temporaryFile);
  const auto bytes = readWholeFile(handed.temporaryFile, limit);
  if (!bytes) {
    user.tell(Icon::Warning, text::tr(size < 0 ? msg::kUpdateFailed : msg::kDataLimitExceeded));
    return kSlotFailed;
  }
  const int replaced[] = {slot};
  if (!releaseSlotsOnDisk(bench, replaced) ||
      !writeFileAtomically(slotFilePath(bench.settings.folder, slot), *bytes)) {
    user.tell(Icon::Warning, text::tr(msg::kUpdateFailed));
    return kSlotFailed;
  }
  record->width = static_cast<std::int32_t>(bytes->size());
  record->height = 1;
  handed.lastWrite = changed;
  saveGalleryNow(bench, user);
  return 0;
}

}  // namespace vemla
