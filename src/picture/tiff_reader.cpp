// TIFF through libtiff: 8- and 16-bit grey (min-is-black and min-is-white), 8-bit palette and
// RGB (an extra sample such as alpha dropped), in strips or tiles, with whatever compression
// the library decodes (none, LZW, Deflate, PackBits and more). The first page is read; the
// page count goes into the note. libtiff's own warnings and errors never reach stderr: the
// handlers of each open swallow them and the caller shows our message.
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <mutex>
#include <vector>

#include "picture/bitmap.h"
#include "picture/picture_decoder.h"

namespace vemla {
namespace {

// No single allocation of libtiff beyond this, and no strip or tile buffer of ours either.
constexpr tmsize_t kMaxAllocation = tmsize_t{1} << 28;

// The file libtiff reads: bytes in memory, or an open file read with pread (no copy of the
// whole file first; uncompressed strips then go straight into the picture).
struct TiffInput {
  std::span<const std::uint8_t> bytes;
  int fd = -1;
  std::uint64_t size = 0;
  std::uint64_t position = 0;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size) {
  auto* file = static_cast<TiffInput*>(handle);
  if (size <= 0 || file->position >= file->size) return 0;
  const std::uint64_t wanted =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(size), file->size - file->position);
  if (file->fd < 0) {
    std::memcpy(buffer, file->bytes.data() + file->position, wanted);
    file->position += wanted;
    return static_cast<tmsize_t>(wanted);
  }
  std::uint64_t done = 0;
  while (done < wanted) {
    const ssize_t got = ::pread(file->fd, static_cast<std::uint8_t*>(buffer) + done, wanted - done,
                                static_cast<off_t>(file->position + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::uint64_t>(got);
  }
  file->position += done;
  return static_cast<tmsize_t>(done);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t) {
  return -1;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<TiffInput*>(handle);
  std::uint64_t base = 0;
  if (whence == SEEK_CUR) base = file->position;
  if (whence == SEEK_END) base = file->size;
  if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
  file->position = base + offset;
  return file->position;
}

int closeProc(thandle_t) {
  return 0;
}
toff_t sizeProc(thandle_t handle) {
  return static_cast<TiffInput*>(handle)->size;
}

// Bytes already in memory are read in place, as from a mapped file; an open file is not mapped
// (a file cut short while mapped would end the program).
int mapProc(thandle_t handle, void** base, toff_t* size) {
  auto* file = static_cast<TiffInput*>(handle);
  if (file->fd >= 0) return 0;
  *base = const_cast<std::uint8_t*>(file->bytes.data());
  *size = file->bytes.size();
  return 1;
}
void unmapProc(thandle_t, void*, toff_t) {}

int swallowMessage(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

class TiffDecoder final : public PictureDecoder {
 public:
  TiffDecoder(std::span<const std::uint8_t> bytes, int fd, const DecoderLimits& limits,
              const SixteenBitConversion& conversion)
      : limits_(limits), conversion_(conversion) {
    file_.bytes = bytes;
    file_.fd = fd;
    file_.size = bytes.size();
    if (struct stat status{}; fd >= 0 && ::fstat(fd, &status) == 0) {
      file_.size = static_cast<std::uint64_t>(std::max<off_t>(status.st_size, 0));
    }
    // Messages about no file at all (before a handle exists) go to the global handlers.
    static std::once_flag silenced;
    std::call_once(silenced, [] {
      TIFFSetErrorHandler(nullptr);
      TIFFSetWarningHandler(nullptr);
    });
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, swallowMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, swallowMessage, nullptr);
    tiff_ = TIFFClientOpenExt("picture", "r", &file_, readProc, writeProc, seekProc, closeProc,
                              sizeProc, mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
  }
  ~TiffDecoder() override {
    if (tiff_ != nullptr) TIFFClose(tiff_);
  }
  TiffDecoder(const TiffDecoder&) = delete;
  TiffDecoder& operator=(const TiffDecoder&) = delete;

  int header(PictureHeader& out) override {
    if (tiff_ == nullptr) return kReadError;
    std::uint32_t width = 0, height = 0;
    if (TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height) != 1) {
      return kReadError;
    }
    out.width = static_cast<int>(std::min<std::uint32_t>(width, INT32_MAX));
    out.height = static_cast<int>(std::min<std::uint32_t>(height, INT32_MAX));
    if (width > static_cast<std::uint32_t>(limits_.maxWidth) ||
        height > static_cast<std::uint32_t>(limits_.maxHeight)) {
      return kTooLarge;
    }
    std::uint16_t photometric = 0, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    std::uint16_t compression = COMPRESSION_NONE;
    if (TIFFGetField(tiff_, TIFFTAG_PHOTOMETRIC, &photometric) != 1) return kUnsupported;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_BITSPERSAMPLE, &bits_);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_SAMPLESPERPIXEL, &samples_);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_COMPRESSION, &compression);
    if (format != SAMPLEFORMAT_UINT || TIFFIsCODECConfigured(compression) == 0) {
      return kUnsupported;
    }
    photometric_ = photometric;
    switch (photometric) {
      case PHOTOMETRIC_MINISBLACK:
      case PHOTOMETRIC_MINISWHITE:
        out.bitCount = samples_ == 1 && (bits_ == 8 || bits_ == 16) ? 8 : depth();
        if (out.bitCount == 8 && bits_ == 16) {
          std::uint16_t maxValue = 65535;
          TIFFGetField(tiff_, TIFFTAG_MAXSAMPLEVALUE, &maxValue);
          maxValue_ = std::max<std::uint16_t>(maxValue, 1);
          map_ = std::make_unique<SixteenBitMap>(conversion_, maxValue_);
        }
        break;
      case PHOTOMETRIC_PALETTE: {
        out.bitCount = samples_ == 1 && bits_ == 8 ? 8 : depth();
        std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (out.bitCount == 8) {
          if (TIFFGetField(tiff_, TIFFTAG_COLORMAP, &red, &green, &blue) != 1) return kReadError;
          for (int i = 0; i < 256; ++i) {
            out.palette[4 * i] = static_cast<std::uint8_t>(blue[i] >> 8);
            out.palette[4 * i + 1] = static_cast<std::uint8_t>(green[i] >> 8);
            out.palette[4 * i + 2] = static_cast<std::uint8_t>(red[i] >> 8);
            out.palette[4 * i + 3] = 0;
          }
        }
        break;
      }
      case PHOTOMETRIC_RGB:
        if (bits_ == 8 && (samples_ == 3 || samples_ == 4)) {
          out.bitCount = 24;
        } else {
          out.bitCount = depth();
        }
        break;
      default:
        return kUnsupported;
    }
    // Several samples must lie side by side in one plane.
    if (samples_ > 1 && planar != PLANARCONFIG_CONTIG) return kUnsupported;
    if (out.bitCount != 8 && out.bitCount != 24) return 0;  // the caller names the depth

    const tdir_t pages = TIFFNumberOfDirectories(tiff_);
    if (pages > 1) out.note = " [1/" + std::to_string(pages) + "]";
    if (map_) out.note += " " + map_->note();
    header_ = out;
    return 0;
  }

  int decode(std::uint8_t* out, std::size_t stride) override {
    const std::size_t pixelBytes = static_cast<std::size_t>(bits_ / 8) * samples_;
    if (TIFFIsTiled(tiff_)) return decodeTiles(out, stride, pixelBytes);
    return decodeStrips(out, stride, pixelBytes);
  }

 private:
  // Bits per pixel of a depth no reader takes, for the caller's message (kept within an int).
  int depth() const {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{bits_} * samples_, INT_MAX));
  }

  // Converts `count` pixels of one file row (after libtiff's decoding, host byte order).
  void convertRow(const std::uint8_t* source, std::size_t count, std::uint8_t* target) const {
    const bool inverted = photometric_ == PHOTOMETRIC_MINISWHITE;
    if (header_.bitCount == 24) {
      for (std::size_t x = 0; x < count; ++x, source += samples_) {
        target[3 * x] = source[2];
        target[3 * x + 1] = source[1];
        target[3 * x + 2] = source[0];
      }
    } else if (map_) {
      for (std::size_t x = 0; x < count; ++x) {
        std::uint16_t value = 0;
        std::memcpy(&value, source + 2 * x, 2);
        if (inverted) value = static_cast<std::uint16_t>(maxValue_ - std::min(value, maxValue_));
        target[x] = (*map_)(value);
      }
    } else if (inverted) {
      for (std::size_t x = 0; x < count; ++x)
        target[x] = static_cast<std::uint8_t>(255 - source[x]);
    } else {
      std::memcpy(target, source, count);
    }
  }

  bool copiesAsItIs() const {
    return header_.bitCount == 8 && !map_ && photometric_ != PHOTOMETRIC_MINISWHITE;
  }

  int decodeStrips(std::uint8_t* out, std::size_t stride, std::size_t pixelBytes) {
    const auto width = static_cast<std::size_t>(header_.width);
    const auto height = static_cast<std::uint32_t>(header_.height);
    std::uint32_t rowsPerStrip = height;
    TIFFGetFieldDefaulted(tiff_, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<std::uint32_t>(rowsPerStrip, 1, height);
    const std::size_t rowBytes = width * pixelBytes;
    const bool direct = copiesAsItIs() && stride == width;
    std::vector<std::uint8_t> strip;
    if (!direct) strip.resize(rowBytes * rowsPerStrip);
    for (std::uint32_t first = 0; first < height; first += rowsPerStrip) {
      const std::uint32_t rows = std::min(rowsPerStrip, height - first);
      const auto wanted = static_cast<tmsize_t>(rowBytes * rows);
      std::uint8_t* target = direct ? out + first * stride : strip.data();
      if (TIFFReadEncodedStrip(tiff_, TIFFComputeStrip(tiff_, first, 0), target, wanted) !=
          wanted) {
        return kReadError;
      }
      if (direct) continue;
      for (std::uint32_t row = 0; row < rows; ++row) {
        convertRow(strip.data() + row * rowBytes, width, out + (first + row) * stride);
      }
    }
    return 0;
  }

  int decodeTiles(std::uint8_t* out, std::size_t stride, std::size_t pixelBytes) {
    std::uint32_t tileWidth = 0, tileHeight = 0;
    if (TIFFGetField(tiff_, TIFFTAG_TILEWIDTH, &tileWidth) != 1 ||
        TIFFGetField(tiff_, TIFFTAG_TILELENGTH, &tileHeight) != 1 || tileWidth == 0 ||
        tileHeight == 0) {
      return kReadError;
    }
    const std::uint64_t tileBytes = std::uint64_t{tileWidth} * tileHeight * pixelBytes;
    if (tileBytes > static_cast<std::uint64_t>(kMaxAllocation)) return kReadError;
    std::vector<std::uint8_t> tile(tileBytes);
    const auto width = static_cast<std::uint32_t>(header_.width);
    const auto height = static_cast<std::uint32_t>(header_.height);
    for (std::uint32_t top = 0; top < height; top += tileHeight) {
      for (std::uint32_t left = 0; left < width; left += tileWidth) {
        if (TIFFReadEncodedTile(tiff_, TIFFComputeTile(tiff_, left, top, 0, 0), tile.data(),
                                static_cast<tmsize_t>(tileBytes)) !=
            static_cast<tmsize_t>(tileBytes)) {
          return kReadError;
        }
        const std::uint32_t rows = std::min(tileHeight, height - top);
        const std::uint32_t columns = std::min(tileWidth, width - left);
        for (std::uint32_t row = 0; row < rows; ++row) {
          const std::size_t outBytes = header_.bitCount / 8;
          convertRow(tile.data() + row * tileWidth * pixelBytes, columns,
                     out + (top + row) * stride + left * outBytes);
        }
        if (width - left <= tileWidth) break;
      }
      if (height - top <= tileHeight) break;
    }
    return 0;
  }

  TiffInput file_;
  DecoderLimits limits_;
  SixteenBitConversion conversion_;
  TIFF* tiff_ = nullptr;
  std::uint16_t bits_ = 1;
  std::uint16_t samples_ = 1;
  std::uint16_t photometric_ = 0;
  std::uint16_t maxValue_ = 65535;
  PictureHeader header_;
  std::unique_ptr<SixteenBitMap> map_;
};

}  // namespace

std::unique_ptr<PictureDecoder> makeTiffDecoder(std::span<const std::uint8_t> file,
                                                const DecoderLimits& limits,
                                                const SixteenBitConversion& conversion) {
  return std::make_unique<TiffDecoder>(file, -1, limits, conversion);
}

std::unique_ptr<PictureDecoder> makeTiffFileDecoder(int fd, const DecoderLimits& limits,
                                                    const SixteenBitConversion& conversion) {
  return std::make_unique<TiffDecoder>(std::span<const std::uint8_t>{}, fd, limits, conversion);
}

}  // namespace vemla
