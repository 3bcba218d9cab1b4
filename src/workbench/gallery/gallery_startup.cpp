#include "workbench/gallery/gallery_startup.h"

#include <algorithm>
#include <new>

#include "gallery/messages.h"
#include "gallery/thumbnail.h"
#include "picture/file_helpers.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla {
namespace {

constexpr int kSmallestGallery = 8;
constexpr int kDefaultGallery = 16;

int clampGalleryCount(int count) {
  count = std::clamp(count, kSmallestGallery, kMaxGallerySlots);
  return count % 4 == 0 ? count : kDefaultGallery;
}

bool pictureWithinMaximum(const persist::GallerySlot& slot, const SlotLimits& limits) {
  return slot.width >= 1 && slot.height >= 1 && slot.width <= limits.maxWidth &&
         slot.height <= limits.maxHeight;
}

}  // namespace

bool allocateThumbnails(std::vector<std::uint8_t>& block, std::size_t bytes) {
  try {
    block.assign(bytes, 0);
    return true;
  } catch (const std::bad_alloc&) {
    block.clear();
    return false;
  }
}

bool repairSlot(persist::GallerySlot& slot, const SlotLimits& limits, const std::string& folder,
                int slotNumber) {
  const auto dataLimit = static_cast<std::int64_t>(limits.dataLimit());
  switch (slot.kind) {
    case kSlotEmpty:
      return false;
    case kSlotPicture:
      if (!pictureWithinMaximum(slot, limits)) slot.kind = kSlotOver;
      break;
    case kSlotData:
      if (slot.width < 0) {
        slot.kind = kSlotEmpty;
        return true;
      }
      if (slot.width > dataLimit) {
        slot.height = 1;
        slot.kind = kSlotOver;
      }
      break;
    case kSlotOver:
      if (slot.height == 1) {
        if (slot.width >= 0 && slot.width <= dataLimit) slot.kind = kSlotData;
      } else if (pictureWithinMaximum(slot, limits)) {
        slot.kind = kSlotPicture;
      }
      break;
    default:
      slot.kind = kSlotEmpty;
      return true;
  }
  const std::string path = slotFilePath(folder, slotNumber);
  if (slot.kind == kSlotPicture && !fileExists(path)) {
    slot.kind = kSlotEmpty;
    return false;
  }
  // A size that cannot be read counts as a mismatch.
  const std::int64_t size = fileSize(path);
  if (size < 0 || size != slotContentBytes(slot)) {
    slot.kind = kSlotEmpty;
    return true;
  }
  return false;
}

bool startGallery(Workbench& bench, UserPort& user, const ThumbnailAllocator& allocate,
                  bool writeRepairs) {
  bench.gallery.available = false;
  if (bench.secondCopy || !bench.settings.gallery || bench.settings.folder.empty()) return false;
  persist::HeldGallery& gallery = *bench.settings.gallery;
  persist::GalleryHeader& header = gallery.info.header;
  const persist::GalleryInformation loaded = gallery.info;
  header.firstShownSlot = 0;
  header.galleryCount = clampGalleryCount(header.galleryCount);

  std::vector<std::uint8_t> thumbnails;
  if (!allocate(thumbnails, static_cast<std::size_t>(header.galleryCount) * kThumbnailBytes)) {
    const bool retried = header.galleryCount != kSmallestGallery &&
                         allocate(thumbnails, kSmallestGallery * kThumbnailBytes);
    if (!retried) {
      user.tell(Icon::Warning, text::tr(msg::kGalleryUnavailable));
      // Without slots VemlaGinf.dat is not written back either.
      bench.settings.gallery.reset();
      return false;
    }
    header.galleryCount = kSmallestGallery;
    user.tell(Icon::Warning, text::format(text::tr(msg::kGalleryReduced), kSmallestGallery));
  }
  bench.options.GalleryCount = header.galleryCount;
  header.thumbnailCount = header.galleryCount;

  const SlotLimits limits = slotLimits(bench.options);
  bool repaired = false;
  for (int slot = 0; slot < header.galleryCount; ++slot) {
    repaired = repairSlot(gallery.info.slotRecords[static_cast<std::size_t>(slot)], limits,
                          bench.settings.folder, slot) ||
               repaired;
  }
  // After a change of the count the file holds a different number of thumbnails: as many as
  // both have are kept, the rest stay zero.
  const std::size_t kept =
      std::min(gallery.thumbnails.size(), thumbnails.size()) / kThumbnailBytes * kThumbnailBytes;
  std::copy_n(gallery.thumbnails.begin(), kept, thumbnails.begin());
  gallery.thumbnails = std::move(thumbnails);
  bench.gallery.available = true;
  if (repaired) user.tell(Icon::Warning, text::tr(msg::kGalleryRepaired));
  if (writeRepairs && !(gallery.info == loaded)) saveGalleryNow(bench, user);
  return true;
}

}  // namespace vemla
