#include "workbench/gallery/gallery_backup.h"

#include <vector>

#include "gallery/messages.h"
#include "picture/file_helpers.h"
#include "workbench/gallery/gallery_slots.h"
#include "text/translate.h"

namespace vemla {
namespace {

std::string blockBackupPath(const Workbench& bench) {
  return inFolder(bench.settings.folder, kGalleryBackupFile);
}

}  // namespace

bool backupGalleryForEditing(Workbench& bench, UserPort& user) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr) return false;
  const std::string& folder = bench.settings.folder;
  bool copied = true;
  for (int slot = 0; slot < galleryCount(bench) && copied; ++slot) {
    if (gallery->info.slotRecords[static_cast<std::size_t>(slot)].kind == kSlotEmpty) continue;
    copied = copyFile(slotFilePath(folder, slot), slotBackupPath(folder, slot));
  }
  if (!copied ||
      !writeFileAtomically(blockBackupPath(bench), persist::encodeGalleryBlock(gallery->info))) {
    deleteGalleryBackups(bench);
    user.tell(Icon::Error, text::tr(msg::kBackupFailed));
    return false;
  }
  bench.gallery.editThumbnails = gallery->thumbnails;
  return true;
}

bool restoreGalleryFromBackup(Workbench& bench, UserPort& user) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr) return false;
  const auto block = readWholeFile(blockBackupPath(bench), persist::kGalleryBlockBytes);
  persist::GalleryInformation restored = gallery->info;
  if (!block || block->size() != persist::kGalleryBlockBytes ||
      persist::decodeGalleryBlock(*block, restored) != persist::LoadStatus::Loaded) {
    user.tell(Icon::Error, text::tr(msg::kRestoreFailed));
    return false;
  }
  // The live count and thumbnail count stay: the thumbnail memory was sized for them.
  restored.header.galleryCount = gallery->info.header.galleryCount;
  restored.header.thumbnailCount = gallery->info.header.thumbnailCount;
  gallery->info = restored;
  if (bench.gallery.editThumbnails.size() == gallery->thumbnails.size()) {
    gallery->thumbnails = bench.gallery.editThumbnails;
  }
  const std::string& folder = bench.settings.folder;
  std::vector<int> copied;
  for (int slot = 0; slot < galleryCount(bench); ++slot) {
    persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
    if (record.kind < kSlotEmpty || record.kind > kSlotOver) record.kind = kSlotEmpty;
    if (record.kind != kSlotEmpty) copied.push_back(slot);
  }
  // The files about to be copied back are emptied in VemlaGinf.dat first: it still holds the
  // edited records, which a kill during the copies would leave naming the restored content.
  bool complete = releaseSlotsOnDisk(bench, copied);
  if (!complete) {
    for (const int slot : copied)
      gallery->info.slotRecords[static_cast<std::size_t>(slot)].kind = kSlotEmpty;
  }
  for (int slot = 0; slot < galleryCount(bench); ++slot) {
    persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
    bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
    if (record.kind == kSlotEmpty) continue;
    if (!copyFile(slotBackupPath(folder, slot), slotFilePath(folder, slot))) {
      record.kind = kSlotEmpty;
      complete = false;
    }
  }
  if (complete) {
    deleteGalleryBackups(bench);
  } else {
    user.tell(Icon::Error, text::tr(msg::kRestoreFailed));
  }
  bench.gallery.editThumbnails.clear();
  saveGalleryNow(bench, user);
  return complete;
}

void deleteGalleryBackups(Workbench& bench) {
  deleteFile(blockBackupPath(bench));
  for (int slot = 0; slot < galleryCount(bench); ++slot) {
    deleteFile(slotBackupPath(bench.settings.folder, slot));
  }
  bench.gallery.editThumbnails.clear();
}

}  // namespace vemla
