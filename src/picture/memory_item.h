#pragma once
// Reading a file into a memory item for the gallery: picture files (bitmap, PNG, TIFF, JPEG,
// PGM/PPM) and raw files become pictures, anything else a data item.
#include <cstdint>
#include <span>
#include <string>

#include "picture/palette.h"
#include "picture/sixteen_bit.h"
#include "ports/ports.h"

namespace vemla {

inline constexpr int kItemBitmap = 0;
inline constexpr int kItemRaw = 1;
inline constexpr int kItemData = 99;

inline constexpr int kItemAbandoned = 1;  // a dialog was cancelled
inline constexpr int kItemNotPicture = 2; // not a picture and data items were not wanted
inline constexpr int kItemTooSmall = -4;

struct MemoryItemRequest {
  std::string name;
  int minWidth = 8, minHeight = 8;
  int maxWidth = 1024, maxHeight = 1024;
  bool convertTo8Bit = false;  // true-colour bitmaps become 8-bit pictures
  bool noData = false;         // other files give kItemNotPicture instead of a data item
  bool report = true;          // tell the operator about failures
  int trueColourMode = 0;      // TrueColourOpenMode
  bool askRatio = true;        // AskRatioPerFile
  RgbRatio ratios{};           // GreyRatioR/G/B

  SixteenBitConversion sixteen{};  // how 16-bit grey pictures become 8-bit
};

struct MemoryItem {
  int kind = kItemBitmap;  // kItemBitmap, kItemRaw or kItemData
  int bytesPerPixel = 1;
  int width = 0;   // a data item: its byte count
  int height = 0;  // a data item: 1
  Palette palette{};
};

// `destination` must hold 4 * maxWidth * maxHeight bytes (the largest item) and `scratch` as
// many. `rawSize` holds the raw file size dialog's values and takes the new ones. Returns 0 on
// success, kItemAbandoned, kItemNotPicture, or kReadError, kUnsupported, kTooLarge,
// kItemTooSmall (after the message when `report` is set). Pictures are stored top-down with
// width * bytesPerPixel bytes per row.
int readFileIntoMemoryItem(const MemoryItemRequest& request, UserPort& user, RawSize& rawSize,
                           std::span<std::uint8_t> destination, std::span<std::uint8_t> scratch,
                           MemoryItem& item);

// The byte limit of a data item: 4 * maxWidth * maxHeight.
std::uint64_t dataItemLimit(int maxWidth, int maxHeight);

}  // namespace vemla
