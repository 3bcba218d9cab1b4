#include "picture/tiff_writer.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "picture/file_helpers.h"
#include "picture/picture_writing.h"

namespace vemla {
namespace {

// The file libtiff writes: it seeks back to patch offsets, so it is a growing buffer with a
// position rather than a stream.
struct MemoryFile {
  std::vector<std::uint8_t> bytes;
  std::uint64_t position = 0;
};

// The files written here stay far below this; a larger offset is a fault.
constexpr std::uint64_t kMemoryFileLimit = std::uint64_t{1} << 32;

tmsize_t readNothing(thandle_t, void*, tmsize_t) {
  return 0;
}

tmsize_t writeMemory(thandle_t handle, void* data, tmsize_t size) {
  auto& file = *static_cast<MemoryFile*>(handle);
  if (size < 0 || file.position + static_cast<std::uint64_t>(size) > kMemoryFileLimit) return -1;
  const std::uint64_t end = file.position + static_cast<std::uint64_t>(size);
  if (end > file.bytes.size()) file.bytes.resize(static_cast<std::size_t>(end));
  if (size > 0)
    std::memcpy(file.bytes.data() + file.position, data, static_cast<std::size_t>(size));
  file.position = end;
  return size;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
  auto& file = *static_cast<MemoryFile*>(handle);
  std::uint64_t base = 0;
  if (whence == SEEK_CUR) base = file.position;
  if (whence == SEEK_END) base = file.bytes.size();
  if (offset > kMemoryFileLimit - base) return static_cast<toff_t>(-1);
  file.position = base + offset;
  return file.position;
}

int closeMemory(thandle_t) {
  return 0;
}

toff_t sizeOfMemory(thandle_t handle) {
  return static_cast<MemoryFile*>(handle)->bytes.size();
}

int mapNothing(thandle_t, void**, toff_t*) {
  return 0;
}

void unmapNothing(thandle_t, void*, toff_t) {}

// Writing fails through the return values; the texts are not shown to anyone.
int quiet(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

struct OptionsFree {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
struct TiffClose {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

bool setTags(TIFF* tiff, int width, int height, WrittenKind kind, const Palette* palette) {
  const bool rgb = kind == WrittenKind::Rgb;
  const std::uint16_t compression = TIFFIsCODECConfigured(COMPRESSION_ADOBE_DEFLATE) != 0
                                        ? COMPRESSION_ADOBE_DEFLATE
                                        : COMPRESSION_NONE;
  bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width)) != 0 &&
            TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height)) != 0 &&
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) != 0 &&
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, rgb ? 3 : 1) != 0 &&
            TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) != 0 &&
            TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression) != 0 &&
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                         kind == WrittenKind::Grey       ? PHOTOMETRIC_MINISBLACK
                         : kind == WrittenKind::Paletted ? PHOTOMETRIC_PALETTE
                                                         : PHOTOMETRIC_RGB) != 0;
  // The predictor helps smooth grey and colour pictures; palette indices are not smooth.
  if (ok && compression != COMPRESSION_NONE && kind != WrittenKind::Paletted) {
    ok = TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) != 0;
  }
  if (ok && kind == WrittenKind::Paletted) {
    std::array<std::uint16_t, 256> red{}, green{}, blue{};
    for (int i = 0; i < 256; ++i) {
      const PaletteColour colour = paletteColour(*palette, i);
      // The colour map holds 16-bit values; 257 * v spreads 0..255 over 0..65535.
      red[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(colour.red * 257);
      green[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(colour.green * 257);
      blue[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(colour.blue * 257);
    }
    ok = TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data()) != 0;
  }
  return ok && TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0)) != 0;
}

bool encode(MemoryFile& file, int width, int height, int bytesPerPixel, const std::uint8_t* pixels,
            const Palette* palette) {
  const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
  if (!options) return false;
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
  std::unique_ptr<TIFF, TiffClose> tiff(
      TIFFClientOpenExt("picture", "w", &file, readNothing, writeMemory, seekMemory, closeMemory,
                        sizeOfMemory, mapNothing, unmapNothing, options.get()));
  if (!tiff) return false;
  const WrittenKind kind = writtenKind(bytesPerPixel, palette);
  if (!setTags(tiff.get(), width, height, kind, palette)) return false;

  const auto inRow = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
  // TIFFWriteScanline may change the row it is given (the predictor works in place), so every
  // row is copied first.
  std::vector<std::uint8_t> row(kind == WrittenKind::Rgb ? std::size_t{3} * width : inRow);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = pixels + static_cast<std::size_t>(y) * inRow;
    if (kind == WrittenKind::Rgb) {
      rgbRow(in, bytesPerPixel, width, row.data());
    } else {
      std::memcpy(row.data(), in, inRow);
    }
    if (TIFFWriteScanline(tiff.get(), row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
      return false;
    }
  }
  if (TIFFFlush(tiff.get()) == 0) return false;
  return true;
}

}  // namespace

int writeTiffPicture(const std::string& path, int width, int height, int bytesPerPixel,
                     const std::uint8_t* pixels, const Palette* palette) {
  if (!writableArguments(width, height, bytesPerPixel, pixels)) return -1;
  MemoryFile file;
  if (!encode(file, width, height, bytesPerPixel, pixels, palette)) return -1;
  return writeFileAtomically(path, file.bytes) ? 0 : -1;
}

}  // namespace vemla
