#pragma once
// The one entry for reading picture files: the reader is chosen by the file's first bytes
// (bitmap, PNG, TIFF, JPEG, PGM/PPM), never by its name, and every reader answers as the
// bitmap reader does: the same results, the same limits, 8-bit pictures with a palette or true
// colour through the same conversion. Files no reader knows go to the bitmap reader, which
// refuses them as unsupported. Raw files have no first bytes to tell them; their callers keep
// the extension rule.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "picture/bitmap.h"
#include "picture/sixteen_bit.h"
#include "text/translate.h"

namespace vemla {

enum class PictureFormat { Bitmap, Png, Tiff, Jpeg, Pnm, Unknown };

// By the first bytes of a file (12 are enough).
PictureFormat pictureFormatOf(std::span<const std::uint8_t> firstBytes);

// A name whose extension is one of the picture files read (".bmp", ".png", ".tif", ".tiff",
// ".jpg", ".jpeg", ".pgm", ".ppm"; any case). Used where only names are at hand: finding the
// pictures of a folder. Raw files are not included.
bool isPictureName(std::string_view name);

// The filters of every dialog that opens pictures: all picture files first, then one per
// format, then every file.
inline constexpr const char* kOpenPictureFilters[] = {
    text::N_("画像ﾌｧｲﾙ (*.bmp *.png *.tif *.tiff *.jpg *.jpeg *.pgm *.ppm *.raw)"),
    text::N_("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp)"),
    text::N_("PNGﾌｧｲﾙ (*.png)"),
    text::N_("TIFFﾌｧｲﾙ (*.tif *.tiff)"),
    text::N_("JPEGﾌｧｲﾙ (*.jpg *.jpeg)"),
    text::N_("PGM/PPMﾌｧｲﾙ (*.pgm *.ppm)"),
    text::N_("RAWﾌｧｲﾙ (*.raw)"),
    text::N_("全てのﾌｧｲﾙ (*)")};

// What a reader found besides the pixels. Files other than bitmaps give top-down headers from
// the header builder (bit count 8 or 24). `note` is what the picture's name field adds after
// the file name: " [1/12]" for the first page of a 12-page file, " [16→8 0–4095]" when 16-bit
// samples were converted; empty otherwise.
struct PictureRead : BitmapRead {
  std::string note;
};

// As probeBitmap: 8 or 24 for the other formats (another value for a depth no reader takes),
// kReadError or kUnsupported (also for a file of two bytes or more that no reader knows). The
// size is not checked here.
int probePicture(const std::string& path);
int probePicture(std::span<const std::uint8_t> file);

// As readBitmapPicture; 16-bit grey samples become 8-bit by `sixteen`. The size limits are
// checked from the header before any pixel is decoded.
int readPicture(const std::string& path, std::span<std::uint8_t> destination, int maxWidth,
                int maxHeight, bool greyConversion, const RgbRatio& ratios,
                const SixteenBitConversion& sixteen, std::span<std::uint8_t> scratch,
                PictureRead& out);
int readPicture(std::span<const std::uint8_t> file, std::span<std::uint8_t> destination,
                int maxWidth, int maxHeight, bool greyConversion, const RgbRatio& ratios,
                const SixteenBitConversion& sixteen, std::span<std::uint8_t> scratch,
                PictureRead& out);

// As readBitmapIntoMemory (bytes per pixel 1 or 3 for the other formats, colour as blue,
// green, red). A destination smaller than the picture gives kTooLarge with `out` describing the
// picture, so that a caller may size its buffer from a first call with an empty one.
int readPictureIntoMemory(const std::string& path, std::span<std::uint8_t> destination,
                          int maxWidth, int maxHeight, const SixteenBitConversion& sixteen,
                          PictureRead& out);
int readPictureIntoMemory(std::span<const std::uint8_t> file, std::span<std::uint8_t> destination,
                          int maxWidth, int maxHeight, const SixteenBitConversion& sixteen,
                          PictureRead& out);

}  // namespace vemla
