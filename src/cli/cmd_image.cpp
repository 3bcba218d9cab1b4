#include <cstring>

#include "cli/commands.h"
#include "cli/control_flags.h"
#include "picture/open_pictures.h"
#include "processing/image_statistics.h"
#include "processing/prepare_pictures.h"
#include "text/format.h"

namespace vemla::cli {
namespace {

// Kinds and flags of the image kinds that this build cannot create yet: they are refused as
// usage errors before any picture is read.
const std::set<std::string> kLaterKindFlags{"--area",          "--area-method",   "--area-divisor",
                                            "--user-result",   "--expr",          "--filter",
                                            "--filter-source", "--filter-divisor"};

// The kinds that show one shifted picture: its plane and the valid rectangle of that picture
// as the statistics rectangle.
struct PictureKind {
  int plane;
  int picture;
};
std::optional<PictureKind> pictureKind(int kind) {
  if (kind == 0) return PictureKind{kShifted1, 0};
  if (kind == 1) return PictureKind{kShifted2, 1};
  return std::nullopt;
}

int image(const Arguments& args, Context& io) {
  if (args.positional.size() != 3) throw UsageError("image takes P1, P2 and OUT");
  const std::string& name1 = args.positional[0];
  const std::string& name2 = args.positional[1];
  const std::string& out = args.positional[2];
  const ReadFlags readFlags = parseReadFlags(args);
  const ControlFlags control = parseControlFlags(args, std::nullopt);
  const int kind = args.has("--kind") ? parseInt(*args.value("--kind"), 0, 9, "--kind") : 3;
  for (const std::string& flag : kLaterKindFlags) {
    if (args.has(flag)) throw UsageError(flag + " is not available yet");
  }
  const std::optional<PictureKind> picture = pictureKind(kind);
  if (!picture)
    throw UsageError("--kind " + std::to_string(kind) +
                     " is not available yet (kinds 0 and 1 are)");
  std::optional<std::pair<std::string, std::string>> shiftedNames;
  if (const auto names = args.value("--write-shifted")) {
    const auto comma = names->find(',');
    if (comma == std::string::npos) throw UsageError("--write-shifted needs A,B");
    shiftedNames.emplace(names->substr(0, comma), names->substr(comma + 1));
  }
  if (!checkOutputName(out, io)) return 1;
  if (shiftedNames &&
      (!checkOutputName(shiftedNames->first, io) || !checkOutputName(shiftedNames->second, io))) {
    return 1;
  }

  CliUserPort user(io.err, readFlags.raw, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  if (openPictureFiles(bench, user, &name1, &name2, false) != 0) {
    if (user.rawMissing) throw UsageError("a .raw picture needs --raw WxH[+OFF]");
    return 1;
  }
  applyControlFlags(control, bench);
  NoBusyPort busy;
  // A failed alignment tells its message and goes on unshifted, as the window does.
  preparePictures(bench, user, busy);

  const int width = bench.pictures.width, height = bench.pictures.height;
  PictureStore& store = bench.store;
  std::uint8_t* imagePlane = store.plane(kImage1);
  std::memcpy(imagePlane, store.plane(picture->plane),
              static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const Rect rectangle = bench.control.validRectangles[static_cast<std::size_t>(picture->picture)];
  const ImageStatistics statistics = imageStatistics(imagePlane, width, height, rectangle);
  if (args.has("--blank")) blankOutside(imagePlane, width, height, rectangle, 0);

  if (!writeOutputPicture(out, width, height, imagePlane, greyRamp(), io)) return 1;
  if (shiftedNames) {
    if (!writeOutputPicture(shiftedNames->first, width, height, store.plane(kShifted1),
                            bench.pictures.pictures[0].palette, io) ||
        !writeOutputPicture(shiftedNames->second, width, height, store.plane(kShifted2),
                            bench.pictures.pictures[1].palette, io)) {
      return 1;
    }
  }
  io.out << text::format("max=%d min=%d mean=%d sum=%lld rect=%d,%d,%d,%d", statistics.maximum,
                         statistics.minimum, statistics.mean,
                         static_cast<long long>(statistics.sum), rectangle.left, rectangle.top,
                         rectangle.right, rectangle.bottom)
         << '\n';
  return 0;
}

}  // namespace

Command imageCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert(kControlFlagNames.begin(), kControlFlagNames.end());
  values.insert(kLaterKindFlags.begin(), kLaterKindFlags.end());
  values.insert({"--kind", "--write-shifted"});
  return {
      "image",
      "prepare the shifted pictures of P1 and P2 and create one image",
      std::string(
          "usage: vemla-cli image P1 P2 OUT [OPTIONS]\n"
          "  Opens P1 and P2 as one two-picture open, prepares the shifted pictures, creates\n"
          "  one image, writes it to OUT (8-bit, grey-ramp palette) and prints\n"
          "  max=%d min=%d mean=%d sum=%d rect=%d,%d,%d,%d (statistics and their rectangle).\n"
          "  A failed alignment prints its message on stderr; the image is still made.\n")
          .append(kReadFlagsHelp)
          .append(kControlFlagsHelp)
          .append(
              "  --kind K                      image kind 0..9 (default 3); this build creates\n"
              "                                kinds 0 and 1, the others are not available yet\n"
              "  --blank                       blank everything outside the statistics rectangle\n"
              "  --write-shifted A,B           also write the two shifted pictures\n"),
      values,
      {"--blank"},
      image};
}

}  // namespace vemla::cli
