#include "gallery/thumbnail.h"

#include <algorithm>
#include <vector>

#include "picture/quantize.h"

namespace vemla {

void buildThumbnail(std::span<const std::uint8_t> pixels, int width, int height, int bytesPerPixel,
                    std::span<std::uint8_t> thumbnail, Palette& palette) {
  std::fill(thumbnail.begin(), thumbnail.end(), std::uint8_t{0});
  if (width < 1 || height < 1 || thumbnail.size() < kThumbnailBytes) return;
  const std::int64_t w = width, h = height;
  const std::uint64_t sourceBytes = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
  if (bytesPerPixel < 1 ||
      pixels.size() / static_cast<std::uint64_t>(bytesPerPixel) < sourceBytes) {
    return;
  }
  const std::int64_t columns = w >= h ? kThumbnailSide : w * kThumbnailSide / h;
  const std::int64_t rows = w >= h ? h * kThumbnailSide / w : kThumbnailSide;
  const std::int64_t left = (kThumbnailSide - columns) / 2;
  const std::int64_t top = (kThumbnailSide - rows) / 2;

  const bool trueColour = bytesPerPixel == 3 || bytesPerPixel == 4;
  // A true-colour source row is quantized on its own. The dither matrix row of picture row y is
  // (height - 1 - y) mod 8; quantizing d + 1 copies of the row (source stride 0) gives local
  // row 0 the matrix row d, so the indices equal those of quantizing the whole picture.
  std::vector<std::uint8_t> quantized(trueColour ? static_cast<std::size_t>(w) * 8 : 0);
  if (trueColour) palette = quantizePalette();
  for (std::int64_t i = 0; i < rows; ++i) {
    const std::int64_t sourceRow = i * h / rows;
    const std::uint8_t* row = pixels.data() + sourceRow * w * (trueColour ? bytesPerPixel : 1);
    if (trueColour) {
      const int matrixRow = static_cast<int>((h - 1 - sourceRow) % 8);
      quantizeTrueColour(bytesPerPixel, row, 0, width, matrixRow + 1, quantized.data(),
                         static_cast<std::size_t>(width), nullptr);
      row = quantized.data();
    }
    std::uint8_t* out = thumbnail.data() + (top + i) * kThumbnailSide + left;
    for (std::int64_t j = 0; j < columns; ++j) out[j] = row[j * w / columns];
  }
}

}  // namespace vemla
