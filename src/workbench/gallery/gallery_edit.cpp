#include "workbench/gallery/gallery_edit.h"

#include "gallery/messages.h"
#include "workbench/gallery/gallery_backup.h"
#include "workbench/gallery/gallery_slots.h"
#include "text/translate.h"

namespace vemla {

bool GalleryEdit::begin(Workbench& bench, UserPort& user) {
  changed_ = false;
  return backupGalleryForEditing(bench, user);
}

int GalleryEdit::drop(Workbench& bench, UserPort& user, int source, int target, SlotTransfer mode) {
  const int result = transferSlot(bench, user, source, target, mode);
  if (result == 0) changed_ = true;
  return result;
}

bool GalleryEdit::remove(Workbench& bench, UserPort& user, int slot) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return false;
  persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
  if (record.kind == kSlotEmpty && record.title.empty()) return false;
  record.kind = kSlotEmpty;
  record.title.clear();
  bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
  saveGalleryNow(bench, user);
  changed_ = true;
  return true;
}

void GalleryEdit::finish(Workbench& bench) {
  deleteGalleryBackups(bench);
  changed_ = false;
}

bool GalleryEdit::cancel(Workbench& bench, UserPort& user) {
  if (!changed_) {
    deleteGalleryBackups(bench);
    return true;
  }
  if (!user.askYesNo(text::tr(msg::kEditDiscardQuestion))) return false;
  restoreGalleryFromBackup(bench, user);
  changed_ = false;
  return true;
}

}  // namespace vemla
