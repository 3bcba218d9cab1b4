#pragma once
// The body shared by the fuzz targets of the picture readers behind the one picture entry
// (png, tiff, jpeg, pnm): the whole input is the file, so real files serve as seeds unchanged;
// its last byte chooses the 16-bit rule and the true-colour conversion. Small limits keep each
// run fast and the plane buffers small.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "picture/picture_file.h"

namespace vemla::fuzzing {

inline void readPictureEveryWay(const std::uint8_t* data, std::size_t size) {
  constexpr int kMaxWidth = 64;
  constexpr int kMaxHeight = 64;
  if (size == 0) return;
  const std::uint8_t options = data[size - 1];
  const std::span<const std::uint8_t> file(data, size);
  const SixteenBitConversion sixteen{static_cast<SixteenBitRule>(options % 3),
                                     static_cast<std::uint16_t>(options * 97),
                                     static_cast<std::uint16_t>(options * 251)};

  static std::vector<std::uint8_t> plane(kMaxWidth * kMaxHeight);
  static std::vector<std::uint8_t> scratch(4 * plane.size());
  probePicture(file);
  PictureRead read;
  readPicture(file, plane, kMaxWidth, kMaxHeight, (options & 8) != 0, RgbRatio{}, sixteen, scratch,
              read);
  // As the viewer reads: the header into no memory, then into memory of the size it gave.
  if (readPictureIntoMemory(file, {}, kMaxWidth, kMaxHeight, sixteen, read) == kTooLarge &&
      read.width >= 1 && read.width <= kMaxWidth && read.height >= 1 && read.height <= kMaxHeight) {
    const int bytesPerPixel = read.headers.info.bitCount / 8;
    std::vector<std::uint8_t> memory(static_cast<std::size_t>(read.width) * read.height *
                                     static_cast<std::size_t>(bytesPerPixel));
    readPictureIntoMemory(file, memory, kMaxWidth, kMaxHeight, sixteen, read);
  }
}

}  // namespace vemla::fuzzing
