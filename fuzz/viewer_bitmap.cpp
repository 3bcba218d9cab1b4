// Feeds arbitrary bytes to the viewer as a bitmap file, then paints what it took into a small
// client area at the zoom and centre its last two bytes choose, with the grey-value table.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "processing/viewer_file.h"
#include "processing/viewer_model.h"

namespace {

constexpr int kMaxWidth = 64;
constexpr int kMaxHeight = 64;
constexpr int kZooms[] = {-8, -4, -2, 1, 2, 3, 7, 64};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  vemla::ViewerImage image;
  if (!vemla::loadViewerBitmap(std::span<const std::uint8_t>(data, size), "fuzz.bmp", kMaxWidth,
                               kMaxHeight, image)
           .empty())
    return 0;
  const std::uint8_t choice = data[size - 1], place = data[size - 2];
  const auto opening =
      vemla::viewerOpening(image.width, image.height, {320, 256}, {kMaxWidth, kMaxHeight});
  if (!opening) return 0;
  const int zoom = kZooms[choice & 7];
  const int centreX = place % image.width, centreY = (place / 16) % image.height;
  static std::vector<std::uint32_t> client(static_cast<std::size_t>(37) * 23);
  vemla::paintViewer(image.picture(), zoom, centreX, centreY, 37, 23, client.data(), 37);
  vemla::gradationTable(image.picture(), centreX, centreY);
  return 0;
}
