#include "workbench/gallery/slot_operations.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "gallery/gallery.h"
#include "gallery/messages.h"
#include "gallery/rgb_planes.h"
#include "gallery/thumbnail.h"
#include "gallery/work_memory.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/raw.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/slot_content.h"

namespace vemla {
namespace {

// The spare slot number a swap passes a file through: beyond every real slot.
constexpr int kSpareSlot = 33;

persist::GallerySlot* recordOf(Workbench& bench, int slot) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return nullptr;
  return &gallery->info.slotRecords[static_cast<std::size_t>(slot)];
}

std::span<std::uint8_t> thumbnailOf(Workbench& bench, int slot) {
  std::vector<std::uint8_t>& thumbnails = liveGallery(bench)->thumbnails;
  const std::size_t start = static_cast<std::size_t>(slot) * kThumbnailBytes;
  if (thumbnails.size() < start + kThumbnailBytes) return {};
  return {thumbnails.data() + start, kThumbnailBytes};
}

std::string slotPath(const Workbench& bench, int slot) {
  return slotFilePath(bench.settings.folder, slot);
}

// A slot whose file holds content: a picture, data or a picture beyond the limits.
bool holdsContent(const persist::GallerySlot& record) {
  return record.kind != kSlotEmpty;
}

// Record, thumbnail and association of `target` become those of `source` (copy) or the two
// are exchanged (swap).
void copySlotState(Workbench& bench, int source, int target) {
  *recordOf(bench, target) = *recordOf(bench, source);
  const auto from = thumbnailOf(bench, source);
  const auto to = thumbnailOf(bench, target);
  if (!from.empty() && !to.empty()) std::copy(from.begin(), from.end(), to.begin());
  bench.gallery.associations[static_cast<std::size_t>(target)] = {};
}

void swapSlotState(Workbench& bench, int a, int b) {
  std::swap(*recordOf(bench, a), *recordOf(bench, b));
  const auto first = thumbnailOf(bench, a);
  const auto second = thumbnailOf(bench, b);
  if (!first.empty() && !second.empty()) {
    std::swap_ranges(first.begin(), first.end(), second.begin());
  }
  bench.gallery.associations[static_cast<std::size_t>(a)] = {};
  bench.gallery.associations[static_cast<std::size_t>(b)] = {};
}

// Renames in order; when one fails, the renames already done are undone in reverse.
bool renameAll(const std::vector<std::pair<std::string, std::string>>& steps,
               const FileRename& rename) {
  for (std::size_t done = 0; done < steps.size(); ++done) {
    if (!rename(steps[done].first, steps[done].second)) {
      while (done-- > 0) rename(steps[done].second, steps[done].first);
      return false;
    }
  }
  return true;
}

int failed(UserPort& user, const char* message) {
  user.tell(Icon::Error, text::tr(message));
  return kSlotFailed;
}

}  // namespace

bool renameFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

int transferSlot(Workbench& bench, UserPort& user, int source, int target, SlotTransfer mode,
                 const FileRename& rename) {
  persist::GallerySlot* from = recordOf(bench, source);
  persist::GallerySlot* to = recordOf(bench, target);
  if (from == nullptr || to == nullptr) return kSlotNotUsable;
  if (source == target) return kSlotAbandoned;
  const std::string sourcePath = slotPath(bench, source), targetPath = slotPath(bench, target);
  // A copy replaces only the target's file; a move and a swap both.
  const int both[] = {source, target};
  const std::span<const int> replaced =
      mode == SlotTransfer::Copy ? std::span<const int>(both).last(1) : std::span<const int>(both);
  const bool acts = holdsContent(*from) || (mode == SlotTransfer::Swap && holdsContent(*to));
  if (acts && !releaseSlotsOnDisk(bench, replaced)) {
    return failed(user, msg::kTransferFailed);
  }
  switch (mode) {
    case SlotTransfer::Copy:
    case SlotTransfer::Move: {
      if (!holdsContent(*from)) return kSlotAbandoned;
      const bool moved = mode == SlotTransfer::Move;
      if (!(moved ? rename(sourcePath, targetPath) : copyFile(sourcePath, targetPath))) {
        return failed(user, msg::kTransferFailed);
      }
      copySlotState(bench, source, target);
      if (moved) {
        from->kind = kSlotEmpty;
        bench.gallery.associations[static_cast<std::size_t>(source)] = {};
      }
      break;
    }
    case SlotTransfer::Swap: {
      const bool sourceFull = holdsContent(*from), targetFull = holdsContent(*to);
      if (!sourceFull && !targetFull) return kSlotAbandoned;
      const std::string spare = slotPath(bench, kSpareSlot);
      std::vector<std::pair<std::string, std::string>> steps;
      if (sourceFull && targetFull) {
        steps = {{targetPath, spare}, {sourcePath, targetPath}, {spare, sourcePath}};
      } else if (sourceFull) {
        steps = {{sourcePath, targetPath}};
      } else {
        steps = {{targetPath, sourcePath}};
      }
      if (!renameAll(steps, rename)) return failed(user, msg::kTransferFailed);
      swapSlotState(bench, source, target);
      break;
    }
  }
  saveGalleryNow(bench, user);
  return 0;
}

int greyScaleSlot(Workbench& bench, UserPort& user, int slot) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  if (!slotMenuItemEnabled(bench, slot, SlotMenuItem::GreyScale)) return kSlotAbandoned;
  if (!user.askYesNo(text::format(text::tr(msg::kGreyScaleQuestion), slot + 1))) return kSlotAbandoned;
  record->palette = greyRamp();
  saveGalleryNow(bench, user);
  return 0;
}

int slotPictureToData(Workbench& bench, UserPort& user, int slot) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  if (record->kind != kSlotPicture) return kSlotAbandoned;
  const std::int64_t bytes = fileSize(slotPath(bench, slot));
  if (bytes < 0 || bytes > INT32_MAX) return failed(user, msg::kDataReadFailed);
  record->kind = kSlotData;
  record->width = static_cast<std::int32_t>(bytes);
  record->height = 1;
  record->trueColourCode = 0;
  const auto thumbnail = thumbnailOf(bench, slot);
  std::fill(thumbnail.begin(), thumbnail.end(), std::uint8_t{0});
  bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
  saveGalleryNow(bench, user);
  return 0;
}

int slotDataToPicture(Workbench& bench, UserPort& user, int slot) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  if (record->kind != kSlotData) return kSlotAbandoned;
  const std::string path = slotPath(bench, slot);
  const std::optional<RawSize> size =
      user.askRawSize(record->title, record->width, bench.pictures.rawSize);
  if (!size) return kSlotAbandoned;
  const SlotLimits limits = slotLimits(bench.options);
  if (size->width < 1 || size->height < 1 || !limits.pictureFits(size->width, size->height) ||
      size->offset < 0) {
    user.tell(Icon::Warning, text::tr(msg::kTooLarge));
    return kSlotAbandoned;
  }
  bench.pictures.rawSize = *size;
  WorkMemory pixels(static_cast<std::uint64_t>(size->width) *
                    static_cast<std::uint64_t>(size->height));
  if (!pixels.ok()) return failed(user, msg::kGalleryNoMemory);
  if (readRawPicture(path, size->offset, pixels.span()) != 1) {
    user.tell(Icon::Warning, text::tr(msg::kDataReadFailed));
    return kSlotFailed;
  }
  SlotPicture picture;
  picture.pixels = pixels.span();
  picture.width = size->width;
  picture.height = size->height;
  picture.title = record->title;
  if (!placePictureInSlot(bench, slot, picture)) {
    user.tell(Icon::Warning, text::tr(msg::kPictureDataSaveFailed));
    return kSlotFailed;
  }
  saveGalleryNow(bench, user);
  return 0;
}

int combineSlotsRgb(Workbench& bench, UserPort& user, int target, int red, int green, int blue) {
  const std::array<int, 3> sources{red, green, blue};
  if (recordOf(bench, target) == nullptr) return kSlotNotUsable;
  for (int slot : sources) {
    const persist::GallerySlot* record = recordOf(bench, slot);
    if (record == nullptr || record->kind != kSlotPicture || record->trueColourCode != 0) {
      return kSlotNotUsable;
    }
  }
  const persist::GallerySlot r = *recordOf(bench, red);
  for (int slot : {green, blue}) {
    const persist::GallerySlot* record = recordOf(bench, slot);
    if (record->width != r.width || record->height != r.height) {
      user.tell(Icon::Warning, text::tr(msg::kRgbSizesDiffer));
      return kSlotAbandoned;
    }
  }
  const std::size_t pixels = static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height);
  WorkMemory planes(3 * pixels), combined(3 * pixels);
  if (!planes.ok() || !combined.ok()) return failed(user, msg::kGalleryNoMemory);
  for (std::size_t i = 0; i < sources.size(); ++i) {
    if (readSlot(bench, sources[i], planes.span().subspan(i * pixels, pixels)) != 0) {
      user.tell(Icon::Warning, text::tr(msg::kReadFailed));
      return kSlotFailed;
    }
  }
  // Bitmap byte order: blue, green, red.
  interleaveRgbPlanes(planes.data(), planes.data() + pixels, planes.data() + 2 * pixels, pixels,
                      combined.data());
  SlotPicture picture;
  picture.pixels = combined.span();
  picture.width = r.width;
  picture.height = r.height;
  picture.bytesPerPixel = 3;
  picture.title = text::format(msg::kRgbTitle, red + 1, green + 1, blue + 1);
  if (!placePictureInSlot(bench, target, picture)) {
    user.tell(Icon::Warning, text::tr(msg::kFileWriteFailed));
    return kSlotFailed;
  }
  saveGalleryNow(bench, user);
  return 0;
}

int saveSlotAs(Workbench& bench, UserPort& user, int slot, const std::string& path) {
  persist::GallerySlot* record = recordOf(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  const bool picture = record->kind == kSlotPicture;
  if (!picture && record->kind != kSlotData) return kSlotAbandoned;
  if (picture) {
    const int bytesPerPixel = slotBytesPerPixel(*record);
    WorkMemory pixels(static_cast<std::uint64_t>(slotContentBytes(*record)));
    if (!pixels.ok() || readSlot(bench, slot, pixels.span()) != 0) {
      user.tell(Icon::Warning, text::tr(msg::kPictureDataReadFailed));
      return kSlotFailed;
    }
    if (writePictureFile(path, record->width, record->height, bytesPerPixel, pixels.data(),
                         &record->palette) != 0) {
      user.tell(Icon::Warning, text::tr(msg::kSaveFailed));
      return kSlotFailed;
    }
  } else if (!copyFile(slotPath(bench, slot), path)) {
    user.tell(Icon::Warning, text::tr(msg::kSaveFailed));
    return kSlotFailed;
  }
  record->title = titleFromFileName(path, picture);
  saveGalleryNow(bench, user);
  return 0;
}

bool slotMenuItemEnabled(const Workbench& bench, int slot, SlotMenuItem item) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return false;
  const persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
  const bool picture = record.kind == kSlotPicture, data = record.kind == kSlotData;
  const bool greyPicture = picture && record.trueColourCode == 0;
  const auto anyGreyPicture = [&] {
    for (int other = 0; other < galleryCount(bench); ++other) {
      const persist::GallerySlot& r = gallery->info.slotRecords[static_cast<std::size_t>(other)];
      if (r.kind == kSlotPicture && r.trueColourCode == 0) return true;
    }
    return false;
  };
  const auto associated = [&] {
    const std::string extension = titleExtension(record.title);
    return data && !extension.empty() &&
           findAssociation(bench.settings.associations, extension) != nullptr;
  };
  const auto updated = [&] {
    const DataAssociation& handed = bench.gallery.associations[static_cast<std::size_t>(slot)];
    return data && handed.handedOver && lastWriteTime(handed.temporaryFile) != handed.lastWrite;
  };
  switch (item) {
    case SlotMenuItem::View:
    case SlotMenuItem::SaveAs:
    case SlotMenuItem::CutCopyInternal:
      return picture || data;
    case SlotMenuItem::Clear:
    case SlotMenuItem::Rename:
      return record.kind != kSlotEmpty;
    case SlotMenuItem::GreyScale:
      return greyPicture;
    case SlotMenuItem::ToPicture:
    case SlotMenuItem::Associate:
      return data;
    case SlotMenuItem::ToData:
    case SlotMenuItem::CopyToPicture:
      return picture;
    case SlotMenuItem::RgbCombine:
      return anyGreyPicture();
    case SlotMenuItem::Dissociate:
      return associated();
    case SlotMenuItem::ApplyUpdate:
      return updated();
    case SlotMenuItem::CopyFromPictures:
      return bench.pictures.picturesPresent;
    case SlotMenuItem::Transfer:
    case SlotMenuItem::PasteFiles:
    case SlotMenuItem::PasteInternal:
      return true;
  }
  return false;
}

}  // namespace vemla
