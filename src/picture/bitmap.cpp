#include "picture/bitmap.h"

#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/little_endian.h"
#include "picture/picture_writing.h"
#include "picture/png_writer.h"
#include "picture/quantize.h"
#include "picture/tiff_writer.h"

namespace vemla {
namespace {

constexpr std::size_t kHeaderBytes = BitmapFileHeader::kBytes + BitmapInfoHeader::kBytes;  // 54
constexpr std::size_t kPaletteBytes = 1024;
// Pixel data of an 8-bit file starts after the headers and its 256-entry palette (1078).
constexpr std::size_t kPalettedHeaderBytes = kHeaderBytes + kPaletteBytes;
// Rows are read in blocks of about this size (fewer system calls than a row each).
constexpr std::size_t kReadBlockBytes = std::size_t{1} << 20;
// Pieces handed to one gathering write: the least IOV_MAX any system gives.
constexpr std::size_t kMostPieces = 1024;

// Writes every byte of `pieces` to `fd`, carrying on after short writes; false on an error or
// when no progress is made (a full device).
bool writeAllPieces(int fd, std::vector<iovec>& pieces) {
  iovec* next = pieces.data();
  std::size_t left = pieces.size();
  while (left > 0) {
    const ssize_t written = ::writev(fd, next, static_cast<int>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    auto done = static_cast<std::size_t>(written);
    while (left > 0 && done >= next->iov_len) {
      done -= next->iov_len;
      ++next;
      --left;
    }
    if (left > 0) {
      next->iov_base = static_cast<std::uint8_t*>(next->iov_base) + done;
      next->iov_len -= done;
    }
  }
  return true;
}

bool readExactly(ByteSource& in, void* destination, std::size_t count) {
  return in.read(destination, count) == count;
}

// "BM", the rest of the file header and the information header, in sequence.
// 0, kReadError (short file) or kUnsupported (not "BM" or compressed).
int readHeaders(ByteSource& in, BitmapHeaders& headers) {
  std::uint8_t bytes[kHeaderBytes];
  if (!readExactly(in, bytes, 2)) return kReadError;
  if (bytes[0] != 'B' || bytes[1] != 'M') return kUnsupported;
  if (!readExactly(in, bytes + 2, kHeaderBytes - 2)) return kReadError;
  headers.file = BitmapFileHeader::fromBytes(bytes);
  headers.info = BitmapInfoHeader::fromBytes(bytes + BitmapFileHeader::kBytes);
  if (headers.info.compression != 0) return kUnsupported;
  return 0;
}

// Dimensions every reader needs: width at least 1, a height other than 0 whose absolute value
// exists as an int (INT32_MIN has none).
bool hasUsableSize(const BitmapInfoHeader& info) {
  return info.width >= 1 && info.height != 0 &&
         info.height != std::numeric_limits<std::int32_t>::min();
}

int bytesPerPixelOf(const BitmapInfoHeader& info) {
  switch (info.bitCount) {
    case 8:
      return 1;
    case 24:
      return 3;
    case 32:
      return 4;
    default:
      return 0;
  }
}

void describe(const BitmapHeaders& headers, BitmapRead& out) {
  out.headers = headers;
  out.topDown = headers.info.height < 0;
  out.width = headers.info.width;
  out.height = headers.info.height < 0 ? -headers.info.height : headers.info.height;
}

std::uint8_t clampGrey(double sum) {
  // NaN compares false with everything, so it takes the first branch and becomes 0.
  if (!(sum > 0.0)) return 0;
  if (sum >= 255.0) return 255;
  return static_cast<std::uint8_t>(sum);
}

// Clears the bytes of each destination row beyond the picture's width.
void clearRowPadding(std::uint8_t* destination, std::size_t rowLength, int width, int height) {
  const std::size_t pad = rowLength - static_cast<std::size_t>(width);
  if (pad == 0) return;
  for (int row = 0; row < height; ++row) {
    std::memset(destination + static_cast<std::size_t>(row) * rowLength + width, 0, pad);
  }
}

}  // namespace

std::array<std::uint8_t, BitmapFileHeader::kBytes> BitmapFileHeader::toBytes() const {
  std::array<std::uint8_t, kBytes> bytes{};
  little_endian::putU16(&bytes[0], type);
  little_endian::putU32(&bytes[2], fileSize);
  little_endian::putU16(&bytes[6], reserved1);
  little_endian::putU16(&bytes[8], reserved2);
  little_endian::putU32(&bytes[10], pixelOffset);
  return bytes;
}

BitmapFileHeader BitmapFileHeader::fromBytes(const std::uint8_t* bytes) {
  BitmapFileHeader header;
  header.type = little_endian::getU16(bytes);
  header.fileSize = little_endian::getU32(bytes + 2);
  header.reserved1 = little_endian::getU16(bytes + 6);
  header.reserved2 = little_endian::getU16(bytes + 8);
  header.pixelOffset = little_endian::getU32(bytes + 10);
  return header;
}

std::array<std::uint8_t, BitmapInfoHeader::kBytes> BitmapInfoHeader::toBytes() const {
  std::array<std::uint8_t, kBytes> bytes{};
  little_endian::putI32(&bytes[0], size);
  little_endian::putI32(&bytes[4], width);
  little_endian::putI32(&bytes[8], height);
  little_endian::putU16(&bytes[12], planes);
  little_endian::putU16(&bytes[14], bitCount);
  little_endian::putU32(&bytes[16], compression);
  little_endian::putU32(&bytes[20], imageSize);
  little_endian::putI32(&bytes[24], xPelsPerMeter);
  little_endian::putI32(&bytes[28], yPelsPerMeter);
  little_endian::putU32(&bytes[32], coloursUsed);
  little_endian::putU32(&bytes[36], coloursImportant);
  return bytes;
}

BitmapInfoHeader BitmapInfoHeader::fromBytes(const std::uint8_t* bytes) {
  BitmapInfoHeader header;
  header.size = little_endian::getI32(bytes);
  header.width = little_endian::getI32(bytes + 4);
  header.height = little_endian::getI32(bytes + 8);
  header.planes = little_endian::getU16(bytes + 12);
  header.bitCount = little_endian::getU16(bytes + 14);
  header.compression = little_endian::getU32(bytes + 16);
  header.imageSize = little_endian::getU32(bytes + 20);
  header.xPelsPerMeter = little_endian::getI32(bytes + 24);
  header.yPelsPerMeter = little_endian::getI32(bytes + 28);
  header.coloursUsed = little_endian::getU32(bytes + 32);
  header.coloursImportant = little_endian::getU32(bytes + 36);
  return header;
}

std::int64_t bitmapRowBytes(std::int64_t width, int bytesPerPixel) {
  return (width * bytesPerPixel + 3) / 4 * 4;
}

BitmapHeaders buildBitmapHeaders(int bytesPerPixel, int width, int height) {
  const bool paletted = bytesPerPixel == 1;
  const std::int64_t headerBytes =
      static_cast<std::int64_t>(paletted ? kPalettedHeaderBytes : kHeaderBytes);
  BitmapHeaders headers;
  // The size fields are 32 bits wide; callers keep pictures far below that.
  headers.file.fileSize = static_cast<std::uint32_t>(
      static_cast<std::int64_t>(height) * bitmapRowBytes(width, bytesPerPixel) + headerBytes);
  headers.file.pixelOffset = static_cast<std::uint32_t>(headerBytes);
  BitmapInfoHeader& info = headers.info;
  info.width = width;
  info.height = height;
  info.planes = 1;
  info.bitCount = static_cast<std::uint16_t>(8 * bytesPerPixel);
  info.compression = 0;
  // Without row padding, as every picture written so far has carried it.
  info.imageSize = static_cast<std::uint32_t>(static_cast<std::int64_t>(width) * bytesPerPixel *
                                              static_cast<std::int64_t>(height));
  info.xPelsPerMeter = info.yPelsPerMeter = paletted ? 0 : 1;
  info.coloursUsed = info.coloursImportant = paletted ? 256 : 0;
  return headers;
}

void convertTrueColourToGrey(int bytesPerPixel, const std::uint8_t* source,
                             std::size_t sourceStride, int width, int height,
                             const RgbRatio& ratios, std::uint8_t* destination,
                             std::size_t destinationStride) {
  double blueProduct[256], greenProduct[256], redProduct[256];
  for (int value = 0; value < 256; ++value) {
    blueProduct[value] = value * ratios.blue;
    greenProduct[value] = value * ratios.green;
    redProduct[value] = value * ratios.red;
  }
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* pixel = source + static_cast<std::size_t>(row) * sourceStride;
    std::uint8_t* out = destination + static_cast<std::size_t>(row) * destinationStride;
    for (int x = 0; x < width; ++x, pixel += bytesPerPixel) {
      const double greenAndBlue = greenProduct[pixel[1]] + blueProduct[pixel[0]];
      out[x] = clampGrey(greenAndBlue + redProduct[pixel[2]]);
    }
  }
}

std::uint8_t greyFromBgr(std::uint8_t blue, std::uint8_t green, std::uint8_t red,
                         const RgbRatio& ratios) {
  // Separate statements keep each product rounded to double (no fused multiply-add).
  const double greenProduct = green * ratios.green;
  const double blueProduct = blue * ratios.blue;
  const double redProduct = red * ratios.red;
  const double greenAndBlue = greenProduct + blueProduct;
  return clampGrey(greenAndBlue + redProduct);
}

int probeBitmap(ByteSource& in) {
  std::uint8_t bytes[kHeaderBytes];
  if (!readExactly(in, bytes, kHeaderBytes)) return kReadError;
  if (bytes[0] != 'B' || bytes[1] != 'M') return kUnsupported;
  const BitmapInfoHeader info = BitmapInfoHeader::fromBytes(bytes + BitmapFileHeader::kBytes);
  if (info.compression != 0) return kUnsupported;
  return info.bitCount;
}

int probeBitmap(const std::string& path) {
  FileSource in(path);
  if (!in.isOpen()) return kReadError;
  return probeBitmap(in);
}

int readBitmapPicture(ByteSource& in, std::span<std::uint8_t> destination, int maxWidth,
                      int maxHeight, bool greyConversion, const RgbRatio& ratios,
                      std::span<std::uint8_t> scratch, BitmapRead& out) {
  BitmapHeaders headers;
  if (const int status = readHeaders(in, headers); status != 0) return status;
  const int bytesPerPixel = bytesPerPixelOf(headers.info);
  if (!hasUsableSize(headers.info) || bytesPerPixel == 0) return kUnsupported;
  describe(headers, out);

  // The limit applies to the row length rounded up to 4, which is also the destination's.
  const std::int64_t rowLength = bitmapRowBytes(out.width, 1);
  const std::int64_t height = out.height;
  if (rowLength > maxWidth || height > maxHeight) return kTooLarge;
  const std::int64_t pictureBytes = rowLength * height;
  if (pictureBytes > static_cast<std::int64_t>(destination.size())) return kTooLarge;

  if (bytesPerPixel == 1) {
    if (!readExactly(in, out.palette.data(), kPaletteBytes)) return kReadError;
    if (!readExactly(in, destination.data(), static_cast<std::size_t>(pictureBytes))) {
      return kReadError;
    }
    return static_cast<int>(rowLength);
  }

  // True colour: all rows in file order into the scratch area, then converted or quantized
  // row for row into the destination. File rows are at most 4 * width bytes, so the documented
  // scratch size of 4 * maxWidth * maxHeight always holds them.
  const std::int64_t fileRowBytes = bitmapRowBytes(out.width, bytesPerPixel);
  const std::int64_t fileBytes = fileRowBytes * height;
  if (fileBytes > static_cast<std::int64_t>(scratch.size())) return kTooLarge;
  if (!readExactly(in, scratch.data(), static_cast<std::size_t>(fileBytes))) return kReadError;

  const auto sourceStride = static_cast<std::size_t>(fileRowBytes);
  const auto destinationStride = static_cast<std::size_t>(rowLength);
  if (greyConversion) {
    out.palette = greyRamp();
    convertTrueColourToGrey(bytesPerPixel, scratch.data(), sourceStride, out.width, out.height,
                            ratios, destination.data(), destinationStride);
  } else {
    // The file's first row is quantized as the picture's top row whatever the row order, so
    // the dither matrix row follows the file order.
    quantizeTrueColour(bytesPerPixel, scratch.data(), sourceStride, out.width, out.height,
                       destination.data(), destinationStride, &out.palette);
  }
  clearRowPadding(destination.data(), destinationStride, out.width, out.height);
  return static_cast<int>(rowLength);
}

int readBitmapPicture(const std::string& path, std::span<std::uint8_t> destination, int maxWidth,
                      int maxHeight, bool greyConversion, const RgbRatio& ratios,
                      std::span<std::uint8_t> scratch, BitmapRead& out) {
  FileSource in(path);
  if (!in.isOpen()) return kReadError;
  return readBitmapPicture(in, destination, maxWidth, maxHeight, greyConversion, ratios, scratch,
                           out);
}

int readBitmapIntoMemory(ByteSource& in, std::span<std::uint8_t> destination, int maxWidth,
                         int maxHeight, BitmapRead& out) {
  BitmapHeaders headers;
  if (const int status = readHeaders(in, headers); status != 0) return status;
  const int bytesPerPixel = bytesPerPixelOf(headers.info);
  if (!hasUsableSize(headers.info) || bytesPerPixel == 0) return kUnsupported;
  describe(headers, out);
  if (out.width > maxWidth || out.height > maxHeight) return kTooLarge;

  const std::int64_t rowBytes = static_cast<std::int64_t>(out.width) * bytesPerPixel;
  const std::int64_t height = out.height;
  if (rowBytes * height > static_cast<std::int64_t>(destination.size())) return kTooLarge;

  if (bytesPerPixel == 1) {
    if (!readExactly(in, out.palette.data(), kPaletteBytes)) return kReadError;
  } else {
    out.palette.fill(0);
  }
  // Rows are read in blocks of about kReadBlockBytes and then dropped into place without their
  // padding, which costs one copy but spares a read call per row.
  const auto rowSize = static_cast<std::size_t>(rowBytes);
  const auto fileRowSize = static_cast<std::size_t>(bitmapRowBytes(out.width, bytesPerPixel));
  const std::int64_t rowsPerBlock =
      std::max<std::int64_t>(1, static_cast<std::int64_t>(kReadBlockBytes / fileRowSize));
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min(rowsPerBlock, height)) *
                                  fileRowSize);
  for (std::int64_t first = 0; first < height; first += rowsPerBlock) {
    const std::int64_t rows = std::min(rowsPerBlock, height - first);
    if (!readExactly(in, block.data(), static_cast<std::size_t>(rows) * fileRowSize)) {
      return kReadError;
    }
    for (std::int64_t i = 0; i < rows; ++i) {
      const std::int64_t fileRow = first + i;
      const std::int64_t row = out.topDown ? fileRow : height - 1 - fileRow;
      std::memcpy(destination.data() + row * rowBytes,
                  block.data() + static_cast<std::size_t>(i) * fileRowSize, rowSize);
    }
  }
  return bytesPerPixel;
}

int readBitmapIntoMemory(const std::string& path, std::span<std::uint8_t> destination, int maxWidth,
                         int maxHeight, BitmapRead& out) {
  FileSource in(path);
  if (!in.isOpen()) return kReadError;
  return readBitmapIntoMemory(in, destination, maxWidth, maxHeight, out);
}

int readBitmapPalette(ByteSource& in, Palette& palette) {
  BitmapHeaders headers;
  if (const int status = readHeaders(in, headers); status != 0) return status;
  if (!hasUsableSize(headers.info)) return kUnsupported;
  if (headers.info.bitCount != 8) return kTooLarge;  // -3: not an 8-bit file
  Palette read{};
  if (!readExactly(in, read.data(), kPaletteBytes)) return kReadError;
  palette = read;
  return 0;
}

int readBitmapPalette(const std::string& path, Palette& palette) {
  FileSource in(path);
  if (!in.isOpen()) return kReadError;
  return readBitmapPalette(in, palette);
}

int writeBitmap(const std::string& path, int width, int height, int bytesPerPixel,
                const std::uint8_t* pixels, const Palette* palette) {
  if (width < 1 || height < 1 || pixels == nullptr ||
      (bytesPerPixel != 1 && bytesPerPixel != 3 && bytesPerPixel != 4)) {
    return -1;
  }
  const bool paletted = bytesPerPixel == 1;
  const auto rowBytes = static_cast<std::size_t>(static_cast<std::int64_t>(width) * bytesPerPixel);
  const auto fileRowBytes = static_cast<std::size_t>(bitmapRowBytes(width, bytesPerPixel));
  const std::size_t headerBytes = paletted ? kPalettedHeaderBytes : kHeaderBytes;
  // The file size field is 32 bits wide.
  if (static_cast<std::uint64_t>(fileRowBytes) * static_cast<std::uint64_t>(height) + headerBytes >
      std::numeric_limits<std::uint32_t>::max()) {
    return -1;
  }
  const BitmapHeaders headers = buildBitmapHeaders(bytesPerPixel, width, height);
  const auto fileHeader = headers.file.toBytes();
  const auto infoHeader = headers.info.toBytes();
  const Palette ramp = paletted && palette == nullptr ? greyRamp() : Palette{};
  static constexpr std::uint8_t kZeros[4] = {};

  // The headers and then the rows bottom-up, each followed by its zero padding, gathered
  // straight from the pixels: no row is copied on its way to the file.
  FileReplacement file(path);
  if (!file.isOpen()) return -1;
  std::vector<iovec> pieces;
  pieces.reserve(kMostPieces);
  const auto add = [&](const void* data, std::size_t count) {
    if (pieces.size() == kMostPieces) {
      if (!writeAllPieces(file.fd(), pieces)) return false;
      pieces.clear();
    }
    pieces.push_back({const_cast<void*>(data), count});
    return true;
  };
  bool written =
      add(fileHeader.data(), fileHeader.size()) && add(infoHeader.data(), infoHeader.size()) &&
      (!paletted || add(palette == nullptr ? ramp.data() : palette->data(), kPaletteBytes));
  for (int row = height - 1; written && row >= 0; --row) {
    written = add(pixels + static_cast<std::size_t>(row) * rowBytes, rowBytes) &&
              (fileRowBytes == rowBytes || add(kZeros, fileRowBytes - rowBytes));
  }
  written = written && writeAllPieces(file.fd(), pieces);
  return written && file.commit() ? 0 : -1;
}

int writePictureFile(std::string_view name, int width, int height, int bytesPerPixel,
                     const std::uint8_t* pixels, const Palette* palette) {
  const std::string path(stripQuotes(name));
  if (isBitmapName(path)) return writeBitmap(path, width, height, bytesPerPixel, pixels, palette);
  if (isPngName(path)) return writePngPicture(path, width, height, bytesPerPixel, pixels, palette);
  if (isTiffName(path))
    return writeTiffPicture(path, width, height, bytesPerPixel, pixels, palette);
  if (!isRawName(path)) return -1;
  // A raw file holds one byte per pixel and nothing else.
  if (bytesPerPixel != 1 || width < 1 || height < 1 || pixels == nullptr) return -1;
  const std::span<const std::uint8_t> bytes(
      pixels, static_cast<std::size_t>(static_cast<std::int64_t>(width) * height));
  return writeFileAtomically(path, bytes) ? 0 : -1;
}

}  // namespace vemla
