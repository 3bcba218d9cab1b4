#include <strings.h>

#include <climits>
#include <cstdint>

#include "cli/verbs.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla::cli {
namespace {

int fail(Context& io, const char* message, const std::string& name) {
  io.err << text::format(msg::kWithName, text::tr(message), name.c_str()) << '\n';
  return 1;
}

// "png WIDTH HEIGHT BITS top-down" and the name field's note (" [1/12]", " [16→8 0–4095]"),
// BITS being 8 or 24 as the picture is read.
int describeOtherPicture(const std::string& name, PictureFormat format,
                         const SixteenBitConversion& sixteen, Context& io) {
  const int bits = probePicture(name);
  if (bits == kReadError) return fail(io, msg::kReadFailed, name);
  if (bits == kUnsupported) return fail(io, msg::kUnsupported, name);
  if (bits != 8 && bits != 24) return fail(io, msg::kNot8Or24Or32, name);
  PictureRead read;
  // A read into no memory stops after the header.
  const int status = readPictureIntoMemory(name, {}, INT_MAX, INT_MAX, sixteen, read);
  if (status != kTooLarge) {
    return fail(io, status == kUnsupported ? msg::kUnsupported : msg::kReadFailed, name);
  }
  static constexpr const char* kFormatNames[] = {"bmp", "png", "tiff", "jpeg", "pnm", "?"};
  io.out << kFormatNames[static_cast<int>(format)] << ' ' << read.width << ' ' << read.height << ' '
         << bits << " top-down" << read.note << '\n';
  return 0;
}

bool isStateName(const std::string& name) {
  return name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".vic") == 0;
}

int info(const Arguments& args, Context& io) {
  if (args.positional.size() != 1) throw UsageError("info takes one FILE");
  const std::string& name = args.positional[0];
  if (classifyName(name) == 3) return listArchive(name, args, io);
  if (isStateName(name)) return describeState(name, io);
  if (!isPictureName(name)) return fail(io, msg::kUnsupported, name);
  const auto first = readFilePrefix(name, 12);
  if (!first) return fail(io, msg::kReadFailed, name);
  if (const PictureFormat format = pictureFormatOf(*first);
      format != PictureFormat::Bitmap && format != PictureFormat::Unknown) {
    return describeOtherPicture(name, format, settingsOptions(args).SixteenBit, io);
  }
  FileSource in(name);
  std::uint8_t bytes[BitmapFileHeader::kBytes + BitmapInfoHeader::kBytes];
  if (!in.isOpen() || in.read(bytes, sizeof bytes) != sizeof bytes) return fail(io, msg::kReadFailed, name);
  const BitmapFileHeader file = BitmapFileHeader::fromBytes(bytes);
  const BitmapInfoHeader header = BitmapInfoHeader::fromBytes(bytes + BitmapFileHeader::kBytes);
  if (file.type != 0x4D42 || header.compression != 0 || header.width < 1 || header.height == 0 ||
      header.height == INT32_MIN) {
    return fail(io, msg::kUnsupported, name);
  }
  if (header.bitCount != 8 && header.bitCount != 24 && header.bitCount != 32) {
    return fail(io, msg::kNot8Or24Or32, name);
  }
  io.out << "bmp " << header.width << ' ' << (header.height < 0 ? -header.height : header.height)
         << ' ' << header.bitCount << ' ' << (header.height < 0 ? "top-down" : "bottom-up") << '\n';
  return 0;
}

}  // namespace

Command infoCommand() {
  return {"info",
          "describe a picture file",
          "usage: vemla-cli info FILE\n"
          "  .bmp: prints 'bmp WIDTH HEIGHT BITS bottom-up|top-down'\n"
          "  .png .tif .tiff .jpg .jpeg .pgm .ppm: prints 'png|tiff|jpeg|pnm WIDTH HEIGHT 8|24\n"
          "    top-down' and what the picture's name field adds ([1/PAGES], [16→8 LOW–HIGH])\n"
          "  .vla: prints the archive's items as 'vemla-cli archive list' does\n"
          "  .vic: prints the state record as 'vemla-cli state info' does\n",
          {},
          {},
          info};
}

}  // namespace vemla::cli
