#pragma once
// What the PNG and TIFF writers share: the picture kinds they write and the conversion of a
// true-colour row from the workbench's pixel order to the files' order.
#include <cstdint>
#include <string_view>

#include "picture/palette.h"
#include "text/translate.h"

namespace vemla {

// How a picture handed to a writer is stored: 8-bit grey (no palette, or a grey ramp), 8-bit
// with its palette, or 8-bit RGB (3 or 4 bytes per pixel: blue, green, red[, unused]).
enum class WrittenKind { Grey, Paletted, Rgb };

// Rgb for 3 or 4 bytes per pixel, otherwise Grey or Paletted by the palette.
WrittenKind writtenKind(int bytesPerPixel, const Palette* palette);

// Whether the writers accept these arguments: width and height at least 1, pixels given,
// 1, 3 or 4 bytes per pixel.
bool writableArguments(int width, int height, int bytesPerPixel, const std::uint8_t* pixels);

// One row of `width` pixels of `bytesPerPixel` (3 or 4) bytes in blue-green-red order to
// red-green-blue triples in `out` (3 * width bytes).
void rgbRow(const std::uint8_t* in, int bytesPerPixel, int width, std::uint8_t* out);

// The palette's entry i as 8-bit red, green, blue.
struct PaletteColour {
  std::uint8_t red, green, blue;
};
PaletteColour paletteColour(const Palette& palette, int i);

// The save dialogs' filters for pictures; the first is the default kind.
inline constexpr const char* kSavePictureFilters[] = {
    text::N_("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp)"), text::N_("PNGﾌｧｲﾙ (*.png)"),
    text::N_("TIFFﾌｧｲﾙ (*.tif *.tiff)"), text::N_("RAWﾌｧｲﾙ (*.raw)")};

// ".png" / ".tif" or ".tiff" at the end of a name (any case).
bool isPngName(std::string_view name);
bool isTiffName(std::string_view name);

}  // namespace vemla
