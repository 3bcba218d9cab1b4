// PGM and PPM, text (P2, P3) and binary (P5, P6), maxval 1..65535. Grey with a maxval above
// 255 follows the 16-bit rule with the maxval as its significant range; other grey and all
// colour samples are scaled from 0..maxval to 0..255. Samples above the maxval count as the
// maxval.
#include <algorithm>
#include <cstring>

#include "picture/bitmap.h"
#include "picture/picture_decoder.h"

namespace vemla {
namespace {

bool isBlank(std::uint8_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

class PnmDecoder final : public PictureDecoder {
 public:
  PnmDecoder(std::span<const std::uint8_t> file, const SixteenBitConversion& conversion)
      : file_(file), conversion_(conversion) {}

  int header(PictureHeader& out) override {
    if (file_.size() < 2 || file_[0] != 'P') return kUnsupported;
    const char kind = static_cast<char>(file_[1]);
    if (kind != '2' && kind != '3' && kind != '5' && kind != '6') return kUnsupported;
    text_ = kind == '2' || kind == '3';
    colour_ = kind == '3' || kind == '6';
    position_ = 2;
    std::uint32_t width = 0, height = 0, maxValue = 0;
    // Sizes beyond 2^30 are kept at 2^30, which the entry's limits refuse as too large.
    if (!number(width, 1u << 30) || !number(height, 1u << 30) || !number(maxValue, 65536)) {
      return kReadError;
    }
    if (width < 1 || height < 1 || maxValue < 1 || maxValue > 65535) return kReadError;
    // One blank ends the header; binary samples follow at once.
    if (position_ >= file_.size() || !isBlank(file_[position_])) return kReadError;
    ++position_;
    maxValue_ = maxValue;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.bitCount = colour_ ? 24 : 8;
    if (!colour_ && maxValue > 255) {
      map_ = std::make_unique<SixteenBitMap>(conversion_, static_cast<std::uint16_t>(maxValue));
      out.note = " " + map_->note();
    }
    for (std::uint32_t value = 0; value < 256; ++value) {
      scale_[value] =
          static_cast<std::uint8_t>((std::min(value, maxValue) * 255 + maxValue / 2) / maxValue);
    }
    header_ = out;
    return 0;
  }

  int decode(std::uint8_t* out, std::size_t stride) override {
    const auto width = static_cast<std::size_t>(header_.width);
    const std::size_t samples = colour_ ? 3 : 1;
    const std::size_t sampleBytes = maxValue_ > 255 ? 2 : 1;
    if (!text_) {
      const std::size_t rowBytes = width * samples * sampleBytes;
      const std::size_t available = file_.size() - position_;
      if (rowBytes * static_cast<std::size_t>(header_.height) > available) return kReadError;
    }
    for (int y = 0; y < header_.height; ++y) {
      std::uint8_t* target = out + static_cast<std::size_t>(y) * stride;
      for (std::size_t x = 0; x < width; ++x) {
        for (std::size_t s = 0; s < samples; ++s) {
          std::uint32_t value = 0;
          if (text_) {
            if (!number(value, 65535)) return kReadError;
          } else if (sampleBytes == 1) {
            value = file_[position_++];
          } else {
            value = (std::uint32_t{file_[position_]} << 8) | file_[position_ + 1];
            position_ += 2;
          }
          const std::uint8_t byte = eightBit(value);
          // Colour samples come red, green, blue; the picture takes blue, green, red.
          if (colour_) {
            target[3 * x + 2 - s] = byte;
          } else {
            target[x] = byte;
          }
        }
      }
    }
    return 0;
  }

 private:
  std::uint8_t eightBit(std::uint32_t value) const {
    value = std::min(value, maxValue_);
    if (map_) return (*map_)(static_cast<std::uint16_t>(value));
    if (maxValue_ <= 255) return scale_[value];
    return static_cast<std::uint8_t>((value * 255 + maxValue_ / 2) / maxValue_);
  }

  // Skips blanks and comments ("#" to the end of the line), then reads a decimal number of at
  // most `limit`; a larger one is taken as `limit`.
  bool number(std::uint32_t& value, std::uint32_t limit) {
    while (position_ < file_.size()) {
      if (isBlank(file_[position_])) {
        ++position_;
      } else if (file_[position_] == '#') {
        while (position_ < file_.size() && file_[position_] != '\n' && file_[position_] != '\r') {
          ++position_;
        }
      } else {
        break;
      }
    }
    if (position_ >= file_.size() || file_[position_] < '0' || file_[position_] > '9') return false;
    std::uint64_t read = 0;
    while (position_ < file_.size() && file_[position_] >= '0' && file_[position_] <= '9') {
      read =
          std::min<std::uint64_t>(read * 10 + (file_[position_] - '0'), std::uint64_t{limit} + 1);
      ++position_;
    }
    value = static_cast<std::uint32_t>(std::min<std::uint64_t>(read, limit));
    return true;
  }

  std::span<const std::uint8_t> file_;
  SixteenBitConversion conversion_;
  std::size_t position_ = 0;
  bool text_ = false;
  bool colour_ = false;
  std::uint32_t maxValue_ = 255;
  std::uint8_t scale_[256]{};
  PictureHeader header_;
  std::unique_ptr<SixteenBitMap> map_;
};

}  // namespace

std::unique_ptr<PictureDecoder> makePnmDecoder(std::span<const std::uint8_t> file,
                                               const SixteenBitConversion& conversion) {
  return std::make_unique<PnmDecoder>(file, conversion);
}

}  // namespace vemla
