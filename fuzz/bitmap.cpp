// Feeds arbitrary bytes to every bitmap reader. The whole input is the file, so real bitmaps
// serve as seeds unchanged; its last byte also chooses the reader options (grey conversion and
// hostile ratios). Small limits keep each run fast.
#include "picture/bitmap.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace {

constexpr int kMaxWidth = 64;
constexpr int kMaxHeight = 64;

vemla::RgbRatio ratiosFor(std::uint8_t choice) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  switch (choice & 3) {
    case 1:
      return {nan, 0.5, -0.5};
    case 2:
      return {infinity, -infinity, 1e308};
    case 3:
      return {-3.0, 7.5, 1.0};
    default:
      return {};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[size - 1];
  const std::span<const std::uint8_t> file(data, size);

  static std::vector<std::uint8_t> plane(kMaxWidth * kMaxHeight);
  static std::vector<std::uint8_t> scratch(4 * plane.size());
  vemla::BitmapRead out;

  vemla::MemorySource probeInput(file);
  vemla::probeBitmap(probeInput);

  vemla::MemorySource pictureInput(file);
  vemla::readBitmapPicture(pictureInput, plane, kMaxWidth, kMaxHeight, (options & 4) != 0,
                           ratiosFor(options), scratch, out);

  vemla::MemorySource memoryInput(file);
  vemla::readBitmapIntoMemory(memoryInput, scratch, kMaxWidth, kMaxHeight, out);

  vemla::Palette palette{};
  vemla::MemorySource paletteInput(file);
  vemla::readBitmapPalette(paletteInput, palette);
  return 0;
}
