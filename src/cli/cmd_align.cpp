#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "processing/alignment.h"
#include "text/format.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"

namespace vemla::cli {
namespace {

int align(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("align takes P1 and P2");
  const std::string& name1 = args.positional[0];
  const std::string& name2 = args.positional[1];
  const ReadFlags readFlags = parseReadFlags(args);
  const ControlFlags control = parseControlFlags(args, kAlignFast, readFlags.options);

  CliUserPort user(io.err, readFlags.raw, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  if (openPictureFiles(bench, user, &name1, &name2, OpenMode::Both, OpenRefresh::ByCaller) != 0) {
    return user.openFailed();
  }
  applyControlFlags(control, bench);
  NoBusyPort busy;
  preparePictures(bench, user, busy);  // a failure is told on stderr
  const AlignmentResult& result = bench.control.alignmentResult;
  if (!result.valid) return 1;
  io.out << alignmentResultText(result, bench.control.alignmentKeys) << '\n'
         << text::format("xflag=%d xwhole=%d xsub=%d yflag=%d ywhole=%d ysub=%d n=%d", result.xFlag,
                         result.wholeX, result.stepsX, result.yFlag, result.wholeY, result.stepsY,
                         bench.control.alignmentKeys.division)
         << '\n';
  return 0;
}

}  // namespace

Command alignCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert(kControlFlagNames.begin(), kControlFlagNames.end());
  values.erase("--shift");
  return {"align",
          "run the automatic alignment of P1 and P2 and print its result",
          std::string(
              "usage: vemla-cli align P1 P2 [OPTIONS]\n"
              "  Runs the automatic alignment (criterion from --align, default fast) over the\n"
              "  valid range and prints the result text as the picture control shows it, then\n"
              "  xflag=%d xwhole=%d xsub=%d yflag=%d ywhole=%d ysub=%d n=%d (sub-steps in 1/n).\n"
              "  A failed search prints its message on stderr and exits 1.\n")
              .append(kReadFlagsHelp)
              .append(kControlFlagsHelp),
          values,
          {},
          align};
}

}  // namespace vemla::cli
