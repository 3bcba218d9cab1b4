#pragma once
// Bitmap files: probe, the two readers (into a picture plane, into a memory item), the palette
// reader, the header builder and the writers. Readers take the parts strictly in sequence:
// file header, information header, 256 palette entries for 8-bit files, then the rows; the
// pixel-data offset of the header is not used.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "picture/byte_source.h"
#include "picture/palette.h"
#include "ports/ports.h"

namespace vemla {

// Results shared by the bitmap readers.
inline constexpr int kReadError = -1;
inline constexpr int kUnsupported = -2;
inline constexpr int kTooLarge = -3;

struct BitmapFileHeader {
  std::uint16_t type = 0x4D42;  // "BM"
  std::uint32_t fileSize = 0;
  std::uint16_t reserved1 = 0;
  std::uint16_t reserved2 = 0;
  std::uint32_t pixelOffset = 0;

  static constexpr std::size_t kBytes = 14;
  std::array<std::uint8_t, kBytes> toBytes() const;
  static BitmapFileHeader fromBytes(const std::uint8_t* bytes);
  bool operator==(const BitmapFileHeader&) const = default;
};

struct BitmapInfoHeader {
  std::int32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;

  static constexpr std::size_t kBytes = 40;
  std::array<std::uint8_t, kBytes> toBytes() const;
  static BitmapInfoHeader fromBytes(const std::uint8_t* bytes);
  bool operator==(const BitmapInfoHeader&) const = default;
};

struct BitmapHeaders {
  BitmapFileHeader file;
  BitmapInfoHeader info;
  bool operator==(const BitmapHeaders&) const = default;
};

// The header builder: bytes per pixel 1, 3 or 4; positive height (bottom-up); image size field
// w * b * h without row padding; for b = 1 offset 1078 and 256 colours, else offset 54.
BitmapHeaders buildBitmapHeaders(int bytesPerPixel, int width, int height);

// Row length of a bitmap row of `width` pixels of `bytesPerPixel` bytes, padded to 4.
std::int64_t bitmapRowBytes(std::int64_t width, int bytesPerPixel);

// grey = (G*g + B*b) + R*r in double, clamped in double (NaN and <= 0 give 0, >= 255 gives 255)
// and then truncated.
std::uint8_t greyFromBgr(std::uint8_t blue, std::uint8_t green, std::uint8_t red,
                         const RgbRatio& ratios);

// greyFromBgr over `height` rows of `width` pixels of 3 or 4 bytes (blue, green, red[, ignored])
// with the same result as calling it per pixel, from tables of the same products.
void convertTrueColourToGrey(int bytesPerPixel, const std::uint8_t* source,
                             std::size_t sourceStride, int width, int height,
                             const RgbRatio& ratios, std::uint8_t* destination,
                             std::size_t destinationStride);

// Bit count (8, 24, 32 or any other value found); kReadError when the file cannot be opened or
// holds fewer than 54 bytes; kUnsupported when it does not begin with "BM" or is compressed.
int probeBitmap(ByteSource& in);
int probeBitmap(const std::string& path);

// What a bitmap reader found besides the pixels.
struct BitmapRead {
  BitmapHeaders headers;
  Palette palette{};
  bool topDown = false;
  int width = 0;   // pixels
  int height = 0;  // absolute value of the header's height
};

// Reads a picture into `destination` (at least maxWidth * maxHeight bytes) with rows in file
// order and the row length R8 = width rounded up to 4. 8-bit files keep their palette;
// 24/32-bit files are converted to grey with `ratios` (palette becomes the grey ramp) when
// `greyConversion` is set, else quantized to 256 colours with the file's first row taken as
// the top row (so the dither matrix row follows the file order); their row padding in the
// destination is zero. `scratch` must hold 4 * maxWidth * maxHeight bytes.
// Returns R8, or:
//   kReadError   the file ends before its last pixel row (the destination may be overwritten);
//   kUnsupported not "BM", compressed, width < 1, height 0 or INT32_MIN, bit count not 8/24/32;
//   kTooLarge    R8 > maxWidth or |height| > maxHeight (or buffers smaller than stated above).
// `out` holds the headers, size and row order on success and with kTooLarge (for messages).
int readBitmapPicture(ByteSource& in, std::span<std::uint8_t> destination, int maxWidth,
                      int maxHeight, bool greyConversion, const RgbRatio& ratios,
                      std::span<std::uint8_t> scratch, BitmapRead& out);
int readBitmapPicture(const std::string& path, std::span<std::uint8_t> destination, int maxWidth,
                      int maxHeight, bool greyConversion, const RgbRatio& ratios,
                      std::span<std::uint8_t> scratch, BitmapRead& out);

// Reads a bitmap as it is: rows top-down, width * b bytes each without padding; the palette
// for 8-bit files, zeros for true-colour files. Width and |height| must be at least 1 (else
// kUnsupported, as for the other header faults) and at most maxWidth / maxHeight, the width
// itself being compared (else kTooLarge); `destination` must hold width * b * height bytes
// (else kTooLarge). Returns b (1, 3 or 4), kReadError, kUnsupported or kTooLarge.
int readBitmapIntoMemory(ByteSource& in, std::span<std::uint8_t> destination, int maxWidth,
                         int maxHeight, BitmapRead& out);
int readBitmapIntoMemory(const std::string& path, std::span<std::uint8_t> destination,
                         int maxWidth, int maxHeight, BitmapRead& out);

// Palette of an 8-bit uncompressed bitmap: 0, kReadError, kUnsupported (not "BM", compressed,
// width < 1, height 0 or INT32_MIN), or -3 when it is not 8-bit. `palette` is changed only on
// success.
int readBitmapPalette(ByteSource& in, Palette& palette);
int readBitmapPalette(const std::string& path, Palette& palette);

// Writes a bitmap with headers from the builder; for b = 1 the given palette or a grey ramp;
// rows bottom-up, each padded with zeros. The file is written to a temporary file in the same
// folder and renamed over the target only when every write and the close succeeded, so a
// failure never destroys an existing file. 0 on success, -1 on failure.
int writeBitmap(const std::string& path, int width, int height, int bytesPerPixel,
                const std::uint8_t* pixels, const Palette* palette);

// By extension (a leading double quote is stripped): ".bmp" writes a bitmap, ".png" a PNG and
// ".tif" / ".tiff" a TIFF (png_writer.h, tiff_writer.h), ".raw" writes width * height bytes
// (1 byte per pixel only); anything else fails. Atomic as writeBitmap.
int writePictureFile(std::string_view name, int width, int height, int bytesPerPixel,
                     const std::uint8_t* pixels, const Palette* palette);

}  // namespace vemla
