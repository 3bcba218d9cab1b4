#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::cli {
namespace {

int convert(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("convert takes IN and OUT");
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  const ReadFlags flags = parseReadFlags(args);
  if (!checkOutputName(out, io)) return 1;
  CliUserPort user(io.err, flags.raw, flags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, flags, user)) return 1;
  if (openPictureFiles(bench, user, &in, nullptr, OpenMode::Both) != 0) {
    return user.openFailed();
  }
  const Palette palette = args.has("--grey-save")
                              ? greyRamp()
                              : bench.pictures.pictures[index(PictureSlot::First)].palette;
  return writeOutputPicture(out, bench.pictures.width, bench.pictures.height,
                            bench.store.plane(kPicture1), palette, io)
             ? 0
             : 1;
}

}  // namespace

Command convertCommand() {
  std::set<std::string> values = kReadFlagNames;
  return {"convert",
          "read IN as Picture 1 is opened and write it to OUT",
          std::string(
              "usage: vemla-cli convert IN OUT [OPTIONS]\n"
              "  Reads IN (.bmp or .raw) as Picture 1 is opened and writes it to OUT (.bmp: 8-bit\n"
              "  bitmap with the picture's palette; .raw: W x H bytes).\n")
              .append(kReadFlagsHelp)
              .append("  --grey-save                   write a grey-ramp palette instead of the "
                      "picture's\n"),
          values,
          {"--grey-save"},
          convert};
}

}  // namespace vemla::cli
