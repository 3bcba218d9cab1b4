#pragma once
// The gallery information file VemlaGinf.dat: magic "VIG0", the gallery information block
// (32-byte header and 32 slot records of 1188 bytes) and the thumbnails (65536 bytes each).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "persist/settings_io.h"
#include "picture/palette.h"

namespace vemla::persist {

inline constexpr int kGalleryInformationVersion = 0;
inline constexpr int kGallerySlots = 32;
inline constexpr std::size_t kGalleryBlockBytes = 38048;
inline constexpr std::size_t kThumbnailBytes = 65536;  // 256 x 256
inline constexpr std::size_t kGalleryThumbnailsOffset = 4 + kGalleryBlockBytes;

struct GalleryHeader {
  std::int32_t galleryCount = 16;  // GalleryCount: slots in use
  std::int32_t firstShownSlot = 0;
  std::int32_t displayForm = 1;  // 0 normal, 1 small
  std::int32_t windowLeft = 0;
  std::int32_t windowTop = 0;
  std::int32_t hideGalleryAtStart = 0;
  std::int32_t thumbnailCount = 0;  // thumbnails stored after the block
  std::int32_t flags = 0;           // bit 0: close after a copy to a picture
  bool operator==(const GalleryHeader&) const = default;
};

struct GallerySlot {
  std::int32_t kind = 0;  // 0 Empty, 1 Picture, 2 Data, 3 Over
  std::string title;      // 132-byte field
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t trueColourCode = 0;  // 0 grey, 1 three bytes, 2 four bytes per pixel
  std::array<std::uint8_t, 16> reserved{};
  Palette palette{};
  bool operator==(const GallerySlot&) const = default;
};

struct GalleryInformation {
  GalleryHeader header;
  std::array<GallerySlot, kGallerySlots> slotRecords;
  bool operator==(const GalleryInformation&) const = default;
};

// The block alone (38048 bytes), as it also goes to the gallery's backup file.
std::vector<std::uint8_t> encodeGalleryBlock(const GalleryInformation& info);
// Reads a block; unknown slot kinds become Empty and out-of-range header values their defaults.
// A block shorter than 38048 bytes is ReadFailed and leaves `info` unchanged.
LoadStatus decodeGalleryBlock(std::span<const std::uint8_t> block, GalleryInformation& info);
// A whole file's bytes: the magic must begin "VIG" with a digit not above '0'.
LoadStatus decodeGalleryFile(std::span<const std::uint8_t> bytes, GalleryInformation& info);

// Step one of loading: the block. An absent or empty file is created (when `mayCreate`) with
// the magic, an all-zero block and 32 all-zero thumbnails.
LoadStatus loadGalleryInformation(const std::string& folder, GalleryInformation& info,
                                  UserPort& user, bool mayCreate, bool& keepBad);
// Step two: `count` thumbnails into `thumbnails` (count * 65536 bytes). Thumbnails the file does
// not hold are left zero. Returns how many were read.
int loadGalleryThumbnails(const std::string& folder, int count, std::span<std::uint8_t> thumbnails);

// Writes the magic, the block with its thumbnail count set to the thumbnails given, and them.
bool saveGalleryInformation(const std::string& folder, const GalleryInformation& info,
                            std::span<const std::uint8_t> thumbnails, UserPort& user,
                            bool& keepBad);

}  // namespace vemla::persist
