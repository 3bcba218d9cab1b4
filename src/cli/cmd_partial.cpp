#include <cstdlib>
#include <tuple>

#include "cli/control_flags.h"
#include "cli/option_flags.h"
#include "cli/read_flags.h"
#include "cli/tool_views.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "processing/picture_control.h"
#include "text/format.h"
#include "tools/partial_comparison.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::cli {
namespace {

using tools::PartialRequest;

PartialRequest requestOf(const Arguments& args, const Options& options) {
  PartialRequest request;
  request.division = options.ShiftUnit;
  request.interpolation = options.ShiftInterpolation;
  if (const auto n = args.value("--division")) {
    request.division = parseInt(*n, 2, 256, "--division");
    if (!isAllowedDivision(request.division))
      throw UsageError("--division must be 2, 4, 8, ... 256");
  }
  if (const auto mode = args.value("--shift-interp")) {
    if (*mode != "linear" && *mode != "cubic")
      throw UsageError("--shift-interp must be linear or cubic");
    request.interpolation = *mode == "linear" ? kShiftLinear : kShiftCubic;
  }
  if (const auto shift = args.value("--shift")) {
    const auto comma = shift->find(',');
    if (comma == std::string::npos) throw UsageError("--shift: expected DX,DY");
    const long long bound = static_cast<long long>(tools::kMaxPartShift) * request.division;
    const auto steps = [&](const std::string& text, const std::string& what) {
      const long long value = parseSteps(text, request.division, what);
      if (std::llabs(value) > bound) throw UsageError(what + ": at most 168 pixels either way");
      return static_cast<int>(value);
    };
    request.shift = {steps(shift->substr(0, comma), "--shift DX"),
                     steps(shift->substr(comma + 1), "--shift DY")};
  }
  if (const auto mode = args.value("--mode")) {
    if (*mode != "grey" && *mode != "offset") throw UsageError("--mode must be grey or offset");
    request.mode = *mode == "offset" ? tools::DifferenceMode::Offset : tools::DifferenceMode::Grey;
  }
  if (const auto strength = args.value("--strength"))
    request.strength = parseInt(*strength, 0, tools::kMaxStrength, "--strength");
  return request;
}

// Takes one part around the cursor of --ref-cursor or --comp-cursor (else --cursor's).
void takeFrom(Workbench& bench, int picture, const Arguments& args, const char* cursorFlag,
              int defaultX, int defaultY, tools::Part& part) {
  ViewState& view = bench.view;
  view.centreX = defaultX;
  view.centreY = defaultY;
  if (const auto cursor = args.value(cursorFlag)) {
    std::tie(view.centreX, view.centreY) = parsePair(*cursor, 0, 1 << 30, cursorFlag);
    if (view.centreX >= bench.pictures.width || view.centreY >= bench.pictures.height) {
      throw UsageError(std::string(cursorFlag) + ": outside the " +
                       std::to_string(bench.pictures.width) + "x" +
                       std::to_string(bench.pictures.height) + " picture");
    }
  }
  const ViewPoint centre = renderToolView(bench, picture, args);
  const PaneRaster& pane = view.panes[index(ImageSlot::First)];
  tools::takePart(part, pane.view.data(), centre, pane.colours);
}

int partial(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("partial takes REF and COMP");
  const std::string& reference = args.positional[0];
  const std::string& comparison = args.positional[1];
  const ReadFlags readFlags = parseReadFlags(args);
  const PartialRequest request = requestOf(args, readFlags.options);
  const auto diffOut = args.value("--diff");
  const auto shownOut = args.value("--shown");
  if (!checkEightBitBitmap(reference, io) || !checkEightBitBitmap(comparison, io)) return 1;
  if ((diffOut && !checkOutputName(*diffOut, io)) || (shownOut && !checkOutputName(*shownOut, io)))
    return 1;

  CliUserPort user(io.err, std::nullopt, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  if (openPictureFiles(bench, user, &reference, &comparison, OpenMode::Both) != 0) return 1;
  applyViewFlags(args, bench);
  const int cursorX = bench.view.centreX, cursorY = bench.view.centreY;
  tools::Part referencePart, comparisonPart;
  takeFrom(bench, kPicture1, args, "--ref-cursor", cursorX, cursorY, referencePart);
  takeFrom(bench, kPicture2, args, "--comp-cursor", cursorX, cursorY, comparisonPart);

  tools::PartialDifference difference;
  tools::PartialWork work;
  tools::compareParts(referencePart, comparisonPart, request, difference, work);
  const Palette grey = paletteOf(baseColourTable(kColourGrey));
  if (diffOut && !writeOutputPicture(*diffOut, tools::kPartSize, tools::kPartSize,
                                     difference.stored.data(), grey, io))
    return 1;
  if (shownOut && !writeOutputPicture(*shownOut, tools::kPartSize, tools::kPartSize,
                                      difference.shown.data(), grey, io))
    return 1;
  const tools::Margins& m = difference.margins;
  io.out << "shift=" << tools::shiftText(request.shift.x, request.division, false) << ' '
         << tools::shiftText(request.shift.y, request.division, true) << '\n'
         << text::format("margin=%d,%d,%d,%d", m.left, m.top, m.right, m.bottom) << '\n';
  if (difference.max) {
    io.out << text::format("max=%d min=%d", *difference.max, *difference.min) << '\n';
  } else {
    io.out << "max=none min=none\n";
  }
  return 0;
}

}  // namespace

Command partialCommand() {
  std::set<std::string> values = kToolViewFlagNames;
  values.insert({"--max", "--ref-cursor", "--comp-cursor", "--division", "--shift-interp",
                 "--shift", "--mode", "--strength", "--diff", "--shown"});
  return {"partial",
          "compare two 168 x 168 parts as the partial comparison tool does",
          std::string(
              "usage: vemla-cli partial REF COMP [OPTIONS]\n"
              "  Takes the 168 x 168 block of REF's pane view around --ref-cursor as the\n"
              "  reference part and COMP's around --comp-cursor as the comparison part, shifts\n"
              "  the comparison part, computes the difference and prints shift=%s %s,\n"
              "  margin=%d,%d,%d,%d (left, top, right, bottom) and max=%d min=%d (none when no\n"
              "  pixel lies inside the margins).\n"
              "  --ref-cursor X,Y              the reference part's cursor (default --cursor)\n"
              "  --comp-cursor X,Y             the comparison part's cursor (default --cursor)\n"
              "  --division N                  unit 1/n of the shift: 2, 4, ... 256 (default "
              "{ShiftUnit})\n"
              "  --shift-interp linear|cubic   interpolation of the shift (default cubic)\n"
              "  --shift DX,DY                 shift in pixels, multiples of 1/n, at most 168;\n"
              "                                positive DX moves right, positive DY down\n"
              "  --mode grey|offset            \"階調差\" (default) or \"ｵﾌｾｯﾄ差\"\n"
              "  --strength S                  \"差の強度\" 0..120 (default 8)\n"
              "  --diff OUT                    the stored differences, 168 x 168 grey\n"
              "  --shown OUT                   the shown difference image, 168 x 168 grey\n") +
              kToolViewFlagsHelp +
              "  --max WxH                     maximum picture size, {MaxPictureWidth:range}, "
              "multiples of 4\n"
              "  --settings FOLDER             options from FOLDER/VemlaPinf.dat (the flags still "
              "win)\n",
          values,
          {"--reduced"},
          partial};
}

}  // namespace vemla::cli
