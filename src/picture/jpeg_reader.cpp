// JPEG through the TurboJPEG interface of libjpeg-turbo: grey and colour, baseline and
// progressive. Grey files give grey pictures; colour files give blue, green, red.
#include <turbojpeg.h>

#include <climits>

#include "picture/bitmap.h"
#include "picture/picture_decoder.h"

namespace vemla {
namespace {

class JpegDecoder final : public PictureDecoder {
 public:
  JpegDecoder(std::span<const std::uint8_t> file, const DecoderLimits& limits)
      : file_(file), limits_(limits), handle_(tjInitDecompress()) {}
  ~JpegDecoder() override {
    if (handle_ != nullptr) tjDestroy(handle_);
  }
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  int header(PictureHeader& out) override {
    if (handle_ == nullptr || file_.size() > ULONG_MAX) return kReadError;
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(handle_, file_.data(), static_cast<unsigned long>(file_.size()), &width,
                            &height, &subsampling, &colourSpace) != 0) {
      return kReadError;
    }
    if (width < 1 || height < 1) return kReadError;
    out.width = width;
    out.height = height;
    if (width > limits_.maxWidth || height > limits_.maxHeight) return kTooLarge;
    switch (colourSpace) {
      case TJCS_GRAY:
        out.bitCount = 8;
        break;
      case TJCS_RGB:
      case TJCS_YCbCr:
        out.bitCount = 24;
        break;
      default:  // CMYK and YCCK
        return kUnsupported;
    }
    header_ = out;
    return 0;
  }

  int decode(std::uint8_t* out, std::size_t stride) override {
    const int format = header_.bitCount == 8 ? TJPF_GRAY : TJPF_BGR;
    // Progressive files with an absurd number of scans are refused rather than decoded for
    // minutes; warnings of a damaged stream end the read.
    const int flags = TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING;
    return tjDecompress2(handle_, file_.data(), static_cast<unsigned long>(file_.size()), out,
                         header_.width, static_cast<int>(stride), header_.height, format,
                         flags) == 0
               ? 0
               : kReadError;
  }

 private:
  std::span<const std::uint8_t> file_;
  DecoderLimits limits_;
  tjhandle handle_ = nullptr;
  PictureHeader header_;
};

}  // namespace

std::unique_ptr<PictureDecoder> makeJpegDecoder(std::span<const std::uint8_t> file,
                                                const DecoderLimits& limits) {
  return std::make_unique<JpegDecoder>(file, limits);
}

}  // namespace vemla
