#pragma once
// The archive file (.vla): a 1056-byte header (magic "VL00", item count, 24 reserved bytes, a
// size table of 256 entries) followed by the items in the order they were appended. An item is a
// 180-byte record, a 1024-byte palette for pictures, and the stored data: the bzip2 stream of
// the content, or the content itself when the stream did not fit the work buffer. An empty item
// has a size entry of 0 and no bytes at all. Integers are little-endian.
//
// Every reader treats the file as hostile: counts, sizes and positions are checked in 64 bits
// before use, and a compressed item is decompressed into at most its content size, which must
// fit the caller's buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gallery/slot_kind.h"
#include "picture/palette.h"

namespace vemla {

inline constexpr std::size_t kArchiveHeaderBytes = 1056;
inline constexpr std::size_t kArchiveRecordBytes = 180;
inline constexpr std::size_t kArchivePaletteBytes = 1024;
inline constexpr std::size_t kArchiveTitleBytes = 128;  // at most 127 bytes and a zero
inline constexpr int kArchiveMaxItems = 256;

// Results besides 0 and item counts.
inline constexpr int kArchiveCannotOpen = -1;
// A read, positioning or write failed, or an item's record contradicts itself or the file.
inline constexpr int kArchiveBroken = -2;
// Not an archive: the magic is wrong, or the header's count or size table is impossible.
inline constexpr int kArchiveNotArchive = -3;
inline constexpr int kArchiveFull = -4;
// Appending: the item size does not fit 32 bits. Reading: the buffer is smaller than the content.
inline constexpr int kArchiveTooLarge = -5;
inline constexpr int kArchiveDecompressFailed = -7;
inline constexpr int kArchiveBadArguments = -10;
inline constexpr int kArchiveNoSuchItem = -11;

// bzip2 settings of every item: block size 4 (x 100000 bytes), work factor 200, verbosity 0;
// decompression with the small-memory mode off.
inline constexpr int kArchiveBlockSize = 4;
inline constexpr int kArchiveWorkFactor = 200;

struct ArchiveItemInfo {
  int kind = kSlotEmpty;    // kSlotEmpty, kSlotPicture or kSlotData
  int width = 0;            // pixels; the byte size for data
  int height = 0;           // 1 for data
  int bytesPerPixel = 1;    // 1, 3 or 4 for pictures; 1 otherwise
  std::string title;        // UTF-8; at most 127 CP932 bytes are stored
  bool hasPalette = false;  // appending a picture without one stores the grey ramp
  Palette palette = greyRamp();

  // width x height x bytes per pixel for a picture, the byte size for data, 0 when empty;
  // -1 for sizes that cannot be (negative fields).
  std::int64_t contentBytes() const;
  bool operator==(const ArchiveItemInfo&) const = default;
};

// The header of an archive of no items: magic "VL00", all else zero.
std::array<std::uint8_t, kArchiveHeaderBytes> emptyArchiveHeader();

// Creates or replaces `path` with an archive of no items (magic "VL00", all else zero). The file
// is replaced atomically. 0, or kArchiveCannotOpen.
int createArchive(const std::string& path);

// An item encoded for appending: the record, the palette when there is one, and the stored data,
// which points into the content or the work buffer given to prepareArchiveItem.
struct PreparedArchiveItem {
  bool empty = true;
  std::array<std::uint8_t, kArchiveRecordBytes> record{};  // unused for an empty item
  bool hasPalette = false;
  Palette palette{};
  std::span<const std::uint8_t> stored;
  bool compressed = false;
  std::int32_t sizeEntry = 0;  // 180 (+ 1024) + stored length; 0 for an empty item
};

// Checks the item and compresses its content into `work`; the stream is kept when it fits
// `work`, else the content is stored as it is. Needs no file, so items can be prepared on
// several threads and appended in order. 0, kArchiveBadArguments (kind not 0..2; a picture
// without a positive width, height and bytes per pixel 1, 3 or 4; data of negative size;
// `content` shorter than the content size) or kArchiveTooLarge (content plus record and palette
// beyond 2^31 - 1 bytes).
int prepareArchiveItem(const ArchiveItemInfo& item, std::span<const std::uint8_t> content,
                       std::span<std::uint8_t> work, PreparedArchiveItem& prepared);

// Appends a prepared item to the existing archive `path` (never created here). The record,
// palette and data are written and flushed first and the header last; on any failure the file
// is cut back to its old length and its old header, so it never claims an item whose bytes were
// not written. The new item count, or kArchiveCannotOpen, kArchiveBroken (also when the file is
// shorter than its header claims), kArchiveNotArchive or kArchiveFull.
int appendPreparedArchiveItem(const std::string& path, const PreparedArchiveItem& prepared);

// prepareArchiveItem followed by appendPreparedArchiveItem, with the checks in the order of the
// file format's rules: arguments, then the file, then the item size.
int appendArchiveItem(const std::string& path, const ArchiveItemInfo& item,
                      std::span<const std::uint8_t> content, std::span<std::uint8_t> work);

struct ArchiveItemRead {
  int count = 0;  // items in the file
  ArchiveItemInfo info;
};

// Reads the description of item `number` (1 .. 256; 0 only reports the count). An empty item
// reports kind 0. A bytes-per-pixel field other than 1, 3 or 4 is read as 1. Results: 0,
// kArchiveBadArguments (number outside 0 .. 256), kArchiveCannotOpen, kArchiveBroken,
// kArchiveNotArchive, kArchiveNoSuchItem (number above the count).
int readArchiveItem(const std::string& path, int number, ArchiveItemRead& out);

// As above, and the content into `buffer` (rows top-down; the data's bytes). `work` takes the
// compressed stream, which must fit it. Also kArchiveTooLarge when `buffer` is smaller than the
// content, and kArchiveDecompressFailed when the stream is damaged or does not yield exactly the
// content size.
int readArchiveItem(const std::string& path, int number, ArchiveItemRead& out,
                    std::span<std::uint8_t> buffer, std::span<std::uint8_t> work);

// The first min(count, maxItems) items' descriptions (an empty item: kind 0, width and height 0,
// bytes per pixel 1, no title). Every listed item must be whole within the file. The item count,
// or kArchiveCannotOpen, kArchiveBroken, kArchiveNotArchive.
int readArchiveDirectory(const std::string& path, std::vector<ArchiveItemInfo>& items,
                         int maxItems = kArchiveMaxItems);

}  // namespace vemla
