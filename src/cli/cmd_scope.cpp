#include <algorithm>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "processing/image_scope.h"
#include "processing/view_rendering.h"
#include "text/format.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::cli {
namespace {

int scope(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("scope takes IMAGE and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  const auto at = args.value("--at");
  if (!at) throw UsageError("scope needs --at X,Y");
  const auto [x, y] = parsePair(*at, 0, 1 << 30, "--at");
  const ReadFlags readFlags = parseReadFlags(args);
  ScopeRequest request;
  request.magnification =
      std::clamp(readFlags.options.ScopeMagnification, 1, kScopeMaxMagnification);
  request.x = x;
  request.y = y;
  if (const auto mag = args.value("--mag"))
    request.magnification = parseInt(*mag, 1, kScopeMaxMagnification, "--mag");
  if (const auto mode = args.value("--zoom-interp")) {
    if (*mode == "linear" || *mode == "cubic") {
      request.interpolate = true;
      request.zoomMode = *mode == "linear" ? kZoomLinear : kZoomCubic;
    } else if (*mode != "off") {
      throw UsageError("--zoom-interp must be off, linear or cubic");
    }
  }
  if (!checkEightBitBitmap(in, io)) return 1;
  if (!checkOutputName(out, io)) return 1;

  CliUserPort user(io.err, std::nullopt, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  // Read exactly as Picture 1 is opened, whose scope this is.
  if (openPictureFiles(bench, user, &in, nullptr, OpenMode::Both) != 0) return 1;
  const int width = bench.pictures.width, height = bench.pictures.height;
  if (x >= width || y >= height) {
    throw UsageError("--at: outside the " + std::to_string(width) + "x" + std::to_string(height) +
                     " picture");
  }
  request.pixels = bench.store.plane(kPicture1);
  request.width = width;
  request.height = height;
  std::vector<std::uint8_t> raster(static_cast<std::size_t>(kScopeSize) * kScopeSize);
  ScopeWork work;
  paintScope(request, raster.data(), work);
  if (!writeOutputPicture(out, kScopeSize, kScopeSize, raster.data(), paletteOf(scopePalette()),
                          io))
    return 1;
  io.out << text::format("at=%d,%d mag=%d", x, y, request.magnification) << '\n';
  return 0;
}

}  // namespace

Command scopeCommand() {
  std::set<std::string> values{"--at", "--mag", "--zoom-interp", "--max"};
  return {"scope",
          "write the image scope's 256 x 256 raster for one pixel",
          "usage: vemla-cli scope IMAGE OUT --at X,Y [OPTIONS]\n"
          "  IMAGE is an 8-bit picture whose pixel values are shown. Writes the scope's 256 x 256\n"
          "  raster for pixel (X, Y) as an 8-bit bitmap with the scope's palette and prints\n"
          "  at=%d,%d mag=%d.\n"
          "  --at X,Y                      the pointed pixel, 0..W-1, 0..H-1\n"
          "  --mag S                       magnification 1..64 (default {ScopeMagnification})\n"
          "  --zoom-interp off|linear|cubic  interpolation of the magnification (default off)\n"
          "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, "
          "multiples of 4\n"
          "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still "
          "win)\n",
          values,
          {},
          scope};
}

}  // namespace vemla::cli
