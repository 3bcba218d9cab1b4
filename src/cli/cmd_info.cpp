#include <strings.h>

#include <cstdint>

#include "cli/commands.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "text/format.h"

namespace vemla::cli {
namespace {

int fail(Context& io, const char* message, const std::string& name) {
  io.err << text::format(msg::kWithName, message, name.c_str()) << '\n';
  return 1;
}

bool isStateName(const std::string& name) {
  return name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".vic") == 0;
}

int info(const Arguments& args, Context& io) {
  if (args.positional.size() != 1) throw UsageError("info takes one FILE");
  const std::string& name = args.positional[0];
  if (classifyName(name) == 3) return listArchive(name, args, io);
  if (isStateName(name)) return describeState(name, io);
  if (!isBitmapName(name)) return fail(io, msg::kUnsupported, name);
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
          "  .vla: prints the archive's items as 'vemla-cli archive list' does\n"
          "  .vic: prints the state record as 'vemla-cli state info' does\n",
          {},
          {},
          info};
}

}  // namespace vemla::cli
