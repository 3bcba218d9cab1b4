#include <tuple>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/tool_views.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "tools/relief.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::cli {
namespace {

using tools::ReliefMode;
using tools::ReliefSettings;

ReliefSettings reliefSettingsOf(const Arguments& args, const Options& options) {
  ReliefSettings settings;
  settings.angleX = options.View3DAngleX;
  settings.angleZ = options.View3DAngleZ;
  settings.luminance = options.View3DLuminance;
  settings.wireWidth = options.View3DWireWidth;
  settings.polygonWidth = options.View3DPolygonWidth;
  if (const auto angles = args.value("--angles")) {
    std::tie(settings.angleX, settings.angleZ) = parsePair(*angles, 0, tools::kMaxAngleX, "--angles");
    if (settings.angleZ > tools::kMaxAngleZ) throw UsageError("--angles: Z must be 0..90");
  }
  if (const auto depth = args.value("--depth"))
    settings.depth = parseInt(*depth, 0, tools::kMaxDepth, "--depth");
  if (const auto ratio = args.value("--height-ratio"))
    settings.heightRatio = parseInt(*ratio, 0, tools::kMaxHeightRatio, "--height-ratio");
  if (const auto base = args.value("--base-height"))
    settings.baseHeight = parseInt(*base, 0, tools::kMaxBaseHeight, "--base-height");
  if (const auto mode = args.value("--mode")) {
    if (*mode == "wire") {
      settings.mode = ReliefMode::Wire;
    } else if (*mode == "polygon") {
      settings.mode = ReliefMode::Polygon;
    } else if (*mode != "surface") {
      throw UsageError("--mode must be surface, wire or polygon");
    }
  }
  if (const auto width = args.value("--width")) {
    const int value = parseInt(*width, tools::kMinReliefWidth, tools::kMaxReliefWidth, "--width");
    settings.wireWidth = settings.polygonWidth = value;
  }
  if (const auto luminance = args.value("--luminance"))
    settings.luminance = parseInt(*luminance, 0, tools::kMaxLuminance, "--luminance");
  settings.invert = args.has("--invert");
  return settings;
}

int relief(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("relief takes IMAGE and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  const ReadFlags readFlags = parseReadFlags(args);
  const ReliefSettings settings = reliefSettingsOf(args, readFlags.options);
  if (!checkEightBitBitmap(in, io) || !checkOutputName(out, io)) return 1;

  CliUserPort user(io.err, std::nullopt, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  if (openPictureFiles(bench, user, &in, nullptr, OpenMode::Both) != 0) return 1;
  applyViewFlags(args, bench);
  const ViewPoint cursor = renderToolView(bench, kPicture1, args);
  const std::vector<std::uint8_t>& view = bench.view.panes[index(ImageSlot::First)].view;

  const bool whole = args.has("--whole");
  const int width = whole ? tools::kReliefWholeSize : tools::kReliefWidth;
  const int height = whole ? tools::kReliefWholeSize : tools::kReliefHeight;
  std::vector<std::uint8_t> raster(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  tools::ReliefWork work;
  if (whole) {
    tools::drawRelief(view.data(), kViewSize, settings, {raster.data(), width, height}, work);
  } else {
    std::vector<std::uint8_t> block(tools::kReliefBlockSize * tools::kReliefBlockSize);
    tools::copyBlock(view.data(), tools::blockOrigin(cursor, tools::kReliefBlockSize),
                     tools::kReliefBlockSize, block.data());
    tools::drawRelief(block.data(), tools::kReliefBlockSize, settings,
                      {raster.data(), width, height}, work);
  }
  const ColourTable& grey = baseColourTable(kColourGrey);
  const ColourTable colours = settings.mode == ReliefMode::Surface
                                  ? tools::brightenedTable(grey, settings.luminance)
                                  : grey;
  if (!writeOutputPicture(out, width, height, raster.data(), paletteOf(colours), io)) return 1;
  io.out << tools::reliefTitle(settings, bench.view.centreX, bench.view.centreY,
                               toolMagnificationText(bench))
         << '\n';
  return 0;
}

}  // namespace

Command reliefCommand() {
  std::set<std::string> values = kToolViewFlagNames;
  values.insert({"--max", "--angles", "--depth", "--height-ratio", "--base-height", "--mode",
                 "--width", "--luminance"});
  return {"relief",
          "draw an image's pane view as the 3D tool's relief",
          std::string("usage: vemla-cli relief IMAGE OUT [OPTIONS]\n"
                      "  Draws the 256 x 256 block of IMAGE's pane view around the cursor as a\n"
                      "  relief into 336 x 286 (756 x 756 from the whole view with --whole),\n"
                      "  writes it as an 8-bit bitmap with the grey ramp (the luminance applied\n"
                      "  in surface mode) and prints the whole display's title.\n"
                      "  --angles X,Z                  X 0..359, Z 0..90 (default "
                      "{View3DAngleX},{View3DAngleZ})\n"
                      "  --depth D                     0..512 (default 256)\n"
                      "  --height-ratio R              sixteenths, 0..64 (default 16)\n"
                      "  --base-height B               0..160 (default 80)\n"
                      "  --mode surface|wire|polygon   \"ｲﾒｰｼﾞ\", \"ﾜｲﾔ\" or \"ﾎﾟﾘｺﾞﾝ\" "
                      "(default surface)\n"
                      "  --width W                     wire or polygon width 3..20 (default "
                      "{View3DWireWidth})\n"
                      "  --luminance L                 0..256, surface mode (default "
                      "{View3DLuminance})\n"
                      "  --invert                      \"反転\": every value g read as 255 - g\n"
                      "  --whole                       \"全体表示\": the whole view into 756 x 756\n") +
              kToolViewFlagsHelp +
              "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, "
              "multiples of 4\n"
              "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still "
              "win)\n",
          values,
          {"--reduced", "--invert", "--whole"},
          relief};
}

}  // namespace vemla::cli
