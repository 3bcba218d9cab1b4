#include <climits>

#include "cli/tool_views.h"
#include "cli/verbs.h"
#include "text/format.h"
#include "text/number_format.h"
#include "tools/profile.h"
#include "workbench/tools/profile_tool.h"
#include "workbench/tools/tool_frame.h"

namespace vemla::cli {
namespace {

int profile(const Arguments& args, Context& io) {
  const std::size_t files = args.positional.size();
  if (files < 1 || files > 2) throw UsageError("profile takes IMAGE1 [IMAGE2]");
  const int directions = args.has("--x") + args.has("--y") + args.has("--line");
  if (directions != 1) throw UsageError("give one of --x, --y, --line");
  std::vector<int> line;
  if (const auto text = args.value("--line")) line = parseIntList(*text, 0, 511, 4, 4, "--line");
  std::vector<int> marks;
  if (const auto text = args.value("--marks"))
    marks = parseIntList(*text, 0, INT_MAX, 1, 2, "--marks");

  Workbench bench;
  if (!openToolImages(args.positional, args, bench, io)) return 1;
  selectTool(bench, tools::Tool::Profile);
  tools::ProfileWord settings = profileSettings(bench);
  settings.direction = static_cast<int>(args.has("--x")   ? tools::ProfileDirection::X
                                        : args.has("--y") ? tools::ProfileDirection::Y
                                                          : tools::ProfileDirection::Arbitrary);
  settings.shown = files == 2 ? 0 : 1;  // both images, or image 1 alone
  setProfileSettings(bench, settings);
  if (!line.empty()) {
    toolPaneClick(bench, line[0], line[1]);
    toolPaneClick(bench, line[2], line[3]);
  }
  const tools::ProfileContent& content = bench.tools.profileContent;
  const int samples = static_cast<int>(content.points.size());
  for (int mark : marks) {
    if (mark >= samples)
      throw UsageError("--marks: sample numbers must be below " + std::to_string(samples));
  }
  if (samples == 0) {
    io.out << "samples=0\n";
    return 0;
  }
  io.out << text::format("samples=%d step=%s", samples, text::fixedDecimal(content.step, 4).c_str())
         << '\n';
  for (const ProfileSampleRow& row : profileSampleRows(bench)) {
    io.out << text::format("%d %d,%d %s %d ", row.k, row.at.x, row.at.y,
                           text::fixedDecimal(row.distance, 4).c_str(), row.first.value_or(0))
           << (row.second ? std::to_string(*row.second) : std::string("-")) << '\n';
  }
  for (ImageSlot image : kImageSlots) {
    const auto& drawn = content.images[index(image)];
    if (!drawn || !drawn->max) continue;
    io.out << text::format("image%d max=%d min=%d", number(image), *drawn->max, *drawn->min)
           << '\n';
  }
  io.out << text::format("auto lower=%d upper=%d step=%d", content.automatic.lower,
                         content.automatic.upper, content.automatic.step)
         << '\n';
  if (!marks.empty()) {
    // A click on the graph column of each sample: left for the first mark, right for the second.
    for (std::size_t i = 0; i < marks.size(); ++i) {
      clickProfileGraph(bench, tools::kPlotLeft + marks[i], tools::kPlotTop + 1, i == 1);
    }
    io.out << "readout=" << profileReadout(bench) << '\n';
  }
  return 0;
}

}  // namespace

Command profileCommand() {
  std::set<std::string> values = kToolViewFlags;
  values.insert({"--line", "--marks"});
  return {
      "profile",
      "the profile tool's samples of one or two pane views",
      std::string("usage: vemla-cli profile IMAGE1 [IMAGE2] (--x | --y | --line U0,V0,U1,V1) "
                  "[OPTIONS]\n"
                  "  Samples the pane views as the profile tool does and prints\n"
                  "  samples=%d step=%.4f, one line 'k u,v distance value1 value2' per sample,\n"
                  "  image1 max=%d min=%d (and image2), auto lower=%d upper=%d step=%d.\n"
                  "  --x / --y                     the cursor's view row / column, view pixels "
                  "10..501\n"
                  "  --line U0,V0,U1,V1            a segment between two view points (0..511)\n"
                  "  --marks A[,B]                 read-out at sample A, or the distance A..B\n") +
          kToolViewHelp,
      values,
      {"--x", "--y", "--reduced"},
      profile};
}

}  // namespace vemla::cli
