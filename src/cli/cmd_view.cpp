#include <tuple>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/verbs.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "processing/viewer_file.h"
#include "processing/viewer_model.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla::cli {
namespace {

constexpr int kSideLimit = 16384;

int parseZoom(const std::string& text) {
  for (const int reduction : {2, 4, 8}) {
    if (text == std::string("1/").append(std::to_string(reduction))) return -reduction;
  }
  return parseInt(text, 1, kViewerMaxZoom, "--zoom (1/8, 1/4, 1/2 or 1..64)");
}

int view(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("view takes PICTURE and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  const auto screenText = args.value("--screen");
  if (!screenText) throw UsageError("view needs --screen W,H");
  const auto [screenWidth, screenHeight] = parsePair(*screenText, 256, kSideLimit, "--screen");
  // 0: not given (no zoom is 0).
  int givenZoom = 0;
  if (const auto text = args.value("--zoom")) givenZoom = parseZoom(*text);
  std::optional<std::pair<int, int>> client;
  if (const auto text = args.value("--client"))
    client = parsePair(*text, 1, kSideLimit, "--client");
  const ReadFlags readFlags = parseReadFlags(args);
  if (!checkOutputName(out, io) || !isBitmapName(out)) {
    if (isRawName(out)) io.err << "OUT must be a .bmp\n";
    return 1;
  }

  ViewerImage image;
  std::string failure;
  if (isRawName(in)) {
    if (!readFlags.raw) throw UsageError("a .raw picture needs --raw WxH[+OFF]");
    failure = loadViewerRaw(in, *readFlags.raw, readFlags.maxWidth, readFlags.maxHeight, image);
  } else {
    failure = loadViewerBitmap(in, readFlags.maxWidth, readFlags.maxHeight, image,
                               readFlags.options.SixteenBit);
  }
  if (!failure.empty()) {
    io.err << failure << '\n';
    return 1;
  }
  const auto opening = viewerOpening(image.width, image.height, {screenWidth, screenHeight},
                                     {readFlags.maxWidth, readFlags.maxHeight});
  if (!opening) {
    io.err << text::tr(kViewerReadFailed) << '\n';
    return 1;
  }
  int centreX = opening->centreX, centreY = opening->centreY;
  if (const auto text = args.value("--centre")) {
    std::tie(centreX, centreY) = parsePair(*text, 0, 1 << 30, "--centre");
    if (centreX >= image.width || centreY >= image.height) {
      throw UsageError("--centre: outside the " + std::to_string(image.width) + "x" +
                       std::to_string(image.height) + " picture");
    }
  }
  const int shownZoom = givenZoom != 0 ? givenZoom : opening->zoom;
  const int clientWidth = client ? client->first : opening->window.width;
  const int clientHeight = client ? client->second : opening->window.height;

  std::vector<std::uint32_t> painted(static_cast<std::size_t>(clientWidth) *
                                     static_cast<std::size_t>(clientHeight));
  paintViewer(image.picture(), shownZoom, centreX, centreY, clientWidth, clientHeight,
              painted.data(), clientWidth);
  std::vector<std::uint8_t> bgr(painted.size() * 3);
  for (std::size_t i = 0; i < painted.size(); ++i) {
    bgr[3 * i] = static_cast<std::uint8_t>(painted[i]);
    bgr[3 * i + 1] = static_cast<std::uint8_t>(painted[i] >> 8);
    bgr[3 * i + 2] = static_cast<std::uint8_t>(painted[i] >> 16);
  }
  if (writeBitmap(out, clientWidth, clientHeight, 3, bgr.data(), nullptr) != 0) {
    io.err << text::format("%s\n%s", text::tr("保存できません"), out.c_str()) << '\n';
    return 1;
  }
  io.out << text::format("zoom=%s window=%dx%d centre=%d,%d", zoomText(shownZoom).c_str(),
                         opening->window.width, opening->window.height, centreX, centreY)
         << '\n';
  return 0;
}

}  // namespace

Command viewCommand() {
  return {"view",
          "paint a picture as the viewer opens it on a screen",
          "usage: vemla-cli view PICTURE OUT --screen W,H [OPTIONS]\n"
          "  PICTURE is a .bmp (8-bit with its palette, 24-bit or 32-bit) or a .raw with --raw.\n"
          "  The viewer's opening zoom, window and centre are computed for a W x H screen\n"
          "  (256..16384 each); OUT is a 24-bit .bmp of the client area as the viewer paints\n"
          "  it. Prints zoom=%s window=%dx%d centre=%d,%d.\n"
          "  --zoom Z                      1/8, 1/4, 1/2 or 1..64 instead of the opening zoom\n"
          "  --centre X,Y                  a picture pixel as the centre\n"
          "  --client CW,CH                the client area, 1..16384 each (default the window)\n"
          "  --raw WxH[+OFF]               size and start offset of a .raw picture\n"
          "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, "
          "multiples of 4\n"
          "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still "
          "win)\n",
          {"--screen", "--zoom", "--centre", "--client", "--raw", "--max"},
          {},
          view};
}

}  // namespace vemla::cli
