#include "picture/picture_writing.h"

#include "picture/file_names.h"

namespace vemla {

WrittenKind writtenKind(int bytesPerPixel, const Palette* palette) {
  if (bytesPerPixel != 1) return WrittenKind::Rgb;
  return palette == nullptr || *palette == greyRamp() ? WrittenKind::Grey : WrittenKind::Paletted;
}

bool writableArguments(int width, int height, int bytesPerPixel, const std::uint8_t* pixels) {
  return width >= 1 && height >= 1 && pixels != nullptr &&
         (bytesPerPixel == 1 || bytesPerPixel == 3 || bytesPerPixel == 4);
}

void rgbRow(const std::uint8_t* in, int bytesPerPixel, int width, std::uint8_t* out) {
  for (int x = 0; x < width; ++x, in += bytesPerPixel, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
  }
}

PaletteColour paletteColour(const Palette& palette, int i) {
  const auto at = static_cast<std::size_t>(i) * 4;
  return {palette[at + 2], palette[at + 1], palette[at]};
}

bool isPngName(std::string_view name) {
  return nameEndsWithExtension(name, ".png");
}

bool isTiffName(std::string_view name) {
  return nameEndsWithExtension(name, ".tif") || nameEndsWithExtension(name, ".tiff");
}

}  // namespace vemla
