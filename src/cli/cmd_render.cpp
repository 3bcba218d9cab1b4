#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "picture/bitmap.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "processing/image_kinds.h"
#include "text/format.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

const std::set<std::string> kViewFlagNames{
    "--cursor", "--fine",        "--mag",         "--zoom-interp",  "--fill",
    "--colour", "--intensity",   "--brightness",  "--range",        "--range-colour",
    "--grid",   "--grid-offset", "--grid-colour", "--colour-table", "--swipe"};

struct ColourName {
  const char* name;
  int kind;
};
constexpr ColourName kColourNames[] = {{"grey", kColourGrey},
                                       {"standard", kColourStandard},
                                       {"difference", kColourDifference},
                                       {"offset", kColourOffset}};

// "R,G,B" as a colour option (0x00BBGGRR).
std::uint32_t parseColour(const std::string& text, const std::string& what) {
  const auto comma = text.rfind(',');
  if (comma == std::string::npos) throw UsageError(what + ": expected R,G,B");
  const auto [red, green] = parsePair(text.substr(0, comma), 0, 255, what);
  return rgb(red, green, parseInt(text.substr(comma + 1), 0, 255, what));
}

int parseColourKind(const std::string& text) {
  for (const ColourName& colour : kColourNames) {
    if (text == colour.name) return colour.kind;
  }
  throw UsageError("--colour must be grey, standard, difference or offset");
}

// Flags that need another flag.
void checkDependencies(const Arguments& args) {
  const std::pair<const char*, const char*> needs[] = {
      {"--range-colour", "--range"}, {"--grid-offset", "--grid"}, {"--grid-colour", "--grid"}};
  for (const auto& [flag, needed] : needs) {
    if (args.has(flag) && !args.has(needed))
      throw UsageError(std::string(flag) + " needs " + needed);
  }
  if (args.has("--colour-table") && args.has("--colour"))
    throw UsageError("--colour-table and --colour exclude each other");
}

// "--swipe X:IMAGE2": the divider column 0..512 and the second file.
std::pair<int, std::string> parseSwipe(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size())
    throw UsageError("--swipe: expected X:IMAGE2");
  return {parseInt(text.substr(0, colon), 0, kViewSize, "--swipe"), text.substr(colon + 1)};
}

}  // namespace

// Sets the view state of Image 1 from the flags once the picture size is known; everything
// not given keeps the factory setting.
void applyViewFlags(const Arguments& args, Workbench& bench) {
  const int width = bench.pictures.width, height = bench.pictures.height;
  ViewState& view = bench.view;
  view.magnification = 1;
  view.reducedDisplay = false;
  if (const auto mag = args.value("--mag")) view.magnification = parseInt(*mag, 1, 64, "--mag");
  if (args.has("--reduced")) {
    if (view.magnification != 1) throw UsageError("--reduced needs magnification 1");
    if (fitsPane(width, height))
      throw UsageError("--reduced needs a picture wider or higher than 512");
    view.reducedDisplay = true;
  }
  const int m = view.magnification;
  view.centreX = width / 2;
  view.centreY = height / 2;
  if (const auto cursor = args.value("--cursor")) {
    std::tie(view.centreX, view.centreY) = parsePair(*cursor, 0, 1 << 30, "--cursor");
    if (view.centreX >= width || view.centreY >= height) {
      throw UsageError("--cursor: outside the " + std::to_string(width) + "x" +
                       std::to_string(height) + " picture");
    }
  }
  view.fineX = view.fineY = m / 2;
  if (const auto fine = args.value("--fine"))
    std::tie(view.fineX, view.fineY) = parsePair(*fine, 0, m - 1, "--fine");
  view.zoomInterpolation = false;
  if (const auto mode = args.value("--zoom-interp")) {
    if (*mode == "linear" || *mode == "cubic") {
      view.zoomInterpolation = true;
      bench.options.ZoomInterpolation = *mode == "linear" ? kZoomLinear : kZoomCubic;
    } else if (*mode != "off") {
      throw UsageError("--zoom-interp must be off, linear or cubic");
    }
  }

  // The colour is the association of Image 1's kind; the colour display is on for it.
  ImageControlSelections& selections = bench.images.selections;
  // A user colour table is shown as the first user colour kind, as a newly added table is.
  const int colour = args.has("--colour-table") ? kFirstUserColour
                     : args.has("--colour")      ? parseColourKind(*args.value("--colour"))
                                                 : kColourGrey;
  bench.images.kind[index(ImageSlot::First)] = kKindPicture1;
  selections.kindColours[index(ImageSlot::First)][kKindPicture1] = colour;
  view.colourDisplay = true;
  if (const auto intensity = args.value("--intensity"))
    selections.intensity[static_cast<std::size_t>(colour)] =
        parseInt(*intensity, 1, 16, "--intensity");
  if (const auto brightness = args.value("--brightness"))
    selections.brightness[static_cast<std::size_t>(colour)] =
        parseInt(*brightness, 0, 256, "--brightness");

  view.rangeExtraction[index(ImageSlot::First)] = args.has("--range");
  if (const auto given = args.value("--range")) {
    ViewState::RangeBounds& range = view.range[index(ImageSlot::First)];
    std::tie(range.lower, range.upper) = parsePair(*given, 0, 255, "--range");
    if (range.lower > range.upper) throw UsageError("--range needs LO <= HI");
  }
  if (const auto colour = args.value("--range-colour"))
    bench.options.RangeExtractionColour1 = parseColour(*colour, "--range-colour");

  view.grid = args.has("--grid");
  if (const auto grid = args.value("--grid")) view.gridWidth = parseInt(*grid, 1, 20, "--grid");
  view.gridOffsetX = view.gridOffsetY = 0;
  if (const auto offset = args.value("--grid-offset")) {
    std::tie(view.gridOffsetX, view.gridOffsetY) =
        parsePair(*offset, 0, view.gridWidth * m - 1, "--grid-offset");
  }
  if (const auto colour = args.value("--grid-colour"))
    bench.options.GridColour1 = parseColour(*colour, "--grid-colour");
}

namespace {

int render(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("render takes IMAGE and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  checkDependencies(args);
  const ReadFlags readFlags = parseReadFlags(args);
  std::uint8_t fill = 0;
  if (const auto value = args.value("--fill"))
    fill = static_cast<std::uint8_t>(parseInt(*value, 0, 255, "--fill"));
  if (!checkEightBitBitmap(in, io)) return 1;
  if (!checkOutputName(out, io)) return 1;
  std::optional<std::pair<int, std::string>> swipe;
  if (const auto value = args.value("--swipe")) {
    swipe = parseSwipe(*value);
    if (!checkEightBitBitmap(swipe->second, io)) return 1;
  }
  std::optional<UserColourTable> table;
  if (const auto file = args.value("--colour-table")) {
    table = readColourTableOrTell(*file, io);
    if (!table) return 1;
  }

  CliUserPort user(io.err, std::nullopt, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  if (table) bench.userEntries.colours[0] = {1, "table", *table};
  // Read exactly as Picture 1 is opened (with IMAGE2, as a two-picture open): the same checks
  // and messages.
  if (openPictureFiles(bench, user, &in, swipe ? &swipe->second : nullptr, OpenMode::Both) != 0)
    return 1;
  applyViewFlags(args, bench);
  const int width = bench.pictures.width, height = bench.pictures.height;
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  bench.images.fill[index(ImageSlot::First)] = fill;
  PaneRaster& pane = bench.view.panes[index(ImageSlot::First)];
  if (swipe) {
    // IMAGE2 first, with the same options, then IMAGE in the same placement; the colour table
    // depends on the options alone, so one palette serves both.
    std::memcpy(bench.store.plane(kImage1), bench.store.plane(kPicture2), bytes);
    renderImage(bench, ImageSlot::First, false);
    const std::vector<std::uint8_t> second = pane.shown;
    std::memcpy(bench.store.plane(kImage1), bench.store.plane(kPicture1), bytes);
    renderImage(bench, ImageSlot::First, true);
    for (int row = 0; row < kViewSize; ++row) {
      const std::size_t start = static_cast<std::size_t>(row) * kViewSize;
      std::copy(second.begin() + static_cast<std::ptrdiff_t>(start + swipe->first),
                second.begin() + static_cast<std::ptrdiff_t>(start + kViewSize),
                pane.shown.begin() + static_cast<std::ptrdiff_t>(start + swipe->first));
    }
  } else {
    std::memcpy(bench.store.plane(kImage1), bench.store.plane(kPicture1), bytes);
    renderImage(bench, ImageSlot::First, false);
  }

  const Palette palette = paletteOf(pane.colours);
  if (!writeOutputPicture(out, kViewSize, kViewSize, pane.shown.data(), palette, io)) return 1;
  const ViewPlacement& placement = bench.view.placement;
  io.out << text::format("origin=%d,%d window=%d,%d mag=%s", placement.originX, placement.originY,
                         placement.windowColumn, placement.windowRow,
                         magnificationText(viewSettingsOf(bench), width, height).c_str())
         << '\n';
  return 0;
}

}  // namespace

Command renderCommand() {
  std::set<std::string> values = kViewFlagNames;
  values.insert({"--max"});
  return {
      "render",
      "render an image into its 512 x 512 pane raster",
      "usage: vemla-cli render IMAGE OUT [OPTIONS]\n"
      "  IMAGE is an 8-bit picture whose pixels are the image values. Writes the 512 x 512\n"
      "  pane raster as an 8-bit bitmap whose palette is the pane's colour table (range\n"
      "  extraction and grid included) and prints\n"
      "  origin=%d,%d window=%d,%d mag=%s (extraction origin, magnified window, x8 or 1/4.0).\n"
      "  --cursor X,Y                  cursor position (default the centre W/2,H/2)\n"
      "  --fine FX,FY                  fine position 0..m-1 (default m/2)\n"
      "  --mag M                       magnification 1..64 (default 1)\n"
      "  --reduced                     the 1/n display (x1, a picture larger than 512)\n"
      "  --zoom-interp off|linear|cubic  interpolation of the magnification (default off)\n"
      "  --fill V                      value around the picture, 0..255 (default 0)\n"
      "  --colour grey|standard|difference|offset   colour kind (default grey)\n"
      "  --colour-table FILE           a user colour table read as colour-table reads it (not\n"
      "                                with --colour; intensity 1, brightness 128 by default)\n"
      "  --intensity I                 1..16 (default the colour kind's: 8 for difference,\n"
      "                                else 1)\n"
      "  --brightness B                0..256 (default 128)\n"
      "  --range LO,HI                 range extraction of LO..HI\n"
      "  --range-colour R,G,B          its colour (default {RangeExtractionColour1})\n"
      "  --grid L                      grid every L picture pixels, 1..20\n"
      "  --grid-offset GX,GY           grid offsets 0..L*m-1 (default 0,0)\n"
      "  --grid-colour R,G,B           grid colour (default {GridColour1})\n"
      "  --swipe X:IMAGE2              the swipe view: IMAGE left of raster column X (0..512),\n"
      "                                IMAGE2 (same size) from X on, rendered alike\n"
      "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, multiples of "
      "4\n"
      "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still win)\n",
      values,
      {"--reduced"},
      render};
}

}  // namespace vemla::cli
