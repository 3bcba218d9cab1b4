#include "persist/gallery_info.h"

#include <algorithm>

#include "options/option_table.h"
#include "picture/field_codec.h"

namespace vemla::persist {
namespace {

constexpr std::size_t kTitleBytes = 132;

std::int32_t headerValue(const GalleryHeader& h, std::size_t i) {
  const std::array<std::int32_t, 8> values{h.galleryCount,   h.firstShownSlot, h.displayForm,
                                           h.windowLeft,     h.windowTop,      h.hideGalleryAtStart,
                                           h.thumbnailCount, h.flags};
  return values[i];
}

std::array<std::int32_t*, 8> headerFields(GalleryHeader& h) {
  return {&h.galleryCount, &h.firstShownSlot,     &h.displayForm,    &h.windowLeft,
          &h.windowTop,    &h.hideGalleryAtStart, &h.thumbnailCount, &h.flags};
}

void sanitize(GalleryInformation& info) {
  static const GalleryHeader defaults;
  GalleryHeader& h = info.header;
  // The count gets the option's correction (8 .. 32, a multiple of 4); 0 would mean "no
  // gallery", which only the start-up sizing decides.
  Options options;
  options.GalleryCount = h.galleryCount;
  correctOptions(options, Options{}, CorrectionMode::Load);
  h.galleryCount = options.GalleryCount;
  if (h.firstShownSlot < 0 || h.firstShownSlot > h.galleryCount - 4 || h.firstShownSlot % 4 != 0) {
    h.firstShownSlot = 0;
  }
  if (h.displayForm != 0 && h.displayForm != 1) h.displayForm = defaults.displayForm;
  if (h.hideGalleryAtStart != 0 && h.hideGalleryAtStart != 1) h.hideGalleryAtStart = 0;
  h.thumbnailCount = std::clamp(h.thumbnailCount, 0, kGallerySlots);
  // An unknown slot kind is kept as read: the gallery's start-up repair empties it and says so.
  for (GallerySlot& slot : info.slotRecords) {
    if (slot.trueColourCode < 0 || slot.trueColourCode > 2) slot.trueColourCode = 0;
  }
}

}  // namespace

std::vector<std::uint8_t> encodeGalleryBlock(const GalleryInformation& info) {
  std::vector<std::uint8_t> block(kGalleryBlockBytes, 0);
  FieldWriter w(block);
  for (std::size_t i = 0; i < 8; ++i) w.int32(headerValue(info.header, i));
  for (const GallerySlot& slot : info.slotRecords) {
    w.int32(slot.kind);
    w.text(slot.title, kTitleBytes);
    w.int32(slot.width);
    w.int32(slot.height);
    w.int32(slot.trueColourCode);
    w.bytes(slot.reserved);
    w.bytes(slot.palette);
  }
  return block;
}

LoadStatus decodeGalleryBlock(std::span<const std::uint8_t> block, GalleryInformation& info) {
  if (block.size() < kGalleryBlockBytes) return LoadStatus::ReadFailed;
  GalleryInformation loaded;
  FieldReader r(block.first(kGalleryBlockBytes));
  for (std::int32_t* field : headerFields(loaded.header)) *field = r.int32();
  for (GallerySlot& slot : loaded.slotRecords) {
    slot.kind = r.int32();
    bool valid = true;
    slot.title = r.text(kTitleBytes, &valid);
    slot.width = r.int32();
    slot.height = r.int32();
    slot.trueColourCode = r.int32();
    r.bytes(slot.reserved);
    r.bytes(slot.palette);
  }
  sanitize(loaded);
  info = std::move(loaded);
  return LoadStatus::Loaded;
}

LoadStatus decodeGalleryFile(std::span<const std::uint8_t> bytes, GalleryInformation& info) {
  if (bytes.size() < 4 || bytes[0] != 'V' || bytes[1] != 'I' || bytes[2] != 'G') {
    return LoadStatus::ReadFailed;
  }
  if (bytes[3] > '0' + kGalleryInformationVersion) return LoadStatus::VersionMismatch;
  return decodeGalleryBlock(bytes.subspan(4), info);
}

LoadStatus loadGalleryInformation(const std::string& folder, GalleryInformation& info,
                                  UserPort& user, bool mayCreate, bool& keepBad) {
  const std::string path = inFolder(folder, kGalleryInformationFile);
  const FileBytes file = readFileStart(path, kGalleryThumbnailsOffset);
  if (file.state == FileBytes::State::Absent ||
      (file.state == FileBytes::State::Read && file.bytes.empty())) {
    if (!mayCreate) return LoadStatus::Absent;
    // A new file holds an all-zero block (and 32 zero thumbnails, which its count names).
    GalleryInformation created;
    created.header = GalleryHeader{0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> thumbnails(kGallerySlots * kThumbnailBytes, 0);
    saveGalleryInformation(folder, created, thumbnails, user, keepBad);
    return LoadStatus::Created;
  }
  const LoadStatus status = file.state == FileBytes::State::Read
                                ? decodeGalleryFile(file.bytes, info)
                                : LoadStatus::ReadFailed;
  if (status == LoadStatus::ReadFailed) reportSettingsFile(user, msg::kSettingsReadFailed, path);
  if (status == LoadStatus::VersionMismatch) {
    reportSettingsFile(user, msg::kGalleryVersionMismatch, path);
  }
  keepBad = keepsBadFile(status);
  return status;
}

int loadGalleryThumbnails(const std::string& folder, int count,
                          std::span<std::uint8_t> thumbnails) {
  std::fill(thumbnails.begin(), thumbnails.end(), std::uint8_t{0});
  count = std::clamp(count, 0, static_cast<int>(thumbnails.size() / kThumbnailBytes));
  const FileBytes file = readFileStart(inFolder(folder, kGalleryInformationFile),
                                       kGalleryThumbnailsOffset + count * kThumbnailBytes);
  if (file.state != FileBytes::State::Read || file.bytes.size() <= kGalleryThumbnailsOffset) {
    return 0;
  }
  const std::size_t available =
      std::min(file.bytes.size() - kGalleryThumbnailsOffset, count * kThumbnailBytes);
  std::copy_n(file.bytes.begin() + kGalleryThumbnailsOffset, available, thumbnails.begin());
  return static_cast<int>(available / kThumbnailBytes);
}

bool saveGalleryInformation(const std::string& folder, const GalleryInformation& info,
                            std::span<const std::uint8_t> thumbnails, UserPort& user,
                            bool& keepBad) {
  GalleryInformation stored = info;
  stored.header.thumbnailCount = static_cast<std::int32_t>(
      std::min<std::size_t>(thumbnails.size() / kThumbnailBytes, kGallerySlots));
  const std::vector<std::uint8_t> block = encodeGalleryBlock(stored);
  const std::size_t thumbnailBytes = stored.header.thumbnailCount * kThumbnailBytes;
  return replaceSettingsFile(
      inFolder(folder, kGalleryInformationFile),
      [&block, thumbnails, thumbnailBytes](const ByteSink& sink) {
        const std::uint8_t magic[4] = {'V', 'I', 'G', '0' + kGalleryInformationVersion};
        return sink(magic, 4) && sink(block.data(), block.size()) &&
               sink(thumbnails.data(), thumbnailBytes);
      },
      keepBad, user);
}

}  // namespace vemla::persist
