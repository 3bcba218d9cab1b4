#include "workbench/gallery/gallery_slots.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "editing/small_dialogs.h"
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
#include "ports/quiet_user_port.h"
#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/slot_content.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/rgb_ratio_memory.h"

namespace vemla {
namespace {

persist::GallerySlot* slotRecord(Workbench& bench, int slot) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return nullptr;
  return &gallery->info.slotRecords[static_cast<std::size_t>(slot)];
}

std::span<std::uint8_t> thumbnailOf(persist::HeldGallery& gallery, int slot) {
  const std::size_t start = static_cast<std::size_t>(slot) * kThumbnailBytes;
  if (gallery.thumbnails.size() < start + kThumbnailBytes) return {};
  return {gallery.thumbnails.data() + start, kThumbnailBytes};
}

bool validBytesPerPixel(int bytesPerPixel) {
  return bytesPerPixel == 1 || bytesPerPixel == 3 || bytesPerPixel == 4;
}

// The slot file is replaced through a temporary file and a rename, so a failure leaves the
// previous content in place; the record on disk is emptied first.
bool writeSlotFile(Workbench& bench, int slot, std::span<const std::uint8_t> bytes) {
  const int slots[] = {slot};
  return releaseSlotsOnDisk(bench, slots) &&
         writeFileAtomically(slotFilePath(bench.settings.folder, slot), bytes);
}

}  // namespace

persist::HeldGallery* liveGallery(Workbench& bench) {
  if (!bench.gallery.available || bench.secondCopy || !bench.settings.gallery) return nullptr;
  return &*bench.settings.gallery;
}

const persist::HeldGallery* liveGallery(const Workbench& bench) {
  return liveGallery(const_cast<Workbench&>(bench));
}

int galleryCount(const Workbench& bench) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr) return 0;
  return std::clamp(gallery->info.header.galleryCount, 0, kMaxGallerySlots);
}

namespace {

// The held records as VemlaGinf.dat stores them now: the stored count and "hide at start" from
// the options (as at shutdown).
persist::GalleryInformation storedInformation(const Workbench& bench,
                                              const persist::HeldGallery& gallery) {
  persist::GalleryInformation info = gallery.info;
  info.header.galleryCount = bench.options.GalleryCount;
  info.header.hideGalleryAtStart = bench.options.hideGalleryAtStart ? 1 : 0;
  return info;
}

}  // namespace

bool setGalleryShown(Workbench& bench, bool shown) {
  if (bench.gallery.shown == shown) return false;
  bench.gallery.shown = shown;
  return true;
}

bool saveGalleryNow(Workbench& bench, UserPort& user) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || bench.settings.folder.empty()) return true;
  const bool saved =
      persist::saveGalleryInformation(bench.settings.folder, storedInformation(bench, *gallery),
                                      gallery->thumbnails, user, bench.settings.keepBad.gallery);
  if (saved) bench.gallery.emptyOnDisk.fill(false);
  return saved;
}

bool releaseSlotsOnDisk(Workbench& bench, std::span<const int> slots) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || bench.settings.folder.empty()) return true;
  auto& emptyOnDisk = bench.gallery.emptyOnDisk;
  bool needed = false;
  for (const int slot : slots) {
    if (slot < 0 || slot >= galleryCount(bench)) continue;
    const auto at = static_cast<std::size_t>(slot);
    if (gallery->info.slotRecords[at].kind != kSlotEmpty && !emptyOnDisk[at]) needed = true;
  }
  if (!needed) return true;
  persist::GalleryInformation info = storedInformation(bench, *gallery);
  auto released = emptyOnDisk;
  for (const int slot : slots) {
    if (slot >= 0 && slot < galleryCount(bench)) released[static_cast<std::size_t>(slot)] = true;
  }
  for (std::size_t at = 0; at < released.size(); ++at) {
    if (released[at]) info.slotRecords[at].kind = kSlotEmpty;
  }
  // The caller tells the failure in its own words.
  QuietUserPort quiet;
  if (!persist::saveGalleryInformation(bench.settings.folder, info, gallery->thumbnails, quiet,
                                       bench.settings.keepBad.gallery)) {
    return false;
  }
  emptyOnDisk = released;
  return true;
}

bool placePictureInSlot(Workbench& bench, int slot, const SlotPicture& picture) {
  persist::GallerySlot* record = slotRecord(bench, slot);
  const std::span<const std::uint8_t> content = picture.pixels.first(
      static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) *
      static_cast<std::size_t>(picture.bytesPerPixel));
  if (!writeSlotFile(bench, slot, content)) return false;
  record->kind = kSlotPicture;
  record->width = picture.width;
  record->height = picture.height;
  record->trueColourCode = trueColourCodeOf(picture.bytesPerPixel);
  record->palette = picture.palette != nullptr ? *picture.palette : greyRamp();
  record->title = fitSlotTitle(picture.title);
  buildThumbnail(content, picture.width, picture.height, picture.bytesPerPixel,
                 thumbnailOf(*liveGallery(bench), slot), record->palette);
  bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
  return true;
}

bool placeDataInSlot(Workbench& bench, int slot, std::span<const std::uint8_t> bytes,
                     const std::string& title) {
  persist::GallerySlot* record = slotRecord(bench, slot);
  if (!writeSlotFile(bench, slot, bytes)) return false;
  record->kind = kSlotData;
  record->width = static_cast<std::int32_t>(bytes.size());
  record->height = 1;
  record->trueColourCode = 0;
  record->palette = greyRamp();
  record->title = fitSlotTitle(title);
  const std::span<std::uint8_t> thumbnail = thumbnailOf(*liveGallery(bench), slot);
  std::fill(thumbnail.begin(), thumbnail.end(), std::uint8_t{0});
  bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
  return true;
}

int storePictureInSlot(Workbench& bench, UserPort& user, int slot, const SlotPicture& picture) {
  if (slotRecord(bench, slot) == nullptr || picture.width < 1 || picture.height < 1 ||
      !validBytesPerPixel(picture.bytesPerPixel)) {
    return kSlotNotUsable;
  }
  const auto bytes = static_cast<std::uint64_t>(picture.width) *
                     static_cast<std::uint64_t>(picture.height) *
                     static_cast<std::uint64_t>(picture.bytesPerPixel);
  if (picture.pixels.size() < bytes) return kSlotNotUsable;
  if (!placePictureInSlot(bench, slot, picture)) {
    user.tell(Icon::Error, text::tr(msg::kGalleryStoreFailed));
    return kSlotFailed;
  }
  saveGalleryNow(bench, user);
  return 0;
}

int storeDataInSlot(Workbench& bench, UserPort& user, int slot, std::span<const std::uint8_t> bytes,
                    const std::string& title) {
  if (slotRecord(bench, slot) == nullptr) return kSlotNotUsable;
  if (bytes.size() > slotLimits(bench.options).dataLimit()) return kSlotTooLarge;
  if (!placeDataInSlot(bench, slot, bytes, title)) {
    user.tell(Icon::Error, text::tr(msg::kGalleryStoreFailed));
    return kSlotFailed;
  }
  saveGalleryNow(bench, user);
  return 0;
}

int storeFileInSlot(Workbench& bench, UserPort& user, int slot, const std::string& path) {
  if (slotRecord(bench, slot) == nullptr) return kSlotNotUsable;
  const SlotLimits limits = slotLimits(bench.options);
  WorkMemory buffer(limits.dataLimit());
  if (!buffer.ok()) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return kSlotFailed;
  }
  MemoryItemRequest request;
  request.name = path;
  request.maxWidth = limits.maxWidth;
  request.maxHeight = limits.maxHeight;
  request.trueColourMode = bench.options.TrueColourOpenMode;
  request.askRatio = bench.options.AskRatioPerFile;
  request.ratios = bench.options.GreyRatio;
  request.sixteen = bench.options.SixteenBit;
  RgbRatioMemory memory(bench, user);
  MemoryItem item;
  // True-colour bitmaps stay true colour here, so the reader needs no conversion scratch.
  const int result =
      readFileIntoMemoryItem(request, memory, bench.pictures.rawSize, buffer.span(), {}, item);
  if (result == kItemAbandoned) return kSlotAbandoned;
  if (result != 0) return kSlotFailed;
  if (item.kind == kItemData) {
    return storeDataInSlot(bench, user, slot,
                           buffer.span().first(static_cast<std::size_t>(item.width)),
                           titleFromFileName(path, false));
  }
  SlotPicture picture;
  picture.pixels = buffer.span();
  picture.width = item.width;
  picture.height = item.height;
  picture.bytesPerPixel = item.bytesPerPixel;
  picture.palette = &item.palette;
  picture.title = titleFromFileName(path, true);
  return storePictureInSlot(bench, user, slot, picture);
}

int storeWorkbenchPictureInSlot(Workbench& bench, UserPort& user, int slot, PictureSlot picture) {
  if (!bench.pictures.picturesPresent) return kSlotAbandoned;
  const PictureState& state = bench.pictures;
  SlotPicture stored;
  stored.pixels = {bench.store.plane(unshiftedPlane(picture)),
                   static_cast<std::size_t>(state.width) * static_cast<std::size_t>(state.height)};
  stored.width = state.width;
  stored.height = state.height;
  stored.palette = &state.pictures[index(picture)].palette;
  stored.title = titleFromPictureName(state.pictures[index(picture)].name);
  return storePictureInSlot(bench, user, slot, stored);
}

int storeImageInSlot(Workbench& bench, UserPort& user, int slot, ImageSlot image,
                     const Palette& colourTable) {
  if (!bench.pictures.picturesPresent) return kSlotAbandoned;
  const PictureState& state = bench.pictures;
  SlotPicture stored;
  stored.pixels = {bench.store.plane(imagePlane(image)),
                   static_cast<std::size_t>(state.width) * static_cast<std::size_t>(state.height)};
  stored.width = state.width;
  stored.height = state.height;
  stored.palette = &colourTable;
  stored.title = text::format(msg::kImageCopyTitle, number(image));
  return storePictureInSlot(bench, user, slot, stored);
}

int readSlot(const Workbench& bench, int slot, std::span<std::uint8_t> buffer) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return kSlotNotUsable;
  const std::int64_t bytes =
      slotContentBytes(gallery->info.slotRecords[static_cast<std::size_t>(slot)]);
  if (bytes < 0 || static_cast<std::uint64_t>(bytes) > buffer.size()) return kSlotFailed;
  FileSource in(slotFilePath(bench.settings.folder, slot));
  if (!in.isOpen()) return kSlotFailed;
  const auto wanted = static_cast<std::size_t>(bytes);
  return in.read(buffer.data(), wanted) == wanted ? 0 : kSlotFailed;
}

bool clearSlot(Workbench& bench, UserPort& user, int slot) {
  persist::GallerySlot* record = slotRecord(bench, slot);
  if (record == nullptr) return false;
  if (!user.askYesNo(text::format(text::tr(msg::kClearSlotQuestion), slot + 1))) return false;
  record->kind = kSlotEmpty;
  bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
  saveGalleryNow(bench, user);
  return true;
}

bool clearAllSlots(Workbench& bench, UserPort& user) {
  persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr) return false;
  if (!user.askYesNo(text::tr(msg::kClearAllQuestion))) return false;
  for (int slot = 0; slot < galleryCount(bench); ++slot) {
    persist::GallerySlot& record = gallery->info.slotRecords[static_cast<std::size_t>(slot)];
    record.kind = kSlotEmpty;
    record.title.clear();
    bench.gallery.associations[static_cast<std::size_t>(slot)] = {};
  }
  saveGalleryNow(bench, user);
  return true;
}

int renameSlot(Workbench& bench, UserPort& user, int slot, const std::string& title) {
  persist::GallerySlot* record = slotRecord(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  // A typed title keeps its first 126 characters (and what of them the field holds).
  std::size_t end = 0;
  for (int kept = 0; end < title.size() && kept < kSlotTitleCharacters; ++kept) {
    do ++end;
    while (end < title.size() && (static_cast<unsigned char>(title[end]) & 0xC0) == 0x80);
  }
  bool replaced = false;
  record->title = fitSlotTitle(std::string_view(title).substr(0, end), &replaced);
  if (replaced) user.tell(Icon::Info, text::tr(msg::kCharactersReplaced));
  saveGalleryNow(bench, user);
  return 0;
}

int copySlotToPicture(Workbench& bench, UserPort& user, int slot, PictureSlot picture) {
  const persist::GallerySlot* record = slotRecord(bench, slot);
  if (record == nullptr) return kSlotNotUsable;
  if (bench.pictures.editing) {
    user.tell(Icon::Warning, text::tr(msg::kEditingCommand));
    return kSlotAbandoned;
  }
  if (record->kind != kSlotPicture) return kSlotAbandoned;
  const SlotLimits limits = slotLimits(bench.options);
  if (record->width < kMinPictureSize || record->height < kMinPictureSize) {
    user.tell(Icon::Warning, text::format(text::tr(msg::kCopyTooSmall), kMinPictureSize, kMinPictureSize));
    return kSlotAbandoned;
  }
  if (record->width > limits.maxWidth || record->height > limits.maxHeight) {
    user.tell(Icon::Warning, text::format(text::tr(msg::kCopyTooLarge), limits.maxWidth, limits.maxHeight));
    return kSlotAbandoned;
  }
  const int bytesPerPixel = slotBytesPerPixel(*record);
  const std::size_t pixels =
      static_cast<std::size_t>(record->width) * static_cast<std::size_t>(record->height);
  WorkMemory content(pixels * static_cast<std::size_t>(bytesPerPixel));
  WorkMemory converted(bytesPerPixel == 1 ? 0 : pixels);
  if (!content.ok() || !converted.ok()) {
    user.tell(Icon::Warning, text::tr(msg::kGalleryNoMemory));
    return kSlotFailed;
  }
  // A failed read keeps the slot as it is: the file may be back (or the disk readable) later.
  if (readSlot(bench, slot, content.span()) != 0) {
    user.tell(Icon::Error, text::tr(msg::kGalleryReadFailed));
    return kSlotFailed;
  }
  Palette palette = record->palette;
  const std::uint8_t* pixelsToOpen = content.data();
  if (bytesPerPixel != 1) {
    RgbRatioMemory memory(bench, user);
    if (!trueColourTo8Bit(bench.options.TrueColourOpenMode, bench.options.AskRatioPerFile,
                          bench.options.GreyRatio, memory, rgbRatioFileSuffix(picture),
                          content.data(), bytesPerPixel, record->width, record->height,
                          converted.data(), palette)) {
      return kSlotAbandoned;
    }
    pixelsToOpen = converted.data();
  }
  MemoryPictures pictures;
  pictures.width = record->width;
  pictures.height = record->height;
  pictures.pixels[index(picture)] = pixelsToOpen;
  pictures.palettes[index(picture)] = &palette;
  pictures.names[index(picture)] = pseudoName(record->title);
  return setPicturesFromMemory(bench, user, pictures) == 0 ? 0 : kSlotFailed;
}

}  // namespace vemla
