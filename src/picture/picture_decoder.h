#pragma once
// The readers of PNG, TIFF, JPEG and PGM/PPM files behind the one picture entry
// (picture_file.h). Each works on the whole file in memory (TIFF also on an open file) and in
// two steps: the header
// first, so that the entry checks the size limits before any pixel memory exists, then the
// pixels into memory the entry hands it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "picture/palette.h"
#include "picture/sixteen_bit.h"

namespace vemla {

struct PictureHeader {
  int width = 0;
  int height = 0;
  // What a bitmap probe would report: 8 (grey or palette indices, one byte a pixel) or 24
  // (blue, green, red), or another value for a depth no reader takes.
  int bitCount = 8;
  Palette palette = greyRamp();  // for 8: the file's palette or the grey ramp
  std::string note;              // " [1/12]", " [16→8 0–4095]" or empty
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // 0, kReadError (damaged or short) or kUnsupported (a kind of file no reader takes);
  // kTooLarge when the file's own size fields exceed a decoder limit.
  virtual int header(PictureHeader& out) = 0;
  // Writes the rows top-down, width * bitCount / 8 bytes each, row i at out + i * stride.
  // Called once, after header() gave 0. 0 or kReadError.
  virtual int decode(std::uint8_t* out, std::size_t stride) = 0;
};

// The limits every decoder is opened with (beyond them a file is too large).
struct DecoderLimits {
  int maxWidth = 0;
  int maxHeight = 0;
};

std::unique_ptr<PictureDecoder> makePngDecoder(std::span<const std::uint8_t> file,
                                               const DecoderLimits& limits,
                                               const SixteenBitConversion& conversion);
std::unique_ptr<PictureDecoder> makeTiffDecoder(std::span<const std::uint8_t> file,
                                                const DecoderLimits& limits,
                                                const SixteenBitConversion& conversion);
// The same reading an open regular file (kept open by the caller while the decoder lives).
std::unique_ptr<PictureDecoder> makeTiffFileDecoder(int fd, const DecoderLimits& limits,
                                                    const SixteenBitConversion& conversion);
std::unique_ptr<PictureDecoder> makeJpegDecoder(std::span<const std::uint8_t> file,
                                                const DecoderLimits& limits);
std::unique_ptr<PictureDecoder> makePnmDecoder(std::span<const std::uint8_t> file,
                                               const SixteenBitConversion& conversion);

}  // namespace vemla
