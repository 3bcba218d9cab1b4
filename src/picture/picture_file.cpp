#include "picture/picture_file.h"

#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/picture_decoder.h"
#include "picture/quantize.h"

namespace vemla {
namespace {

// Files other than bitmaps are read whole; none of ours comes near this.
constexpr std::int64_t kMaxFileBytes = std::int64_t{1} << 30;
constexpr std::size_t kSniffBytes = 12;
// The probe takes any size: it answers for the depth alone.
constexpr DecoderLimits kNoLimits{INT_MAX, INT_MAX};

std::unique_ptr<PictureDecoder> decoderFor(std::span<const std::uint8_t> file,
                                           const DecoderLimits& limits,
                                           const SixteenBitConversion& sixteen) {
  switch (pictureFormatOf(file)) {
    case PictureFormat::Png:
      return makePngDecoder(file, limits, sixteen);
    case PictureFormat::Tiff:
      return makeTiffDecoder(file, limits, sixteen);
    case PictureFormat::Jpeg:
      return makeJpegDecoder(file, limits);
    case PictureFormat::Pnm:
      return makePnmDecoder(file, sixteen);
    default:
      return nullptr;
  }
}

// The header of a file that is not a bitmap, checked against the limits as the bitmap
// readers check theirs. 0 or the reader's result.
int readHeader(PictureDecoder& decoder, int maxWidth, int maxHeight, PictureHeader& header,
               PictureRead& out) {
  if (const int status = decoder.header(header); status != 0) {
    out.width = header.width;  // a decoder that found the file too large says how large
    out.height = header.height;
    return status;
  }
  if (header.bitCount != 8 && header.bitCount != 24) return kUnsupported;
  const int bytesPerPixel = header.bitCount / 8;
  out.width = header.width;
  out.height = header.height;
  out.topDown = true;
  out.headers = buildBitmapHeaders(bytesPerPixel, header.width, -header.height);
  out.palette = header.palette;
  out.note = header.note;
  if (header.width > maxWidth || header.height > maxHeight) return kTooLarge;
  return 0;
}

// The path forms: bitmaps and unknown files go to the bitmap reader (streamed) as a FileSource;
// for the others `other` gets a decoder: TIFF files are read where they lie, the rest whole
// first.
template <typename Bitmap, typename Other>
int withFile(const std::string& path, const DecoderLimits& limits,
             const SixteenBitConversion& sixteen, Bitmap bitmap, Other other) {
  const auto first = readFilePrefix(path, kSniffBytes);
  if (!first) return kReadError;
  const PictureFormat format = pictureFormatOf(*first);
  if (format == PictureFormat::Bitmap || format == PictureFormat::Unknown) {
    FileSource in(path);
    if (!in.isOpen()) return kReadError;
    return bitmap(in);
  }
  if (format == PictureFormat::Tiff) {
    const int fd = openRegularForReading(path);
    if (fd < 0) return kReadError;
    const int result = other(*makeTiffFileDecoder(fd, limits, sixteen));
    ::close(fd);
    return result;
  }
  if (fileSize(path) > kMaxFileBytes) return kTooLarge;
  const auto whole = readWholeFile(path, static_cast<std::uint64_t>(kMaxFileBytes));
  if (!whole) return kReadError;
  return other(*decoderFor(*whole, limits, sixteen));
}

int probeWith(PictureDecoder& decoder) {
  PictureHeader header;
  const int status = decoder.header(header);
  return status == 0 ? header.bitCount : status;
}

int readPictureWith(PictureDecoder& decoder, std::span<std::uint8_t> destination, int maxWidth,
                    int maxHeight, bool greyConversion, const RgbRatio& ratios,
                    std::span<std::uint8_t> scratch, PictureRead& out) {
  PictureHeader header;
  if (const int status = readHeader(decoder, maxWidth, maxHeight, header, out); status != 0) {
    return status;
  }
  // The limit applies to the row length rounded up to 4, which is also the destination's.
  const std::int64_t rowLength = bitmapRowBytes(out.width, 1);
  const std::int64_t height = out.height;
  if (rowLength > maxWidth || rowLength * height > static_cast<std::int64_t>(destination.size())) {
    return kTooLarge;
  }
  const auto stride = static_cast<std::size_t>(rowLength);
  const auto width = static_cast<std::size_t>(out.width);
  if (header.bitCount == 8) {
    if (decoder.decode(destination.data(), stride) != 0) return kReadError;
  } else {
    const std::size_t colourStride = 3 * width;
    if (colourStride * out.height > scratch.size()) return kTooLarge;
    if (decoder.decode(scratch.data(), colourStride) != 0) return kReadError;
    if (greyConversion) {
      out.palette = greyRamp();
      convertTrueColourToGrey(3, scratch.data(), colourStride, out.width, out.height, ratios,
                              destination.data(), stride);
    } else {
      quantizeTrueColour(3, scratch.data(), colourStride, out.width, out.height, destination.data(),
                         stride, &out.palette);
    }
  }
  if (stride > width) {
    for (int row = 0; row < out.height; ++row) {
      std::memset(destination.data() + row * stride + width, 0, stride - width);
    }
  }
  return static_cast<int>(rowLength);
}

int readIntoMemoryWith(PictureDecoder& decoder, std::span<std::uint8_t> destination, int maxWidth,
                       int maxHeight, PictureRead& out) {
  PictureHeader header;
  if (const int status = readHeader(decoder, maxWidth, maxHeight, header, out); status != 0) {
    return status;
  }
  const int bytesPerPixel = header.bitCount / 8;
  const std::size_t rowBytes = static_cast<std::size_t>(out.width) * bytesPerPixel;
  if (rowBytes * out.height > destination.size()) return kTooLarge;
  if (bytesPerPixel == 3) out.palette.fill(0);
  if (decoder.decode(destination.data(), rowBytes) != 0) return kReadError;
  return bytesPerPixel;
}

// Two bytes or more that no reader knows: refused as the bitmap reader refuses a file that does
// not begin with "BM", also by the probe (which would otherwise want a whole bitmap header).
bool isUnknown(std::span<const std::uint8_t> first) {
  return first.size() >= 2 && pictureFormatOf(first) == PictureFormat::Unknown;
}

bool isBitmapOrUnknown(std::span<const std::uint8_t> file) {
  const PictureFormat format = pictureFormatOf(file);
  return format == PictureFormat::Bitmap || format == PictureFormat::Unknown;
}

}  // namespace

PictureFormat pictureFormatOf(std::span<const std::uint8_t> bytes) {
  const auto startsWith = [bytes](std::string_view magic) {
    return bytes.size() >= magic.size() &&
           std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
  };
  using namespace std::string_view_literals;
  if (startsWith("BM"sv)) return PictureFormat::Bitmap;
  if (startsWith("\x89PNG\r\n\x1a\n"sv)) return PictureFormat::Png;
  if (startsWith("II*\0"sv) || startsWith("MM\0*"sv) || startsWith("II+\0"sv) ||
      startsWith("MM\0+"sv)) {
    return PictureFormat::Tiff;
  }
  if (startsWith("\xff\xd8\xff"sv)) return PictureFormat::Jpeg;
  if (bytes.size() >= 3 && bytes[0] == 'P' &&
      (bytes[1] == '2' || bytes[1] == '3' || bytes[1] == '5' || bytes[1] == '6') &&
      (bytes[2] == ' ' || bytes[2] == '\t' || bytes[2] == '\n' || bytes[2] == '\r' ||
       bytes[2] == '#')) {
    return PictureFormat::Pnm;
  }
  return PictureFormat::Unknown;
}

bool isPictureName(std::string_view name) {
  for (const std::string_view extension :
       {".bmp", ".png", ".tif", ".tiff", ".jpg", ".jpeg", ".pgm", ".ppm"}) {
    if (nameEndsWithExtension(name, extension)) return true;
  }
  return false;
}

int probePicture(std::span<const std::uint8_t> file) {
  if (isUnknown(file)) return kUnsupported;
  if (isBitmapOrUnknown(file)) {
    MemorySource in(file);
    return probeBitmap(in);
  }
  return probeWith(*decoderFor(file, kNoLimits, {}));
}

int probePicture(const std::string& path) {
  if (const auto first = readFilePrefix(path, kSniffBytes); first && isUnknown(*first)) {
    return kUnsupported;
  }
  return withFile(
      path, kNoLimits, {}, [](ByteSource& in) { return probeBitmap(in); },
      [](PictureDecoder& decoder) { return probeWith(decoder); });
}

int readPicture(std::span<const std::uint8_t> file, std::span<std::uint8_t> destination,
                int maxWidth, int maxHeight, bool greyConversion, const RgbRatio& ratios,
                const SixteenBitConversion& sixteen, std::span<std::uint8_t> scratch,
                PictureRead& out) {
  out.note.clear();
  if (isBitmapOrUnknown(file)) {
    MemorySource in(file);
    return readBitmapPicture(in, destination, maxWidth, maxHeight, greyConversion, ratios, scratch,
                             out);
  }
  return readPictureWith(*decoderFor(file, {maxWidth, maxHeight}, sixteen), destination, maxWidth,
                         maxHeight, greyConversion, ratios, scratch, out);
}

int readPicture(const std::string& path, std::span<std::uint8_t> destination, int maxWidth,
                int maxHeight, bool greyConversion, const RgbRatio& ratios,
                const SixteenBitConversion& sixteen, std::span<std::uint8_t> scratch,
                PictureRead& out) {
  out.note.clear();
  return withFile(
      path, {maxWidth, maxHeight}, sixteen,
      [&](ByteSource& in) {
        return readBitmapPicture(in, destination, maxWidth, maxHeight, greyConversion, ratios,
                                 scratch, out);
      },
      [&](PictureDecoder& decoder) {
        return readPictureWith(decoder, destination, maxWidth, maxHeight, greyConversion, ratios,
                               scratch, out);
      });
}

int readPictureIntoMemory(std::span<const std::uint8_t> file, std::span<std::uint8_t> destination,
                          int maxWidth, int maxHeight, const SixteenBitConversion& sixteen,
                          PictureRead& out) {
  out.note.clear();
  if (isBitmapOrUnknown(file)) {
    MemorySource in(file);
    return readBitmapIntoMemory(in, destination, maxWidth, maxHeight, out);
  }
  return readIntoMemoryWith(*decoderFor(file, {maxWidth, maxHeight}, sixteen), destination,
                            maxWidth, maxHeight, out);
}

int readPictureIntoMemory(const std::string& path, std::span<std::uint8_t> destination,
                          int maxWidth, int maxHeight, const SixteenBitConversion& sixteen,
                          PictureRead& out) {
  out.note.clear();
  return withFile(
      path, {maxWidth, maxHeight}, sixteen,
      [&](ByteSource& in) {
        return readBitmapIntoMemory(in, destination, maxWidth, maxHeight, out);
      },
      [&](PictureDecoder& decoder) {
        return readIntoMemoryWith(decoder, destination, maxWidth, maxHeight, out);
      });
}

}  // namespace vemla
