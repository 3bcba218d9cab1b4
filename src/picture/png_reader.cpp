// PNG through libspng: every colour type and bit depth, interlaced too; alpha and
// transparency are dropped, 16-bit colour keeps its top byte, 16-bit grey follows the
// 16-bit rule with the significant bits of sBIT.
#include <spng.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/bitmap.h"
#include "picture/picture_decoder.h"

namespace vemla {
namespace {

// Chunks beyond these sizes are refused: no picture of ours needs more text or metadata.
constexpr std::size_t kChunkLimit = std::size_t{1} << 24;
constexpr std::size_t kChunkCacheLimit = std::size_t{1} << 26;

class PngDecoder final : public PictureDecoder {
 public:
  PngDecoder(std::span<const std::uint8_t> file, const DecoderLimits& limits,
             const SixteenBitConversion& conversion)
      : file_(file), context_(spng_ctx_new(0)), conversion_(conversion) {
    if (context_ == nullptr) return;
    spng_set_png_buffer(context_, file.data(), file.size());
    // A size beyond the limits stops inside libspng, before it allocates anything.
    spng_set_image_limits(context_, static_cast<std::uint32_t>(limits.maxWidth),
                          static_cast<std::uint32_t>(limits.maxHeight));
    spng_set_chunk_limits(context_, kChunkLimit, kChunkCacheLimit);
  }
  ~PngDecoder() override { spng_ctx_free(context_); }
  PngDecoder(const PngDecoder&) = delete;
  PngDecoder& operator=(const PngDecoder&) = delete;

  int header(PictureHeader& out) override {
    if (context_ == nullptr) return kReadError;
    const int status = spng_get_ihdr(context_, &ihdr_);
    if (status == SPNG_EUSER_WIDTH || status == SPNG_EUSER_HEIGHT) {
      // The size for the caller's message, from the IHDR libspng has just checked.
      out.width = static_cast<int>(std::min<std::uint32_t>(bigEndian32(16), INT32_MAX));
      out.height = static_cast<int>(std::min<std::uint32_t>(bigEndian32(20), INT32_MAX));
      return kTooLarge;
    }
    if (status != 0) return kReadError;
    out.width = static_cast<int>(ihdr_.width);
    out.height = static_cast<int>(ihdr_.height);
    switch (ihdr_.color_type) {
      case SPNG_COLOR_TYPE_GRAYSCALE:
      case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
        out.bitCount = 8;
        if (ihdr_.bit_depth == 16) {
          spng_sbit sbit{};
          int bits = 16;
          if (spng_get_sbit(context_, &sbit) == 0 && sbit.grayscale_bits >= 1 &&
              sbit.grayscale_bits <= 16) {
            bits = sbit.grayscale_bits;
          }
          map_ = std::make_unique<SixteenBitMap>(
              conversion_, static_cast<std::uint16_t>((1u << bits) - 1), 16 - bits);
          out.note = " " + map_->note();
        }
        break;
      case SPNG_COLOR_TYPE_INDEXED: {
        spng_plte plte{};
        if (spng_get_plte(context_, &plte) != 0) return kReadError;
        out.palette.fill(0);
        for (std::uint32_t i = 0; i < plte.n_entries && i < 256; ++i) {
          out.palette[4 * i] = plte.entries[i].blue;
          out.palette[4 * i + 1] = plte.entries[i].green;
          out.palette[4 * i + 2] = plte.entries[i].red;
        }
        out.bitCount = 8;
        break;
      }
      default:  // truecolour with or without alpha
        out.bitCount = 24;
        break;
    }
    header_ = out;
    return 0;
  }

  int decode(std::uint8_t* out, std::size_t stride) override {
    const auto width = static_cast<std::size_t>(header_.width);
    const int format = decodeFormat();
    std::size_t imageBytes = 0;
    if (spng_decoded_image_size(context_, format, &imageBytes) != 0) return kReadError;
    const std::size_t rowBytes = imageBytes / ihdr_.height;
    const bool direct = format == SPNG_FMT_G8 && stride == width;
    if (direct) {  // the common 8-bit grey case decodes straight into place
      return spng_decode_image(context_, out, imageBytes, format, 0) == 0 ? 0 : kReadError;
    }
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> row;
    const bool whole = ihdr_.interlace_method != 0;
    if (whole) {
      image.resize(imageBytes);
      if (spng_decode_image(context_, image.data(), imageBytes, format, 0) != 0) {
        return kReadError;
      }
    } else {
      row.resize(rowBytes);
      if (spng_decode_image(context_, nullptr, 0, format, SPNG_DECODE_PROGRESSIVE) != 0) {
        return kReadError;
      }
    }
    for (std::uint32_t y = 0; y < ihdr_.height; ++y) {
      const std::uint8_t* source = nullptr;
      if (whole) {
        source = image.data() + y * rowBytes;
      } else {
        const int status = spng_decode_row(context_, row.data(), rowBytes);
        if (status != 0 && !(status == SPNG_EOI && y + 1 == ihdr_.height)) return kReadError;
        source = row.data();
      }
      convertRow(source, out + y * stride);
    }
    return 0;
  }

 private:
  int decodeFormat() const {
    switch (ihdr_.color_type) {
      case SPNG_COLOR_TYPE_GRAYSCALE:
        return ihdr_.bit_depth == 16 ? SPNG_FMT_PNG : SPNG_FMT_G8;
      case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:  // 8 or 16 bits a sample, as stored
      case SPNG_COLOR_TYPE_INDEXED:
        return SPNG_FMT_PNG;
      default:
        return SPNG_FMT_RGB8;
    }
  }

  // One decoded row into one destination row: grey or index bytes, or blue, green, red.
  void convertRow(const std::uint8_t* source, std::uint8_t* target) const {
    const auto width = static_cast<std::size_t>(header_.width);
    switch (ihdr_.color_type) {
      case SPNG_COLOR_TYPE_GRAYSCALE:
        if (ihdr_.bit_depth != 16) {
          std::memcpy(target, source, width);
        } else {
          for (std::size_t x = 0; x < width; ++x) target[x] = (*map_)(sample16(source, x));
        }
        return;
      case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
        if (ihdr_.bit_depth != 16) {
          for (std::size_t x = 0; x < width; ++x) target[x] = source[2 * x];
        } else {
          for (std::size_t x = 0; x < width; ++x) target[x] = (*map_)(sample16(source, 2 * x));
        }
        return;
      case SPNG_COLOR_TYPE_INDEXED: {
        // Indices of 1, 2 or 4 bits are packed from the high bit of each byte.
        const unsigned depth = ihdr_.bit_depth;
        const unsigned mask = (1u << depth) - 1;
        for (std::size_t x = 0; x < width; ++x) {
          const std::size_t bit = x * depth;
          target[x] = static_cast<std::uint8_t>((source[bit / 8] >> (8 - depth - bit % 8)) & mask);
        }
        return;
      }
      default:
        for (std::size_t x = 0; x < width; ++x) {
          target[3 * x] = source[3 * x + 2];
          target[3 * x + 1] = source[3 * x + 1];
          target[3 * x + 2] = source[3 * x];
        }
        return;
    }
  }

  std::uint32_t bigEndian32(std::size_t at) const {
    return std::uint32_t{file_[at]} << 24 | std::uint32_t{file_[at + 1]} << 16 |
           std::uint32_t{file_[at + 2]} << 8 | file_[at + 3];
  }

  // Host-endian 16-bit sample number `index` of a decoded row.
  static std::uint16_t sample16(const std::uint8_t* row, std::size_t index) {
    std::uint16_t value = 0;
    std::memcpy(&value, row + 2 * index, 2);
    return value;
  }

  std::span<const std::uint8_t> file_;
  spng_ctx* context_ = nullptr;
  SixteenBitConversion conversion_;
  spng_ihdr ihdr_{};
  PictureHeader header_;
  std::unique_ptr<SixteenBitMap> map_;
};

}  // namespace

std::unique_ptr<PictureDecoder> makePngDecoder(std::span<const std::uint8_t> file,
                                               const DecoderLimits& limits,
                                               const SixteenBitConversion& conversion) {
  return std::make_unique<PngDecoder>(file, limits, conversion);
}

}  // namespace vemla
